// Conversion between the locale's encoding and the host's code page (console_text.h). UTF-8 is
// converted by the platform; any other encoding of the locale goes through iconv to UTF-8 first.
#include "console_text.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <utility>

#include "pf/codepage.h"

namespace cadhost {
namespace {

const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);

std::string normalised(const std::string& codeset) {
  std::string n;
  for (char c : codeset)
    if (std::isalnum(static_cast<unsigned char>(c))) n += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return n;
}

// Converts with iconv; a sequence it cannot convert is kept as it is (byte by byte).
std::string convert(iconv_t cd, const std::string& text) {
  std::string out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buf[1024];
  while (inLeft > 0) {
    char* o = buf;
    size_t oLeft = sizeof buf;
    const size_t rc = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buf, static_cast<size_t>(o - buf));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out += *in++;  // not convertible: keep the byte
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

class ConvertingInput : public pf::InputSource {
 public:
  explicit ConvertingInput(std::unique_ptr<pf::InputSource> inner) : inner_(std::move(inner)) {}

  pf::Input read(const std::string& prompt, pf::Extent extent) override {
    return converted(inner_->read(prompt, extent));
  }
  const pf::Input& peek() override {
    peeked_ = converted(inner_->peek());
    return peeked_;
  }
  bool interactive() const override { return inner_->interactive(); }
  std::string where() const override { return inner_->where(); }

 private:
  static pf::Input converted(pf::Input in) {
    in.text = consoleEncoding().toHost(in.text);
    return in;
  }

  std::unique_ptr<pf::InputSource> inner_;
  pf::Input peeked_;
};

}  // namespace

ConsoleEncoding::ConsoleEncoding(const std::string& codeset) {
  const std::string n = normalised(codeset);
  // The C locale's ASCII names no encoding for the bytes above 127: take them as UTF-8.
  if (n.empty() || n == "UTF8" || n == "ANSIX341968" || n == "ASCII" || n == "USASCII") return;
  toUtf8_ = iconv_open("UTF-8", codeset.c_str());
  fromUtf8_ = iconv_open(codeset.c_str(), "UTF-8");
  utf8_ = toUtf8_ == kNoConversion || fromUtf8_ == kNoConversion;  // unknown to iconv: UTF-8
}

ConsoleEncoding::~ConsoleEncoding() {
  if (toUtf8_ != kNoConversion) iconv_close(toUtf8_);
  if (fromUtf8_ != kNoConversion) iconv_close(fromUtf8_);
}

std::string ConsoleEncoding::environmentCodeset() {
  locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return "UTF-8";
  std::string codeset = nl_langinfo_l(CODESET, user);
  freelocale(user);
  return codeset;
}

std::string ConsoleEncoding::outsideToUtf8(const std::string& outside) const {
  return utf8_ ? outside : convert(toUtf8_, outside);
}

std::string ConsoleEncoding::utf8ToOutside(const std::string& utf8) const {
  return utf8_ ? utf8 : convert(fromUtf8_, utf8);
}

std::string ConsoleEncoding::toHost(const std::string& outside) const {
  for (unsigned char c : outside)
    if (c >= 0x80) return pf::utf8ToAnsiEscaped(outsideToUtf8(outside));
  return outside;  // ASCII is the same everywhere
}

std::string ConsoleEncoding::fromHost(const std::string& host) const {
  for (unsigned char c : host)
    if (c >= 0x80 || c == '\\') return utf8ToOutside(pf::ansiToUtf8Unescaped(host));
  return host;
}

const ConsoleEncoding& consoleEncoding() {
  // Never destroyed: output may still be written while the program's statics go away.
  static const ConsoleEncoding* encoding = new ConsoleEncoding(ConsoleEncoding::environmentCodeset());
  return *encoding;
}

std::unique_ptr<pf::InputSource> withConsoleEncoding(std::unique_ptr<pf::InputSource> source) {
  if (!source) return source;
  return std::make_unique<ConvertingInput>(std::move(source));
}

pf::OutputSink consoleOutputSink() {
  return [](std::string_view text) {
    const std::string shown = consoleEncoding().fromHost(std::string(text));
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fflush(stdout);
  };
}

}  // namespace cadhost
