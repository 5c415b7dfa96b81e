// errorlog.cpp - the ErrorLog array, the reporting idiom and the assertion box.
#include "errorlog.h"

#include <cstdio>
#include <utility>

#include "windows.h"

#include "moduleappbase.h"

const char* const kErrorStatusFormat = "Acad::ErrorStatus = %d";

ErrorLog::~ErrorLog() { delete[] m_records; }

int ErrorLog::add(const ErrorRecord& record) {
  int index = m_count;
  setAtGrow(index, record);
  return index;
}

// Stores `record` at `index`, growing the array when the index lies beyond its end.
void ErrorLog::setAtGrow(int index, const ErrorRecord& record) {
  if (index >= m_count) {
    int needed = index + 1;
    if (m_records == nullptr) {
      m_records = new ErrorRecord[needed];
      m_capacity = needed;
    } else if (needed > m_capacity) {
      int step = m_growBy;
      if (step == 0) {
        step = m_count / 8;
        step = step < 4 ? 4 : (step > 1024 ? 1024 : step);
      }
      int newCapacity = m_capacity + step;
      if (newCapacity < needed) newCapacity = needed;
      ErrorRecord* pNew = new ErrorRecord[newCapacity];
      for (int i = 0; i < m_count; ++i) pNew[i] = std::move(m_records[i]);
      delete[] m_records;
      m_records = pNew;
      m_capacity = newCapacity;
    }
    m_count = needed;
  }
  m_records[index] = record;
}

int reportStatus(int status, int line, const char* file) {
  if (status == 0) return 0;
  char message[64];
  snprintf(message, sizeof message, kErrorStatusFormat, status);
  moduleAppBase()->addError(ErrorRecord(file, message, line));
  return status;
}

void showAssertionBox(const char* file, int line, const char* condition) {
  char text[1024];
  snprintf(text, sizeof text, "Module: %s\nLine: %d\nCondition: %s", file, line, condition);
  MessageBoxA(nullptr, text, "Assertion failed", MB_ICONERROR | MB_OK);
}
