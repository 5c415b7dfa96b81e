// dxf_load.cpp - AcDbDatabase::dxfIn: reads an ASCII DXF drawing into an empty database.
//
// 1. The structural scan (dxf_structure) checks the whole file and finds every record; a file
//    that is not DXF, is truncated, holds a value that does not parse for its group code, has a
//    duplicate handle or unbalanced sections is refused here, before anything is created.
// 2. Every record becomes an object under its own handle, created by its runtime class (built-in
//    classes, and classes named in CLASSES that an application registered) and filled by its
//    dxfInFields; records that no class reads (or whose class answers eMakeMeProxy or fails)
//    become proxies keeping their groups. References to objects not read yet get ids reserved by
//    handle, so they resolve when those objects arrive.
// 3. The objects are linked: block records into the block table, entities into their blocks,
//    attributes and sequence ends into their block references, the root dictionary.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <fstream>
#include <memory>
#include <new>
#include <unordered_map>
#include <unordered_set>

#include "dbents.h"
#include "dbsymtb.h"
#include "dxf/dxf_file.h"
#include "dxf/dxf_filers.h"
#include "dxf/dxf_proxy.h"
#include "dxf/dxf_state.h"
#include "dxf/dxf_structure.h"
#include "db/db_internal.h"
#include "db/entities/entities_internal.h"
#include "pf/dbinternal.h"
#include "pf/faults.h"
#include "pf/dxf.h"
#include "pf/dxf_tag_filer.h"
#include "rxclass.h"
#include "pf/rxinit.h"
#include "rxdict.h"

namespace pf {
namespace dxf {

namespace {

// Records the platform models, by DXF name, with the runtime class that reads them.
const char* builtInClass(std::string_view type) {
  static const std::pair<const char*, const char*> kBuiltIn[] = {
      {"LWPOLYLINE", "AcDbPolyline"},       {"INSERT", "AcDbBlockReference"},  {"ATTRIB", "AcDbAttribute"},
      {"ATTDEF", "AcDbAttributeDefinition"}, {"TEXT", "AcDbText"},              {"LINE", "AcDbLine"},
      {"CIRCLE", "AcDbCircle"},             {"DICTIONARY", "AcDbDictionary"},  {"SEQEND", "AcDbSequenceEnd"},
      {"BLOCK_RECORD", "AcDbBlockTableRecord"}, {"BLOCK_TABLE", "AcDbBlockTable"},
  };
  for (const auto& b : kBuiltIn)
    if (type == b.first) return b.second;
  return nullptr;
}

AcRxClass* registeredClass(const std::string& name) {
  if (name.empty()) return nullptr;
  AcRxDictionary* dict = acrxClassDictionary;
  if (!dict) return nullptr;
  return AcRxClass::cast(dict->at(name.c_str()));
}

// A class an application registered under a DXF name: it reads records of that name even when
// the CLASSES record is missing (some writers drop records they do not know). The platform's own
// classes (proxies among them) do not take over records this way.
AcRxClass* applicationClass(const std::string& dxfName) {
  AcRxClass* c = pf::classForDxfName(dxfName.c_str());
  if (!c || !c->appName() || !*c->appName()) return nullptr;
  if (std::strcmp(c->appName(), "AutoCAD") == 0 || std::strcmp(c->appName(), "ObjectDBX Classes") == 0) return nullptr;
  return c;
}

int versionNumber(const std::string& acadVer) {
  if (acadVer.size() < 3 || acadVer.compare(0, 2, "AC") != 0) return -1;
  int n = 0;
  for (std::size_t i = 2; i < acadVer.size(); ++i) {
    if (acadVer[i] < '0' || acadVer[i] > '9') return -1;
    n = n * 10 + (acadVer[i] - '0');
  }
  return n;
}

void releasePages(void* ctx, std::size_t offset) { static_cast<InputFile*>(ctx)->release(offset); }

// The first group `code` of a record before its first subclass marker (owner, handle).
std::uint64_t headHandle(const std::vector<Tag>& tags, int code) {
  for (std::size_t i = 1; i < tags.size(); ++i) {
    if (tags[i].code == 100) break;
    if (tags[i].code == 102) {  // skip a {...} group
      while (++i < tags.size() && !(tags[i].code == 102 && trimmed(tags[i].value) == "}")) {
      }
      continue;
    }
    if (tags[i].code == code) {
      std::uint64_t h = 0;
      parseHandle(tags[i].value, h);
      return h;
    }
  }
  return 0;
}

bool hasFlag(const std::vector<Tag>& tags, int code, std::int64_t value) {
  for (const Tag& t : tags) {
    if (t.code == code) {
      std::int64_t v = 0;
      return parseInt64(t.value, v) && v == value;
    }
  }
  return false;
}

class Loader {
 public:
  Loader(AcDbDatabase* db, InputFile& in, TagReader& reader, DrawingIndex& index, std::ostream* log)
      : db_(db), in_(in), r_(reader), ix_(index), filer_(db), log_(log) {}

