// dxf_legacy_sections.cpp - the tables, blocks and entities of an older drawing rewritten as an
// R2000 drawing (see dxf_legacy.h): R12 records in the R2000 layout, R13/R14 records with their
// handle and owner, the block table R12 lacks, 2D polylines made lightweight.
#include <algorithm>

#include "dxf/dxf_legacy_upgrader.h"
#include "dxf/dxf_tag.h"

namespace pf {
namespace dxf {
namespace legacy {

namespace {

const char* const kStandardTables[] = {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "APPID", "DIMSTYLE"};

}  // namespace

void Upgrader::tables(Output& out) {
  out.group(0, "SECTION");
  out.group(2, "TABLES");
  std::vector<std::string> present;
  bool haveBlockRecords = false;
  if (Section* s = d_.find("TABLES")) {
    out.lines.back() = s->line;
    const std::vector<Record>& recs = s->records;
    std::uint64_t table = kNoOwner;
    for (std::size_t i = 0; i < recs.size(); ++i) {
      const Record& r = recs[i];
      if (r.type() == "TABLE") {
        const std::string name(trimmed(r.value(2)));
        present.push_back(name);
        if (name == "BLOCK_RECORD") haveBlockRecords = true;
        table = r.handle;
        if (modern_) {
          kept(out, r, 0);
          continue;
        }
        // R12: the head gets its handle, owner and marker; its count is that of its records.
        int count = 0;
        for (std::size_t k = i + 1; k < recs.size() && recs[k].type() != "ENDTAB" && recs[k].type() != "TABLE"; ++k) ++count;
        out.group(0, "TABLE", r.line());
        out.group(2, name, r.find(2) ? r.find(2)->line : 0);
        out.handle(5, r.handle);
        out.handle(330, 0);
        out.group(100, "AcDbSymbolTable");
        out.integer(70, count);
        for (std::size_t k = r.extendedDataStart(); k < r.groups.size(); ++k) out.group(r.groups[k]);
      } else if (r.type() == "ENDTAB") {
        if (modern_ && table != kNoOwner && i > 0 && table == blockTableOf(recs, i)) spaceRecords(out, table);
        out.group(r.groups.front());
        table = kNoOwner;
      } else if (modern_) {
        kept(out, r, table);
      } else {
        tableRecord(out, r, table == kNoOwner ? 0 : table);
      }
    }
  }
  if (modern_ && haveBlockRecords) {
    out.group(0, "ENDSEC");
    return;
  }
  // R12 drawings may lack tables (some hold nothing but entities); every R2000 drawing has them.
  if (!modern_)
    for (const char* name : kStandardTables) {
      if (std::find(present.begin(), present.end(), name) != present.end()) continue;
      out.group(0, "TABLE");
      out.group(2, name);
      out.handle(5, fresh());
      out.handle(330, 0);
      out.group(100, "AcDbSymbolTable");
      out.integer(70, 0);
      out.group(0, "ENDTAB");
    }
  if (!modern_) blockRecords(out);
  out.group(0, "ENDSEC");
}

// The block table R12 drawings do not have: a record for every block.
void Upgrader::blockRecords(Output& out) {
  out.group(0, "TABLE");
  out.group(2, "BLOCK_RECORD");
  out.handle(5, blockTable_);
  out.handle(330, 0);
  out.group(100, "AcDbSymbolTable");
  out.integer(70, static_cast<long>(blocks_.size()));
  spaceRecords(out, blockTable_);
  out.group(0, "ENDTAB");
}

// The handle of the table whose ENDTAB is record `end` when it is the block table, else 0.
std::uint64_t Upgrader::blockTableOf(const std::vector<Record>& recs, std::size_t end) const {
  for (std::size_t i = end; i-- > 0;)
    if (recs[i].type() == "TABLE") return trimmed(recs[i].value(2)) == "BLOCK_RECORD" ? recs[i].handle : 0;
  return 0;
}

// The block records made here: every block of an R12 drawing, the missing spaces of another.
void Upgrader::spaceRecords(Output& out, std::uint64_t table) {
  for (const Block& b : blocks_) {
    out.group(0, "BLOCK_RECORD");
    out.handle(5, b.record);
    out.handle(330, table);
    out.group(100, "AcDbSymbolTableRecord");
    out.group(100, "AcDbBlockTableRecord");
    out.group(2, b.name);
    if (addLayouts_)
      if (std::uint64_t layout = standard_->layoutOf(b.record)) out.handle(340, layout);
  }
}

void Upgrader::writeHandle(Output& out, const Record& r) { out.handle(r.type() == "DIMSTYLE" ? 105 : 5, r.handle, r.handleLine); }

void Upgrader::arrow(std::vector<std::pair<int, std::uint64_t>>& arrows, const Record& r, const Group& g) {
  if (g.value.empty()) return;  // the default arrow
  auto it = byName_.find(lower(g.value));
  if (it != byName_.end()) {
    arrows.emplace_back(342 + (g.code - 5), it->second);
    return;
  }
  if (log_)
    *log_ << file_ << ":" << g.line << ": DIMSTYLE " << r.value(2) << ": arrow block \"" << g.value << "\" (group "
          << g.code << ") is not in the drawing; left out\n";
}

void Upgrader::tableRecord(Output& out, const Record& r, std::uint64_t table) {
  const bool dimstyle = r.type() == "DIMSTYLE";
  out.group(r.groups.front());
  writeHandle(out, r);
  out.handle(330, table);
  out.group(100, "AcDbSymbolTableRecord");
  if (const char* marker = tableRecordMarker(r.type())) out.group(100, marker);
  const std::size_t xdata = r.extendedDataStart();
  std::vector<std::pair<int, std::uint64_t>> arrows;
  for (std::size_t i = 1; i < xdata; ++i) {
    const Group& g = r.groups[i];
    if (dimstyle && g.code >= 5 && g.code <= 7) {
      arrow(arrows, r, g);
      continue;
    }
    if ((g.code == 5 && !dimstyle) || (g.code == 105 && g.line == r.handleLine)) continue;  // its handle, written above
    out.group(g);
    // R2000 linetypes give every dash its element type (74); R12 dashes are all plain.
    if (r.type() == "LTYPE" && g.code == 49 && !(i + 1 < xdata && r.groups[i + 1].code == 74)) out.integer(74, 0);
  }
  for (const auto& a : arrows) out.handle(a.first, a.second);
  for (std::size_t i = xdata; i < r.groups.size(); ++i) out.group(r.groups[i]);
}

void Upgrader::kept(Output& out, const Record& r, std::uint64_t owner, bool forceOwner) {
  const bool dimstyle = r.type() == "DIMSTYLE";
  const bool spaceRecord = r.type() == "BLOCK_RECORD" && addLayouts_ && (r.handle == ms_ || r.handle == ps_) && !r.find(340);
  out.group(r.groups.front());
  if (!r.handleLine) writeHandle(out, r);
  const bool hasOwner = r.hasHeadGroup(330);
  bool needOwner = owner != kNoOwner && !hasOwner;
  bool replaceOwner = owner != kNoOwner && hasOwner && forceOwner;
  bool inBraces = false;
  const std::size_t xdata = r.extendedDataStart();
  std::vector<std::pair<int, std::uint64_t>> arrows;
  for (std::size_t i = 1; i <= r.groups.size(); ++i) {
    if (i == xdata) {
      for (const auto& a : arrows) out.handle(a.first, a.second);
      arrows.clear();
    }
    if (i == r.groups.size()) break;
    const Group& g = r.groups[i];
    if (needOwner && (g.code == 100 || i >= xdata)) {
      out.handle(330, owner);
      needOwner = false;
    }
    if (dimstyle && i < xdata && g.code >= 5 && g.code <= 7) {
      arrow(arrows, r, g);
      continue;
    }
    if (g.code == 102) inBraces = !g.value.empty() && g.value[0] == '{';
    if (replaceOwner && g.code == 330 && !inBraces) {
      out.handle(330, owner, g.line);
      replaceOwner = false;
      continue;
    }
    out.group(g);
    if (spaceRecord && g.code == 2) out.handle(340, standard_->layoutOf(r.handle));
  }
  if (needOwner) out.handle(330, owner);
}

// ---- Blocks and entities -------------------------------------------------------------------------

void Upgrader::blockEnds(Output& out, const Record& r, std::uint64_t block) {
  if (modern_) {
    kept(out, r, block);
    return;
  }
  const bool begin = r.type() == "BLOCK";
  out.group(r.groups.front());
  writeHandle(out, r);
  out.handle(330, block);
  out.group(100, "AcDbEntity");
  if (block == ps_) out.integer(67, 1);
  if (const Group* layer = r.find(8))
    out.group(*layer);
  else
    out.group(8, "0");
  out.group(100, begin ? "AcDbBlockBegin" : "AcDbBlockEnd");
  const std::size_t xdata = r.extendedDataStart();
  for (std::size_t i = 1; i < xdata; ++i) {
    const Group& g = r.groups[i];
    if (g.code == 5 || g.code == 8 || g.code == 67) continue;
    if (begin && (g.code == 2 || g.code == 3))
      out.group(g.code, blockName(g.value), g.line);
    else
      out.group(g);
  }
  for (std::size_t i = xdata; i < r.groups.size(); ++i) out.group(r.groups[i]);
}

void Upgrader::blocks(Output& out) {
  out.group(0, "SECTION");
  out.group(2, "BLOCKS");
  {
    // The spaces' blocks the drawing lacks.
    for (bool paper : {false, true}) {
      if (paper ? !madePaper_ : !madeModel_) continue;
      const std::uint64_t block = paper ? ps_ : ms_;
      for (bool begin : {true, false}) {
        out.group(0, begin ? "BLOCK" : "ENDBLK");
        out.handle(5, fresh());
        out.handle(330, block);
        out.group(100, "AcDbEntity");
        if (paper) out.integer(67, 1);
        out.group(8, "0");
        out.group(100, begin ? "AcDbBlockBegin" : "AcDbBlockEnd");
        if (!begin) continue;
        out.group(2, paper ? "*Paper_Space" : "*Model_Space");
        out.integer(70, 0);
        out.real(10, 0);
        out.real(20, 0);
        out.real(30, 0);
        out.group(3, paper ? "*Paper_Space" : "*Model_Space");
        out.group(1, "");
      }
    }
  }
  if (Section* s = d_.find("BLOCKS")) {
    out.lines.back() = s->line;
    const std::vector<Record>& recs = s->records;
    std::uint64_t block = 0;
    std::size_t first = 0;
    bool open = false;
    for (std::size_t i = 0; i < recs.size(); ++i) {
      const Record& r = recs[i];
      if (r.type() == "BLOCK") {
        if (open) entityList(out, recs, first, i, block);  // no ENDBLK: the reader says so
        auto it = byName_.find(lower(blockName(r.value(2))));
        block = it != byName_.end() ? it->second : 0;
        if (modern_ && r.hasHeadGroup(330)) block = handleValue(r.value(330));
        blockEnds(out, r, block);
        first = i + 1;
        open = true;
      } else if (r.type() == "ENDBLK") {
        if (open) entityList(out, recs, first, i, block);
        blockEnds(out, r, block);
        open = false;
      } else if (!open) {
        kept(out, r, kNoOwner);  // outside any block: the reader says so
      }
    }
    if (open) entityList(out, recs, first, recs.size(), block);
  }
  out.group(0, "ENDSEC");
}

// The entities of a block belong to it; those of ENTITIES to model or paper space, whatever
// block an R13/R14 record names (some writers name other blocks there).
std::uint64_t Upgrader::ownerOf(const Record& r, std::uint64_t block) const {
  if (block) return modern_ && r.hasHeadGroup(330) ? handleValue(r.value(330)) : block;
  if (modern_ && r.hasHeadGroup(330)) {
    const std::uint64_t named = handleValue(r.value(330));
    if (named == ms_ || named == ps_) return named;
  }
  return spaceOf(r);
}

void Upgrader::entityList(Output& out, const std::vector<Record>& recs, std::size_t begin, std::size_t end,
                          std::uint64_t block) {
  for (std::size_t i = begin; i < end; ++i) {
    const Record& r = recs[i];
    const std::uint64_t owner = ownerOf(r, block);
    if (r.type() == "POLYLINE") {
      std::size_t j = i + 1;
      std::vector<const Record*> vertices;
      while (j < end && recs[j].type() == "VERTEX") vertices.push_back(&recs[j++]);
      const Record* seqend = j < end && recs[j].type() == "SEQEND" ? &recs[j] : nullptr;
      if (convertsToLightweight(r, vertices)) {
        writeLightweight(out, r, vertices, r.handle, owner, modern_);
      } else {
        const long flags = r.integer(70);
        entity(out, r, owner, -1);
        for (const Record* v : vertices) entity(out, *v, r.handle, flags);
        if (seqend) entity(out, *seqend, r.handle, -1);
      }
      i = seqend ? j : j - 1;
    } else if (r.type() == "INSERT") {
      entity(out, r, owner, -1);
      std::size_t j = i + 1;
      while (j < end && recs[j].type() == "ATTRIB") entity(out, recs[j++], r.handle, -1);
      if (j < end && recs[j].type() == "SEQEND" && (j > i + 1 || r.integer(66) == 1)) entity(out, recs[j++], r.handle, -1);
      i = j - 1;
    } else {
      entity(out, r, owner, -1);
    }
  }
}

void Upgrader::entity(Output& out, const Record& r, std::uint64_t owner, long polylineFlags) {
  if (modern_) {
    kept(out, r, owner, true);
    return;
  }
  // R12: the common groups under AcDbEntity, the others under the subclasses of the type, the
  // rest (groups the layout does not place) after them, the extended data last.
  const std::vector<Subclass> layout = entityLayout(r, polylineFlags);
  const std::size_t xdata = r.extendedDataStart();
  std::vector<bool> used(xdata, false);
  out.group(r.groups.front());
  writeHandle(out, r);
  out.handle(330, owner);
  out.group(100, "AcDbEntity");
  for (int code : {67, 8, 6, 62, 48, 60})
    for (std::size_t i = 1; i < xdata; ++i)
      if (r.groups[i].code == code) {
        out.group(r.groups[i]);
        used[i] = true;
      }
  if (!r.find(8)) out.group(8, "0");
  for (std::size_t i = 1; i < xdata; ++i)
    if (r.groups[i].code == 5) used[i] = true;
  for (const Subclass& sc : layout) {
    out.group(100, sc.marker);
    for (std::size_t i = 1; i < xdata; ++i) {
      if (used[i]) continue;
      if (std::find(sc.codes.begin(), sc.codes.end(), r.groups[i].code) == sc.codes.end()) continue;
      out.group(r.groups[i]);
      used[i] = true;
    }
  }
  for (std::size_t i = 1; i < xdata; ++i)
    if (!used[i]) out.group(r.groups[i]);
  for (std::size_t i = xdata; i < r.groups.size(); ++i) out.group(r.groups[i]);
}

}  // namespace legacy
}  // namespace dxf
}  // namespace pf
