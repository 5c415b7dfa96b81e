// proxy.cpp - proxy objects and entities that keep the data of records they cannot interpret.
#include "db/entities/proxy.h"
#include "db/pooled_name.h"

#include <cstring>
#include <map>
#include <tuple>

#include "acutmem.h"
#include "db/entities/filing_util.h"
#include "db/dxf_tag_filer.h"
#include "rxclass.h"
#include "rx/rxinit.h"

// The two proxy classes are abstract in the API; the database makes the concrete ones below.
ACRX_DEFINE_MEMBERS(AcDbProxyObject);
ACRX_DEFINE_MEMBERS(AcDbProxyEntity);

namespace {

AcRxObject* makeProxyObject() { return new pf::ProxyObject(); }
AcRxObject* makeProxyEntity() { return new pf::ProxyEntity(); }

}  // namespace

void AcDbProxyObject::rxInit() {
  if (gpDesc != NULL) return;
  gpDesc = newAcRxClass("AcDbProxyObject", "AcDbObject", AcDb::kDHL_CURRENT,
                        AcDb::kMReleaseCurrent, 0, &makeProxyObject, "ACAD_PROXY_OBJECT",
                        "AutoCAD");
}

void AcDbProxyEntity::rxInit() {
  if (gpDesc != NULL) return;
  gpDesc = newAcRxClass("AcDbProxyEntity", "AcDbEntity", AcDb::kDHL_CURRENT,
                        AcDb::kMReleaseCurrent, 0, &makeProxyEntity, "ACAD_PROXY_ENTITY",
                        "AutoCAD");
}

PF_REGISTER_CLASS(AcDbProxyObject);
PF_REGISTER_CLASS(AcDbProxyEntity);

AcDbProxyObject::AcDbProxyObject() {}
AcDbProxyObject::~AcDbProxyObject() {}
AcDbProxyEntity::AcDbProxyEntity() {}
AcDbProxyEntity::~AcDbProxyEntity() {}

