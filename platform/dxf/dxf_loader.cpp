// dxf_loader.cpp - the drawing reader's sink: records become objects as they are read (see
// dxf_loader.h).
#include "dxf/dxf_loader.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <ostream>

#include "dbents.h"
#include "dbsymtb.h"
#include "db/db_internal.h"
#include "db/entities/entities_internal.h"
#include "db/symtab_internal.h"
#include "dxf/dxf_proxy.h"
#include "db/db_services.h"
#include "db/dxf_tag_filer.h"
#include "rx/rxinit.h"
#include "rxclass.h"
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

// The modelled sections in the order the loader needs them; 0 for the others (HEADER and
// sections without a model may come anywhere).
int sectionRank(const std::string& name) {
  static const char* const kOrder[] = {"CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"};
  for (int i = 0; i < 5; ++i)
    if (name == kOrder[i]) return i + 1;
  return 0;
}

// An ATTRIB record kept as a proxy entity.
bool isKeptAttribute(const AcDbObject* obj) {
  const char* type = AcDbEntity::cast(obj) ? proxyDxfName(obj) : nullptr;
  return type && std::strcmp(type, "ATTRIB") == 0;
}

bool isFollower(std::string_view type) { return type == "ATTRIB" || type == "VERTEX" || type == "SEQEND"; }

}  // namespace

bool inLoaderOrder(const std::vector<SectionPlace>& sections) {
  int last = 0;
  for (const SectionPlace& s : sections) {
    const int rank = sectionRank(s.name);
    if (rank == 0) continue;
    if (rank < last) return false;
    last = rank;
  }
  return true;
}

DrawingLoader::DrawingLoader(AcDbDatabase* db, const std::string& file, DrawingParts& parts, std::ostream* log)
    : db_(db), file_(file), parts_(parts), filer_(db), log_(log), st_(new DrawingState) {}

void DrawingLoader::warn(std::uint32_t line, const std::string& what) {
  if (log_) *log_ << file_ << ":" << line << ": " << what << "\n";
}

const DrawingLoader::ClassInfo& DrawingLoader::classFor(std::string_view type) {
  const std::size_t spot = type.empty() ? 0 : (type.size() * 7 + static_cast<unsigned char>(type.front()) * 3 +
                                                static_cast<unsigned char>(type.back())) % 64;
  TypeSlot& slot = typeCache_[spot];
  if (slot.info && slot.type == type) return *slot.info;
  std::string key(type);
  auto it = byType_.find(key);
  if (it == byType_.end()) it = byType_.emplace(key, lookUpClass(key)).first;
  slot.type = key;
  slot.info = &it->second;
  return it->second;
}

DrawingLoader::ClassInfo DrawingLoader::lookUpClass(const std::string& key) const {
  ClassInfo info;
  if (const char* builtIn = builtInClass(key)) {
    info.cls = registeredClass(builtIn);
  } else {
    for (const ClassRecord& c : parts_.classes)
      if (c.dxfName == key) info.record = &c;
    if (info.record) info.cls = registeredClass(info.record->cppName);
    // A class an application registered under this DXF name reads it even when the CLASSES
    // record is missing (some writers drop records they do not know).
    if (!info.cls) info.cls = applicationClass(key);
  }
  return info;
}

AcDbObject* DrawingLoader::makeProxy(std::string_view type, bool entity) {
  std::string dxfName(type);
  const ClassInfo& info = classFor(type);
  std::string className = info.record ? info.record->cppName : std::string();
  std::string app = info.record ? info.record->appName : std::string();
  int flags = info.record ? static_cast<int>(info.record->proxyFlags) : 0;
  if (entity) return newDxfProxyEntity(className, dxfName, app, flags);
  return newDxfProxyObject(className, dxfName, app, flags);
}

