// dxf_structure.cpp - the structural walk of a drawing (see dxf_structure.h).
#include "dxf/dxf_structure.h"

#include "dxf/dxf_tag_stream.h"

#include <algorithm>
#include <cstdio>

namespace pf {
namespace dxf {

namespace {

std::string hexHandle(std::uint64_t h) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(h));
  return buf;
}

KeptTag keep(const Tag& t) { return KeptTag{t.code, std::string(t.value)}; }

int versionNumber(const std::string& acadVer) {
  if (acadVer.size() < 3 || acadVer.compare(0, 2, "AC") != 0) return -1;
  int n = 0;
  for (std::size_t i = 2; i < acadVer.size(); ++i) {
    if (acadVer[i] < '0' || acadVer[i] > '9') return -1;
    if (n < 100000000) n = n * 10 + (acadVer[i] - '0');  // a longer number is just a later version
  }
  return n;
}

// Appends the groups before the next group 0 to `out` and answers that group 0 in `zero`; false
// at the end of the data. The stream copies them a batch at a time.
bool takeUntilZero(TagReader& r, std::vector<Tag>& out, Tag& zero) {
  for (;;) {
    Tag& t = out.emplace_back();  // read in place
    if (!r.next(t)) {
      out.pop_back();
      return false;
    }
    if (t.code == 0) {
      zero = t;
      out.pop_back();
      return true;
    }
  }
}

bool takeUntilZero(TagStream& s, std::vector<Tag>& out, Tag& zero) { return s.takeUntilZero(out, zero); }

// Reads from a TagReader, or from a TagStream fed by a reader in another thread: both answer the
// same calls with the same results.
template <class Source>
class Scanner {
 public:
  Scanner(Source& r, DrawingSink& sink, DrawingParts& parts, ReleaseBehind release)
      : r_(r), sink_(sink), parts_(parts), release_(release) {}

  void run();
  void section(const SectionPlace& place);

 private:
  // Next group; at the end of the data the reader has already thrown (EOF is required).
  Tag next() {
    Tag t;
    if (!r_.next(t)) r_.fail(r_.line(), "unexpected end of file");
    return t;
  }
  [[noreturn]] void fail(std::uint32_t line, const std::string& why) { r_.fail(line, why); }

  void body(const SectionPlace& place, const Tag& sectionStart);
  void header(const Tag& sectionStart);
  void classes(const Tag& sectionStart);
  void tables(const Tag& sectionStart);
  void blocks(const Tag& sectionStart);
  void records(const std::string& name, const Tag& sectionStart, bool entities);
  void other(const std::string& name, const Tag& sectionStart);

  // Reads the groups of one record whose `0 type` group is `start` (and, for a table head, its
  // name group) into rec_, noting its handle. Answers the `0` group that ends it.
  Tag record(const Tag& start, const Tag* name = nullptr);
  void maybeRelease(std::size_t offset) {
    if (release_.release && offset >= lastRelease_ + (8u << 20)) {
      release_.release(release_.ctx, offset);
      lastRelease_ = offset;
    }
  }
  void endOfSectionExpected(const std::string& name, const Tag& start, const Tag& found);