namespace pf {

// ---------------------------------------------------------------------------------------------
// ProxyData

namespace {

// Groups after which a record's own data is over: the next record, and extended data, which
// the object's common filing reads.
bool endsKeptData(int code) {
  return code == AcDb::kDxfStart || code == AcDb::kDxfEnd || code == AcDb::kDxfXDataStart ||
         code >= 1000;
}

void keep(const resbuf& rb, KeptGroup& g) {
  g.code = rb.restype;
  g.kind = tagKind(rb.restype);
  switch (g.kind) {
    case TagKind::Real:
      g.v[0] = rb.resval.rreal;
      break;
    case TagKind::PointX:
      for (int i = 0; i < 3; ++i) g.v[i] = rb.resval.rpoint[i];
      break;
    case TagKind::Int16:
    case TagKind::Bool:
      g.integer = rb.resval.rint;
      break;
    case TagKind::Int32:
    case TagKind::Int64:
      g.integer = rb.resval.rlong;
      break;
    case TagKind::Id: {
      AcDbObjectId id;
      g.id = (acdbGetObjectId(id, rb.resval.rlname) == Acad::eOk) ? id : AcDbObjectId::kNull;
      break;
    }
    case TagKind::Binary:
      if (rb.resval.rbinary.clen > 0 && rb.resval.rbinary.buf)
        g.bytes.assign(rb.resval.rbinary.buf, rb.resval.rbinary.buf + rb.resval.rbinary.clen);
      break;
    default:  // text of every other kind
      g.text = rb.resval.rstring ? rb.resval.rstring : "";
      break;
  }
}

Acad::ErrorStatus writeTyped(AcDbDxfFiler* pFiler, const KeptGroup& g) {
  const AcDb::DxfCode code = static_cast<AcDb::DxfCode>(g.code);
  switch (g.kind) {
    case TagKind::Real: return pFiler->writeDouble(code, g.v[0]);
    case TagKind::PointX:
      if (g.dims == 2) return pFiler->writePoint2d(code, AcGePoint2d(g.v[0], g.v[1]));
      return pFiler->writePoint3d(code, AcGePoint3d(g.v[0], g.v[1], g.v[2]));
    case TagKind::Int16: return pFiler->writeInt16(code, static_cast<Adesk::Int16>(g.integer));
    case TagKind::Int32:
    case TagKind::Int64: return pFiler->writeInt32(code, static_cast<Adesk::Int32>(g.integer));
    case TagKind::Bool: return pFiler->writeBool(code, g.integer != 0);
    case TagKind::Id: return pFiler->writeObjectId(code, g.id);
    case TagKind::Binary: {
      ads_binary chunk;
      chunk.clen = static_cast<short>(g.bytes.size());
      chunk.buf = const_cast<char*>(reinterpret_cast<const char*>(g.bytes.data()));
      return pFiler->writeBChunk(code, chunk);
    }
    default: return pFiler->writeString(code, g.text.c_str());
  }
}

// How a kept reference is filed in DWG: by the meaning of its group code, so that copying
// follows ownership.
enum class RefKind { kSoftPointer = 0, kHardPointer = 1, kSoftOwnership = 2, kHardOwnership = 3 };

RefKind refKind(int code) {
  if (code >= 360 && code <= 369) return RefKind::kHardOwnership;
  if (code >= 350 && code <= 359) return RefKind::kSoftOwnership;
  if ((code >= 340 && code <= 349) || (code >= 390 && code <= 399)) return RefKind::kHardPointer;
  return RefKind::kSoftPointer;
}

std::string readDwgString(AcDbDwgFiler* pFiler) {
  char* s = nullptr;
  pFiler->readString(&s);
  std::string out = s ? s : "";
  acutDelString(s);
  return out;
}

}  // namespace

Acad::ErrorStatus ProxyData::readDxf(AcDbDxfFiler* pFiler) {
  // From a tag list the tags themselves are kept too, so that they are written back verbatim.
  TagDxfFiler* tagFiler = dynamic_cast<TagDxfFiler*>(pFiler);
  std::vector<KeptGroup> kept;
  for (;;) {
    if (pFiler->atEndOfObject()) break;
    const size_t before = tagFiler ? tagFiler->position() : 0;
    resbuf rb;
    rb.rbnext = nullptr;
    rb.restype = 0;
    Acad::ErrorStatus es = pFiler->readItem(&rb);
    if (es == Acad::eEndOfObject || es == Acad::eEndOfFile) break;
    if (es != Acad::eOk) return es;
    if (endsKeptData(rb.restype)) {
      if ((es = pFiler->pushBackItem()) != Acad::eOk) return es;
      break;
    }
    KeptGroup g;
    keep(rb, g);
    if (tagFiler) {
      const size_t after = tagFiler->position();
      for (size_t i = before; i < after && i < tagFiler->tags().size(); ++i)
        g.raw.push_back(tagFiler->tags()[i]);
      if (g.kind == TagKind::PointX) g.dims = static_cast<int>(g.raw.size()) == 2 ? 2 : 3;
    }
    kept.push_back(std::move(g));
  }
  groups.swap(kept);
  return Acad::eOk;
}

Acad::ErrorStatus ProxyData::writeDxf(AcDbDxfFiler* pFiler) const {
  TagDxfFiler* tagFiler = dynamic_cast<TagDxfFiler*>(pFiler);
  for (const KeptGroup& g : groups) {
    // References are written through the filer, which names the object's current handle and
    // leaves out references to objects that are gone.
    if (tagFiler && !g.raw.empty() && g.kind != TagKind::Id) {
      for (const Tag& t : g.raw) tagFiler->appendRaw(t);
      continue;
    }
    const Acad::ErrorStatus es = writeTyped(pFiler, g);
    if (es != Acad::eOk) return es;
  }
  return pFiler->filerStatus();
}

Acad::ErrorStatus ProxyData::writeDwg(AcDbDwgFiler* pFiler) const {
  pFiler->writeString(className());
  pFiler->writeString(dxfName());
  pFiler->writeString(appDescription());
  pFiler->writeInt32(flags());
  pFiler->writeUInt32(static_cast<Adesk::UInt32>(groups.size()));
  for (const KeptGroup& g : groups) {
    pFiler->writeInt16(static_cast<Adesk::Int16>(g.code));
    pFiler->writeString(g.text.c_str());
    pFiler->writeDouble(g.v[0]);
    pFiler->writeDouble(g.v[1]);
    pFiler->writeDouble(g.v[2]);
    pFiler->writeInt16(static_cast<Adesk::Int16>(g.dims));
    pFiler->writeInt32(static_cast<Adesk::Int32>(g.integer));
    switch (refKind(g.code)) {
      case RefKind::kHardOwnership: pFiler->writeHardOwnershipId(g.id); break;
      case RefKind::kSoftOwnership: pFiler->writeSoftOwnershipId(g.id); break;
      case RefKind::kHardPointer: pFiler->writeHardPointerId(g.id); break;
      case RefKind::kSoftPointer: pFiler->writeSoftPointerId(g.id); break;
    }
    pFiler->writeUInt32(static_cast<Adesk::UInt32>(g.bytes.size()));
    if (!g.bytes.empty())
      pFiler->writeBytes(g.bytes.data(), static_cast<Adesk::UInt32>(g.bytes.size()));
    pFiler->writeUInt32(static_cast<Adesk::UInt32>(g.raw.size()));
    for (const Tag& t : g.raw) {
      pFiler->writeInt16(static_cast<Adesk::Int16>(t.code));
      pFiler->writeString(t.text.c_str());
    }
  }
  return pFiler->filerStatus();
}

Acad::ErrorStatus ProxyData::readDwg(AcDbDwgFiler* pFiler) {
  ProxyData in;
  const std::string className = readDwgString(pFiler);
  const std::string dxfName = readDwgString(pFiler);
  const std::string app = readDwgString(pFiler);
  Adesk::Int32 f = 0;
  Adesk::UInt32 count = 0;
  pFiler->readInt32(&f);
  in.setClass(className.c_str(), dxfName.c_str(), app.c_str(), f);
  Acad::ErrorStatus es = pFiler->readUInt32(&count);
  if (es != Acad::eOk) return es;
  for (Adesk::UInt32 i = 0; i < count; ++i) {
    KeptGroup g;
    Adesk::Int16 code = 0, dims = 3;
    Adesk::Int32 integer = 0;
    if ((es = pFiler->readInt16(&code)) != Acad::eOk) return es;
    g.code = code;
    g.kind = tagKind(code);
    g.text = readDwgString(pFiler);
    pFiler->readDouble(&g.v[0]);
    pFiler->readDouble(&g.v[1]);
    pFiler->readDouble(&g.v[2]);
    pFiler->readInt16(&dims);
    pFiler->readInt32(&integer);
    g.dims = dims;
    g.integer = integer;
    switch (refKind(code)) {
      case RefKind::kHardOwnership: {
        AcDbHardOwnershipId id;
        pFiler->readHardOwnershipId(&id);
        g.id = id;
        break;
      }
      case RefKind::kSoftOwnership: {
        AcDbSoftOwnershipId id;
        pFiler->readSoftOwnershipId(&id);
        g.id = id;
        break;
      }
      case RefKind::kHardPointer: {
        AcDbHardPointerId id;
        pFiler->readHardPointerId(&id);
        g.id = id;
        break;
      }
      case RefKind::kSoftPointer: {
        AcDbSoftPointerId id;
        pFiler->readSoftPointerId(&id);
        g.id = id;
        break;
      }
    }
    Adesk::UInt32 n = 0;
    if ((es = pFiler->readUInt32(&n)) != Acad::eOk) return es;
    if (n > (1u << 24)) return Acad::eInvalidInput;  // a damaged stream, not real data
    g.bytes.resize(n);
    if (n) pFiler->readBytes(g.bytes.data(), n);
    if ((es = pFiler->readUInt32(&n)) != Acad::eOk) return es;
    if (n > 3) return Acad::eInvalidInput;
    for (Adesk::UInt32 k = 0; k < n; ++k) {
      Adesk::Int16 tagCode = 0;
      pFiler->readInt16(&tagCode);
      g.raw.push_back(Tag(tagCode, readDwgString(pFiler)));
    }
    if ((es = pFiler->filerStatus()) != Acad::eOk) return es;
    in.groups.push_back(std::move(g));
  }
  *this = std::move(in);
  return Acad::eOk;
}

void ProxyData::references(AcDbObjectIdArray& ids, AcDbIntArray& types) const {
  for (const KeptGroup& g : groups) {
    if (g.kind != TagKind::Id || g.id.isNull()) continue;
    ids.append(g.id);
    types.append(static_cast<int>(refKind(g.code)));
  }
}

// ---------------------------------------------------------------------------------------------
// ProxyObject

// Made from the class's pseudo-constructor, a proxy reads (and writes back) a record that is
// itself a proxy record; the maker of a proxy for another record sets the names it needs.
ProxyObject::ProxyObject() {
  static const ProxyClass* const kClass = pooledProxyClass("", "ACAD_PROXY_OBJECT", "", 0);
  mData.setClass(kClass);
}
ProxyObject::~ProxyObject() {}

int ProxyObject::proxyFlags() const {
  assertReadEnabled();
  return mData.flags();
}
const char* ProxyObject::originalClassName() const {
  assertReadEnabled();
  return mData.className();
}
const char* ProxyObject::originalDxfName() const {
  assertReadEnabled();
  return mData.dxfName();
}
const char* ProxyObject::applicationDescription() const {
  assertReadEnabled();
  return mData.appDescription();
}
Acad::ErrorStatus ProxyObject::getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const {
  assertReadEnabled();
  mData.references(ids, types);
  return Acad::eOk;
}
AcDb::DuplicateRecordCloning ProxyObject::mergeStyle() const {
  assertReadEnabled();
  if (mData.flags() & kMergeReplace) return AcDb::kDrcReplace;
  if (mData.flags() & kMergeMangleName) return AcDb::kDrcMangleName;
  return AcDb::kDrcIgnore;
}

Acad::ErrorStatus ProxyObject::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.writeDwg(pFiler);
}