  std::unique_ptr<DrawingState> run();

 private:
  struct ClassInfo {
    const ClassRecord* record = nullptr;  // from CLASSES, or null
    AcRxClass* cls = nullptr;             // the registered class reading the record, or null
  };

  const ClassInfo& classFor(std::string_view type);
  // Creates, fills and adds the object of one record; answers its id (open objects are closed).
  AcDbObjectId load(const RecordRef& ref, bool entity, std::string_view forceType = {}, bool stripName = false);
  AcDbObject* instantiate(std::string_view type, bool entity, bool& isProxy);
  AcDbObject* makeProxy(std::string_view type, bool entity);
  Acad::ErrorStatus fill(AcDbObject* obj);
  void warn(std::uint32_t line, const std::string& what);

  void tables();
  void ensureBlockTable();
  void requireBlockName(AcDbObjectId id, const RecordRef& rec);
  AcDbObjectId newBlock(const std::string& name);
  bool isBlock(AcDbObjectId id) const;
  void blocks();
  void entities();
  void objects();
  // Entities of a block (or of model/paper space) in order, with their followers.
  void entityList(const std::vector<RecordRef>& refs, AcDbObjectId block, bool spaces);
  AcDbObjectId blockOf(std::uint64_t ownerHandle, bool paperSpace);
  void appendTo(AcDbObjectId block, AcDbObjectId entity);
  void closeBlocks();

