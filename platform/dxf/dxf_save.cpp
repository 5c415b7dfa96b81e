// dxf_save.cpp - AcDbDatabase::dxfOut: writes the database as a DXF drawing (ASCII, or binary
// through the binary encoder).
//
// The drawing is written in the version it was read in (a drawing built in memory as AC1015),
// every object through its own dxfOutFields. Saving runs in two passes over the same walk: the
// first decides which objects the file holds (nothing erased, nothing owned by something erased,
// nothing left outside the drawing's structure), the second writes them; every reference to an
// object outside that set is left out, and $HANDSEED ends above every handle written.
// The file is written beside the target and renamed over it only when complete.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <memory>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include "db/db_internal.h"
#include "db/entities/entities_internal.h"
#include "dbents.h"
#include "dbsymtb.h"
#include "acutmem.h"
#include "dxf/dxf_binary.h"
#include "dxf/dxf_file.h"
#include "dxf/dxf_file_filers.h"
#include "dxf/dxf_proxy.h"
#include "dxf/dxf_state.h"
#include "dxf/dxf_template.h"
#include "dxf/dxf_text_codec.h"
#include "dxf/dxf_writer.h"
#include "db/db_services.h"
#include "pf/faults.h"
#include "pf/dxf.h"
#include "db/dxf_tag_filer.h"
#include "rxclass.h"
#include "rx/rxinit.h"
#include "rxdict.h"

namespace pf {
namespace dxf {

namespace {

// DXF record names every reader knows without a CLASS record.
bool isClassicRecord(const char* dxfName) {
  static const char* const kClassic[] = {"LWPOLYLINE", "INSERT",     "ATTRIB", "ATTDEF",       "TEXT",
                                         "LINE",       "CIRCLE",     "DICTIONARY", "SEQEND",  "BLOCK_RECORD",
                                         "TABLE",      "BLOCK",      "ENDBLK", "ACAD_PROXY_OBJECT",
                                         "ACAD_PROXY_ENTITY"};
  for (const char* c : kClassic)
    if (std::strcmp(c, dxfName) == 0) return true;
  return false;
}

int versionNumber(const std::string& v) {
  int n = 0;
  for (std::size_t i = 2; i < v.size(); ++i)
    if (v[i] >= '0' && v[i] <= '9' && n < 100000000) n = n * 10 + (v[i] - '0');  // no overflow
  return n;
}

AcRxClass* registeredClass(const std::string& name) {
  if (name.empty()) return nullptr;
  AcRxDictionary* dict = acrxClassDictionary;
  return dict ? AcRxClass::cast(dict->at(name.c_str())) : nullptr;
}

class Saver {
 public:
  Saver(AcDbDatabase* db, DrawingState& st, bool fresh, int precision)
      : db_(db), st_(st), precision_(precision), fresh_(fresh) {}
  Saver(const Saver&) = delete;
  Saver& operator=(const Saver&) = delete;
  ~Saver() {
    for (const AcDbStub* s : db_->pfImpl()->stubs) s->saving = false;
  }

  void plan();
  void write(TagWriter& w);

 private:
  // --- the walk shared by both passes ---
  void walk();
  void tables();
  void blocks();
  void entitiesOf(AcDbObjectId block);
  void entities();
  void objects();

  // One object record (type from the object, or forced).
  void object(AcDbObjectId id, const char* forcedType = nullptr);
  void tableHead(const TableState& t, AcDbObjectId head);
  void synthBlockBegin(AcDbObjectId btr);
  void synthBlockEnd(AcDbObjectId btr);
  void synthSeqEnd(AcDbObjectId insert, const std::string& layer);
  std::uint64_t synthHandle() { return nextSynth_++; }

  bool alive(AcDbObjectId id) const;
  bool saved(const AcDbObjectId& id) const;
  void note(AcDbObjectId id);
  const char* dxfName(const AcDbObject* obj) const;

