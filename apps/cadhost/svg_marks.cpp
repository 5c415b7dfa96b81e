// svg_marks.cpp - reading marks files and choosing their colours.
#include "svg_marks.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "dbhandle.h"

namespace cadhost {
namespace {

// Distinct colours that read on white, the loudest first (a report of problems read first gets
// them); past the last one they repeat.
const char* const kPalette[] = {"#d7263d", "#e08a00", "#1f6fd1", "#8e44ad", "#2e9e44", "#7f8c8d", "#c0a000"};

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// The fields of one CSV record (RFC 4180 quoting; a record spans one line).
std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        out.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        out.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      out.emplace_back();
    } else if (c != '\r') {
      out.back() += c;
    }
  }
  return out;
}

}  // namespace

bool readSvgMarks(const std::string& path, SvgMarks& marks, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the marks file '" + path + "'";
    return false;
  }
  std::string line;
  if (!std::getline(in, line)) {
    error = path + ":1: the marks file is empty";
    return false;
  }
  const std::vector<std::string> header = fields(line);
  int handleColumn = -1, statusColumn = -1;
  for (size_t i = 0; i < header.size(); ++i) {
    const std::string name = upper(header[i]);
    if (name == "HANDLE") handleColumn = static_cast<int>(i);
    if (name == "STATUS") statusColumn = static_cast<int>(i);
  }
  if (handleColumn < 0 || statusColumn < 0) {
    error = path + ":1: the header names no Handle and Status columns";
    return false;
  }
  while (std::getline(in, line)) {
    const std::vector<std::string> record = fields(line);
    if (static_cast<int>(record.size()) <= std::max(handleColumn, statusColumn)) continue;
    const std::string handle = upper(record[handleColumn]);
    const std::string& label = record[statusColumn];
    // A record that names no handle (a total row, say) marks nothing and adds no label.
    const bool hex = !handle.empty() && handle.size() <= 16 &&
                     std::all_of(handle.begin(), handle.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
    if (!hex || label.empty()) continue;
    marks.labelOfHandle[handle] = label;
    if (std::find(marks.labels.begin(), marks.labels.end(), label) == marks.labels.end()) marks.labels.push_back(label);
  }
  return true;
}

bool isSvgColour(const std::string& colour) {
  if (colour.size() == 4 || colour.size() == 7) {
    if (colour[0] == '#' &&
        std::all_of(colour.begin() + 1, colour.end(), [](unsigned char c) { return std::isxdigit(c) != 0; }))
      return true;
  }
  return !colour.empty() && colour.size() <= 32 &&
         std::all_of(colour.begin(), colour.end(), [](unsigned char c) { return std::isalpha(c) != 0; });
}

bool setLabelColour(SvgMarks& marks, const std::string& labelEqualsColour) {
  const size_t eq = labelEqualsColour.rfind('=');
  if (eq == std::string::npos || eq == 0 || !isSvgColour(labelEqualsColour.substr(eq + 1))) return false;
  marks.colourOfLabel[labelEqualsColour.substr(0, eq)] = labelEqualsColour.substr(eq + 1);
  return true;
}

namespace {

// The colour of each label, in the order of marks.labels: the one given, or the next colour
// of the palette that no label was given.
std::vector<std::string> labelColours(const SvgMarks& marks) {
  std::vector<std::string> free;
  for (const char* c : kPalette) {
    bool given = false;
    for (const auto& kv : marks.colourOfLabel) given = given || upper(kv.second) == upper(c);
    if (!given) free.push_back(c);
  }
  if (free.empty()) free.assign(std::begin(kPalette), std::end(kPalette));
  std::vector<std::string> out;
  size_t next = 0;
  for (const std::string& label : marks.labels) {
    auto it = marks.colourOfLabel.find(label);
    out.push_back(it != marks.colourOfLabel.end() ? it->second : free[next++ % free.size()]);
  }
  return out;
}

}  // namespace

std::vector<LegendEntry> marksLegend(const SvgMarks& marks) {
  std::vector<LegendEntry> legend;
  const std::vector<std::string> colours = labelColours(marks);
  for (size_t i = 0; i < marks.labels.size(); ++i) legend.push_back(LegendEntry{marks.labels[i], colours[i]});
  return legend;
}

std::string markColour(const SvgMarks& marks, const AcDbObjectId& id) {
  char buffer[32] = "";
  id.handle().getIntoAsciiBuffer(buffer);
  auto it = marks.labelOfHandle.find(upper(buffer));
  if (it == marks.labelOfHandle.end()) return std::string();
  const size_t index = std::find(marks.labels.begin(), marks.labels.end(), it->second) - marks.labels.begin();
  return labelColours(marks)[index];
}

}  // namespace cadhost
