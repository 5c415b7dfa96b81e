// dxf_legacy_read.cpp - reading an older drawing for its rewrite (see dxf_legacy.h): which
// release it is, and its sections and records with every value checked against the meaning
// its group code had in that release.
#include <cstdio>
#include <cstring>

#include "dxf/dxf_legacy.h"
#include "dxf/dxf_legacy_internal.h"
#include "dxf/dxf_reader.h"
#include "dxf/dxf_tag.h"

namespace pf {
namespace dxf {

namespace {

int versionNumber(std::string_view v) {
  if (v.size() < 3 || v.substr(0, 2) != "AC") return -1;
  int n = 0;
  for (std::size_t i = 2; i < v.size(); ++i) {
    if (v[i] < '0' || v[i] > '9' || n > 100000) return -1;
    n = n * 10 + (v[i] - '0');
  }
  return n;
}

// Shows a value in a message as the reader does: quoted and shortened.
std::string shown(std::string_view v) {
  std::string s = "\"";
  for (std::size_t i = 0; i < v.size() && i < 40; ++i) {
    const unsigned char c = static_cast<unsigned char>(v[i]);
    if (c < 0x20) {
      s += '^';
      s += static_cast<char>(c + 64);
    } else {
      s += static_cast<char>(c);
    }
  }
  return s + (v.size() > 40 ? "...\"" : "\"");
}

bool isHexText(std::string_view t) {
  for (char c : t)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))) return false;
  return true;
}

// The value kind of a group in a record of `type` of an older release: as in R2000, except
// that groups 5, 6 and 7 of a DIMSTYLE record name arrow blocks (R2000 made them pointers, 342
// to 344, and gave the record's handle group 105).
ValueKind legacyKind(int code, const std::string& type) {
  if (code == 5 && type == "DIMSTYLE") return ValueKind::String;
  return kindOf(code);
}

// Checks a value and trims what the reader trims (numbers, handles, group 0).
void check(const TagReader& r, Tag& t, const std::string& type) {
  const ValueKind kind = legacyKind(t.code, type);
  const std::uint32_t valueLine = t.line + 1;
  auto bad = [&](const char* what) {
    r.fail(valueLine, "value " + shown(t.value) + " of group " + std::to_string(t.code) + " " + what);
  };
  switch (kind) {
    case ValueKind::String:
      if (t.code == 0) t.value = trimmed(t.value);
      return;
    case ValueKind::Double: {
      t.value = trimmed(t.value);
      double d;
      if (!parseDouble(t.value, d)) bad("is not a number");
      return;
    }
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int64:
    case ValueKind::Bool: {
      t.value = trimmed(t.value);
      std::int64_t v;
      if (!parseInt64(t.value, v)) bad("is not an integer");
      if ((kind == ValueKind::Int16 || kind == ValueKind::Bool) && (v < -32768 || v > 65535))
        bad("is out of range for a 16-bit integer");
      if (kind == ValueKind::Int32 && (v < -2147483648LL || v > 4294967295LL)) bad("is out of range for a 32-bit integer");
      return;
    }
    case ValueKind::Handle:
      t.value = trimmed(t.value);
      if (t.value.empty() || t.value.size() > 16 || !isHexText(t.value)) bad("is not a handle");
      return;
    case ValueKind::Binary:
      t.value = trimmed(t.value);
      if (!isHexText(t.value)) bad("is not hexadecimal binary data");
      return;
    case ValueKind::Comment:
      return;
    case ValueKind::Invalid:
      r.fail(t.line, "group code " + std::to_string(t.code) + " is not a DXF group code");
  }
}

bool isRecordSection(const std::string& name) {
  return name == "CLASSES" || name == "TABLES" || name == "BLOCKS" || name == "ENTITIES" || name == "OBJECTS";
}

// The record's own handle: its first group 5 (105 for DIMSTYLE) before a subclass marker.
void noteHandle(legacy::Record& rec, legacy::Drawing& d) {
  const int code = rec.type() == "DIMSTYLE" ? 105 : 5;
  for (std::size_t i = 1; i < rec.groups.size(); ++i) {
    const legacy::Group& g = rec.groups[i];
    if (g.code == 100) break;
    if (g.code != code) continue;
    std::uint64_t h = 0;
    parseHandle(g.value, h);
    if (h == 0) continue;
    rec.handle = h;
    rec.handleLine = g.line;
    if (h > d.maxHandle) d.maxHandle = h;
    return;
  }
}

}  // namespace

std::string legacyVersion(std::string_view data) {
  // Only a text drawing that starts with its HEADER, as every writer puts it, is looked at
  // closely; anything else is for the ordinary reader to judge.
  if (isBinaryDxf(data)) return std::string();
  try {
    TagReader r(data, std::string(), false);
    r.setValidate(false);
    Tag t;
    if (!r.next(t) || t.code != 0 || t.value != "SECTION") return std::string();
    if (!r.next(t) || t.code != 2) return std::string();
    bool inHeader = t.value == "HEADER";
    while (inHeader && r.next(t)) {
      if (t.code == 0) break;
      if (t.code == 9 && trimmed(t.value) == "$ACADVER") {
        if (!r.next(t) || t.code != 1) return std::string();
        const int n = versionNumber(trimmed(t.value));
        if (n >= 1009 && n < 1015) return std::string(trimmed(t.value));
        return std::string();
      }
    }
    // No $ACADVER: an R12 drawing when its first record (after the header, or the first
    // section's name) has no subclass marker before the next record.
    if (inHeader) {
      if (t.code != 0 || t.value != "ENDSEC") return std::string();
      if (!r.next(t) || t.code != 0 || t.value != "SECTION" || !r.next(t) || t.code != 2) return std::string();
    }
    const std::string section(t.value);
    if (section != "TABLES" && section != "BLOCKS" && section != "ENTITIES") return std::string();
    if (!r.next(t) || t.code != 0) return std::string();
    std::string first(t.value);
    if (first == "ENDSEC") return std::string();
    bool marker = false;
    int groups = 0;
    while (r.next(t) && t.code != 0 && ++groups < 100000)
      if (t.code == 100) marker = true;
    // A table head has no marker of its own in R12; look at its first record then.
    if (first == "TABLE" && !marker && t.code == 0 && t.value != "ENDTAB") {
      while (r.next(t) && t.code != 0)
        if (t.code == 100) marker = true;
    }
    return marker ? std::string() : std::string("AC1009");
  } catch (const DxfError&) {
    return std::string();  // malformed: the ordinary reader says where
  }
}

