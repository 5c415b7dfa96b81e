// dxf_reader.h - one-pass reader of ASCII DXF groups over an in-memory buffer.
//
// The buffer is the whole file (mapped or read once); tags point into it, so reading allocates
// nothing per tag. Line ends may be LF, CRLF or a lone CR; group-code lines may carry spaces on
// either side; 999 comments are skipped; nothing after `0 EOF` is looked at. Every value is
// checked against the type of its group code, so errors carry the line where they occur.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "dxf/dxf_tag.h"

namespace pf {
namespace dxf {

class TagReader {
 public:
  // requireEof: a drawing must end with `0 EOF`; running out of data before it is a truncated
  // file. Tests and fragments of tags may read without it.
  TagReader(std::string_view data, std::string fileName, bool requireEof = true);

  // Without validation values are only trimmed by kind (numbers, handles, group 0): for reading
  // again records a validating pass has already checked.
  void setValidate(bool on) { validate_ = on; }

  // Reads the next group into `tag`. Answers false at the end: after `0 EOF` (which is itself
  // returned once as a tag) or at the end of the data when EOF is not required.
  // Throws DxfError for anything that is not well-formed.
  bool next(Tag& tag);

  // Continues reading at byte `offset`, which starts line `line` (a group-code line), as a
  // fragment (no EOF required). Used to re-read one record found by an earlier pass.
  void seek(std::size_t offset, std::uint32_t line);

  // Makes the next call of next() answer `tag` again (one group of look-ahead).
  void pushBack(const Tag& tag);

  const std::string& fileName() const { return file_; }
  // Offset of the first byte not yet consumed (for releasing pages behind the reader).
  std::size_t offset() const { return pos_; }
  std::uint32_t line() const { return line_; }
  // Offset of the group-code line of the tag last answered by next().
  std::size_t tagOffset() const { return tagOffset_; }
  std::string_view data() const { return data_; }

  [[noreturn]] void fail(std::uint32_t line, const std::string& reason) const;

 private:
  // Next physical line without its line end; false at the end of the data.
  bool readLine(std::string_view& out);

  std::string_view data_;
  std::string file_;
  std::size_t pos_ = 0;
  std::uint32_t line_ = 0;  // lines consumed so far
  bool requireEof_;
  bool done_ = false;
  bool trimNextName_ = false;  // the group 2 after SECTION or TABLE is a structural name
  bool havePushed_ = false;
  bool first_ = true;
  bool validate_ = true;
  Tag pushed_;
  std::size_t pushedOffset_ = 0;
  std::size_t tagOffset_ = 0;
};

// True when the buffer starts with the binary-DXF sentinel.
bool isBinaryDxf(std::string_view data);

// The offset just past the group whose group-code line starts at `codeOffset` (its code line and
// its value line): where the reader stands after answering that group.
std::size_t offsetAfterGroup(std::string_view data, std::size_t codeOffset);

}  // namespace dxf
}  // namespace pf
