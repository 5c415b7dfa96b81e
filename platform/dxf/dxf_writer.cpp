// dxf_writer.cpp - ASCII DXF group writer (see dxf_writer.h).
#include "dxf/dxf_writer.h"

#include "db/real_text.h"
#include "dxf/dxf_text_codec.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace pf {
namespace dxf {

namespace {

// Appends `value` right-aligned in `width` columns.
void appendPadded(std::string& out, std::int64_t value, int width) {
  char tmp[24];
  auto r = std::to_chars(tmp, tmp + sizeof tmp, value);
  int len = static_cast<int>(r.ptr - tmp);
  if (len < width) out.append(static_cast<std::size_t>(width - len), ' ');
  out.append(tmp, static_cast<std::size_t>(len));
}

int padWidth(ValueKind k) {
  switch (k) {
    case ValueKind::Int16:
    case ValueKind::Bool:
      return 6;
    case ValueKind::Int32:
      return 9;
    default:
      return 0;
  }
}

}  // namespace

TagWriter::TagWriter(Sink sink, int precision) : sink_(std::move(sink)), precision_(precision) {
  if (sink_) buf_.reserve(kBlock + 4096);
}

TagWriter::~TagWriter() = default;

void TagWriter::flush() {
  if (sink_ && !buf_.empty()) {
    sink_(buf_.data(), buf_.size());
    written_ += buf_.size();
    buf_.clear();
  }
}

void TagWriter::code(int c) {
  // "  8\r\n", " 10\r\n", "100\r\n", "1001\r\n": built on the stack, appended at once.
  char line[16];
  std::size_t n = 0;
  if (c >= 0 && c < 10) {
    line[0] = ' ';
    line[1] = ' ';
    line[2] = static_cast<char>('0' + c);
    n = 3;
  } else if (c >= 10 && c < 100) {
    line[0] = ' ';
    line[1] = static_cast<char>('0' + c / 10);
    line[2] = static_cast<char>('0' + c % 10);
    n = 3;
  } else {
    auto r = std::to_chars(line, line + 12, c);
    n = static_cast<std::size_t>(r.ptr - line);
  }
  line[n++] = '\r';
  line[n++] = '\n';
  buf_.append(line, n);
}

// A line end inside a value would split it into two groups and corrupt the drawing, so control
// characters are written in caret form (LF as ^J), as DXF writers do.
// Characters outside the code page travel as \U+XXXX; readers that match only upper-case hex
// miss lower-case ones, so they are written in upper case.
void TagWriter::appendEscaped(std::string_view s) {
  // Nearly every value has nothing to escape: one pass to find out, then one append.
  bool plain = true;
  for (unsigned char c : s)
    if (c < 0x20 || c == '\\') {
      plain = false;
      break;
    }
  if (plain) {
    buf_.append(s.data(), s.size());
    return;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '\\' && i + 6 < s.size() && (s[i + 1] == 'U' || s[i + 1] == 'u') && s[i + 2] == '+') {
      bool lower = false, hex = true;
      for (std::size_t k = i + 3; k < i + 7; ++k) {
        char h = s[k];
        if (h >= 'a' && h <= 'f') lower = true;
        else if (!((h >= '0' && h <= '9') || (h >= 'A' && h <= 'F'))) hex = false;
      }
      if (hex && (lower || s[i + 1] == 'u')) {
        buf_.append(s.data() + start, i - start);
        buf_.append("\\U+", 3);
        for (std::size_t k = i + 3; k < i + 7; ++k)
          buf_.push_back(s[k] >= 'a' && s[k] <= 'f' ? static_cast<char>(s[k] - 'a' + 'A') : s[k]);
        i += 6;
        start = i + 1;
      }
      continue;
    }
    if (c < 0x20 && c != '\t') {
      buf_.append(s.data() + start, i - start);
      buf_.push_back('^');
      buf_.push_back(static_cast<char>(c + 64));
      start = i + 1;
    }
  }
  buf_.append(s.data() + start, s.size() - start);
}

void TagWriter::string(int c, std::string_view value) {
  code(c);
  if (codec_ && codec_->toFile(value, converted_))
    appendEscaped(converted_);
  else
    appendEscaped(value);
  endLine();
  maybeFlush();
}

void TagWriter::integer(int c, std::int64_t value) {
  code(c);
  appendPadded(buf_, value, padWidth(kindOf(c)));
  endLine();
  maybeFlush();
}

// The text of a double into `out` (room for kDoubleText bytes), without allocating: this runs for
// every coordinate of a drawing. The form is the platform's one (db/real_text.h); a value a file
// cannot hold is written as 0, never as text a reader would refuse.
std::size_t TagWriter::formatDoubleInto(char* out, double v, int precision) {
  const std::size_t n = formatRealInto(out, v, precision);
  return n != 0 ? n : formatRealInto(out, 0.0, precision);
}

std::string TagWriter::formatDouble(double v, int precision) {
  char text[kDoubleText];
  return std::string(text, formatDoubleInto(text, v, precision));
}

void TagWriter::real(int c, double value, int precision) {
  code(c);
  char text[kDoubleText + 2];
  std::size_t n = formatDoubleInto(text, value, precision > 0 ? precision : precision_);
  text[n++] = '\r';
  text[n++] = '\n';
  buf_.append(text, n);
  maybeFlush();
}

void TagWriter::handle(int c, std::uint64_t value) {
  code(c);
  char tmp[20];
  auto r = std::to_chars(tmp, tmp + sizeof tmp, value, 16);
  for (char* p = tmp; p != r.ptr; ++p)
    if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
  buf_.append(tmp, static_cast<std::size_t>(r.ptr - tmp));
  endLine();
  maybeFlush();
}

void TagWriter::point(int c, double x, double y, double z) {
  real(c, x);
  real(c + 10, y);
  real(c + 20, z);
}

void TagWriter::kept(int c, std::string_view text) {
  ValueKind k = kindOf(c);
  switch (k) {
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int64:
    case ValueKind::Bool: {
      std::int64_t v = 0;
      if (parseInt64(text, v)) {
        integer(c, v);
        return;
      }
      break;
    }
    case ValueKind::Handle: {
      std::uint64_t h = 0;
      if (parseHandle(text, h)) {
        handle(c, h);
        return;
      }
      break;
    }
    case ValueKind::Binary: {
      code(c);
      std::size_t at = buf_.size();
      buf_.append(text.data(), text.size());
      for (std::size_t i = at; i < buf_.size(); ++i)
        if (buf_[i] >= 'a' && buf_[i] <= 'f') buf_[i] = static_cast<char>(buf_[i] - 'a' + 'A');
      endLine();
      maybeFlush();
      return;
    }
    case ValueKind::Double:
      code(c);
      buf_.append(text.data(), text.size());
      endLine();
      maybeFlush();
      return;
    default:
      break;
  }
  string(c, text);
}

}  // namespace dxf
}  // namespace pf