Acad::ErrorStatus ProxyObject::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbObject::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.readDwg(pFiler);
}

Acad::ErrorStatus ProxyObject::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbObject::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.writeDxf(pFiler);
}

Acad::ErrorStatus ProxyObject::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.readDxf(pFiler);
}

// ---------------------------------------------------------------------------------------------
// ProxyEntity

ProxyEntity::ProxyEntity() {
  static const ProxyClass* const kClass = pooledProxyClass("", "ACAD_PROXY_ENTITY", "", 0);
  mData.setClass(kClass);
}
ProxyEntity::~ProxyEntity() {}

int ProxyEntity::proxyFlags() const {
  assertReadEnabled();
  return mData.flags();
}
const char* ProxyEntity::originalClassName() const {
  assertReadEnabled();
  return mData.className();
}
const char* ProxyEntity::originalDxfName() const {
  assertReadEnabled();
  return mData.dxfName();
}
const char* ProxyEntity::applicationDescription() const {
  assertReadEnabled();
  return mData.appDescription();
}
Acad::ErrorStatus ProxyEntity::getReferences(AcDbObjectIdArray& ids, AcDbIntArray& types) const {
  assertReadEnabled();
  mData.references(ids, types);
  return Acad::eOk;
}
AcDbProxyEntity::GraphicsMetafileType ProxyEntity::graphicsMetafileType() const {
  assertReadEnabled();
  return kNoMetafile;  // the kept data is not drawn
}

