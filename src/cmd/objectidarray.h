// objectidarray.h - the growable array of object ids that Update collects polylines into.
//
// Capacity doubles (8, 16, 32, ...) while the ids occupy less than 64 KiB, then grows by 16384
// ids at a time, so a drawing with many polylines is collected without a quadratic number of
// copies and without over-allocating hugely once it is large.
#pragma once

#include "dbid.h"

class ObjectIdArray {
public:
  ObjectIdArray() = default;
  ~ObjectIdArray();
  ObjectIdArray(const ObjectIdArray&) = delete;
  ObjectIdArray& operator=(const ObjectIdArray&) = delete;

  // Appends one id, growing the storage first when it is full.
  void append(const AcDbObjectId& id);

  // Sets the number of slots. New slots hold the null id; the first min(length, newLength) ids
  // are kept, and the logical length is cut to newLength when it was larger.
  void setPhysicalLength(int newLength);

  int length() const { return m_logicalLength; }
  int physicalLength() const { return m_physicalLength; }
  int growLength() const { return m_growLength; }
  const AcDbObjectId& at(int index) const { return m_data[index]; }

private:
  void grow();

  AcDbObjectId* m_data = nullptr;
  int m_physicalLength = 0;
  int m_logicalLength = 0;
  int m_growLength = 8;
};