  void header(TagWriter& w);
  std::vector<std::string> rootKeys() const;
  void classes(TagWriter& w);
  void otherSection(TagWriter& w, const OtherSection& s);

  AcDbDatabase* db_;
  DrawingState& st_;
  int precision_;
  bool fresh_;
  bool writing_ = false;
  // Owners whose whole chain is known not to be erased (the last few found).
  static constexpr unsigned kAliveOwners = 4;
  mutable AcDbStub* aliveOwners_[kAliveOwners] = {};
  mutable unsigned nextAliveOwner_ = 0;
  TagWriter* w_ = nullptr;
  std::unique_ptr<DxfOutFiler> filer_;

  std::uint64_t firstSynth_ = 0;
  std::uint64_t nextSynth_ = 0;
  AcDbObjectId modelSpace_, paperSpace_;
  std::unordered_map<AcRxClass*, std::size_t> classCounts_;
  std::unordered_map<AcRxClass*, std::size_t*> countOf_;  // each class met: its count, or null
  AcRxClass* lastClass_ = nullptr;
  std::size_t* lastCount_ = nullptr;
  std::vector<AcRxClass*> classOrder_;
  std::vector<AcDbObjectId> objectList_;
  std::uint64_t plannedSynthEnd_ = 0;
  std::uint64_t walkStart_ = 0;

