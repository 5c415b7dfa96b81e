// dxf_text_codec.h - the text of drawings whose DXF files are in UTF-8 (R2007, AC1021, and later)
// in the drawing's code page inside.
//
// The host and its modules work in one ANSI code page, the drawing's ($DWGCODEPAGE, ANSI_1252
// when absent), as earlier drawings hold their text in their files. Reading a later drawing,
// every value goes from UTF-8 to that code page; a character the code page lacks becomes the
// escape `\U+XXXX` (a character beyond U+FFFF two, of its UTF-16 surrogates), as the host writes
// such characters. Saving turns each back into UTF-8, the escapes of characters the code page
// lacks into those characters. An escape of a character the code page has, which only a file
// itself can hold, stays an escape, so a drawing comes back as it was read. Bytes of a file
// that are not UTF-8 are taken as bytes of the code page (some writers mislabel their files)
// and so saved as the characters they stand for.
//
// Code page 1252 is known here; the other ANSI_, DOS and ISO8859- code pages come from the
// system's converters. A code page neither knows keeps ASCII and escapes everything else.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace pf {
namespace dxf {

struct CodePageTable;

class TextCodec {
 public:
  // The codec of a drawing of version `acadVer` with the code page `codePage` ($DWGCODEPAGE,
  // empty when absent); null when its file holds text in the code page already (before AC1021).
  static std::unique_ptr<TextCodec> forDrawing(std::string_view acadVer, std::string_view codePage);

  // From the file's UTF-8 to the code page. Answers false, and leaves `out` alone, when `in`
  // is ASCII (the same in both).
  bool toCodePage(std::string_view in, std::string& out) const;
  // From the code page to the file's UTF-8. Answers false, and leaves `out` alone, when `in`
  // needs no change.
  bool toFile(std::string_view in, std::string& out) const;

  // The code page's number (1252, 932, ...), 0 for one unknown here.
  unsigned codePage() const;

 private:
  explicit TextCodec(const CodePageTable* table) : table_(table) {}
  const CodePageTable* table_;  // shared, lives as long as the program
};

}  // namespace dxf
}  // namespace pf