namespace legacy {

const Group* Record::find(int code) const {
  for (std::size_t i = 1; i < groups.size(); ++i)
    if (groups[i].code == code) return &groups[i];
  return nullptr;
}

std::string Record::value(int code, const std::string& fallback) const {
  const Group* g = find(code);
  return g ? g->value : fallback;
}

double Record::real(int code, double fallback) const {
  const Group* g = find(code);
  double d = fallback;
  if (g && !parseDouble(g->value, d)) d = fallback;
  return d;
}

long Record::integer(int code, long fallback) const {
  const Group* g = find(code);
  std::int64_t v = fallback;
  if (g && !parseInt64(g->value, v)) v = fallback;
  return static_cast<long>(v);
}

bool Record::hasHeadGroup(int code) const {
  bool inBraces = false;
  for (std::size_t i = 1; i < groups.size(); ++i) {
    const Group& g = groups[i];
    if (g.code == 100 || g.code >= 1000) return false;
    if (g.code == 102) {
      inBraces = !g.value.empty() && g.value[0] == '{';
      continue;
    }
    if (!inBraces && g.code == code) return true;
  }
  return false;
}

std::size_t Record::extendedDataStart() const {
  for (std::size_t i = 1; i < groups.size(); ++i)
    if (groups[i].code == 1001) return i;
  return groups.size();
}

Section* Drawing::find(const std::string& name) {
  for (Section& s : sections)
    if (s.name == name) return &s;
  return nullptr;
}

Drawing readDrawing(std::string_view data, const std::string& file) {
  Drawing d;
  TagReader r(data, file);
  r.setValidate(false);
  Tag t;
  auto next = [&]() {
    if (!r.next(t)) r.fail(r.line(), "unexpected end of file");
  };
  for (;;) {
    next();
    std::string type;
    check(r, t, type);
    if (t.code != 0)
      r.fail(t.line, d.sections.empty() ? "not a DXF file: expected 0 SECTION, found group " + std::to_string(t.code)
                                        : "group " + std::to_string(t.code) + " outside any section");
    if (t.value == "EOF") break;
    if (t.value != "SECTION") {
      if (d.sections.empty()) r.fail(t.line, "not a DXF file: expected 0 SECTION, found " + std::string(t.value));
      r.fail(t.line, std::string(t.value) + " outside any section");
    }
    Section s;
    s.line = t.line;
    next();
    if (t.code != 2) r.fail(t.line, "SECTION at line " + std::to_string(s.line) + " has no name (group 2)");
    s.name = std::string(trimmed(t.value));
    for (const Section& other : d.sections)
      if (other.name == s.name) r.fail(t.line, "section " + s.name + " appears twice");
    const bool records = isRecordSection(s.name);
    for (;;) {
      next();
      check(r, t, type);
      if (t.code == 0) {
        if (t.value == "ENDSEC") break;
        if (t.value == "EOF" || t.value == "SECTION")
          r.fail(t.line, "section " + s.name + " starting at line " + std::to_string(s.line) + " has no ENDSEC");
        type = std::string(t.value);
      }
      Group g{t.code, std::string(t.value), t.line};
      if (!records) {
        if (s.name == "HEADER" && t.code == 9 && trimmed(t.value) == "$HANDSEED") {
          s.groups.push_back(g);
          next();
          check(r, t, type);
          if (t.code == 5) parseHandle(t.value, d.handSeed);
          g = Group{t.code, std::string(t.value), t.line};
        }
        s.groups.push_back(std::move(g));
        continue;
      }
      if (t.code == 0) {
        if (!s.records.empty()) noteHandle(s.records.back(), d);
        s.records.emplace_back();
      } else if (s.records.empty()) {
        r.fail(t.line, "group " + std::to_string(t.code) + " outside a record in the " + s.name + " section");
      }
      s.records.back().groups.push_back(std::move(g));
    }
    if (!s.records.empty()) noteHandle(s.records.back(), d);
    d.sections.push_back(std::move(s));
  }
  return d;
}

// ---- Output --------------------------------------------------------------------------------------

std::string hex(std::uint64_t h) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(h));
  return buf;
}

void Output::group(int code, std::string_view value, std::uint32_t line) {
  text += std::to_string(code);
  text += '\n';
  text.append(value.data(), value.size());
  text += '\n';
  lines.push_back(line);
}

void Output::handle(int code, std::uint64_t h, std::uint32_t line) { group(code, hex(h), line); }

void Output::real(int code, double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  std::string s = buf;
  if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
  group(code, s);
}

void Output::integer(int code, long v) { group(code, std::to_string(v)); }

void Output::written(const std::string& groups) {
  TagReader r(groups, std::string(), false);
  r.setValidate(false);
  Tag t;
  while (r.next(t)) group(t.code, t.value);
}

void Output::append(const Output& other) {
  text += other.text;
  lines.insert(lines.end(), other.lines.begin(), other.lines.end());
}

}  // namespace legacy
}  // namespace dxf
}  // namespace pf