  // A drawing built in memory gets the standard parts of a new drawing around its objects.
  std::unique_ptr<NewDrawingParts> parts_;
  // Layers the saved entities use that no LAYER record defines: made up in the LAYER table.
  std::vector<std::string> usedLayers_;
  std::unordered_set<std::string> layerNames_;
  const char* lastLayer_ = nullptr;
  std::vector<std::string> missingLayers_;
  std::uint64_t firstMissingLayer_ = 0;
  void noteLayer(AcDbObjectId id, const AcDbObject* obj);
  void collectLayerNames();
  void writeMissingLayers(std::uint64_t table);
};

// In the database, not erased, and not owned (at any depth) by something erased. One look-up
// of the id, then the stubs directly: this runs for every object of a large drawing.
bool Saver::alive(AcDbObjectId id) const {
  AcDbStub* s = id;  // ids here come from this database's own lists: their stubs are live
  if (s == nullptr || s->object == nullptr || s->erased) return false;
  // Entities come block by block, attributes insert by insert: the few owners just found alive
  // are asked about again and again.
  AcDbStub* owner = pf::impl(s->object)->owner;
  if (owner == nullptr) return true;
  for (AcDbStub* known : aliveOwners_)
    if (known == owner) return true;
  AcDbStub* o = owner;
  for (int depth = 1; depth < 256 && o != nullptr; ++depth) {  // the bound guards against cycles
    if (o->erased) return false;
    if (o->object == nullptr) break;
    o = pf::impl(o->object)->owner;
  }
  aliveOwners_[nextAliveOwner_++ % kAliveOwners] = owner;
  return true;
}

bool Saver::saved(const AcDbObjectId& id) const {
  const AcDbStub* s = id;
  return s != nullptr && s->saving && s->db == db_;
}

// The layer an entity names, read from the entity's state without opening it (this runs for
// every entity of the drawing).
void Saver::noteLayer(AcDbObjectId, const AcDbObject* obj) {
  if (!AcDbEntity::cast(obj) || AcDbProxyEntity::cast(obj)) return;
  const pf::ObjectImpl* oi = pf::impl(obj);
  const char* layer = oi->entity.layer;  // pooled: the same name is the same pointer
  if (layer == lastLayer_ || *layer == '\0') return;
  lastLayer_ = layer;
  if (layerNames_.insert(layer).second) usedLayers_.push_back(layer);
}

void Saver::note(AcDbObjectId id) {
  const AcDbStub* s = id;
  if (s == nullptr || s->saving || s->db != db_) return;  // planned once; only this drawing's objects
  s->saving = true;
  AcDbObject* obj = pf::peekObject(id);
  if (!obj) return;
  noteLayer(id, obj);
  // Instances of the classes CLASSES lists are counted; whether a class is one is decided once.
  AcRxClass* cls = obj->isA();
  if (cls != lastClass_) {
    lastClass_ = cls;
    auto it = countOf_.find(cls);
    if (it == countOf_.end()) {
      std::size_t* count = nullptr;
      if (cls && !cls->isDerivedFrom(AcDbProxyObject::desc()) && !cls->isDerivedFrom(AcDbProxyEntity::desc()) &&
          cls->dxfName() && *cls->dxfName() && !isClassicRecord(cls->dxfName())) {
        count = &classCounts_[cls];  // node-based: the address stays
        classOrder_.push_back(cls);
      }
      it = countOf_.emplace(cls, count).first;
    }
    lastCount_ = it->second;
  }
  if (lastCount_ != nullptr) ++*lastCount_;
}

const char* Saver::dxfName(const AcDbObject* obj) const {
  if (const char* p = proxyDxfName(obj)) return p;
  AcRxClass* cls = obj->isA();
  if (cls && cls->dxfName() && *cls->dxfName()) return cls->dxfName();
  return "ACAD_PROXY_OBJECT";
}

void Saver::object(AcDbObjectId id, const char* forcedType) {
  if (!writing_) {
    note(id);
    return;
  }
  AcDbObject* obj = nullptr;
  if (pf::openObject(obj, id, AcDb::kForRead, false) != Acad::eOk)
    throw DxfError("", 0, "an object of the drawing cannot be opened for saving", DxfError::kWrite);
  const char* type = forcedType ? forcedType : dxfName(obj);
  w_->string(0, type);
  if (std::strcmp(type, "DIMSTYLE") == 0) filer_->setHandleCode(105);
  Acad::ErrorStatus es = pf::dxfOutObject(obj, filer_.get());
  filer_->setHandleCode(5);
  pf::closeObject(obj);
  if (es != Acad::eOk)
    throw DxfError("", 0, std::string("a ") + type + " record cannot be written (status " + std::to_string(es) + ")",
                   DxfError::kWrite);
}

void Saver::tableHead(const TableState& t, AcDbObjectId head) {
  if (!writing_) {
    note(head);
    return;
  }
  AcDbObject* obj = nullptr;
  if (pf::openObject(obj, head, AcDb::kForRead, false) != Acad::eOk)
    throw DxfError("", 0, "the " + t.name + " table cannot be opened for saving", DxfError::kWrite);
  w_->string(0, "TABLE");
  w_->string(2, t.name);
  pf::dxfOutObject(obj, filer_.get());
  pf::closeObject(obj);
}

void Saver::writeMissingLayers(std::uint64_t table) {
  for (std::size_t i = 0; i < missingLayers_.size(); ++i) {
    w_->string(0, "LAYER");
    w_->handle(5, firstMissingLayer_ + i);
    w_->handle(330, table);
    w_->string(100, "AcDbSymbolTableRecord");
    w_->string(100, "AcDbLayerTableRecord");
    w_->string(2, missingLayers_[i]);
    w_->integer(70, 0);
    w_->integer(62, 7);
    w_->string(6, "Continuous");
    w_->integer(370, -3);
  }
}

void Saver::tables() {
  std::vector<TableState> fresh;
  if (fresh_) {
    if (writing_) parts_->tables(*w_, missingLayers_, firstMissingLayer_);
    TableState bt;
    bt.name = "BLOCK_RECORD";
    fresh.push_back(bt);
  }
  for (const TableState& t : fresh_ ? fresh : st_.tables) {
    if (t.name == "BLOCK_RECORD") {
      AcDbObjectId table = db_->blockTableId();
      tableHead(t, table);
      AcDbBlockTable* bt = nullptr;
      AcDbObject* obj = nullptr;
      if (pf::openObject(obj, table, AcDb::kForRead, false) != Acad::eOk || !(bt = AcDbBlockTable::cast(obj)))
        throw DxfError("", 0, "the block table cannot be opened for saving", DxfError::kWrite);
      std::vector<AcDbObjectId> records;
      AcDbBlockTableIterator* it = nullptr;
      if (bt->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
          AcDbObjectId id;
          if (it->getRecordId(id) == Acad::eOk && alive(id)) records.push_back(id);
        }
        delete it;
      }
      pf::closeObject(obj);
      for (const AcDbObjectId& id : records) {
        if (fresh_ && writing_) filer_->setNullReplacement(340, parts_->layoutOf(id.handle().value()));
        object(id, "BLOCK_RECORD");
        if (writing_) filer_->setNullReplacement(0, 0);
      }
    } else {
      if (!alive(t.head)) continue;
      tableHead(t, t.head);
      for (const AcDbObjectId& id : t.records)
        if (alive(id)) object(id);
      if (writing_ && t.name == "LAYER") writeMissingLayers(t.head.handle().value());
    }
    if (writing_) w_->string(0, "ENDTAB");
  }
}

void Saver::synthBlockBegin(AcDbObjectId btr) {
  std::uint64_t h = synthHandle();
  if (!writing_) return;
  AcDbObject* obj = nullptr;
  pf::openObject(obj, btr, AcDb::kForRead, false);
  AcDbBlockTableRecord* rec = AcDbBlockTableRecord::cast(obj);
  const char* name = "";
  AcGePoint3d origin;
  int flags = 0;
  if (rec) {
    rec->getName(name);
    origin = rec->origin();
    if (rec->isAnonymous()) flags |= 1;
    if (rec->hasAttributeDefinitions()) flags |= 2;
  }
  std::string n = name ? name : "";
  if (obj) pf::closeObject(obj);
  w_->string(0, "BLOCK");
  w_->handle(5, h);
  w_->handle(330, btr.handle().value());
  w_->string(100, "AcDbEntity");
  if (btr == paperSpace_) w_->integer(67, 1);
  w_->string(8, "0");
  w_->string(100, "AcDbBlockBegin");
  w_->string(2, n);
  w_->integer(70, flags);
  w_->point(10, origin.x, origin.y, origin.z);
  w_->string(3, n);
  w_->string(1, "");
}

void Saver::synthBlockEnd(AcDbObjectId btr) {
  std::uint64_t h = synthHandle();
  if (!writing_) return;
  w_->string(0, "ENDBLK");
  w_->handle(5, h);
  w_->handle(330, btr.handle().value());
  w_->string(100, "AcDbEntity");
  if (btr == paperSpace_) w_->integer(67, 1);
  w_->string(8, "0");
  w_->string(100, "AcDbBlockEnd");
}

void Saver::synthSeqEnd(AcDbObjectId insert, const std::string& layer) {
  std::uint64_t h = synthHandle();
  if (!writing_) return;
  w_->string(0, "SEQEND");
  w_->handle(5, h);
  w_->handle(330, insert.handle().value());
  w_->string(100, "AcDbEntity");
  w_->string(8, layer);
}

void Saver::entitiesOf(AcDbObjectId block) {
  std::vector<AcDbObjectId> ids;
  {
    AcDbObject* obj = nullptr;
    if (pf::openObject(obj, block, AcDb::kForRead, false) != Acad::eOk) return;
    AcDbBlockTableRecord* rec = AcDbBlockTableRecord::cast(obj);
    AcDbBlockTableRecordIterator* it = nullptr;
    if (rec && rec->newIterator(it) == Acad::eOk) {
      for (; !it->done(); it->step()) {
        AcDbObjectId id;
        if (it->getEntityId(id) == Acad::eOk) ids.push_back(id);
      }
      delete it;
    }
    pf::closeObject(obj);
  }
  for (const AcDbObjectId& id : ids) {
    if (!alive(id)) continue;  // checked here, where the entity is read next anyway
    object(id);
    if (AcDbBlockReference::cast(pf::peekObject(id))) {
      AcDbObject* obj = nullptr;
      std::vector<AcDbObjectId> attrs;
      AcDbObjectId end;
      if (pf::openObject(obj, id, AcDb::kForRead, false) == Acad::eOk) {
        const AcDbBlockReference* ref = AcDbBlockReference::cast(obj);
        attrs = EntityInternals::attributeIds(ref);
        end = EntityInternals::sequenceEndId(ref);
        pf::closeObject(obj);
      }
      bool any = false;
      for (const AcDbObjectId& a : attrs)
        if (alive(a)) {
          object(a);
          any = true;
        }
      if (any) {
        if (alive(end)) {
          object(end);
        } else {
          // A sequence end made up for the attributes, on the insert's layer.
          const AcDbObject* insert = pf::peekObject(id);
          synthSeqEnd(id, insert ? pf::impl(insert)->entity.layer : "0");
        }
      }
    }
    auto f = st_.followers.find(id);
    if (f != st_.followers.end())
      for (const AcDbObjectId& x : f->second)
        if (alive(x)) object(x);
  }
}

void Saver::blocks() {
  AcDbObject* obj = nullptr;
  std::vector<AcDbObjectId> records;
  if (pf::openObject(obj, db_->blockTableId(), AcDb::kForRead, false) == Acad::eOk) {
    if (AcDbBlockTable* bt = AcDbBlockTable::cast(obj)) {
      AcDbBlockTableIterator* it = nullptr;
      if (bt->newIterator(it) == Acad::eOk) {
        for (; !it->done(); it->step()) {
          AcDbObjectId id;
          if (it->getRecordId(id) == Acad::eOk && alive(id)) records.push_back(id);
        }
        delete it;
      }
    }
    pf::closeObject(obj);
  }
  for (const AcDbObjectId& btr : records) {
    auto ends = st_.blockEnds.find(btr);
    const bool haveBegin = ends != st_.blockEnds.end() && alive(ends->second.begin);
    const bool haveEnd = ends != st_.blockEnds.end() && alive(ends->second.end);
    if (haveBegin)
      object(ends->second.begin);
    else
      synthBlockBegin(btr);
    // Model space and the active paper space have their entities in the ENTITIES section.
    if (btr != modelSpace_ && btr != paperSpace_) entitiesOf(btr);
    if (haveEnd)
      object(ends->second.end);
    else
      synthBlockEnd(btr);
  }
}

void Saver::entities() {
  entitiesOf(modelSpace_);
  if (!paperSpace_.isNull()) entitiesOf(paperSpace_);
}

void Saver::objects() {
  if (writing_) {
    for (std::size_t i = 0; i < objectList_.size(); ++i) {
      object(objectList_[i]);
      if (i == 0 && fresh_ && objectList_[0] == db_->namedObjectsDictionaryId()) {
        // The root dictionary of a new drawing lists the standard objects written after it.
        std::vector<std::string> present = rootKeys();
        for (const auto& e : parts_->rootEntries(present)) {
          w_->string(3, e.first);
          w_->handle(350, e.second);
        }
        parts_->objects(*w_, present);
      }
    }
    return;
  }
  // Everything planned so far (tables, blocks, entities) is already in the file.
  auto put = [&](AcDbObjectId id) {
    const AcDbStub* s = id;
    if (s->saving) return;  // planned already (or in a table, a block, the entities)
    objectList_.push_back(id);
    object(id);
  };
  AcDbObjectId root = db_->namedObjectsDictionaryId();
  if (alive(root)) put(root);
  for (const AcDbObjectId& id : st_.objects)
    if (alive(id)) put(id);
  // Objects made since the drawing was read (dictionaries, application objects, ...), in the
  // order they were made. Entities are saved only through their blocks, table records only in
  // tables.
  for (AcDbStub* stub : db_->pfImpl()->stubs) {
    AcDbObjectId id(stub);
    if (!alive(id)) continue;
    AcDbObject* obj = stub->object;
    if (AcDbEntity::cast(obj) || AcDbSymbolTable::cast(obj) || AcDbSymbolTableRecord::cast(obj)) continue;
    put(id);
  }
}

std::vector<std::string> Saver::rootKeys() const {
  std::vector<std::string> keys;
  AcDbObject* obj = nullptr;
  if (pf::openObject(obj, db_->namedObjectsDictionaryId(), AcDb::kForRead, false) != Acad::eOk) return keys;
  if (AcDbDictionary* d = AcDbDictionary::cast(obj)) {
    AcDbDictionaryIterator* it = d->newIterator(AcRx::kDictCollated);
    for (; it && !it->done(); it->next()) keys.push_back(it->name());
    delete it;
  }
  pf::closeObject(obj);
  return keys;
}

void Saver::collectLayerNames() {
  std::unordered_set<std::string> defined;
  if (fresh_) defined.insert("0");
  for (const TableState& t : st_.tables) {
    if (t.name != "LAYER") continue;
    for (const AcDbObjectId& id : t.records) {
      if (!alive(id)) continue;
      if (const DxfProxyObject* p = dynamic_cast<const DxfProxyObject*>(pf::peekObject(id))) {
        bool named = false;
        p->kept().forEach([&](int code, std::string_view text) {
          if (code == 2 && !named) {
            defined.insert(std::string(text));
            named = true;
          }
        });
      }
    }
  }
  for (const std::string& name : usedLayers_) {
    bool found = defined.count(name) != 0;
    if (!found)  // layer names compare without regard to case
      for (const std::string& d : defined)
        if (strcasecmp(d.c_str(), name.c_str()) == 0) found = true;
    if (!found) {
      missingLayers_.push_back(name);
      defined.insert(name);
    }
  }
}

void Saver::walk() {
  nextSynth_ = walkStart_;
  objectList_.clear();
  tables();
  blocks();
  entities();
  objects();
}

void Saver::plan() {
  // Spaces by name.
  AcDbObject* obj = nullptr;
  if (pf::openObject(obj, db_->blockTableId(), AcDb::kForRead, false) == Acad::eOk) {
    if (AcDbBlockTable* bt = AcDbBlockTable::cast(obj)) {
      bt->getAt(ACDB_MODEL_SPACE, modelSpace_);
      bt->getAt(ACDB_PAPER_SPACE, paperSpace_);
    }
    pf::closeObject(obj);
  }
  firstSynth_ = db_->handseed().value();
  walkStart_ = firstSynth_;
  if (fresh_) {
    AcDbObjectId root = db_->namedObjectsDictionaryId();
    parts_.reset(new NewDrawingParts(modelSpace_.isNull() ? 0 : modelSpace_.handle().value(),
                                     paperSpace_.isNull() ? 0 : paperSpace_.handle().value(),
                                     root.isNull() ? 0 : root.handle().value()));
    walkStart_ = parts_->allocate(firstSynth_);
  }
  writing_ = false;
  walk();
  collectLayerNames();
  firstMissingLayer_ = nextSynth_;
  plannedSynthEnd_ = nextSynth_ + missingLayers_.size();
}

// ---------------------------------------------------------------------------------------------
void Saver::header(TagWriter& w) {
  const std::uint64_t seed = std::max<std::uint64_t>(plannedSynthEnd_, db_->handseed().value());
  if (fresh_) {
    w.string(0, "SECTION");
    w.string(2, "HEADER");
    parts_->header(w, seed);
    w.string(0, "ENDSEC");
    return;
  }
  w.string(0, "SECTION");
  w.string(2, "HEADER");
  bool haveSeed = false, haveCodePage = false, haveVersion = false;
  for (const HeaderVariable& v : st_.header) {
    if (v.name == "$HANDSEED") haveSeed = true;
    if (v.name == "$DWGCODEPAGE") haveCodePage = true;
    if (v.name == "$ACADVER") haveVersion = true;
  }
  if (!haveVersion) {
    w.string(9, "$ACADVER");
    w.string(1, st_.acadVer);
  }
  for (const HeaderVariable& v : st_.header) {
    w.string(9, v.name);
    if (v.name == "$HANDSEED") {
      w.handle(5, seed);
      continue;
    }
    if (v.name == "$ACADVER") {
      w.string(1, st_.acadVer);
      continue;
    }
    for (const KeptTag& t : v.tags) w.kept(t.code, t.value);
    if (!haveCodePage && (v.name == "$ACADMAINTVER")) {
      w.string(9, "$DWGCODEPAGE");
      w.string(3, "ANSI_1252");
      haveCodePage = true;
    }
  }
  if (!haveCodePage) {
    w.string(9, "$DWGCODEPAGE");
    w.string(3, "ANSI_1252");
  }
  if (!haveSeed) {
    w.string(9, "$HANDSEED");
    w.handle(5, seed);
  }
  w.string(0, "ENDSEC");
}

void Saver::classes(TagWriter& w) {
  const bool withCount = versionNumber(st_.acadVer) >= 1018;
  w.string(0, "SECTION");
  w.string(2, "CLASSES");
  std::unordered_set<std::string> written;
  if (fresh_) {
    parts_->classes(w);
    for (const char* n : {"ACDBDICTIONARYWDFLT", "ACDBPLACEHOLDER", "LAYOUT"}) written.insert(n);
  }
  auto fromClass = [&](AcRxClass* cls, const std::string& dxf) {
    w.string(0, "CLASS");
    w.string(1, dxf);
    w.string(2, cls->name() ? cls->name() : "");
    w.string(3, cls->appName() ? cls->appName() : "");
    w.integer(90, cls->proxyFlags());
    if (withCount) w.integer(91, static_cast<std::int64_t>(classCounts_.count(cls) ? classCounts_[cls] : 0));
    w.integer(280, 0);
    w.integer(281, cls->isDerivedFrom(AcDbEntity::desc()) ? 1 : 0);
  };
  for (const ClassRecord& c : st_.classes) {
    if (!written.insert(c.dxfName).second) continue;
    AcRxClass* cls = registeredClass(c.cppName);
    if (!cls || !cls->dxfName() || c.dxfName != cls->dxfName()) cls = pf::classForDxfName(c.dxfName.c_str());
    if (cls && (!cls->appName() || std::strcmp(cls->appName(), "AutoCAD") == 0)) cls = nullptr;
    if (cls && cls->dxfName() && c.dxfName == cls->dxfName()) {
      fromClass(cls, c.dxfName);
      continue;
    }
    w.string(0, "CLASS");
    for (const KeptTag& t : c.tags) {
      if (t.code == 91 && !withCount) continue;  // no instance count before R2004
      w.kept(t.code, t.value);
    }
  }
  for (AcRxClass* cls : classOrder_) {
    std::string dxf = cls->dxfName();
    if (!written.insert(dxf).second) continue;
    fromClass(cls, dxf);
  }
  w.string(0, "ENDSEC");
}

void Saver::otherSection(TagWriter& w, const OtherSection& s) {
  w.string(0, "SECTION");
  w.string(2, s.name);
  for (const KeptTag& t : s.tags) w.kept(t.code, t.value);
  w.string(0, "ENDSEC");
}

void Saver::write(TagWriter& w) {
  w_ = &w;
  filer_.reset(new DxfOutFiler(db_, w, [this](const AcDbObjectId& id) { return saved(id); }));
  filer_->setPrecision(precision_);
  filer_->keepDanglingBelow(st_.seedAtLoad);
  writing_ = true;

  // Standard sections in their order; sections we keep without a model where they were.
  static const char* const kStandard[] = {"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"};
  std::vector<std::string> order(std::begin(kStandard), std::end(kStandard));
  std::size_t at = 0;
  for (const std::string& name : st_.sectionOrder) {
    auto it = std::find(order.begin(), order.end(), name);
    if (it != order.end()) {
      at = static_cast<std::size_t>(it - order.begin()) + 1;
    } else {
      order.insert(order.begin() + static_cast<long>(at), name);
      ++at;
    }
  }
  // Handles made up for records the database does not hold (a new block's BLOCK and ENDBLK)
  // come in the same order as in the first pass, which counted them for $HANDSEED.
  nextSynth_ = walkStart_;
  for (const std::string& name : order) {
    if (name == "HEADER") {
      header(w);
    } else if (name == "CLASSES") {
      classes(w);
    } else if (name == "TABLES" || name == "BLOCKS" || name == "ENTITIES" || name == "OBJECTS") {
      w.string(0, "SECTION");
      w.string(2, name);
      if (name == "TABLES") tables();
      if (name == "BLOCKS") blocks();
      if (name == "ENTITIES") entities();
      if (name == "OBJECTS") objects();
      w.string(0, "ENDSEC");
    } else {
      for (const OtherSection& s : st_.others)
        if (s.name == name) otherSection(w, s);
    }
  }
  w.string(0, "EOF");
  w.flush();
}

}  // namespace

Acad::ErrorStatus saveDrawing(AcDbDatabase* db, const char* fileName, int precision, DxfForm form) {
  clearFailure();
  const std::string file = fileName ? fileName : "";
  if (Acad::ErrorStatus es = pf::injectedFault("AcDbDatabase::dxfOut")) {
    setFailure(file, 0, "saving failed (status " + std::to_string(es) + ")");
    return es;
  }
  if (file.empty()) {
    setFailure(file, 0, "no drawing file named");
    return Acad::eInvalidInput;
  }
  if (db->blockTableId().isNull()) {
    setFailure(file, 0, "the database holds no drawing (no block table)");
    return Acad::eNoDatabase;
  }
  DrawingState* state = drawingState(db);
  DrawingState fresh;
  try {
    Saver saver(db, state ? *state : fresh, state == nullptr, precision > 0 && precision <= 16 ? precision : 16);
    saver.plan();
    AtomicOutputFile out(file);
    auto toFile = [&](const char* p, std::size_t n) {
      // Tests make a write fail halfway (a full disk) through this fault.
      if (pf::injectedFault("AcDbDatabase::dxfOut/write") != Acad::eOk)
        throw DxfError(file, 0, "cannot write the drawing: the file system refused the data", DxfError::kWrite);
      out.write(p, n);
    };
    const int digits = precision > 0 && precision <= 16 ? precision : 16;
    // A drawing read from a UTF-8 file is saved in UTF-8 again.
    std::unique_ptr<TextCodec> codec = state ? TextCodec::forDrawing(state->acadVer, state->codePage) : nullptr;
    if (form == DxfForm::kBinary) {
      // The writer's groups, encoded as they come.
      BinaryDxfEncoder encoder(toFile);
      TagWriter w([&](const char* p, std::size_t n) { encoder.add(p, n); }, digits);
      w.setTextCodec(codec.get());
      saver.write(w);
      encoder.finish();
    } else {
      TagWriter w(toFile, digits);
      w.setTextCodec(codec.get());
      saver.write(w);
    }
    out.commit();
    return Acad::eOk;
  } catch (const DxfError& e) {
    setFailure(file, 0, e.reason());
    return e.kind() == DxfError::kWrite ? Acad::eFileAccessErr : Acad::eFilerError;
  } catch (const std::bad_alloc&) {
    setFailure(file, 0, "not enough memory to save the drawing");
    return Acad::eOutOfMemory;
  }
}

}  // namespace dxf
}  // namespace pf

Acad::ErrorStatus AcDbDatabase::dxfOut(const char* fileName, const int precision, const bool) {
  return pf::dxf::saveDrawing(this, fileName, precision, pf::dxfForm(this));
}

Acad::ErrorStatus pf::dxfOutAs(AcDbDatabase* db, const char* fileName, DxfForm form, int precision) {
  if (db == nullptr) return Acad::eNullObjectPointer;
  return pf::dxf::saveDrawing(db, fileName, precision, form);
}