Acad::ErrorStatus ProxyEntity::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.writeDwg(pFiler);
}

Acad::ErrorStatus ProxyEntity::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.readDwg(pFiler);
}

Acad::ErrorStatus ProxyEntity::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.writeDxf(pFiler);
}

Acad::ErrorStatus ProxyEntity::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  return mData.readDxf(pFiler);
}

// ---------------------------------------------------------------------------------------------

namespace {

template <class P>
P* makeProxy(const char* className, const char* dxfName, const char* app, int flags) {
  P* p = new P();
  p->data().setClass(className ? className : "", dxfName ? dxfName : "", app ? app : "", flags);
  return p;
}

}  // namespace

ProxyObject* newProxyObject(const char* className, const char* dxfName, const char* app,
                            int flags) {
  return makeProxy<ProxyObject>(className, dxfName, app, flags);
}

ProxyEntity* newProxyEntity(const char* className, const char* dxfName, const char* app,
                            int flags) {
  return makeProxy<ProxyEntity>(className, dxfName, app, flags);
}

const ProxyClass* pooledProxyClass(const char* className, const char* dxfName, const char* appDescription,
                                   int flags) {
  using Key = std::tuple<const char*, const char*, const char*, int>;  // pooled names compare by address
  // Never destroyed: proxies freed by static destructors may still point at their class.
  static auto* pool = new std::map<Key, ProxyClass>;
  // The classes asked for most recently, compared by text: a drawing's proxies alternate
  // between a few classes.
  static const ProxyClass* recent[4] = {};
  static unsigned next = 0;
  auto text = [](const char* s) { return s ? s : ""; };
  for (const ProxyClass* r : recent)
    if (r != nullptr && r->flags == flags && std::strcmp(r->dxfName, text(dxfName)) == 0 &&
        std::strcmp(r->className, text(className)) == 0 && std::strcmp(r->appDescription, text(appDescription)) == 0)
      return r;
  const Key key(pooledName(className), pooledName(dxfName), pooledName(appDescription), flags);
  auto it = pool->find(key);
  if (it == pool->end())
    it = pool->emplace(key, ProxyClass{std::get<0>(key), std::get<1>(key), std::get<2>(key), flags}).first;
  recent[next++ % 4] = &it->second;
  return &it->second;
}

const ProxyClass* noProxyClass() {
  static const ProxyClass* const kNone = pooledProxyClass("", "", "", 0);
  return kNone;
}

}  // namespace pf
