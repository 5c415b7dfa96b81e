// rxobject.cpp - AcRxObject, the runtime's own classes, and their registration at start-up.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include "rx_internal.h"
#include "rxevent.h"
#include "acedads.h"

AcRxObject::AcRxObject() {}
AcRxObject::~AcRxObject() {}

AcRxClass* AcRxObject::desc() {
  static AcRxClass* cached = nullptr;
  if (cached == nullptr) cached = pfLookupRxClass("AcRxObject");
  return cached;
}
AcRxClass* AcRxObject::isA() const { return AcRxObject::desc(); }

AcRxObject* AcRxObject::x(AcRxClass* protocolClass) const { return queryX(protocolClass); }
AcRxObject* AcRxObject::queryX(AcRxClass* protocolClass) const {
  AcRxClass* cls = isA();
  return cls ? cls->queryX(protocolClass) : nullptr;
}
AcRxObject* AcRxObject::clone() const { return nullptr; }
Acad::ErrorStatus AcRxObject::copyFrom(const AcRxObject*) { return Acad::eNotApplicable; }
Adesk::Boolean AcRxObject::isEqualTo(const AcRxObject* other) const { return other == this; }
AcRx::Ordering AcRxObject::comparedTo(const AcRxObject*) const { return AcRx::kNotOrderable; }

AcRxClass::AcRxClass() {}
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxClass, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxIterator, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDictionaryIterator, AcRxIterator)
AcRxIterator::~AcRxIterator() {}

// ---- Editor events -------------------------------------------------------------------------
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxEventReactor, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxEvent, AcRxObject)

void AcRxEventReactor::dwgFileOpened(AcDbDatabase*, char*) {}
void AcRxEventReactor::initialDwgFileOpenComplete(AcDbDatabase*) {}
void AcRxEventReactor::databaseConstructed(AcDbDatabase*) {}
void AcRxEventReactor::databaseToBeDestroyed(AcDbDatabase*) {}
void AcRxEventReactor::beginSave(AcDbDatabase*, const char*) {}
void AcRxEventReactor::saveComplete(AcDbDatabase*, const char*) {}
void AcRxEventReactor::abortSave(AcDbDatabase*) {}
void AcRxEventReactor::beginDeepClone(AcDbDatabase*, AcDbIdMapping&) {}
void AcRxEventReactor::beginDeepCloneXlation(AcDbIdMapping&, Acad::ErrorStatus*) {}
void AcRxEventReactor::abortDeepClone(AcDbIdMapping&) {}
void AcRxEventReactor::endDeepClone(AcDbIdMapping&) {}

// ---- Fatal abort ----------------------------------------------------------------------------
extern "C" void acrx_abort(const char* format, ...) {
  std::fflush(stdout);
  std::fputs("acrx_abort: ", stderr);
  if (format != nullptr) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
  }
  std::fputc('\n', stderr);
  std::fflush(stderr);
  std::abort();
}
