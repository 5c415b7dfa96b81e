// console_text.h - text between the world outside cadhost (terminal, script files, -c, file
// names) and the host's ANSI code page that the platform and the modules work in.
//
// Outside, text is in the encoding of the user's locale (LC_ALL / LC_CTYPE / LANG): UTF-8 on
// most machines; the C and POSIX locales count as UTF-8. Inside, it is in the host's code page
// (1252 unless the platform was told otherwise), as on the real host. Input is converted on
// the way in (a character the code page lacks becomes "\U+XXXX"; bytes that are not in the
// locale's encoding are taken as already in the code page, so a script written for the real
// host in its code page still runs), output on the way out (a "\U+XXXX" escape is shown as its
// character).
#pragma once
#include <iconv.h>

#include <memory>
#include <string>

#include "pf/input.h"
#include "pf/output.h"

namespace cadhost {

class ConsoleEncoding {
 public:
  // `codeset` as nl_langinfo(CODESET) names it ("UTF-8", "ISO-8859-15", "ANSI_X3.4-1968").
  explicit ConsoleEncoding(const std::string& codeset);
  ~ConsoleEncoding();
  ConsoleEncoding(const ConsoleEncoding&) = delete;
  ConsoleEncoding& operator=(const ConsoleEncoding&) = delete;

  // The encoding of the environment's locale.
  static std::string environmentCodeset();

  std::string toHost(const std::string& outside) const;
  std::string fromHost(const std::string& host) const;

 private:
  std::string utf8ToOutside(const std::string& utf8) const;
  std::string outsideToUtf8(const std::string& outside) const;

  bool utf8_ = true;
  iconv_t toUtf8_ = reinterpret_cast<iconv_t>(-1);
  iconv_t fromUtf8_ = reinterpret_cast<iconv_t>(-1);
};

// The conversion of this run (set up from the environment on first use).
const ConsoleEncoding& consoleEncoding();

// Wraps an input source so that the text it hands out is in the host's code page.
std::unique_ptr<pf::InputSource> withConsoleEncoding(std::unique_ptr<pf::InputSource> source);

// Writes the command line's output to standard output in the locale's encoding.
pf::OutputSink consoleOutputSink();

}  // namespace cadhost
