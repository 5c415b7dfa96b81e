// objectid.cpp - object ids, handles, and ads_name conversion.
#include <charconv>
#include <cstring>
#include "db_internal.h"
#include "pf/faults.h"
#include "db/db_services.h"
#include "dbapserv.h"
#include "acdbads.h"

namespace pf {
void reserveObjects(AcDbDatabase* db, std::size_t count) {
  db->pfImpl()->byHandle.reserve(db->pfImpl()->byHandle.size() + count);
}

AcDbObject* peekObject(AcDbObjectId id) {
  AcDbStub* stub = id;
  return isLiveStub(stub) ? stub->object : nullptr;
}

}  // namespace pf

const AcDbObjectId AcDbObjectId::kNull;

bool AcDbObjectId::isValid() const { return pf::isLiveStub(mId); }
bool AcDbObjectId::isErased() const { return pf::isLiveStub(mId) && mId->erased; }

bool AcDbObjectId::isEffectivelyErased() const {
  AcDbStub* stub = mId;
  // Owner chains are short; the bound guards against a cycle in damaged data.
  for (int depth = 0; depth < 256 && pf::isLiveStub(stub); ++depth) {
    if (stub->erased) return true;
    if (stub->object == nullptr) return false;
    stub = pf::impl(stub->object)->owner;
  }
  return false;
}

AcDbDatabase* AcDbObjectId::database() const { return pf::isLiveStub(mId) ? mId->db : nullptr; }
AcDbHandle AcDbObjectId::handle() const { return pf::isLiveStub(mId) ? mId->handle : AcDbHandle(); }
long AcDbObjectId::asOldId() const { return reinterpret_cast<long>(mId); }
AcDbObjectId& AcDbObjectId::setFromOldId(long oldId) {
  mId = reinterpret_cast<AcDbStub*>(oldId);
  return *this;
}

// Ids order by (handle, stub address): the same order on every run within one database.
static int compareStubs(const AcDbStub* a, const AcDbStub* b) {
  if (a == b) return 0;
  if (a == nullptr) return -1;
  if (b == nullptr) return 1;
  bool la = pf::isLiveStub(a), lb = pf::isLiveStub(b);
  if (la && lb) {
    int c = a->handle.compare(b->handle);
    if (c != 0) return c;
  }
  return a < b ? -1 : 1;
}

bool c5ObjIdIsLessThan(const AcDbStub* lhs, const AcDbStub* rhs) { return compareStubs(lhs, rhs) < 0; }
bool c5ObjIdIsGreaterThan(const AcDbStub* lhs, const AcDbStub* rhs) { return compareStubs(lhs, rhs) > 0; }
bool c5ObjIdLessThanOrEqual(const AcDbStub* lhs, const AcDbStub* rhs) { return compareStubs(lhs, rhs) <= 0; }
bool c5ObjIdGreaterThanOrEqual(const AcDbStub* lhs, const AcDbStub* rhs) { return compareStubs(lhs, rhs) >= 0; }
bool c5ObjIdIsEqualTo(const AcDbStub* lhs, const AcDbStub* rhs) { return lhs == rhs; }

// ---- Handles ----------------------------------------------------------------------------------

static bool parseHex(const char* text, Adesk::UInt64& value) {
  if (text == nullptr) return false;
  while (*text == ' ' || *text == '\t') ++text;
  size_t n = std::strlen(text);
  while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t' || text[n - 1] == '\r')) --n;
  if (n == 0 || n > 16) return false;
  auto res = std::from_chars(text, text + n, value, 16);
  return res.ec == std::errc() && res.ptr == text + n;
}

AcDbHandle::AcDbHandle(const char* hexText) : mLow(0), mHigh(0) { *this = hexText; }

AcDbHandle& AcDbHandle::operator=(const char* hexText) {
  Adesk::UInt64 v = 0;
  if (!parseHex(hexText, v)) v = 0;
  *this = fromValue(v);
  return *this;
}

void AcDbHandle::getIntoAsciiBuffer(char* pBuf) const {
  if (pBuf == nullptr) return;
  auto res = std::to_chars(pBuf, pBuf + 16, value(), 16);
  *res.ptr = '\0';
  for (char* p = pBuf; *p; ++p)
    if (*p >= 'a' && *p <= 'f') *p = static_cast<char>(*p - 'a' + 'A');
}

// ---- ads_name -----------------------------------------------------------------------------------
// An ads_name holds the stub address in its first element; the second is zero.

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName) {
  Acad::ErrorStatus es = pf::injectedFault("acdbGetObjectId");
  if (es != Acad::eOk) return es;
  if (objName == nullptr) return Acad::eInvalidAdsName;
  if (objName[0] == 0 && objName[1] == 0) {
    objId = AcDbObjectId::kNull;
    return Acad::eOk;
  }
  AcDbStub* stub = reinterpret_cast<AcDbStub*>(objName[0]);
  if (objName[1] != 0 || !pf::isLiveStub(stub)) return Acad::eInvalidAdsName;
  objId = AcDbObjectId(stub);
  return Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId) {
  objName[0] = reinterpret_cast<long>(static_cast<AcDbStub*>(objId));
  objName[1] = 0;
  if (!objId.isNull() && !objId.isValid()) return Acad::eInvalidInput;
  return Acad::eOk;
}

extern "C" int acdbNameClear(ads_name aname) {
  if (aname == nullptr) return (-5001);
  aname[0] = 0;
  aname[1] = 0;
  return 5100;
}

extern "C" int acdbNameNil(const ads_name name) {
  return name == nullptr || (name[0] == 0 && name[1] == 0) ? 1 : 0;
}

// The entity name of the object with this handle in the working database.
extern "C" int acdbHandEnt(const char* handle, ads_name entres) {
  if (handle == nullptr || entres == nullptr) return (-5001);
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr) return (-5001);
  Adesk::UInt64 value = 0;
  if (!parseHex(handle, value)) return (-5001);
  AcDbHandle h = AcDbHandle::fromValue(value);
  AcDbObjectId id = pf::idForHandle(db, h, false);
  if (id.isNull() || pf::peekObject(id) == nullptr || id.isErased()) {
    entres[0] = entres[1] = 0;
    return (-5001);
  }
  entres[0] = reinterpret_cast<long>(static_cast<AcDbStub*>(id));
  entres[1] = 0;
  return 5100;
}
