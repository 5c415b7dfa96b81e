// dxf_legacy.cpp - an older drawing (R12 to R14) rewritten as an R2000 drawing (see
// dxf_legacy.h): handles, owners, the block table, the R2000 layout of R12 records, lightweight
// polylines, and the standard classes and objects an R2000 drawing has.
#include "dxf/dxf_legacy.h"

#include <strings.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <ostream>
#include <streambuf>
#include <unordered_map>

#include "dxf/dxf_legacy_internal.h"
#include "dxf/dxf_tag.h"
#include "dxf/dxf_template.h"
#include "dxf/dxf_writer.h"

namespace pf {
namespace dxf {

namespace legacy {
namespace {

constexpr std::uint64_t kNoOwner = std::numeric_limits<std::uint64_t>::max();

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

bool isModelSpace(const std::string& name) {
  return strcasecmp(name.c_str(), "*Model_Space") == 0 || strcasecmp(name.c_str(), "$MODEL_SPACE") == 0;
}
bool isPaperSpace(const std::string& name) {
  return strcasecmp(name.c_str(), "*Paper_Space") == 0 || strcasecmp(name.c_str(), "$PAPER_SPACE") == 0;
}

// R12 names its spaces' blocks $MODEL_SPACE and $PAPER_SPACE; R2000 *Model_Space and *Paper_Space.
std::string blockName(const std::string& name) {
  if (isModelSpace(name)) return "*Model_Space";
  if (isPaperSpace(name)) return "*Paper_Space";
  return name;
}

std::uint64_t handleValue(const std::string& text) {
  std::uint64_t h = 0;
  parseHandle(text, h);
  return h;
}

const char* const kStandardTables[] = {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "APPID", "DIMSTYLE"};

class Upgrader {
 public:
  Upgrader(Drawing& d, const std::string& file, bool modern, std::ostream* log)
      : d_(d), file_(file), modern_(modern), log_(log), next_(std::max(d.handSeed, d.maxHandle + 1)) {}

  UpgradedDrawing run();

 private:
  std::uint64_t fresh() { return next_++; }
  std::vector<Record>* recordsOf(const char* name) {
    Section* s = d_.find(name);
    return s ? &s->records : nullptr;
  }
  void assignHandles();
  void collectBlocks();
  void collectOwners();
  void prepareStandardObjects();

  void header(Output& out);
  void classes(Output& out);
  void tables(Output& out);
  void blockRecords(Output& out);
  std::uint64_t blockTableOf(const std::vector<Record>& recs, std::size_t end) const;
  void spaceRecords(Output& out, std::uint64_t table);
  void blocks(Output& out);
  void entityList(Output& out, const std::vector<Record>& recs, std::size_t begin, std::size_t end, std::uint64_t block);
  void objects(Output& out);

  void entity(Output& out, const Record& r, std::uint64_t owner, long polylineFlags);
  // An R13/R14 record as read, with its handle and owner when it has none; `forceOwner` also
  // replaces the owner it names.
  void kept(Output& out, const Record& r, std::uint64_t owner, bool forceOwner = false);
  void tableRecord(Output& out, const Record& r, std::uint64_t table);
  void blockEnds(Output& out, const Record& r, std::uint64_t block);
  void writeHandle(Output& out, const Record& r);
  // A DIMSTYLE's arrow block (group 5, 6 or 7 of the older releases) as R2000 names it: a
  // pointer (342, 343, 344) to the block's record. A name the drawing defines no block for
  // cannot be pointed at; it is logged and left out.
  void arrow(std::vector<std::pair<int, std::uint64_t>>& arrows, const Record& r, const Group& g);
  std::uint64_t ownerOf(const Record& r, std::uint64_t block) const;
  std::uint64_t spaceOf(const Record& r) const { return r.integer(67) == 1 ? ps_ : ms_; }

  Drawing& d_;
  const std::string& file_;
  const bool modern_;  // R13/R14: records already have subclass markers and handles
  std::ostream* log_;
  std::uint64_t next_;