AcDbObject* DrawingLoader::instantiate(std::string_view type, bool entity, bool& isProxy) {
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
Acad::ErrorStatus DrawingLoader::fill(AcDbObject* obj, const std::vector<Tag>& tags) {
  filer_.reset(tags.data() + 1, tags.size() - 1);
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

void DrawingLoader::decideTextCodec() {
  if (codecDecided_) return;
  codecDecided_ = true;
  codec_ = TextCodec::forDrawing(parts_.acadVer, parts_.codePage);
}

void DrawingLoader::convertText(std::vector<Tag>& tags) {
  converted_.clear();
  std::string text;
  for (Tag& t : tags)
    if (codec_->toCodePage(t.value, text)) {
      converted_.push_back(std::move(text));
      t.value = converted_.back();
    }
}

void DrawingLoader::convertText(KeptTags& tags) {
  std::string text;
  for (KeptTag& t : tags)
    if (codec_->toCodePage(t.value, text)) t.value.swap(text);
}

AcDbObjectId DrawingLoader::load(ScannedRecord& rec, bool entity, std::string_view forceType, bool stripName) {
  std::vector<Tag>& tags = rec.tags;
  if (!codecDecided_) decideTextCodec();
  if (codec_) convertText(tags);
  const std::string_view type = forceType.empty() ? rec.type() : forceType;
  const std::uint32_t line = rec.line();
  if (stripName && tags.size() > 1 && tags[1].code == 2) tags.erase(tags.begin() + 1);  // TABLE's name
  // DIMSTYLE records name themselves with group 105; the common object part reads group 5.
  if (type == "DIMSTYLE")
    for (std::size_t i = 1; i < tags.size(); ++i)
      if (tags[i].code == 105) {
        tags[i].code = 5;
        break;
      }

  bool isProxy = false;
  AcDbObject* obj = instantiate(type, entity, isProxy);
  Acad::ErrorStatus es = fill(obj, tags);
  if (es != Acad::eOk && !isProxy) {
    if (es == Acad::eMakeMeProxy)
      warn(line, std::string(type) + " kept as a proxy: its class asked for it");
    else
      warn(line, std::string(type) + " kept as a proxy: " +
                     (filer_.errorMessage() && *filer_.errorMessage() ? filer_.errorMessage() : "its class could not read it"));
    delete obj;
    obj = makeProxy(type, entity);
    isProxy = true;
    es = fill(obj, tags);
  }
  if (es != Acad::eOk) {
    delete obj;
    std::string why = filer_.errorMessage() && *filer_.errorMessage() ? filer_.errorMessage() : "cannot be read";
    throw LoadError(file_, filer_.lastLine() ? filer_.lastLine() : line, std::string(type) + ": " + why);
  }
  AcDbObjectId id;
  // A handle another record already took fails here; the reader then finds both records for
  // its message.
  if (rec.handle != 0)
    es = pf::addObjectWithHandle(db_, obj, AcDbHandle::fromValue(rec.handle), id);
  else
    es = db_->addAcDbObject(id, obj);
  if (es != Acad::eOk) {
    delete obj;
    throw LoadError(file_, line, std::string(type) + ": cannot be added to the drawing");
  }
  obj->close();
  return id;
}

// ---- Sections ------------------------------------------------------------------------------------

void DrawingLoader::sectionBegin(const SectionPlace& section) {
  const int rank = sectionRank(section.name);
  if (rank == 0) return;
  if (rank < lastRank_) throw SectionsOutOfOrder();
  lastRank_ = rank;
  // Blocks, entities and objects need the block table, model and paper space.
  if (rank >= 3) ensureBlockTable();
  if (section.name == "OBJECTS") firstObject_ = true;
}

void DrawingLoader::sectionEnd(const SectionPlace& section) {
  if (section.name == "HEADER") {
    // Refused before anything is created when the header comes first, as in every real file.
    if (!versionSupported(parts_)) throw LoadError(versionError(parts_, file_));
    // Records read before a header that names a UTF-8 file were read as code-page text: read
    // again in order, with the header known first.
    if (codecDecided_ && !codec_ && TextCodec::forDrawing(parts_.acadVer, parts_.codePage)) throw SectionsOutOfOrder();
    decideTextCodec();
  } else if (section.name == "TABLES") {
    ensureBlockTable();
  } else if (section.name == "ENTITIES") {
    flushFollowers();
  }
}

// ---- Tables --------------------------------------------------------------------------------------

void DrawingLoader::tableBegin(const std::string& name, ScannedRecord& head) {
  table_ = TableState();
  table_.name = name;
  inBlockTable_ = name == "BLOCK_RECORD";
  // The head `0 TABLE / 2 name / 5 handle / ...` is read without its name, which the state
  // keeps; the block table is the database's, every other table a kept record.
  table_.head = load(head, false, inBlockTable_ ? std::string_view("BLOCK_TABLE") : std::string_view("TABLE"), true);
}

void DrawingLoader::tableRecord(ScannedRecord& rec) {
  AcDbObjectId id = load(rec, false);
  table_.records.push_back(id);
  if (inBlockTable_) {
    requireBlockName(id, rec.line());
    btrs_.push_back(id);
    btrSet_.insert(id);
  }
}

void DrawingLoader::tableEnd() {
  if (inBlockTable_ && blockTable_.isNull()) {
    blockTable_ = table_.head;
    pf::setBlockTableId(db_, blockTable_);
    AcDbObject* obj = nullptr;
    if (pf::openObject(obj, blockTable_, AcDb::kForWrite, false) == Acad::eOk) {
      if (AcDbBlockTable* table = AcDbBlockTable::cast(obj)) {
        for (const AcDbObjectId& id : btrs_) pf::addToSymbolTable(table, id);
        table->pfTable()->recordsRead = btrs_.size();
      }
      pf::closeObject(obj);
    }
  }
  inBlockTable_ = false;
  st_->tables.push_back(std::move(table_));
  table_ = TableState();
}

// A block table record names its block: without a name it could not be tied to its BLOCK, and a
// drawing saved from it would not load again, so such a file is refused.
void DrawingLoader::requireBlockName(AcDbObjectId id, std::uint32_t line) {
  AcDbObject* obj = nullptr;
  if (pf::openObject(obj, id, AcDb::kForRead, false) != Acad::eOk) return;
  const char* name = nullptr;
  AcDbBlockTableRecord* btr = AcDbBlockTableRecord::cast(obj);
  const bool named = btr && btr->getName(name) == Acad::eOk && name && *name;
  pf::closeObject(obj);
  if (btr && !named) throw LoadError(file_, line, "BLOCK_RECORD without a name (group 2)");
}

// A drawing without a block table (or without model or paper space) gets them, so that every
// entity has a block to live in. Done once, when the tables are read or when the first section
// that needs them begins.
void DrawingLoader::ensureBlockTable() {
  if (blockTableReady_) return;
  blockTableReady_ = true;
  if (blockTable_.isNull()) {
    AcDbBlockTable* table = new AcDbBlockTable();
    if (db_->addAcDbObject(blockTable_, table) != Acad::eOk) {
      delete table;
      throw LoadError(file_, 0, "cannot create the block table");
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

AcDbObjectId DrawingLoader::newBlock(const std::string& name) {
  AcDbObject* tableObj = nullptr;
  if (pf::openObject(tableObj, blockTable_, AcDb::kForWrite, false) != Acad::eOk) throw LoadError(file_, 0, "cannot open the block table");
  AcDbBlockTable* table = AcDbBlockTable::cast(tableObj);
  if (!table) {
    pf::closeObject(tableObj);
    throw LoadError(file_, 0, "the block table is not a block table");
  }
  AcDbBlockTableRecord* rec = new AcDbBlockTableRecord();
  rec->setName(name.c_str());
  AcDbObjectId id;
  Acad::ErrorStatus es = table->add(id, rec);
  pf::closeObject(table);
  if (es != Acad::eOk) {
    delete rec;
    throw LoadError(file_, 0, "cannot create the block " + name);
  }
  rec->close();
  btrs_.push_back(id);
  btrSet_.insert(id);
  for (TableState& ts : st_->tables)
    if (ts.name == "BLOCK_RECORD") ts.records.push_back(id);
  return id;
}

bool DrawingLoader::isBlock(AcDbObjectId id) const { return !id.isNull() && btrSet_.count(id) != 0; }

// ---- Blocks and entities -------------------------------------------------------------------------

void DrawingLoader::blockBegin(ScannedRecord& rec) {
  blockBegin_ = load(rec, true);
  std::uint64_t owner = headHandle(rec.tags, 330);
  std::string name;
  for (const Tag& t : rec.tags)
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
  // Neither its record's handle nor a name ties it to a block: such a block could only be made
  // up, and a drawing saved from it would not read again (its BLOCK still names nothing).
  if (block.isNull() && name.empty())
    throw LoadError(file_, rec.line(), "BLOCK without a name (group 2) or the handle of its block record (group 330)");
  if (block.isNull()) block = newBlock(name);  // a block without its record
  block_ = block;
}

void DrawingLoader::blockEntity(ScannedRecord& rec) { entityRecord(rec, block_, false); }

void DrawingLoader::blockEnd(ScannedRecord& rec) {
  flushFollowers();
  BlockEnds ends;
  ends.begin = blockBegin_;
  ends.end = load(rec, true);
  st_->blockEnds[block_] = ends;
}

void DrawingLoader::entity(ScannedRecord& rec) { entityRecord(rec, modelSpace_, true); }

void DrawingLoader::entityRecord(ScannedRecord& rec, AcDbObjectId block, bool spaces) {
  const std::string_view type = rec.type();
  if (!pending_.isNull() && isFollower(type)) {
    followers_.push_back(load(rec, true));
    if (type == "SEQEND") flushFollowers();
    return;
  }
  flushFollowers();
  AcDbObjectId id = load(rec, true);
  AcDbObjectId target = block;
  if (spaces) target = blockOf(headHandle(rec.tags, 330), hasFlag(rec.tags, 67, 1));
  appendTo(target, id);
  pending_ = id;
}

// The pending entity's followers are complete: attributes and the sequence end go into a block
// reference; anything else stays with its entity in the kept state.
void DrawingLoader::flushFollowers() {
  const AcDbObjectId id = pending_;
  pending_ = AcDbObjectId::kNull;
  if (followers_.empty()) return;
  AcDbObject* obj = nullptr;
  AcDbBlockReference* insert = nullptr;
  if (pf::openObject(obj, id, AcDb::kForWrite, false) == Acad::eOk) insert = AcDbBlockReference::cast(obj);
  if (insert) {
    for (const AcDbObjectId& f : followers_) {
      AcDbObject* fo = nullptr;
      if (pf::openObject(fo, f, AcDb::kForWrite, false) != Acad::eOk) continue;
      // Some writers name the block as owner of the attributes; they belong to the insert.
      fo->setOwnerId(id);
      // An ATTRIB kept as a proxy (it could not be read as an attribute) is still one of the
      // insert's attributes: it stays in the attribute sequence, before the SEQEND, where
      // readers look for it (a loose ATTRIB after the SEQEND is dropped by them).
      const bool isAttribute = AcDbAttribute::cast(fo) != nullptr || isKeptAttribute(fo);
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
    st_->followers[id] = followers_;
  }
  if (obj) pf::closeObject(obj);
  followers_.clear();
}

AcDbObjectId DrawingLoader::blockOf(std::uint64_t ownerHandle, bool paperSpace) {
  if (ownerHandle) {
    AcDbObjectId id = pf::idForHandle(db_, AcDbHandle::fromValue(ownerHandle), false);
    if (!id.isNull() && (id == modelSpace_ || id == paperSpace_ || isBlock(id))) return id;
  }
  return paperSpace ? paperSpace_ : modelSpace_;
}

void DrawingLoader::appendTo(AcDbObjectId block, AcDbObjectId entity) {
  // Entity after entity goes to the same block: the last one is at hand.
  if (block == lastBlock_ && lastBlockRecord_) {
    pf::appendEntityInternal(lastBlockRecord_, entity);
    return;
  }
  auto it = openBlocks_.find(block);
  AcDbBlockTableRecord* rec = nullptr;
  if (it != openBlocks_.end()) {
    rec = it->second;
  } else {
    AcDbObject* obj = nullptr;
    if (pf::openObject(obj, block, AcDb::kForWrite, false) != Acad::eOk || !(rec = AcDbBlockTableRecord::cast(obj))) {
      if (obj) pf::closeObject(obj);
      throw LoadError(file_, 0, "cannot open a block to add its entities");
    }
    openBlocks_.emplace(block, rec);
  }
  lastBlock_ = block;
  lastBlockRecord_ = rec;
  // Straight to the end of the list: the file holds each entity once, so the duplicate check
  // of appendToBlock (a walk over the block) is not needed.
  pf::appendEntityInternal(rec, entity);
}

void DrawingLoader::closeBlocks() {
  for (auto& b : openBlocks_) pf::closeObject(b.second);
  openBlocks_.clear();
  lastBlock_ = AcDbObjectId::kNull;
  lastBlockRecord_ = nullptr;
}

// ---- Objects -------------------------------------------------------------------------------------

void DrawingLoader::object(ScannedRecord& rec) {
  const bool dictionary = rec.type() == "DICTIONARY";
  AcDbObjectId id = load(rec, false);
  st_->objects.push_back(id);
  if (firstObject_ && dictionary) pf::setNamedObjectsDictionaryId(db_, id);
  firstObject_ = false;
}

std::unique_ptr<DrawingState> DrawingLoader::finish() {
  ensureBlockTable();
  if (db_->namedObjectsDictionaryId().isNull()) {
    AcDbDictionary* root = new AcDbDictionary();
    AcDbObjectId id;
    if (db_->addAcDbObject(id, root) != Acad::eOk) {
      delete root;
      throw LoadError(file_, 0, "cannot create the named-object dictionary");
    }
    root->close();
    pf::setNamedObjectsDictionaryId(db_, id);
    st_->objects.insert(st_->objects.begin(), id);
  }
  closeBlocks();

  decideTextCodec();
  if (codec_) {
    for (HeaderVariable& v : parts_.header) convertText(v.tags);
    for (ClassRecord& c : parts_.classes) convertText(c.tags);
    for (OtherSection& o : parts_.others) convertText(o.tags);
  }
  st_->acadVer = parts_.acadVer.empty() ? "AC1015" : parts_.acadVer;
  if (!parts_.codePage.empty()) st_->codePage = parts_.codePage;
  for (const SectionPlace& s : parts_.sections) st_->sectionOrder.push_back(s.name);
  st_->header = std::move(parts_.header);
  // Both point into the classes.
  for (TypeSlot& slot : typeCache_) slot.info = nullptr;
  byType_.clear();
  st_->classes = std::move(parts_.classes);
  st_->others = std::move(parts_.others);
  std::uint64_t seed = std::max(parts_.handSeed, parts_.maxHandle + 1);
  pf::raiseHandseed(db_, AcDbHandle::fromValue(seed));
  st_->seedAtLoad = seed;
  return std::move(st_);
}

}  // namespace dxf
}  // namespace pf
