// System variables: acedGetVar and acedSetVar over the platform's built-in variables and the
// integer variables a host program defines (pf/sysvars.h).
#include "pf/sysvars.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <map>

#include "acedads.h"
#include "acutmem.h"
#include "adscodes.h"
#include "dbapserv.h"

namespace pf {
namespace {

struct IntegerVariable {
  int value;
  int min;
  int max;
};

std::string upper(const std::string& name) {
  std::string out = name;
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

std::map<std::string, IntegerVariable>& variables() {
  static std::map<std::string, IntegerVariable> table;
  return table;
}

const char* const kCodePageVariable = "DWGCODEPAGE";

std::string (*g_codePageSource)(const AcDbDatabase*) = nullptr;

}  // namespace

void setDrawingCodePageSource(std::string (*source)(const AcDbDatabase* db)) { g_codePageSource = source; }

bool defineIntegerVariable(const std::string& name, int initial, int min, int max) {
  const std::string key = upper(name);
  if (key.empty() || key == kCodePageVariable || min > max) return false;
  variables()[key] = IntegerVariable{std::clamp(initial, min, max), min, max};
  return true;
}

void removeVariable(const std::string& name) { variables().erase(upper(name)); }

int integerVariable(const std::string& name) {
  auto it = variables().find(upper(name));
  return it == variables().end() ? 0 : it->second.value;
}

bool setIntegerVariable(const std::string& name, int value) {
  auto it = variables().find(upper(name));
  if (it == variables().end() || value < it->second.min || value > it->second.max) return false;
  it->second.value = value;
  return true;
}

}  // namespace pf

// The value is written into *result; a text is a new string the caller frees (acutDelString).
extern "C" int acedGetVar(const char* sym, struct resbuf* result) {
  if (sym == nullptr || result == nullptr) return RTERROR;
  const std::string key = pf::upper(sym);
  if (key == pf::kCodePageVariable) {
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    const std::string codePage = db != nullptr && pf::g_codePageSource ? pf::g_codePageSource(db) : "ANSI_1252";
    char* text = nullptr;
    if (acutNewString(codePage.c_str(), text) != Acad::eOk) return RTERROR;
    result->restype = RTSTR;
    result->resval.rstring = text;
    return RTNORM;
  }
  auto it = pf::variables().find(key);
  if (it == pf::variables().end()) return RTERROR;
  // A value beyond the 16 bits of an ADS integer comes as a long.
  if (it->second.value < SHRT_MIN || it->second.value > SHRT_MAX) {
    result->restype = RTLONG;
    result->resval.rlong = it->second.value;
  } else {
    result->restype = RTSHORT;
    result->resval.rint = static_cast<short>(it->second.value);
  }
  return RTNORM;
}

// Integers are taken as RTSHORT or RTLONG; a value of another type, outside the variable's
// range, or for a read-only or unknown variable is refused with RTERROR and changes nothing.
extern "C" int acedSetVar(const char* sym, const struct resbuf* value) {
  if (sym == nullptr || value == nullptr) return RTERROR;
  long number = 0;
  if (value->restype == RTSHORT) {
    number = value->resval.rint;
  } else if (value->restype == RTLONG) {
    number = value->resval.rlong;
  } else {
    return RTERROR;
  }
  if (number < INT_MIN || number > INT_MAX) return RTERROR;
  return pf::setIntegerVariable(sym, static_cast<int>(number)) ? RTNORM : RTERROR;
}