  struct Block {
    std::string name;
    std::uint64_t record = 0;
  };
  std::vector<Block> blocks_;                               // R12: one per block, in order
  std::unordered_map<std::string, std::uint64_t> byName_;  // lower-case block name -> its record
  std::uint64_t ms_ = 0, ps_ = 0, blockTable_ = 0, root_ = 0;
  bool madeModel_ = false, madePaper_ = false;
  std::unordered_map<std::uint64_t, std::uint64_t> owners_;  // modern: object -> its dictionary
  std::unique_ptr<NewDrawingParts> standard_;
  std::vector<std::string> rootKeys_;  // entries the root dictionary already has
  bool addLayouts_ = false;
};

UpgradedDrawing Upgrader::run() {
  assignHandles();
  collectBlocks();
  if (modern_) collectOwners();
  prepareStandardObjects();

  Output body;
  classes(body);
  tables(body);
  blocks(body);
  body.group(0, "SECTION");
  body.group(2, "ENTITIES");
  if (std::vector<Record>* recs = recordsOf("ENTITIES")) entityList(body, *recs, 0, recs->size(), 0);
  body.group(0, "ENDSEC");
  objects(body);
  for (const Section& s : d_.sections) {
    if (s.name == "HEADER" || s.name == "CLASSES" || s.name == "TABLES" || s.name == "BLOCKS" ||
        s.name == "ENTITIES" || s.name == "OBJECTS")
      continue;
    body.group(0, "SECTION", s.line);
    body.group(2, s.name);
    for (const Group& g : s.groups) body.group(g);
    for (const Record& r : s.records)
      for (const Group& g : r.groups) body.group(g);
    body.group(0, "ENDSEC");
  }
  body.group(0, "EOF");

  Output all;
  header(all);  // last made: $HANDSEED is above every handle given out
  all.append(body);
  UpgradedDrawing up;
  up.text = std::move(all.text);
  up.sourceLines = std::move(all.lines);
  return up;
}

void Upgrader::assignHandles() {
  for (const char* name : {"TABLES", "BLOCKS", "ENTITIES", "OBJECTS"}) {
    std::vector<Record>* recs = recordsOf(name);
    if (!recs) continue;
    for (Record& r : *recs)
      if (r.handle == 0 && r.type() != "ENDTAB") r.handle = fresh();
  }
}

void Upgrader::collectBlocks() {
  if (modern_) {
    // The block records name the blocks; model and paper space are among them.
    if (std::vector<Record>* recs = recordsOf("TABLES"))
      for (const Record& r : *recs)
        if (r.type() == "BLOCK_RECORD") {
          const std::string name = r.value(2);
          byName_[lower(name)] = r.handle;
          if (isModelSpace(name) && !ms_) ms_ = r.handle;
          if (isPaperSpace(name) && !ps_) ps_ = r.handle;
        }
    // A drawing whose block table lacks a space gets it (records and blocks), with handles
    // above the file's, so none is taken from a record read later.
    if (!ms_) {
      madeModel_ = true;
      ms_ = fresh();
      byName_["*model_space"] = ms_;
      blocks_.push_back(Block{"*Model_Space", ms_});
    }
    if (!ps_) {
      madePaper_ = true;
      ps_ = fresh();
      byName_["*paper_space"] = ps_;
      blocks_.push_back(Block{"*Paper_Space", ps_});
    }
    return;
  }
  blockTable_ = fresh();
  if (std::vector<Record>* recs = recordsOf("BLOCKS"))
    for (const Record& r : *recs) {
      if (r.type() != "BLOCK") continue;
      const std::string name = blockName(r.value(2));
      if (name.empty() || byName_.count(lower(name))) continue;  // the reader refuses it or the second one
      Block b{name, fresh()};
      byName_[lower(name)] = b.record;
      if (isModelSpace(name)) ms_ = b.record;
      if (isPaperSpace(name)) ps_ = b.record;
      blocks_.push_back(b);
    }
  // Every R2000 drawing has the blocks of both spaces.
  if (!ms_) {
    madeModel_ = true;
    ms_ = fresh();
    blocks_.insert(blocks_.begin(), Block{"*Model_Space", ms_});
    byName_["*model_space"] = ms_;
  }
  if (!ps_) {
    madePaper_ = true;
    ps_ = fresh();
    blocks_.insert(blocks_.begin() + 1, Block{"*Paper_Space", ps_});
    byName_["*paper_space"] = ps_;
  }
}

// In R13 records name no owner; the dictionaries and extension dictionaries that list them do.
void Upgrader::collectOwners() {
  for (const Section& s : d_.sections)
    for (const Record& r : s.records) {
      const bool dictionary = r.type() == "DICTIONARY" || r.type() == "ACDBDICTIONARYWDFLT";
      bool inXdict = false, inDictionary = false;
      for (std::size_t i = 1; i < r.groups.size(); ++i) {
        const Group& g = r.groups[i];
        if (g.code == 102) inXdict = g.value == "{ACAD_XDICTIONARY";
        if (g.code == 100) inDictionary = dictionary && g.value == "AcDbDictionary";
        if ((inXdict && g.code == 360) || (inDictionary && (g.code == 350 || g.code == 360))) {
          const std::uint64_t h = handleValue(g.value);
          if (h && !owners_.count(h)) owners_[h] = r.handle;
        }
      }
    }
}

// The root dictionary and the standard objects it lacks (groups, layouts, multiline and plot
// styles), made as the R2000 release makes them for a new drawing.
void Upgrader::prepareStandardObjects() {
  if (std::vector<Record>* recs = recordsOf("OBJECTS"))
    for (const Record& r : *recs)
      if (r.type() == "DICTIONARY") {
        root_ = r.handle;
        bool entries = false;
        for (const Group& g : r.groups) {
          if (g.code == 100) entries = g.value == "AcDbDictionary";
          if (entries && g.code == 3) rootKeys_.push_back(g.value);
        }
        break;
      }
  if (!root_) root_ = fresh();
  // Layouts need both spaces; a drawing with layouts of its own keeps them.
  addLayouts_ = ms_ && ps_ && std::find(rootKeys_.begin(), rootKeys_.end(), "ACAD_LAYOUT") == rootKeys_.end();
  if (!addLayouts_) rootKeys_.push_back("ACAD_LAYOUT");
  standard_.reset(new NewDrawingParts(ms_, ps_, root_));
  next_ = standard_->allocate(next_);
}

void Upgrader::header(Output& out) {
  out.group(0, "SECTION");
  out.group(2, "HEADER");
  bool version = false, seed = false;
  if (Section* s = d_.find("HEADER")) {
    out.lines.back() = s->line;
    const Groups& g = s->groups;
    for (std::size_t i = 0; i < g.size();) {
      // One variable: `9 NAME` and its values.
      std::size_t end = i + 1;
      while (end < g.size() && g[end].code != 9) ++end;
      const std::string name(trimmed(g[i].value));
      if (g[i].code != 9) {
        for (std::size_t k = i; k < end; ++k) out.group(g[k]);  // the reader says what is wrong
      } else if (name == "$ACADVER") {
        out.group(g[i]);
        out.group(1, "AC1015", end > i + 1 ? g[i + 1].line : g[i].line);
        version = true;
      } else if (name == "$HANDSEED") {
        out.group(g[i]);
        seed = true;
        out.handle(5, next_, end > i + 1 ? g[i + 1].line : g[i].line);
      } else if (name != "$HANDLING") {  // R2000 drawings always have handles
        for (std::size_t k = i; k < end; ++k) out.group(g[k]);
      }
      i = end;
    }
  }
  if (!version) {
    out.group(9, "$ACADVER");
    out.group(1, "AC1015");
  }
  if (!seed) {
    out.group(9, "$HANDSEED");
    out.handle(5, next_);
  }
  out.group(0, "ENDSEC");
}

void Upgrader::classes(Output& out) {
  out.group(0, "SECTION");
  out.group(2, "CLASSES");
  std::vector<std::string> present;
  if (Section* s = d_.find("CLASSES")) {
    out.lines.back() = s->line;
    for (const Record& r : s->records) {
      for (const Group& g : r.groups) out.group(g);
      present.push_back(r.value(1));
    }
  }
  // The classes of the standard objects made below.
  struct C {
    const char* dxf;
    const char* cpp;
  };
  for (const C& c : {C{"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault"}, C{"ACDBPLACEHOLDER", "AcDbPlaceHolder"},
                     C{"LAYOUT", "AcDbLayout"}}) {
    if (std::find(present.begin(), present.end(), c.dxf) != present.end()) continue;
    out.group(0, "CLASS");
    out.group(1, c.dxf);
    out.group(2, c.cpp);
    out.group(3, "ObjectDBX Classes");
    out.integer(90, 0);
    out.integer(280, 0);
    out.integer(281, 0);
  }
  out.group(0, "ENDSEC");
}

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

// ---- Objects -------------------------------------------------------------------------------------

void Upgrader::objects(Output& out) {
  out.group(0, "SECTION");
  out.group(2, "OBJECTS");
  const std::vector<std::pair<std::string, std::uint64_t>> added = standard_->rootEntries(rootKeys_);
  TagWriter standard;
  standard_->objects(standard, rootKeys_);
  bool rootWritten = false;
  if (Section* s = d_.find("OBJECTS")) {
    out.lines.back() = s->line;
    for (const Record& r : s->records) {
      if (r.handle != root_ || rootWritten) {
        std::uint64_t owner = kNoOwner;
        auto it = owners_.find(r.handle);
        if (it != owners_.end()) {
          owner = it->second;
        } else {
          // An object no dictionary lists belongs to its first reactor.
          bool reactors = false;
          for (const Group& g : r.groups) {
            if (g.code == 102) reactors = g.value == "{ACAD_REACTORS";
            if (reactors && g.code == 330) {
              owner = handleValue(g.value);
              break;
            }
          }
        }
        kept(out, r, owner);
        continue;
      }
      // The root dictionary, with the entries it lacks, then the objects they name.
      Record root = r;
      const std::size_t xdata = root.extendedDataStart();
      Groups entries;
      for (const auto& e : added) {
        entries.push_back(Group{3, e.first, 0});
        entries.push_back(Group{350, hex(e.second), 0});
      }
      root.groups.insert(root.groups.begin() + static_cast<long>(xdata), entries.begin(), entries.end());
      kept(out, root, 0);
      out.written(standard.text());
      rootWritten = true;
    }
  }
  if (!rootWritten) {
    out.group(0, "DICTIONARY");
    out.handle(5, root_);
    out.handle(330, 0);
    out.group(100, "AcDbDictionary");
    out.integer(281, 1);
    for (const auto& e : added) {
      out.group(3, e.first);
      out.handle(350, e.second);
    }
    out.written(standard.text());
  }
  out.group(0, "ENDSEC");
}

// Turns "FILE:LINE: " prefixes of log lines into the original file's lines.
class SourceLineBuf : public std::streambuf {
 public:
  SourceLineBuf(std::ostream& target, const std::string& file, const UpgradedDrawing& up)
      : target_(target), prefix_(file + ":"), up_(up) {}
  ~SourceLineBuf() override { flushLine(); }

