// builtin_prompts.h - the host program's own prompts for its built-in commands, read from the current
// input source: points, numbers, texts and object selection. Each answers kOk, kEnter (empty
// input, where the prompt allows it) or kCancel (^C or the end of the input).
#pragma once
#include <string>
#include <vector>

#include "dbid.h"
#include "geometry.h"
#include "pf/input.h"

namespace cadhost {

enum class Answer { kOk, kEnter, kCancel };

// "x,y" or "x,y,z"; invalid input is reported and asked again.
Answer askPoint(const std::string& prompt, Pt& point, bool allowEnter = false);
// A number; Enter keeps `value` (its default) when allowed.
Answer askReal(const std::string& prompt, double& value, bool allowEnter = true);
// Any text (may be empty when allowEnter). In a script a space ends it, unless `extent` asks for
// the rest of the line (text that may hold spaces, such as an attribute value).
Answer askText(const std::string& prompt, std::string& text, bool allowEnter = false,
               pf::Extent extent = pf::Extent::kWord);
// A file name; double quotes around it are taken off, so that a script can give one with spaces
// ("my plans/out.dxf"). An empty name ("") asks again. The answer is the name for the file
// system, in the locale's encoding (console_text.h), like the names given on the command line.
Answer askFileName(const std::string& prompt, std::string& path);
std::string unquoteFileName(const std::string& typed);
// Objects picked by point or #handle until Enter; duplicates are ignored.
Answer askObjects(std::vector<AcDbObjectId>& ids);

// Parses "x,y" / "x,y,z" (and, with bulge != nullptr, "x,y,bulge" for polyline vertices).
bool parsePoint(const std::string& text, Pt& point, double* bulge = nullptr);

}  // namespace cadhost
