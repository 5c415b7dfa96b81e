// dxf_binary.h - binary DXF (R2000 and later): the 22-byte sentinel, then groups of a 2-byte
// little-endian code and a value whose form follows the code's kind (ValueKind): strings and
// handles NUL-terminated, 16/32/64-bit integers in 2/4/8 bytes, booleans in 1, reals as 8-byte
// IEEE doubles, binary chunks as a 1-byte length and the bytes.
//
// Reading decodes the file into the ASCII form the tag reader reads (one pass, every value
// checked against its code); saving encodes the ASCII groups the writer produces, as they come.
// So both forms go through the same reader, walk and writer, and ASCII -> binary -> ASCII gives
// the same groups (reals by value: the decoded text is the shortest that reads back exactly).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pf {
namespace dxf {

// The 22 bytes a binary drawing starts with.
extern const char kBinarySentinel[22];

// The ASCII form of a binary drawing (CRLF, codes right-aligned, as the writer writes). Throws
// DxfError (line 0, the byte offset in the reason) for a file that is cut short or holds a code
// no DXF version defines.
std::string decodeBinaryDxf(std::string_view data, const std::string& fileName);

// Encodes ASCII groups in the writer's layout (CRLF line ends) to binary DXF, written to the
// sink; a group may be split across calls of add(). finish() hands over the rest.
class BinaryDxfEncoder {
 public:
  using Sink = std::function<void(const char*, std::size_t)>;
  explicit BinaryDxfEncoder(Sink sink);
  void add(const char* text, std::size_t n);
  void finish();

 private:
  void group(std::string_view code, std::string_view value);
  void flushOut();

  Sink sink_;
  std::string pending_;  // text not yet a whole group
  std::string out_;
  bool started_ = false;
};

}  // namespace dxf
}  // namespace pf
