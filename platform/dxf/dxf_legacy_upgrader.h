// dxf_legacy_upgrader.h - the rewrite of an older drawing as an R2000 drawing (see dxf_legacy.h),
// shared by dxf_legacy.cpp (the whole drawing: handles, header, classes, objects) and
// dxf_legacy_sections.cpp (tables, blocks and entities).
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

#include "dxf/dxf_legacy.h"
#include "dxf/dxf_legacy_internal.h"
#include "dxf/dxf_template.h"

namespace pf {
namespace dxf {
namespace legacy {

constexpr std::uint64_t kNoOwner = std::numeric_limits<std::uint64_t>::max();

std::string lower(std::string s);
bool isModelSpace(const std::string& name);
bool isPaperSpace(const std::string& name);
// R12 names its spaces' blocks $MODEL_SPACE and $PAPER_SPACE; R2000 *Model_Space and *Paper_Space.
std::string blockName(const std::string& name);
std::uint64_t handleValue(const std::string& text);

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


}  // namespace legacy
}  // namespace dxf
}  // namespace pf
