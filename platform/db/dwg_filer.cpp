// dwg_filer.cpp - AcDbDwgFiler's shared behaviour and the in-memory filer.
#include <cstring>
#include "db_internal.h"
#include "acutmem.h"
#include "db/dwg_filer.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDwgFiler, AcRxObject)

AcDbDwgFiler::AcDbDwgFiler() {}
AcDbDwgFiler::~AcDbDwgFiler() {}
Acad::ErrorStatus AcDbDwgFiler::dwgVersion(AcDb::AcDbDwgVersion& ver, AcDb::MaintenanceReleaseVersion& maint) const {
  ver = AcDb::kDHL_CURRENT;
  maint = AcDb::kMReleaseCurrent;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbDwgFiler::readAddress(void**) { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbDwgFiler::writeAddress(const void*) { return Acad::eNotApplicable; }
AcDbAuditInfo* AcDbDwgFiler::getAuditInfo() const { return nullptr; }

namespace pf {

MemoryDwgFiler::MemoryDwgFiler(AcDb::FilerType type, AcDbDatabase* db) : mType(type), mDb(db) {}
MemoryDwgFiler::~MemoryDwgFiler() {}

Acad::ErrorStatus MemoryDwgFiler::filerStatus() const { return mStatus; }
AcDb::FilerType MemoryDwgFiler::filerType() const { return mType; }
void MemoryDwgFiler::setFilerStatus(Acad::ErrorStatus es) { mStatus = es; }
void MemoryDwgFiler::resetFilerStatus() { mStatus = Acad::eOk; }

void MemoryDwgFiler::idWritten(Kind, const AcDbObjectId&) {}
AcDbObjectId MemoryDwgFiler::idRead(Kind, const AcDbObjectId& id) { return id; }

Acad::ErrorStatus MemoryDwgFiler::put(Kind kind, const void* data, size_t n) {
  if (mStatus != Acad::eOk) return mStatus;
  // Writing in the middle (after a seek) overwrites from there on.
  if (mPos < mData.size()) mData.resize(mPos);
  mData.push_back(static_cast<unsigned char>(kind));
  const unsigned char* p = static_cast<const unsigned char*>(data);
  mData.insert(mData.end(), p, p + n);
  mPos = mData.size();
  return Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::get(Kind kind, void* data, size_t n) {
  if (mStatus != Acad::eOk) return mStatus;
  if (mPos >= mData.size()) return mStatus = Acad::eEndOfFile;
  if (mData[mPos] != static_cast<unsigned char>(kind) || mPos + 1 + n > mData.size()) return mStatus = Acad::eFilerError;
  std::memcpy(data, &mData[mPos + 1], n);
  mPos += 1 + n;
  return Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::putId(Kind kind, const AcDbObjectId& id) {
  AcDbStub* stub = id;
  idWritten(kind, id);
  return put(kind, &stub, sizeof stub);
}

Acad::ErrorStatus MemoryDwgFiler::getId(Kind kind, AcDbObjectId* id) {
  if (id == nullptr) return Acad::eNullObjectPointer;
  AcDbStub* stub = nullptr;
  Acad::ErrorStatus es = get(kind, &stub, sizeof stub);
  if (es != Acad::eOk) return es;
  *id = idRead(kind, AcDbObjectId(stub));
  return Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::readHardOwnershipId(AcDbHardOwnershipId* p) { return getId(Kind::HardOwner, p); }
Acad::ErrorStatus MemoryDwgFiler::writeHardOwnershipId(const AcDbHardOwnershipId& v) { return putId(Kind::HardOwner, v); }
Acad::ErrorStatus MemoryDwgFiler::readSoftOwnershipId(AcDbSoftOwnershipId* p) { return getId(Kind::SoftOwner, p); }
Acad::ErrorStatus MemoryDwgFiler::writeSoftOwnershipId(const AcDbSoftOwnershipId& v) { return putId(Kind::SoftOwner, v); }
Acad::ErrorStatus MemoryDwgFiler::readHardPointerId(AcDbHardPointerId* p) { return getId(Kind::HardPointer, p); }
Acad::ErrorStatus MemoryDwgFiler::writeHardPointerId(const AcDbHardPointerId& v) { return putId(Kind::HardPointer, v); }
Acad::ErrorStatus MemoryDwgFiler::readSoftPointerId(AcDbSoftPointerId* p) { return getId(Kind::SoftPointer, p); }
Acad::ErrorStatus MemoryDwgFiler::writeSoftPointerId(const AcDbSoftPointerId& v) { return putId(Kind::SoftPointer, v); }

Acad::ErrorStatus MemoryDwgFiler::readChar(Adesk::Int8* p) { return get(Kind::Char, p, sizeof *p); }
Acad::ErrorStatus MemoryDwgFiler::writeChar(Adesk::Int8 v) { return put(Kind::Char, &v, sizeof v); }

Acad::ErrorStatus MemoryDwgFiler::writeString(const char* s) {
  if (mStatus != Acad::eOk) return mStatus;
  Adesk::UInt32 n = s ? static_cast<Adesk::UInt32>(std::strlen(s)) : 0xffffffffu;
  std::vector<unsigned char> buf(sizeof n + (s ? n : 0));
  std::memcpy(buf.data(), &n, sizeof n);
  if (s) std::memcpy(buf.data() + sizeof n, s, n);
  return put(Kind::String, buf.data(), buf.size());
}

Acad::ErrorStatus MemoryDwgFiler::readString(char** p) {
  if (p == nullptr) return Acad::eNullObjectPointer;
  if (mStatus != Acad::eOk) return mStatus;
  if (mPos >= mData.size()) return mStatus = Acad::eEndOfFile;
  Adesk::UInt32 n = 0;
  if (mData[mPos] != static_cast<unsigned char>(Kind::String) || mPos + 1 + sizeof n > mData.size())
    return mStatus = Acad::eFilerError;
  std::memcpy(&n, &mData[mPos + 1], sizeof n);
  size_t at = mPos + 1 + sizeof n;
  if (n == 0xffffffffu) {
    *p = nullptr;
    mPos = at;
    return Acad::eOk;
  }
  if (at + n > mData.size()) return mStatus = Acad::eFilerError;
  char* s = new char[n + 1];
  std::memcpy(s, &mData[at], n);
  s[n] = '\0';
  *p = s;
  mPos = at + n;
  return Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::writeBChunk(const ads_binary& b) {
  if (mStatus != Acad::eOk) return mStatus;
  short n = b.clen > 0 ? b.clen : 0;
  std::vector<unsigned char> buf(sizeof n + n);
  std::memcpy(buf.data(), &n, sizeof n);
  if (n > 0) std::memcpy(buf.data() + sizeof n, b.buf, n);
  return put(Kind::BChunk, buf.data(), buf.size());
}

Acad::ErrorStatus MemoryDwgFiler::readBChunk(ads_binary* b) {
  if (b == nullptr) return Acad::eNullObjectPointer;
  if (mStatus != Acad::eOk) return mStatus;
  if (mPos >= mData.size()) return mStatus = Acad::eEndOfFile;
  short n = 0;
  if (mData[mPos] != static_cast<unsigned char>(Kind::BChunk) || mPos + 1 + sizeof n > mData.size())
    return mStatus = Acad::eFilerError;
  std::memcpy(&n, &mData[mPos + 1], sizeof n);
  size_t at = mPos + 1 + sizeof n;
  if (n < 0 || at + n > mData.size()) return mStatus = Acad::eFilerError;
  b->clen = n;
  b->buf = new char[n > 0 ? n : 1];
  if (n > 0) std::memcpy(b->buf, &mData[at], n);
  mPos = at + n;
  return Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::readAcDbHandle(AcDbHandle* p) {
  Adesk::UInt64 v = 0;
  Acad::ErrorStatus es = get(Kind::Handle, &v, sizeof v);
  if (es == Acad::eOk) *p = AcDbHandle::fromValue(v);
  return es;
}
Acad::ErrorStatus MemoryDwgFiler::writeAcDbHandle(const AcDbHandle& h) {
  Adesk::UInt64 v = h.value();
  return put(Kind::Handle, &v, sizeof v);
}

#define PF_SCALAR(NAME, TYPE, KIND)                                                                 \
  Acad::ErrorStatus MemoryDwgFiler::read##NAME(TYPE* p) { return get(Kind::KIND, p, sizeof *p); } \
  Acad::ErrorStatus MemoryDwgFiler::write##NAME(TYPE v) { return put(Kind::KIND, &v, sizeof v); }
PF_SCALAR(Int32, Adesk::Int32, Int32)
PF_SCALAR(Int16, Adesk::Int16, Int16)
PF_SCALAR(UInt32, Adesk::UInt32, UInt32)
PF_SCALAR(UInt16, Adesk::UInt16, UInt16)
PF_SCALAR(UInt8, Adesk::UInt8, UInt8)
PF_SCALAR(Boolean, Adesk::Boolean, Boolean)
PF_SCALAR(Bool, bool, Bool)
PF_SCALAR(Double, double, Double)
#undef PF_SCALAR

#define PF_GEOM(NAME, TYPE, KIND)                                                                   \
  Acad::ErrorStatus MemoryDwgFiler::read##NAME(TYPE* p) { return get(Kind::KIND, p, sizeof *p); } \
  Acad::ErrorStatus MemoryDwgFiler::write##NAME(const TYPE& v) { return put(Kind::KIND, &v, sizeof v); }
PF_GEOM(Point2d, AcGePoint2d, Point2d)
PF_GEOM(Point3d, AcGePoint3d, Point3d)
PF_GEOM(Vector2d, AcGeVector2d, Vector2d)
PF_GEOM(Vector3d, AcGeVector3d, Vector3d)
PF_GEOM(Scale3d, AcGeScale3d, Scale3d)
#undef PF_GEOM

Acad::ErrorStatus MemoryDwgFiler::writeBytes(const void* p, Adesk::UInt32 n) {
  if (mStatus != Acad::eOk) return mStatus;
  std::vector<unsigned char> buf(sizeof n + n);
  std::memcpy(buf.data(), &n, sizeof n);
  if (n > 0) std::memcpy(buf.data() + sizeof n, p, n);
  return put(Kind::Bytes, buf.data(), buf.size());
}

// Reads exactly the count written; a different count is a filing mismatch.
Acad::ErrorStatus MemoryDwgFiler::readBytes(void* p, Adesk::UInt32 n) {
  if (mStatus != Acad::eOk) return mStatus;
  if (mPos >= mData.size()) return mStatus = Acad::eEndOfFile;
  Adesk::UInt32 stored = 0;
  if (mData[mPos] != static_cast<unsigned char>(Kind::Bytes) || mPos + 1 + sizeof stored > mData.size())
    return mStatus = Acad::eFilerError;
  std::memcpy(&stored, &mData[mPos + 1], sizeof stored);
  size_t at = mPos + 1 + sizeof stored;
  if (stored != n || at + n > mData.size()) return mStatus = Acad::eFilerError;
  if (n > 0) std::memcpy(p, &mData[at], n);
  mPos = at + n;
  return Acad::eOk;
}

Acad::ErrorStatus MemoryDwgFiler::readAddress(void** p) { return get(Kind::Address, p, sizeof *p); }
Acad::ErrorStatus MemoryDwgFiler::writeAddress(const void* v) { return put(Kind::Address, &v, sizeof v); }

Acad::ErrorStatus MemoryDwgFiler::seek(long offset, int method) {
  long base = method == 1 ? static_cast<long>(mPos) : (method == 2 ? static_cast<long>(mData.size()) : 0);
  long target = base + offset;
  if (target < 0 || target > static_cast<long>(mData.size())) return Acad::eInvalidInput;
  mPos = static_cast<size_t>(target);
  return Acad::eOk;
}

long MemoryDwgFiler::tell() const { return static_cast<long>(mPos); }

}  // namespace pf
