// dxf_structure.cpp - structural scan of a drawing (see dxf_structure.h).
#include "dxf/dxf_structure.h"

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

class Scanner {
 public:
  Scanner(TagReader& r, void (*release)(void*, std::size_t), void* ctx)
      : r_(r), release_(release), releaseCtx_(ctx) {}

  DrawingIndex run();

 private:
  // Next group; at the end of the data the reader has already thrown (EOF is required).
  Tag next() {
    Tag t;
    if (!r_.next(t)) r_.fail(r_.line(), "unexpected end of file");
    return t;
  }
  [[noreturn]] void fail(std::uint32_t line, const std::string& why) { r_.fail(line, why); }

  void header(const Tag& sectionStart);
  void classes(const Tag& sectionStart);
  void tables(const Tag& sectionStart);
  void blocks(const Tag& sectionStart);
  void records(const Tag& sectionStart, std::vector<RecordRef>& into);
  void other(const std::string& name, const Tag& sectionStart);

  // Skips over one record whose `0 type` group is `start`, noting its handle; the next `0`
  // group is left to be read again. Answers the record's reference.
  RecordRef record(const Tag& start);
  RecordRef record(const Tag& start, std::size_t offset);
  void noteHandle(std::uint64_t h, std::uint32_t line) {
    if (h == 0) return;
    handles_.push_back({h, line});
    if (h > index_.maxHandle) index_.maxHandle = h;
  }
  void maybeRelease(std::size_t offset) {
    if (release_ && offset >= lastRelease_ + (8u << 20)) {
      release_(releaseCtx_, offset);
      lastRelease_ = offset;
    }
  }
  void endOfSectionExpected(const std::string& name, const Tag& start, const Tag& found);

  TagReader& r_;
  void (*release_)(void*, std::size_t);
  void* releaseCtx_;
  std::size_t lastRelease_ = 0;
  DrawingIndex index_;
  struct Seen {
    std::uint64_t handle;
    std::uint32_t line;
  };
  std::vector<Seen> handles_;
};

DrawingIndex Scanner::run() {
  Tag t;
  std::vector<std::string> seen;
  for (;;) {
    t = next();
    if (t.code != 0)
      fail(t.line, index_.sectionOrder.empty() ? "not a DXF file: expected 0 SECTION, found group " + std::to_string(t.code)
                                               : "group " + std::to_string(t.code) + " outside any section");
    if (t.value == "EOF") break;
    if (t.value != "SECTION") {
      if (index_.sectionOrder.empty()) fail(t.line, "not a DXF file: expected 0 SECTION, found " + std::string(t.value));
      if (t.value == "ENDSEC") fail(t.line, "ENDSEC without a SECTION");
      fail(t.line, std::string(t.value) + " outside any section");
    }
    Tag name = next();
    if (name.code != 2) fail(name.line, "SECTION at line " + std::to_string(t.line) + " has no name (group 2)");
    std::string sname(name.value);
    if (std::find(index_.sectionOrder.begin(), index_.sectionOrder.end(), sname) != index_.sectionOrder.end())
      fail(name.line, "section " + sname + " appears twice");
    index_.sectionOrder.push_back(sname);
    if (sname == "HEADER")
      header(t);
    else if (sname == "CLASSES")
      classes(t);
    else if (sname == "TABLES")
      tables(t);
    else if (sname == "BLOCKS")
      blocks(t);
    else if (sname == "ENTITIES")
      records(t, index_.entities);
    else if (sname == "OBJECTS")
      records(t, index_.objects);
    else
      other(sname, t);
  }

  // Every handle must name exactly one record.
  std::sort(handles_.begin(), handles_.end(), [](const Seen& a, const Seen& b) {
    return a.handle < b.handle || (a.handle == b.handle && a.line < b.line);
  });
  for (std::size_t i = 1; i < handles_.size(); ++i)
    if (handles_[i].handle == handles_[i - 1].handle)
      fail(handles_[i].line, "duplicate handle " + hexHandle(handles_[i].handle) + " (already used by the record at line " +
                                 std::to_string(handles_[i - 1].line) + ")");
  index_.recordCount = handles_.size();
  std::vector<Seen>().swap(handles_);
  return std::move(index_);
}

void Scanner::endOfSectionExpected(const std::string& name, const Tag& start, const Tag& found) {
  if (found.value == "EOF" || found.value == "SECTION")
    fail(found.line, "section " + name + " starting at line " + std::to_string(start.line) + " has no ENDSEC");
}

void Scanner::header(const Tag& start) {
  Tag t = next();
  while (!(t.code == 0)) {
    if (t.code != 9) fail(t.line, "header value (group " + std::to_string(t.code) + ") without a variable name (group 9)");
    HeaderVariable var;
    var.name = std::string(trimmed(t.value));
    var.line = t.line;
    for (t = next(); t.code != 9 && t.code != 0; t = next()) var.tags.push_back(keep(t));
    if (var.name == "$ACADVER" && !var.tags.empty()) index_.acadVer = std::string(trimmed(var.tags[0].value));
    if (var.name == "$DWGCODEPAGE" && !var.tags.empty()) index_.codePage = std::string(trimmed(var.tags[0].value));
    if (var.name == "$HANDSEED" && !var.tags.empty()) parseHandle(var.tags[0].value, index_.handSeed);
    index_.header.push_back(std::move(var));
  }
  if (t.value != "ENDSEC") {
    endOfSectionExpected("HEADER", start, t);
    fail(t.line, "unexpected " + std::string(t.value) + " in the HEADER section");
  }
}

