// Scripts are read whole before the run starts: a missing file, or a file with binary data in
// it (a drawing given by mistake, say), stops the run before anything changes.
#include "script_check.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

namespace cadhost {

bool readScript(const std::string& path, std::string& text, std::string& error) {
  const std::string name = path == "-" ? "<stdin>" : path;
  if (path == "-") {
    std::ostringstream all;
    all << std::cin.rdbuf();
    text = all.str();
  } else {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      error = "cannot read the script '" + path + "': " + std::strerror(errno);
      return false;
    }
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
      error = "cannot read the script '" + path + "': " + std::strerror(errno);
      return false;
    }
  }
  unsigned line = 1;
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\n') {
      ++line;
    } else if (u < 0x20 && c != '\t' && c != '\r' && c != '\f' && c != 0x1a) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "0x%02X", u);
      error = name + ":" + std::to_string(line) + ": not a script: it holds binary data (byte " + buf + ")";
      return false;
    }
  }
  return true;
}

}  // namespace cadhost
