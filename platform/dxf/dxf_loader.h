// dxf_loader.h - the drawing reader's sink: every record the structural walk hands over becomes
// an object at once, under its own handle, created by its runtime class (built-in classes, and
// classes named in CLASSES that an application registered) and filled by its dxfInFields;
// records no class reads (or whose class answers eMakeMeProxy or fails) become proxies keeping
// their groups. References to objects not read yet get ids reserved by handle, so they resolve
// when those objects arrive. The objects are linked as they come: block records into the block
// table, entities into their blocks, attributes and sequence ends into their block references;
// the first dictionary of OBJECTS is the root.
//
// The sections must come in their usual order (CLASSES, TABLES, BLOCKS, ENTITIES, OBJECTS; the
// header and unknown sections anywhere): a section that comes too late throws SectionsOutOfOrder
// before anything of it is created, and the reader walks the sections again in that order.
#pragma once

#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "dbmain.h"
#include "dxf/dxf_file_filers.h"
#include "dxf/dxf_state.h"
#include "dxf/dxf_structure.h"
#include "dxf/dxf_text_codec.h"

class AcDbBlockTableRecord;
class AcRxClass;

namespace pf {
namespace dxf {

// A failure of the loader itself (a record that cannot be created, added or linked), as opposed
// to a malformed file, which the walk reports.
class LoadError : public DxfError {
 public:
  using DxfError::DxfError;
  explicit LoadError(const DxfError& e) : DxfError(e) {}
};

// A modelled section came after one that must follow it.
struct SectionsOutOfOrder {};

// True when the modelled sections come in the order the loader needs.
bool inLoaderOrder(const std::vector<SectionPlace>& sections);

class DrawingLoader : public DrawingSink {
 public:
  // `parts` is the walk's (classes are looked up in it as records arrive); `log` receives the
  // records kept as proxies against their class's will.
  DrawingLoader(AcDbDatabase* db, const std::string& file, DrawingParts& parts, std::ostream* log);

  void sectionBegin(const SectionPlace& section) override;
  void sectionEnd(const SectionPlace& section) override;
  void tableBegin(const std::string& name, ScannedRecord& head) override;
  void tableRecord(ScannedRecord& rec) override;
  void tableEnd() override;
  void blockBegin(ScannedRecord& rec) override;
  void blockEntity(ScannedRecord& rec) override;
  void blockEnd(ScannedRecord& rec) override;
  void entity(ScannedRecord& rec) override;
  void object(ScannedRecord& rec) override;

  // After the last section: the block table, model and paper space and the root dictionary if
  // the file had none, the handle seed, and the state kept beside the objects.
  std::unique_ptr<DrawingState> finish();

 private:
  struct ClassInfo {
    const ClassRecord* record = nullptr;  // from CLASSES, or null
    AcRxClass* cls = nullptr;             // the registered class reading the record, or null
  };

  const ClassInfo& classFor(std::string_view type);
  ClassInfo lookUpClass(const std::string& type) const;
  // Creates, fills and adds the object of one record; answers its id (the object is closed).
  AcDbObjectId load(ScannedRecord& rec, bool entity, std::string_view forceType = {}, bool stripName = false);
  AcDbObject* instantiate(std::string_view type, bool entity, bool& isProxy);
  AcDbObject* makeProxy(std::string_view type, bool entity);
  Acad::ErrorStatus fill(AcDbObject* obj, const std::vector<Tag>& tags);
  void warn(std::uint32_t line, const std::string& what);
  // The text of a drawing whose file is UTF-8 goes to its code page, decided by the header.
  void decideTextCodec();
  void convertText(std::vector<Tag>& tags);
  void convertText(KeptTags& tags);

  void requireBlockName(AcDbObjectId id, std::uint32_t line);
  void ensureBlockTable();
  AcDbObjectId newBlock(const std::string& name);
  bool isBlock(AcDbObjectId id) const;
  // An entity of a block (or of model/paper space): a main entity, or a follower of the pending
  // one (ATTRIB ... SEQEND after an INSERT, VERTEX ... SEQEND after a POLYLINE).
  void entityRecord(ScannedRecord& rec, AcDbObjectId block, bool spaces);
  void flushFollowers();
  AcDbObjectId blockOf(std::uint64_t ownerHandle, bool paperSpace);
  void appendTo(AcDbObjectId block, AcDbObjectId entity);
  void closeBlocks();

  AcDbDatabase* db_;
  std::string file_;
  DrawingParts& parts_;
  DxfInFiler filer_;
  std::ostream* log_;
  std::unique_ptr<DrawingState> st_;
  std::unordered_map<std::string, ClassInfo> byType_;
  // Record types repeat: a small direct-mapped cache in front of byType_.
  struct TypeSlot {
    std::string type;
    const ClassInfo* info = nullptr;
  };
  TypeSlot typeCache_[64];
  int lastRank_ = 0;  // rank of the last modelled section begun

  // TABLES
  TableState table_;
  bool inBlockTable_ = false;
  AcDbObjectId blockTable_;
  bool blockTableReady_ = false;
  AcDbObjectId modelSpace_, paperSpace_;
  std::vector<AcDbObjectId> btrs_;
  std::unordered_set<AcDbObjectId> btrSet_;
  std::unordered_map<AcDbObjectId, AcDbBlockTableRecord*> openBlocks_;  // open for write until the end
  AcDbObjectId lastBlock_;
  AcDbBlockTableRecord* lastBlockRecord_ = nullptr;

  // BLOCKS
  AcDbObjectId block_;       // the block being read
  AcDbObjectId blockBegin_;  // its BLOCK record

  // Entities: the main entity whose followers are still being read, and those followers.
  AcDbObjectId pending_;
  std::vector<AcDbObjectId> followers_;

  // OBJECTS
  bool firstObject_ = false;

  // Text: null for a drawing whose file is in its code page; the converted values of the record
  // being read (a deque, so that they stay where the record's groups point).
  std::unique_ptr<TextCodec> codec_;
  bool codecDecided_ = false;
  std::deque<std::string> converted_;
};

}  // namespace dxf
}  // namespace pf
