// pf/faults.h - fault injection: make a named platform call fail with a chosen status.
//
// Each call that tests need to fail checks injectedFault("<its name>") first, with the call's
// own name as the key (e.g. "acdbOpenAcDbObject", "AcDbDictionary::setAt",
// "AcDbPolyline::getArea"), and answers the injected status instead of doing its work.
#pragma once
#include <string>
#include "acadstrc.h"

namespace pf {

// Makes the next `count` calls of `call` fail with `status`.
void failNext(const char* call, Acad::ErrorStatus status, int count = 1);
// Makes every call of `call` fail with `status` until cleared.
void failAlways(const char* call, Acad::ErrorStatus status);
void clearFault(const char* call);
void clearAllFaults();

// Called at the start of an injectable call: answers eOk, or the injected status (using up
// one of a counted fault).
Acad::ErrorStatus injectedFault(const char* call);
// How many times a fault was injected into `call` since it was last set or cleared.
int faultHits(const char* call);

// Injects a fault for the life of a scope.
class ScopedFault {
public:
  ScopedFault(const char* call, Acad::ErrorStatus status, int count = -1) : mCall(call) {
    if (count < 0) failAlways(call, status); else failNext(call, status, count);
  }
  ~ScopedFault() { clearFault(mCall.c_str()); }
  ScopedFault(const ScopedFault&) = delete;
  ScopedFault& operator=(const ScopedFault&) = delete;

private:
  std::string mCall;
};

}  // namespace pf