 protected:
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    line_ += static_cast<char>(c);
    if (c == '\n') flushLine();
    return c;
  }
  int sync() override {
    target_.flush();
    return 0;
  }

 private:
  void flushLine() {
    if (line_.empty()) return;
    if (line_.compare(0, prefix_.size(), prefix_) == 0) {
      std::size_t i = prefix_.size(), digits = i;
      std::uint32_t n = 0;
      while (i < line_.size() && line_[i] >= '0' && line_[i] <= '9' && i - digits < 9) n = n * 10 + static_cast<std::uint32_t>(line_[i++] - '0');
      if (i > digits && i < line_.size() && line_[i] == ':')
        line_ = prefix_ + std::to_string(up_.sourceLine(n)) + line_.substr(i);
    }
    target_ << line_;
    line_.clear();
  }

  std::ostream& target_;
  std::string prefix_;
  const UpgradedDrawing& up_;
  std::string line_;
};

class SourceLineStream : public std::ostream {
 public:
  SourceLineStream(std::ostream& target, const std::string& file, const UpgradedDrawing& up)
      : std::ostream(nullptr), buf_(target, file, up) {
    rdbuf(&buf_);
  }

 private:
  SourceLineBuf buf_;
};

}  // namespace
}  // namespace legacy

std::uint32_t UpgradedDrawing::sourceLine(std::uint32_t textLine) const {
  if (textLine == 0 || sourceLines.empty()) return textLine;
  std::size_t i = std::min<std::size_t>((textLine - 1) / 2, sourceLines.size() - 1);
  for (;; --i) {
    if (sourceLines[i]) return sourceLines[i];
    if (i == 0) return 0;
  }
}

UpgradedDrawing upgradeLegacyDrawing(std::string_view data, const std::string& file, const std::string& version,
                                     std::ostream* log) {
  legacy::Drawing d = legacy::readDrawing(data, file);
  // R13 brought handles and subclass markers to every record.
  const bool modern = version >= "AC1012";
  return legacy::Upgrader(d, file, modern, log).run();
}

std::unique_ptr<std::ostream> sourceLineLog(std::ostream& target, const std::string& file, const UpgradedDrawing& up) {
  return std::unique_ptr<std::ostream>(new legacy::SourceLineStream(target, file, up));
}

}  // namespace dxf
}  // namespace pf
