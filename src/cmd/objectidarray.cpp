// objectidarray.cpp - growth and storage of ObjectIdArray.
#include "objectidarray.h"

#include <algorithm>

namespace {
// Below this many bytes of ids the capacity doubles; from here on it grows linearly.
const int kDoublingLimitBytes = 65536;
const int kLinearStep = 16384;
}  // namespace

ObjectIdArray::~ObjectIdArray() { delete[] m_data; }

void ObjectIdArray::append(const AcDbObjectId& id) {
  if (m_logicalLength >= m_physicalLength) grow();
  m_data[m_logicalLength] = id;
  ++m_logicalLength;
}

void ObjectIdArray::grow() {
  const int length = m_logicalLength;
  // The step is measured in 4-byte ids, whatever the size of an id on this platform.
  const int step = (length * 4 < kDoublingLimitBytes) ? length : kLinearStep;
  setPhysicalLength(length + std::max(step, m_growLength));
}

void ObjectIdArray::setPhysicalLength(int newLength) {
  if (newLength < 0) newLength = 0;
  AcDbObjectId* storage = newLength > 0 ? new AcDbObjectId[newLength] : nullptr;
  const int kept = std::min(m_logicalLength, newLength);
  for (int i = 0; i < kept; ++i) storage[i] = m_data[i];
  delete[] m_data;
  m_data = storage;
  m_physicalLength = newLength;
  if (m_logicalLength > newLength) m_logicalLength = newLength;
}