  Source& r_;
  DrawingSink& sink_;
  DrawingParts& parts_;
  ReleaseBehind release_;
  std::size_t lastRelease_ = 0;
  ScannedRecord rec_;
};

template <class Source>
void Scanner<Source>::run() {
  for (;;) {
    Tag t = next();
    if (t.code != 0)
      fail(t.line, parts_.sections.empty() ? "not a DXF file: expected 0 SECTION, found group " + std::to_string(t.code)
                                           : "group " + std::to_string(t.code) + " outside any section");
    if (t.value == "EOF") break;
    if (t.value != "SECTION") {
      if (parts_.sections.empty()) fail(t.line, "not a DXF file: expected 0 SECTION, found " + std::string(t.value));
      if (t.value == "ENDSEC") fail(t.line, "ENDSEC without a SECTION");
      fail(t.line, std::string(t.value) + " outside any section");
    }
    Tag name = next();
    if (name.code != 2) fail(name.line, "SECTION at line " + std::to_string(t.line) + " has no name (group 2)");
    SectionPlace place;
    place.name = std::string(name.value);
    for (const SectionPlace& s : parts_.sections)
      if (s.name == place.name) fail(name.line, "section " + place.name + " appears twice");
    place.line = t.line;
    place.bodyOffset = r_.offset();
    place.bodyLine = r_.line() + 1;
    parts_.sections.push_back(place);
    sink_.sectionBegin(place);
    body(place, t);
    sink_.sectionEnd(place);
  }
}

template <class Source>
void Scanner<Source>::section(const SectionPlace& place) {
  r_.seek(place.bodyOffset, place.bodyLine);
  Tag start;
  start.code = 0;
  start.line = place.line;
  sink_.sectionBegin(place);
  body(place, start);
  sink_.sectionEnd(place);
}

template <class Source>
void Scanner<Source>::body(const SectionPlace& place, const Tag& start) {
  const std::string& name = place.name;
  if (name == "HEADER")
    header(start);
  else if (name == "CLASSES")
    classes(start);
  else if (name == "TABLES")
    tables(start);
  else if (name == "BLOCKS")
    blocks(start);
  else if (name == "ENTITIES")
    records(name, start, true);
  else if (name == "OBJECTS")
    records(name, start, false);
  else
    other(name, start);
}

template <class Source>
void Scanner<Source>::endOfSectionExpected(const std::string& name, const Tag& start, const Tag& found) {
  if (found.value == "EOF" || found.value == "SECTION")
    fail(found.line, "section " + name + " starting at line " + std::to_string(start.line) + " has no ENDSEC");
}

template <class Source>
void Scanner<Source>::header(const Tag& start) {
  Tag t = next();
  while (!(t.code == 0)) {
    if (t.code != 9) fail(t.line, "header value (group " + std::to_string(t.code) + ") without a variable name (group 9)");
    HeaderVariable var;
    var.name = std::string(trimmed(t.value));
    var.line = t.line;
    for (t = next(); t.code != 9 && t.code != 0; t = next()) var.tags.push_back(keep(t));
    if (var.name == "$ACADVER") {
      parts_.acadVerLine = var.line;
      if (!var.tags.empty()) parts_.acadVer = std::string(trimmed(var.tags[0].value));
    }
    if (var.name == "$DWGCODEPAGE" && !var.tags.empty()) parts_.codePage = std::string(trimmed(var.tags[0].value));
    if (var.name == "$HANDSEED" && !var.tags.empty()) parseHandle(var.tags[0].value, parts_.handSeed);
    parts_.header.push_back(std::move(var));
  }
  if (t.value != "ENDSEC") {
    endOfSectionExpected("HEADER", start, t);
    fail(t.line, "unexpected " + std::string(t.value) + " in the HEADER section");
  }
}

template <class Source>
void Scanner<Source>::classes(const Tag& start) {
  Tag t = next();
  while (t.value == "CLASS" && t.code == 0) {
    ClassRecord c;
    c.line = t.line;
    for (t = next(); t.code != 0; t = next()) {
      c.tags.push_back(keep(t));
      switch (t.code) {
        case 1: c.dxfName = std::string(t.value); break;
        case 2: c.cppName = std::string(t.value); break;
        case 3: c.appName = std::string(t.value); break;
        case 90: parseInt64(t.value, c.proxyFlags); break;
        case 280: parseInt64(t.value, c.wasProxy); break;
        case 281: parseInt64(t.value, c.isEntity); break;
        default: break;
      }
    }
    if (c.dxfName.empty()) fail(c.line, "CLASS without a DXF name (group 1)");
    parts_.classes.push_back(std::move(c));
  }
  if (t.code != 0 || t.value != "ENDSEC") {
    endOfSectionExpected("CLASSES", start, t);
    fail(t.line, "unexpected " + std::string(t.value) + " in the CLASSES section");
  }
}

template <class Source>
void Scanner<Source>::tables(const Tag& start) {
  Tag t = next();
  for (;;) {
    if (t.code != 0) fail(t.line, "group " + std::to_string(t.code) + " outside a table in the TABLES section");
    if (t.value == "ENDSEC") return;
    endOfSectionExpected("TABLES", start, t);
    if (t.value == "ENDTAB") fail(t.line, "ENDTAB without a TABLE");
    if (t.value != "TABLE") fail(t.line, std::string(t.value) + " outside a table in the TABLES section");
    const Tag head = t;
    Tag name = next();
    if (name.code != 2) fail(name.line, "TABLE at line " + std::to_string(head.line) + " has no name (group 2)");
    const std::string tableName(name.value);
    t = record(head, &name);
    sink_.tableBegin(tableName, rec_);
    for (;;) {
      if (t.value == "ENDTAB") break;
      if (t.value == "TABLE" || t.value == "ENDSEC" || t.value == "EOF" || t.value == "SECTION")
        fail(t.line, "table " + tableName + " starting at line " + std::to_string(head.line) + " has no ENDTAB");
      t = record(t);
      sink_.tableRecord(rec_);
    }
    // ENDTAB may carry groups of its own in some writers; they are not kept.
    for (t = next(); t.code != 0; t = next()) {
    }
    sink_.tableEnd();
  }
}

template <class Source>
void Scanner<Source>::blocks(const Tag& start) {
  Tag t = next();
  for (;;) {
    if (t.code != 0) fail(t.line, "group " + std::to_string(t.code) + " outside a block in the BLOCKS section");
    if (t.value == "ENDSEC") return;
    endOfSectionExpected("BLOCKS", start, t);
    if (t.value == "ENDBLK") fail(t.line, "ENDBLK without a BLOCK");
    if (t.value != "BLOCK") fail(t.line, std::string(t.value) + " outside a block in the BLOCKS section");
    const std::uint32_t beginLine = t.line;
    t = record(t);
    sink_.blockBegin(rec_);
    for (;;) {
      if (t.value == "ENDBLK") break;
      if (t.value == "BLOCK" || t.value == "ENDSEC" || t.value == "EOF" || t.value == "SECTION")
        fail(t.line, "block starting at line " + std::to_string(beginLine) + " has no ENDBLK");
      t = record(t);
      sink_.blockEntity(rec_);
    }
    t = record(t);
    sink_.blockEnd(rec_);
  }
}

template <class Source>
void Scanner<Source>::records(const std::string& name, const Tag& start, bool entities) {
  Tag t = next();
  for (;;) {
    if (t.code != 0) fail(t.line, "group " + std::to_string(t.code) + " outside a record in the " + name + " section");
    if (t.value == "ENDSEC") return;
    endOfSectionExpected(name, start, t);
    t = record(t);
    if (entities)
      sink_.entity(rec_);
    else
      sink_.object(rec_);
  }
}

template <class Source>
void Scanner<Source>::other(const std::string& name, const Tag& start) {
  OtherSection s;
  s.name = name;
  for (Tag t = next();; t = next()) {
    if (t.code == 0 && t.value == "ENDSEC") break;
    if (t.code == 0) endOfSectionExpected(name, start, t);
    s.tags.push_back(keep(t));
  }
  parts_.others.push_back(std::move(s));
}

template <class Source>
Tag Scanner<Source>::record(const Tag& start, const Tag* name) {
  maybeRelease(r_.tagOffset());
  std::vector<Tag>& tags = rec_.tags;
  tags.clear();
  tags.push_back(start);
  if (name) tags.push_back(*name);
  rec_.handle = 0;
  rec_.handleLine = 0;

  Tag end;
  const std::size_t first = tags.size();
  if (!takeUntilZero(r_, tags, end)) r_.fail(r_.line(), "unexpected end of file");

  // The record's own handle is the first group 5 (105 for DIMSTYLE) before any subclass marker.
  const int handleCode = start.value == "DIMSTYLE" ? 105 : 5;
  for (std::size_t i = first; i < tags.size(); ++i) {
    const Tag& t = tags[i];
    if (t.code == 100) break;
    if (t.code == handleCode) {
      // A handle of 0 names nothing: a later handle group may still name the record.
      parseHandle(t.value, rec_.handle);
      if (rec_.handle != 0) {
        rec_.handleLine = t.line;
        if (rec_.handle > parts_.maxHandle) parts_.maxHandle = rec_.handle;
        break;
      }
    }
  }
  return end;
}

// Collects every record's handle for the duplicate check of checkDrawing.
class HandleCollector : public DrawingSink {
 public:
  struct Seen {
    std::uint64_t handle;
    std::uint32_t line;
  };
  std::vector<Seen> seen;

