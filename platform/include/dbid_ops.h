// dbid_ops.h - the exported comparison helpers behind AcDbObjectId's inline operators.
//
// Ids order by the handle of the object they name (then by database), so that sorted id
// sets come out in the same order on every run.
#pragma once

class AcDbStub;

bool c5ObjIdIsLessThan(const AcDbStub* lhs, const AcDbStub* rhs);
bool c5ObjIdIsGreaterThan(const AcDbStub* lhs, const AcDbStub* rhs);
bool c5ObjIdLessThanOrEqual(const AcDbStub* lhs, const AcDbStub* rhs);
bool c5ObjIdGreaterThanOrEqual(const AcDbStub* lhs, const AcDbStub* rhs);
bool c5ObjIdIsEqualTo(const AcDbStub* lhs, const AcDbStub* rhs);
