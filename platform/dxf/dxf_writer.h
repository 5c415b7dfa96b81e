// dxf_writer.h - ASCII DXF group writer in the layout real drawings use: group codes right-aligned
// in three columns, 16-bit integers padded to 6 columns and 32-bit ones to 9, doubles in their
// shortest round-trip form with at least one decimal, upper-case handles, CRLF line ends.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "db/real_text.h"
#include "dxf/dxf_tag.h"

namespace pf {
namespace dxf {

class TextCodec;

class TagWriter {
 public:
  // Output goes to `sink` in large blocks; without a sink it accumulates in text().
  using Sink = std::function<void(const char*, std::size_t)>;
  explicit TagWriter(Sink sink = Sink(), int precision = 16);
  ~TagWriter();

  void string(int code, std::string_view value);
  void integer(int code, std::int64_t value);  // padded by the code's kind
  void real(int code, double value, int precision = 0);  // 0: the writer's precision
  void handle(int code, std::uint64_t value);  // 0 is written as "0"
  void point(int code, double x, double y, double z);  // code, code+10, code+20
  // A value kept as text from a drawing, written by its code's kind: numbers re-padded, handles
  // upper-cased, doubles kept as read (they already round-trip), strings escaped.
  void kept(int code, std::string_view text);

  // Text of a drawing whose file is UTF-8 goes through `codec` (dxf_text_codec.h) on its way to
  // the file; without one it is written as it is.
  void setTextCodec(const TextCodec* codec) { codec_ = codec; }

  void flush();  // hands buffered output to the sink
  void reserve(std::size_t bytes) { buf_.reserve(bytes); }  // for output kept in text()
  const std::string& text() const { return buf_; }
  std::uint64_t bytesWritten() const { return written_ + buf_.size(); }

  // The text of a double as this writer formats it (exposed for tests and the header).
  static std::string formatDouble(double v, int precision = 16);
  // The same into `out`, which has room for kDoubleText bytes; answers the length.
  static constexpr std::size_t kDoubleText = kRealTextMax;
  static std::size_t formatDoubleInto(char* out, double v, int precision = 16);

 private:
  void code(int c);
  void endLine() { buf_.append("\r\n", 2); }
  void maybeFlush() {
    if (sink_ && buf_.size() >= kBlock) flush();
  }
  void appendEscaped(std::string_view s);

  static constexpr std::size_t kBlock = 1 << 20;
  Sink sink_;
  int precision_;
  std::string buf_;
  std::uint64_t written_ = 0;
  const TextCodec* codec_ = nullptr;
  std::string converted_;  // a value through the codec
};

}  // namespace dxf
}  // namespace pf
