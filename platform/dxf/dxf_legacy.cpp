// dxf_legacy.cpp - an older drawing (R12 to R14) rewritten as an R2000 drawing (see
// dxf_legacy.h): handles, owners, the header, the classes and the standard objects an R2000
// drawing has; the tables, blocks and entities are in dxf_legacy_sections.cpp.
#include "dxf/dxf_legacy.h"

#include <strings.h>

#include <algorithm>
#include <streambuf>

#include "dxf/dxf_legacy_upgrader.h"
#include "dxf/dxf_tag.h"
#include "dxf/dxf_writer.h"

namespace pf {
namespace dxf {

namespace legacy {

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

namespace {

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