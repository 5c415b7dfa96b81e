// db/tag_list.h - a DXF tag (group code + value) as the DXF reader, the writer and the tag filer
// share it.
//
// A tag read from a file keeps the value's original text (and its line number for messages);
// a tag written by a filer carries its value both typed and formatted as text.
#pragma once
#include <string>
#include <vector>
#include "dbid.h"
#include "db/real_text.h"

namespace pf {

// How the tag filer treats a group code's value: the group-code table (group_codes.h) seen with
// points split into their coordinates and handles split into references and plain text.
enum class TagKind {
  String,   // text (names, 100 subclass markers, 102 control strings, 1000 ...)
  Handle,   // a handle as hexadecimal text that is not a reference (5, 105, 320-329, 1005)
  Id,       // a reference to an object by handle (330-369, 390-399, 480-481)
  Real,     // a floating-point value that is not part of a point (19, 29, 38-59, 140-149, 1040-1059 ...)
  Int16,    // 60-79, 170-179, 270-289, 370-389, 400-409, 1060-1070
  Int32,    // 90-99, 420-429, 440-459, 1071
  Int64,    // 160-169
  Bool,     // 290-299
  Binary,   // hexadecimal binary chunks (310-319, 1004)
  PointX,   // first coordinate of a point (10-18, 110-112, 210-213, 1010-1013)
  PointY,   // second coordinate (20-28, 120-122, 220-223, 1020-1023)
  PointZ,   // third coordinate (30-37, 130-132, 230-233, 1030-1033)
  Comment,  // 999
  Unknown   // a code no DXF version defines
};

TagKind tagKind(int code);

struct Tag {
  int code = 0;
  std::string text;     // the value as it appears (or will appear) in the file
  int line = 0;         // line number of the group code in the file it came from (0 = none)
  // Typed value, set by writers; readers parse `text` on demand.
  double real = 0.0;
  long long integer = 0;
  AcDbObjectId id;      // for Id tags written by a filer

  Tag() {}
  Tag(int c, std::string t, int ln = 0) : code(c), text(std::move(t)), line(ln) {}
};

typedef std::vector<Tag> TagList;

// Parses a whole tag value as a real / an integer (surrounding blanks allowed).
bool parseReal(const std::string& text, double& value);
bool parseInteger(const std::string& text, long long& value);

}  // namespace pf
