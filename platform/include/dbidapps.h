// dbidapps.h - inline bodies of AcDbObjectId's comparison operators.
#pragma once
#include "dbid.h"
#include "dbid_ops.h"

inline bool AcDbObjectId::operator<(const AcDbObjectId& id) const { return c5ObjIdIsLessThan(mId, id.mId); }
inline bool AcDbObjectId::operator>(const AcDbObjectId& id) const { return c5ObjIdIsGreaterThan(mId, id.mId); }
inline bool AcDbObjectId::operator>=(const AcDbObjectId& id) const { return c5ObjIdGreaterThanOrEqual(mId, id.mId); }
inline bool AcDbObjectId::operator<=(const AcDbObjectId& id) const { return c5ObjIdLessThanOrEqual(mId, id.mId); }
inline bool AcDbObjectId::operator==(const AcDbObjectId& id) const { return c5ObjIdIsEqualTo(mId, id.mId); }
inline bool AcDbObjectId::operator!=(const AcDbObjectId& id) const { return !c5ObjIdIsEqualTo(mId, id.mId); }

inline bool AcDbObjectId::operator<(const AcDbStub* pStub) const { return c5ObjIdIsLessThan(mId, pStub); }
inline bool AcDbObjectId::operator>(const AcDbStub* pStub) const { return c5ObjIdIsGreaterThan(mId, pStub); }
inline bool AcDbObjectId::operator>=(const AcDbStub* pStub) const { return c5ObjIdGreaterThanOrEqual(mId, pStub); }
inline bool AcDbObjectId::operator<=(const AcDbStub* pStub) const { return c5ObjIdLessThanOrEqual(mId, pStub); }
inline bool AcDbObjectId::operator==(const AcDbStub* pStub) const { return c5ObjIdIsEqualTo(mId, pStub); }
inline bool AcDbObjectId::operator!=(const AcDbStub* pStub) const { return !c5ObjIdIsEqualTo(mId, pStub); }