  AcDbDatabase* db_;
  InputFile& in_;
  TagReader& r_;
  DrawingIndex& ix_;
  DxfInFiler filer_;
  std::ostream* log_;
  std::vector<Tag> tags_;
  std::unique_ptr<DrawingState> st_;
  std::unordered_map<std::string, ClassInfo> classes_;
  std::unordered_map<std::string, ClassInfo> byType_;
  AcDbObjectId blockTable_;
  AcDbObjectId modelSpace_, paperSpace_;
  std::vector<AcDbObjectId> btrs_;
  std::unordered_set<AcDbObjectId> btrSet_;
  std::unordered_map<AcDbObjectId, AcDbBlockTableRecord*> openBlocks_;
  std::size_t since_ = 0;
};

void Loader::warn(std::uint32_t line, const std::string& what) {
  if (log_) *log_ << r_.fileName() << ":" << line << ": " << what << "\n";
}

const Loader::ClassInfo& Loader::classFor(std::string_view type) {
  std::string key(type);
  auto it = byType_.find(key);
  if (it != byType_.end()) return it->second;
  ClassInfo info;
  if (const char* builtIn = builtInClass(type)) {
    info.cls = registeredClass(builtIn);
  } else {
    for (const ClassRecord& c : ix_.classes)
      if (c.dxfName == key) info.record = &c;
    if (info.record) info.cls = registeredClass(info.record->cppName);
    // A class an application registered under this DXF name reads it even when the CLASSES
    // record is missing (some writers drop records they do not know).
    if (!info.cls) info.cls = applicationClass(key);
  }
  return byType_.emplace(key, info).first->second;
}

AcDbObject* Loader::makeProxy(std::string_view type, bool entity) {
  std::string dxfName(type);
  const ClassInfo& info = classFor(type);
  std::string className = info.record ? info.record->cppName : std::string();
  std::string app = info.record ? info.record->appName : std::string();
  int flags = info.record ? static_cast<int>(info.record->proxyFlags) : 0;
  if (entity) return newDxfProxyEntity(className, dxfName, app, flags);
  return newDxfProxyObject(className, dxfName, app, flags);
}

AcDbObject* Loader::instantiate(std::string_view type, bool entity, bool& isProxy) {
  const ClassInfo& info = classFor(type);
  isProxy = false;
  if (info.cls) {
    AcRxObject* made = info.cls->create();
    if (AcDbObject* obj = AcDbObject::cast(made)) {
      // An entity record must become an entity (and an object record an object).
      if ((AcDbEntity::cast(obj) != nullptr) == entity) return obj;
      delete obj;
    } else {
      delete made;
    }
  }
  isProxy = true;
  return makeProxy(type, entity);
}

// The object's fields through its dxfInFields, then its extended data (1001 groups), which the
// database keeps for it.
Acad::ErrorStatus Loader::fill(AcDbObject* obj) {
  filer_.reset(tags_.data() + 1, tags_.size() - 1);
  Acad::ErrorStatus es = obj->dxfInFields(&filer_);
  if (es != Acad::eOk) return es;
  filer_.skipToExtendedData();
  if (!filer_.atExtendedData()) return filer_.filerStatus();
  filer_.setReadExtendedData(true);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  resbuf rb;
  while ((es = filer_.readResBuf(&rb)) == Acad::eOk) {
    rb.rbnext = nullptr;
    *tail = pf::copyResbufChain(&rb);
    tail = &(*tail)->rbnext;
  }
  filer_.setReadExtendedData(false);
  if (es != Acad::eEndOfObject) {
    pf::freeResbufChain(head);
    return es;
  }
  pf::freeResbufChain(pf::impl(obj)->xdata);
  pf::impl(obj)->xdata = head;
  return Acad::eOk;
}

AcDbObjectId Loader::load(const RecordRef& ref, bool entity, std::string_view forceType, bool stripName) {
  readRecord(r_, ref, tags_);
  if (++since_ >= 4096) {
    in_.release(ref.offset);
    since_ = 0;
  }
  std::string_view type = forceType.empty() ? ref.type : forceType;
  if (stripName && tags_.size() > 1 && tags_[1].code == 2) tags_.erase(tags_.begin() + 1);  // TABLE's name
  // DIMSTYLE records name themselves with group 105; the common object part reads group 5.
  if (type == "DIMSTYLE")
    for (std::size_t i = 1; i < tags_.size(); ++i)
      if (tags_[i].code == 105) {
        tags_[i].code = 5;
        break;
      }

  bool isProxy = false;
  AcDbObject* obj = instantiate(type, entity, isProxy);
  Acad::ErrorStatus es = fill(obj);
  if (es != Acad::eOk && !isProxy) {
    if (es == Acad::eMakeMeProxy)
      warn(ref.line, std::string(type) + " kept as a proxy: its class asked for it");
    else
      warn(ref.line, std::string(type) + " kept as a proxy: " +
                         (filer_.errorMessage() && *filer_.errorMessage() ? filer_.errorMessage() : "its class could not read it"));
    delete obj;
    obj = makeProxy(type, entity);
    isProxy = true;
    es = fill(obj);
  }
  if (es != Acad::eOk) {
    delete obj;
    std::string why = filer_.errorMessage() && *filer_.errorMessage() ? filer_.errorMessage() : "cannot be read";
    throw DxfError(r_.fileName(), filer_.lastLine() ? filer_.lastLine() : ref.line, std::string(type) + ": " + why);
  }
  AcDbObjectId id;
  if (ref.handle != 0)
    es = pf::addObjectWithHandle(db_, obj, AcDbHandle::fromValue(ref.handle), id);
  else
    es = db_->addAcDbObject(id, obj);
  if (es != Acad::eOk) {
    delete obj;
    throw DxfError(r_.fileName(), ref.line, std::string(type) + ": cannot be added to the drawing");
  }
  obj->close();
  return id;
}

void Loader::tables() {
  for (const Table& t : ix_.tables) {
    TableState ts;
    ts.name = t.name;
    const bool blockTable = t.name == "BLOCK_RECORD";
    // The head `0 TABLE / 2 name / 5 handle / ...` is read without its name, which the state
    // keeps; the block table is the database's, every other table a kept record.
    ts.head = load(t.head, false, blockTable ? std::string_view("BLOCK_TABLE") : std::string_view("TABLE"), true);
    for (const RecordRef& rec : t.records) {
      AcDbObjectId id = load(rec, false);
      ts.records.push_back(id);
      if (blockTable) {
        requireBlockName(id, rec);
        btrs_.push_back(id);
        btrSet_.insert(id);
      }
    }
    if (blockTable && blockTable_.isNull()) {
      blockTable_ = ts.head;
      pf::setBlockTableId(db_, blockTable_);
      AcDbObject* obj = nullptr;
      if (pf::openObject(obj, blockTable_, AcDb::kForWrite, false) == Acad::eOk) {
        if (AcDbBlockTable* table = AcDbBlockTable::cast(obj))
          for (const AcDbObjectId& id : btrs_) pf::addToSymbolTable(table, id);
        pf::closeObject(obj);
      }
    }
    st_->tables.push_back(std::move(ts));
  }
  ensureBlockTable();
}

// A block table record names its block: without a name it could not be tied to its BLOCK, and a
// drawing saved from it would not load again, so such a file is refused.
void Loader::requireBlockName(AcDbObjectId id, const RecordRef& rec) {
  AcDbObject* obj = nullptr;
  if (pf::openObject(obj, id, AcDb::kForRead, false) != Acad::eOk) return;
  const char* name = nullptr;
  AcDbBlockTableRecord* btr = AcDbBlockTableRecord::cast(obj);
  const bool named = btr && btr->getName(name) == Acad::eOk && name && *name;
  pf::closeObject(obj);
  if (btr && !named) throw DxfError(r_.fileName(), rec.line, "BLOCK_RECORD without a name (group 2)");
}

// A drawing without a block table (or without model or paper space) gets them, so that every
// entity has a block to live in.
void Loader::ensureBlockTable() {
  if (blockTable_.isNull()) {
    AcDbBlockTable* table = new AcDbBlockTable();
    if (db_->addAcDbObject(blockTable_, table) != Acad::eOk) {
      delete table;
      throw DxfError(r_.fileName(), 0, "cannot create the block table");
    }
    table->close();
    pf::setBlockTableId(db_, blockTable_);
    TableState ts;
    ts.name = "BLOCK_RECORD";
    ts.head = blockTable_;
    st_->tables.push_back(ts);
  }
  for (const AcDbObjectId& id : btrs_) {
    AcDbObject* rec = nullptr;
    if (pf::openObject(rec, id, AcDb::kForRead, false) != Acad::eOk) continue;
    AcDbBlockTableRecord* btr = AcDbBlockTableRecord::cast(rec);
    const char* name = nullptr;
    if (btr && btr->getName(name) == Acad::eOk && name) {
      if (strcasecmp(name, ACDB_MODEL_SPACE) == 0) modelSpace_ = id;
      if (strcasecmp(name, ACDB_PAPER_SPACE) == 0) paperSpace_ = id;
    }
    pf::closeObject(rec);
  }
  if (modelSpace_.isNull()) modelSpace_ = newBlock(ACDB_MODEL_SPACE);
  if (paperSpace_.isNull()) paperSpace_ = newBlock(ACDB_PAPER_SPACE);
}

AcDbObjectId Loader::newBlock(const std::string& name) {
  AcDbObject* tableObj = nullptr;
  if (pf::openObject(tableObj, blockTable_, AcDb::kForWrite, false) != Acad::eOk) throw DxfError(r_.fileName(), 0, "cannot open the block table");
  AcDbBlockTable* table = AcDbBlockTable::cast(tableObj);
  if (!table) {
    pf::closeObject(tableObj);
    throw DxfError(r_.fileName(), 0, "the block table is not a block table");
  }
  AcDbBlockTableRecord* rec = new AcDbBlockTableRecord();
  rec->setName(name.c_str());
  AcDbObjectId id;
  Acad::ErrorStatus es = table->add(id, rec);
  pf::closeObject(table);
  if (es != Acad::eOk) {
    delete rec;
    throw DxfError(r_.fileName(), 0, "cannot create the block " + name);
  }
  rec->close();
  btrs_.push_back(id);
  btrSet_.insert(id);
  for (TableState& ts : st_->tables)
    if (ts.name == "BLOCK_RECORD") ts.records.push_back(id);
  return id;
}

bool Loader::isBlock(AcDbObjectId id) const { return !id.isNull() && btrSet_.count(id) != 0; }

AcDbObjectId Loader::blockOf(std::uint64_t ownerHandle, bool paperSpace) {
  if (ownerHandle) {
    AcDbObjectId id = pf::idForHandle(db_, AcDbHandle::fromValue(ownerHandle), false);
    if (!id.isNull() && (id == modelSpace_ || id == paperSpace_ || isBlock(id))) return id;
  }
  return paperSpace ? paperSpace_ : modelSpace_;
}

void Loader::appendTo(AcDbObjectId block, AcDbObjectId entity) {
  auto it = openBlocks_.find(block);
  AcDbBlockTableRecord* rec = nullptr;
  if (it != openBlocks_.end()) {
    rec = it->second;
  } else {
    AcDbObject* obj = nullptr;
    if (pf::openObject(obj, block, AcDb::kForWrite, false) != Acad::eOk || !(rec = AcDbBlockTableRecord::cast(obj))) {
      if (obj) pf::closeObject(obj);
      throw DxfError(r_.fileName(), 0, "cannot open a block to add its entities");
    }
    openBlocks_.emplace(block, rec);
  }
  // Straight to the end of the list: the file holds each entity once, so the duplicate check
  // of appendToBlock (a walk over the block) is not needed.
  pf::appendEntityInternal(rec, entity);
}

void Loader::closeBlocks() {
  for (auto& b : openBlocks_) pf::closeObject(b.second);
  openBlocks_.clear();
}

void Loader::blocks() {
  for (const Block& b : ix_.blocks) {
    BlockEnds ends;
    ends.begin = load(b.begin, true);
    std::uint64_t owner = headHandle(tags_, 330);
    std::string name;
    for (const Tag& t : tags_)
      if (t.code == 2) {
        name = std::string(t.value);
        break;
      }
    AcDbObjectId block;
    if (owner) {
      AcDbObjectId id = pf::idForHandle(db_, AcDbHandle::fromValue(owner), false);
      if (isBlock(id)) block = id;
    }
    if (block.isNull() && !name.empty()) {
      AcDbObject* obj = nullptr;
      if (pf::openObject(obj, blockTable_, AcDb::kForRead, false) == Acad::eOk) {
        if (AcDbBlockTable* table = AcDbBlockTable::cast(obj)) table->getAt(name.c_str(), block);
        pf::closeObject(obj);
      }
    }
    if (block.isNull()) block = newBlock(name.empty() ? "*U" : name);  // a block without its record
    entityList(b.entities, block, false);
    ends.end = load(b.end, true);
    st_->blockEnds[block] = ends;
  }
}

void Loader::entityList(const std::vector<RecordRef>& refs, AcDbObjectId block, bool spaces) {
  for (std::size_t i = 0; i < refs.size(); ++i) {
    const RecordRef& ref = refs[i];
    AcDbObjectId id = load(ref, true);
    AcDbObjectId target = block;
    if (spaces) target = blockOf(headHandle(tags_, 330), hasFlag(tags_, 67, 1));
    appendTo(target, id);

    // ATTRIB ... SEQEND after an INSERT, VERTEX ... SEQEND after a POLYLINE: owned by it.
    std::vector<AcDbObjectId> followers;
    while (i + 1 < refs.size() &&
           (refs[i + 1].type == "ATTRIB" || refs[i + 1].type == "VERTEX" || refs[i + 1].type == "SEQEND")) {
      const bool end = refs[i + 1].type == "SEQEND";
      followers.push_back(load(refs[++i], true));
      if (end) break;
    }
    if (followers.empty()) continue;
    AcDbObject* obj = nullptr;
    AcDbBlockReference* insert = nullptr;
    if (pf::openObject(obj, id, AcDb::kForWrite, false) == Acad::eOk) insert = AcDbBlockReference::cast(obj);
    if (insert) {
      for (const AcDbObjectId& f : followers) {
        AcDbObject* fo = nullptr;
        if (pf::openObject(fo, f, AcDb::kForWrite, false) != Acad::eOk) continue;
        // Some writers name the block as owner of the attributes; they belong to the insert.
        fo->setOwnerId(id);
        const bool isAttribute = AcDbAttribute::cast(fo) != nullptr;
        const bool isEnd = AcDbSequenceEnd::cast(fo) != nullptr;
        pf::closeObject(fo);
        if (isAttribute)
          EntityInternals::adoptAttribute(insert, f);
        else if (isEnd)
          EntityInternals::adoptSequenceEnd(insert, f);
        else
          st_->followers[id].push_back(f);
      }
    } else {
      st_->followers[id] = followers;
    }
    if (obj) pf::closeObject(obj);
  }
}

void Loader::entities() { entityList(ix_.entities, modelSpace_, true); }

void Loader::objects() {
  bool first = true;
  for (const RecordRef& ref : ix_.objects) {
    AcDbObjectId id = load(ref, false);
    st_->objects.push_back(id);
    if (first && ref.type == "DICTIONARY") pf::setNamedObjectsDictionaryId(db_, id);
    first = false;
  }
  if (db_->namedObjectsDictionaryId().isNull()) {
    AcDbDictionary* root = new AcDbDictionary();
    AcDbObjectId id;
    if (db_->addAcDbObject(id, root) != Acad::eOk) {
      delete root;
      throw DxfError(r_.fileName(), 0, "cannot create the named-object dictionary");
    }
    root->close();
    pf::setNamedObjectsDictionaryId(db_, id);
    st_->objects.insert(st_->objects.begin(), id);
  }
}

std::unique_ptr<DrawingState> Loader::run() {
  r_.setValidate(false);  // the scan checked every value
  pf::reserveObjects(db_, ix_.recordCount + ix_.recordCount / 4);
  st_.reset(new DrawingState);
  st_->acadVer = ix_.acadVer.empty() ? "AC1015" : ix_.acadVer;
  if (!ix_.codePage.empty()) st_->codePage = ix_.codePage;
  st_->sectionOrder = ix_.sectionOrder;
  st_->header = std::move(ix_.header);
  st_->classes = ix_.classes;
  st_->others = std::move(ix_.others);
  tables();
  blocks();
  entities();
  objects();
  closeBlocks();
  std::uint64_t seed = std::max(ix_.handSeed, ix_.maxHandle + 1);
  pf::raiseHandseed(db_, AcDbHandle::fromValue(seed));
  return std::move(st_);
}

}  // namespace

Acad::ErrorStatus loadDrawing(AcDbDatabase* db, const char* fileName, const char* logFileName) {
  clearFailure();
  const std::string file = fileName ? fileName : "";
  std::unique_ptr<std::ofstream> log;
  if (logFileName && *logFileName) log.reset(new std::ofstream(logFileName, std::ios::out | std::ios::trunc));
  auto failed = [&](Acad::ErrorStatus es, const std::string& f, unsigned line, const std::string& why) {
    setFailure(f, line, why);
    if (log && *log) *log << lastDxfFailure().text() << "\n";
    return es;
  };
  if (file.empty()) return failed(Acad::eInvalidInput, file, 0, "no drawing file named");
  if (Acad::ErrorStatus es = pf::injectedFault("AcDbDatabase::dxfIn"))
    return failed(es, file, 0, "reading failed (status " + std::to_string(es) + ")");
  if (!pf::allObjectIds(db).empty())
    return failed(Acad::eInvalidInput, file, 0,
                  "the database already holds a drawing; read drawings into a database made without the default drawing");
  bool started = false;
  try {
    InputFile in(file);
    TagReader reader(in.data(), file);
    DrawingIndex index = scanDrawing(reader, &releasePages, &in);
    if (!index.acadVer.empty()) {
      int v = versionNumber(index.acadVer);
      if (v < 1015) {
        unsigned line = 0;
        for (const HeaderVariable& h : index.header)
          if (h.name == "$ACADVER") line = h.line;
        throw DxfError(file, line, "drawing version " + index.acadVer +
                                      " is not supported; drawings of R2000 (AC1015) and later can be read");
      }
    }
    started = true;
    Loader loader(db, in, reader, index, log.get());
    std::unique_ptr<DrawingState> state;
    try {
      state = loader.run();
    } catch (const DxfError& e) {
      // Records without subclass markers are R12 style: say what is expected.
      if (!index.acadVer.empty()) throw;
      throw DxfError(e.file(), e.line(), e.reason() + " (the drawing names no $ACADVER; drawings of R2000 (AC1015) and later can be read)");
    }
    setDrawingState(db, std::move(state));
    pf::setFilename(db, file.c_str());
    return Acad::eOk;
  } catch (const DxfError& e) {
    if (started) clearDrawing(db);
    Acad::ErrorStatus es = Acad::eDxfReadAborted;
    if (e.kind() == DxfError::kFileNotFound) es = Acad::eFileNotFound;
    if (e.kind() == DxfError::kFileAccess) es = Acad::eFileAccessErr;
    return failed(es, e.file(), e.line(), e.reason());
  } catch (const std::bad_alloc&) {
    if (started) clearDrawing(db);
    return failed(Acad::eOutOfMemory, file, 0, "not enough memory to read the drawing");
  }
}

}  // namespace dxf
}  // namespace pf

Acad::ErrorStatus AcDbDatabase::dxfIn(const char* dxfFilename, const char* logFilename) {
  return pf::dxf::loadDrawing(this, dxfFilename, logFilename);
}
