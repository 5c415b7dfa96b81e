// Atomic file replacement: temporary file in the same directory, fsync, rename.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace cadhost {

bool writeFileAtomically(const std::string& path, const std::string& data, std::string& error) {
  std::string tmpl = path + ".tmpXXXXXX";
  int fd = mkstemp(&tmpl[0]);
  if (fd < 0) {
    error = "cannot create a temporary file beside '" + path + "': " + std::strerror(errno);
    return false;
  }
  const char* p = data.data();
  size_t left = data.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "cannot write '" + path + "': " + std::strerror(errno);
      ::close(fd);
      ::unlink(tmpl.c_str());
      return false;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  // mkstemp makes the file private to the user: give it the target's mode, or the usual one.
  struct stat st;
  mode_t mode;
  if (::stat(path.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    error = "cannot write '" + path + "': " + std::strerror(errno);
    ::unlink(tmpl.c_str());
    return false;
  }
  if (::rename(tmpl.c_str(), path.c_str()) != 0) {
    error = "cannot replace '" + path + "': " + std::strerror(errno);
    ::unlink(tmpl.c_str());
    return false;
  }
  return true;
}

}  // namespace cadhost
