// faults.cpp - fault injection registry (see pf/faults.h).
#include <map>
#include <string>
#include "pf/faults.h"

namespace pf {
namespace {
struct Fault {
  Acad::ErrorStatus status = Acad::eOk;
  int remaining = 0;  // -1: always
  int hits = 0;
};
std::map<std::string, Fault>& faults() {
  static auto* table = new std::map<std::string, Fault>;  // never destroyed (used at exit)
  return *table;
}
}  // namespace

void failNext(const char* call, Acad::ErrorStatus status, int count) {
  if (call == nullptr || count <= 0) return;
  faults()[call] = Fault{status, count, 0};
}

void failAlways(const char* call, Acad::ErrorStatus status) {
  if (call == nullptr) return;
  faults()[call] = Fault{status, -1, 0};
}

void clearFault(const char* call) {
  if (call != nullptr) faults().erase(call);
}

void clearAllFaults() { faults().clear(); }

Acad::ErrorStatus injectedFault(const char* call) {
  auto& table = faults();
  if (table.empty() || call == nullptr) return Acad::eOk;
  auto it = table.find(call);
  if (it == table.end() || it->second.remaining == 0) return Acad::eOk;
  Fault& f = it->second;
  if (f.remaining > 0) --f.remaining;
  ++f.hits;
  return f.status;
}

int faultHits(const char* call) {
  auto it = faults().find(call ? call : "");
  return it == faults().end() ? 0 : it->second.hits;
}

}  // namespace pf