void Scanner::classes(const Tag& start) {
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
    index_.classes.push_back(std::move(c));
  }
  if (t.code != 0 || t.value != "ENDSEC") {
    endOfSectionExpected("CLASSES", start, t);
    fail(t.line, "unexpected " + std::string(t.value) + " in the CLASSES section");
  }
}

void Scanner::tables(const Tag& start) {
  Tag t = next();
  for (;;) {
    if (t.code != 0) fail(t.line, "group " + std::to_string(t.code) + " outside a table in the TABLES section");
    if (t.value == "ENDSEC") return;
    endOfSectionExpected("TABLES", start, t);
    if (t.value == "ENDTAB") fail(t.line, "ENDTAB without a TABLE");
    if (t.value != "TABLE") fail(t.line, std::string(t.value) + " outside a table in the TABLES section");
    Table table;
    const std::size_t headOffset = r_.tagOffset();
    Tag name = next();
    if (name.code != 2) fail(name.line, "TABLE at line " + std::to_string(t.line) + " has no name (group 2)");
    table.name = std::string(name.value);
    r_.pushBack(name);
    table.head = record(t, headOffset);
    table.handle = table.head.handle;
    for (;;) {
      t = next();
      if (t.value == "ENDTAB") break;
      if (t.code != 0 || t.value == "TABLE" || t.value == "ENDSEC" || t.value == "EOF" || t.value == "SECTION")
        fail(t.line, "table " + table.name + " starting at line " + std::to_string(table.head.line) + " has no ENDTAB");
      table.records.push_back(record(t));
    }
    // ENDTAB may carry groups of its own in some writers; they are not kept.
    for (t = next(); t.code != 0; t = next()) {
    }
    index_.tables.push_back(std::move(table));
  }
}

void Scanner::blocks(const Tag& start) {
  Tag t = next();
  for (;;) {
    if (t.code != 0) fail(t.line, "group " + std::to_string(t.code) + " outside a block in the BLOCKS section");
    if (t.value == "ENDSEC") return;
    endOfSectionExpected("BLOCKS", start, t);
    if (t.value == "ENDBLK") fail(t.line, "ENDBLK without a BLOCK");
    if (t.value != "BLOCK") fail(t.line, std::string(t.value) + " outside a block in the BLOCKS section");
    Block b;
    b.begin = record(t);
    for (;;) {
      t = next();
      if (t.code == 0 && t.value == "ENDBLK") break;
      if (t.value == "BLOCK" || t.value == "ENDSEC" || t.value == "EOF" || t.value == "SECTION")
        fail(t.line, "block starting at line " + std::to_string(b.begin.line) + " has no ENDBLK");
      b.entities.push_back(record(t));
    }
    b.end = record(t);
    index_.blocks.push_back(std::move(b));
    t = next();
  }
}

void Scanner::records(const Tag& start, std::vector<RecordRef>& into) {
  const std::string name = index_.sectionOrder.back();
  for (;;) {
    Tag t = next();
    if (t.code != 0) fail(t.line, "group " + std::to_string(t.code) + " outside a record in the " + name + " section");
    if (t.value == "ENDSEC") return;
    endOfSectionExpected(name, start, t);
    into.push_back(record(t));
  }
}

void Scanner::other(const std::string& name, const Tag& start) {
  OtherSection s;
  s.name = name;
  for (Tag t = next();; t = next()) {
    if (t.code == 0 && t.value == "ENDSEC") break;
    if (t.code == 0) endOfSectionExpected(name, start, t);
    s.tags.push_back(keep(t));
  }
  index_.others.push_back(std::move(s));
}

RecordRef Scanner::record(const Tag& start) { return record(start, r_.tagOffset()); }

RecordRef Scanner::record(const Tag& start, std::size_t offset) {
  RecordRef ref;
  ref.line = start.line;
  ref.type = start.value;
  ref.offset = offset;
  maybeRelease(ref.offset);

  const bool dimstyle = start.value == "DIMSTYLE";
  const int handleCode = dimstyle ? 105 : 5;
  bool pastSubclass = false;
  for (;;) {
    Tag t = next();
    if (t.code == 0) {
      r_.pushBack(t);
      break;
    }
    if (t.code == 100) pastSubclass = true;
    if (!pastSubclass && ref.handle == 0 && t.code == handleCode) {
      parseHandle(t.value, ref.handle);
      noteHandle(ref.handle, t.line);
    }
  }
  return ref;
}

}  // namespace

DrawingIndex scanDrawing(TagReader& reader, void (*release)(void*, std::size_t), void* releaseCtx) {
  Scanner s(reader, release, releaseCtx);
  return s.run();
}

void readRecord(TagReader& r, const RecordRef& ref, std::vector<Tag>& out) {
  out.clear();
  r.seek(ref.offset, ref.line);
  Tag t;
  if (!r.next(t)) return;
  out.push_back(t);
  while (r.next(t)) {
    if (t.code == 0) break;
    out.push_back(t);
  }
}

}  // namespace dxf
}  // namespace pf