  void tableBegin(const std::string&, ScannedRecord& head) override { note(head); }
  void tableRecord(ScannedRecord& rec) override { note(rec); }
  void blockBegin(ScannedRecord& rec) override { note(rec); }
  void blockEntity(ScannedRecord& rec) override { note(rec); }
  void blockEnd(ScannedRecord& rec) override { note(rec); }
  void entity(ScannedRecord& rec) override { note(rec); }
  void object(ScannedRecord& rec) override { note(rec); }

 private:
  void note(const ScannedRecord& rec) {
    if (rec.handle != 0) seen.push_back({rec.handle, rec.handleLine});
  }
};

}  // namespace

void scanDrawing(TagReader& reader, DrawingSink& sink, DrawingParts& parts, ReleaseBehind release) {
  Scanner<TagReader>(reader, sink, parts, release).run();
}

void scanDrawing(TagStream& stream, DrawingSink& sink, DrawingParts& parts, ReleaseBehind release) {
  Scanner<TagStream>(stream, sink, parts, release).run();
}

void scanSection(TagReader& reader, const SectionPlace& section, DrawingSink& sink, DrawingParts& parts) {
  Scanner<TagReader>(reader, sink, parts, ReleaseBehind()).section(section);
}

DrawingParts checkDrawing(TagReader& reader, ReleaseBehind release) {
  DrawingParts parts;
  HandleCollector collector;
  scanDrawing(reader, collector, parts, release);

  // Every handle must name exactly one record.
  std::vector<HandleCollector::Seen>& handles = collector.seen;
  std::sort(handles.begin(), handles.end(), [](const HandleCollector::Seen& a, const HandleCollector::Seen& b) {
    return a.handle < b.handle || (a.handle == b.handle && a.line < b.line);
  });
  for (std::size_t i = 1; i < handles.size(); ++i)
    if (handles[i].handle == handles[i - 1].handle)
      reader.fail(handles[i].line, "duplicate handle " + hexHandle(handles[i].handle) +
                                       " (already used by the record at line " + std::to_string(handles[i - 1].line) + ")");
  if (!versionSupported(parts)) throw versionError(parts, reader.fileName());
  return parts;
}

bool versionSupported(const DrawingParts& parts) { return parts.acadVer.empty() || versionNumber(parts.acadVer) >= 1015; }

DxfError versionError(const DrawingParts& parts, const std::string& file) {
  return DxfError(file, parts.acadVerLine,
                  "drawing version " + parts.acadVer + " is not supported; drawings of R12 (AC1009) and later can be read");
}

}  // namespace dxf
}  // namespace pf
