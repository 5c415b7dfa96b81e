// dbid.h - AcDbObjectId, the session name of a database object, and its typed variants.
//
// An id names an object of one database for the life of that database; it stays valid after
// the object is erased. The null id names nothing. Comparison operators are in dbidapps.h.
#pragma once
#include <cstddef>
#include <functional>
#include "adesk.h"

class AcDbStub;
class AcDbDatabase;
class AcDbHandle;

class AcDbObjectId {
public:
  AcDbObjectId() : mId(NULL) {}
  AcDbObjectId(const AcDbStub* pStub) : mId(const_cast<AcDbStub*>(pStub)) {}

  static const AcDbObjectId kNull;

  bool isNull() const { return mId == NULL; }
  void setNull() { mId = NULL; }
  // True when the id names an object of a live database.
  bool isValid() const;
  bool isErased() const;
  // Erased itself or through an erased owner.
  bool isEffectivelyErased() const;
  AcDbDatabase* database() const;
  AcDbHandle handle() const;
  long asOldId() const;
  AcDbObjectId& setFromOldId(long oldId);

  AcDbObjectId& operator=(const AcDbStub* pStub) { mId = const_cast<AcDbStub*>(pStub); return *this; }

  bool operator<(const AcDbObjectId& id) const;
  bool operator>(const AcDbObjectId& id) const;
  bool operator>=(const AcDbObjectId& id) const;
  bool operator<=(const AcDbObjectId& id) const;
  bool operator==(const AcDbObjectId& id) const;
  bool operator!=(const AcDbObjectId& id) const;

  bool operator<(const AcDbStub* pStub) const;
  bool operator>(const AcDbStub* pStub) const;
  bool operator>=(const AcDbStub* pStub) const;
  bool operator<=(const AcDbStub* pStub) const;
  bool operator==(const AcDbStub* pStub) const;
  bool operator!=(const AcDbStub* pStub) const;

  operator AcDbStub*() const { return mId; }

protected:
  AcDbStub* mId;
};

class AcDbHardOwnershipId : public AcDbObjectId {
public:
  AcDbHardOwnershipId() {}
  AcDbHardOwnershipId(const AcDbObjectId& id) : AcDbObjectId(id) {}
  AcDbHardOwnershipId(const AcDbStub* pStub) : AcDbObjectId(pStub) {}
  AcDbHardOwnershipId& operator=(const AcDbObjectId& id) { AcDbObjectId::operator=(id); return *this; }
  AcDbHardOwnershipId& operator=(const AcDbStub* pStub) { mId = const_cast<AcDbStub*>(pStub); return *this; }
};

class AcDbSoftOwnershipId : public AcDbObjectId {
public:
  AcDbSoftOwnershipId() {}
  AcDbSoftOwnershipId(const AcDbObjectId& id) : AcDbObjectId(id) {}
  AcDbSoftOwnershipId(const AcDbStub* pStub) : AcDbObjectId(pStub) {}
  AcDbSoftOwnershipId& operator=(const AcDbObjectId& id) { AcDbObjectId::operator=(id); return *this; }
  AcDbSoftOwnershipId& operator=(const AcDbStub* pStub) { mId = const_cast<AcDbStub*>(pStub); return *this; }
};

class AcDbHardPointerId : public AcDbObjectId {
public:
  AcDbHardPointerId() {}
  AcDbHardPointerId(const AcDbObjectId& id) : AcDbObjectId(id) {}
  AcDbHardPointerId(const AcDbStub* pStub) : AcDbObjectId(pStub) {}
  AcDbHardPointerId& operator=(const AcDbObjectId& id) { AcDbObjectId::operator=(id); return *this; }
  AcDbHardPointerId& operator=(const AcDbStub* pStub) { mId = const_cast<AcDbStub*>(pStub); return *this; }
};

class AcDbSoftPointerId : public AcDbObjectId {
public:
  AcDbSoftPointerId() {}
  AcDbSoftPointerId(const AcDbObjectId& id) : AcDbObjectId(id) {}
  AcDbSoftPointerId(const AcDbStub* pStub) : AcDbObjectId(pStub) {}
  AcDbSoftPointerId& operator=(const AcDbObjectId& id) { AcDbObjectId::operator=(id); return *this; }
  AcDbSoftPointerId& operator=(const AcDbStub* pStub) { mId = const_cast<AcDbStub*>(pStub); return *this; }
};

// Ids hash by the object they name, so they can key unordered containers.
namespace std {
template <>
struct hash<AcDbObjectId> {
  size_t operator()(const AcDbObjectId& id) const noexcept {
    return std::hash<const void*>()(static_cast<const void*>(static_cast<AcDbStub*>(id)));
  }
};
}  // namespace std

#include "dbidapps.h"
