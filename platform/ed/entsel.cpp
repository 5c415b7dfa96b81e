// Entity selection (acedEntSel): a point picked through the host's picker, or a handle "#1F"
// looked up in the working database.
#include <cctype>
#include <cstring>
#include <string>

#include "adslib.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "ed/prompt_state.h"
#include "pf/faults.h"
#include "pf/input.h"
#include "pf/output.h"

namespace pf {
namespace {

EntityPicker& picker() {
  static EntityPicker p;
  return p;
}

int g_selectionErrno = 0;

// The host's ERRNO values for a selection that found nothing.
constexpr int kErrnoEmptyPick = 7;
constexpr int kErrnoEnter = 52;

// True when the id names an entity that can be selected (not erased, not open for write).
bool selectableEntity(AcDbObjectId id) {
  if (id.isNull()) return false;
  AcDbObject* obj = nullptr;
  if (acdbOpenAcDbObject(obj, id, AcDb::kForRead) != Acad::eOk) return false;
  bool isEntity = AcDbEntity::cast(obj) != nullptr;
  obj->close();
  return isEntity;
}

bool parseHandle(std::string_view hex, AcDbHandle& out) {
  if (hex.empty() || hex.size() > 16) return false;
  for (char c : hex) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  out = AcDbHandle(std::string(hex).c_str());
  return !out.isNull();
}

}  // namespace

// acdbGetAdsName wants an array; the caller's ads_name arrives here as a pointer.
bool toAdsName(AcDbObjectId id, long* out) {
  ads_name name;
  if (acdbGetAdsName(name, id) != Acad::eOk) return false;
  out[0] = name[0];
  out[1] = name[1];
  return true;
}

EntityPicker setEntityPicker(EntityPicker p) {
  EntityPicker old = std::move(picker());
  picker() = std::move(p);
  return old;
}

int lastSelectionErrno() { return g_selectionErrno; }

}  // namespace pf

extern "C" int acedEntSel(const char* str, ads_name entres, ads_point ptres) {
  pf::InitGetSettings opts = pf::takeInitGet();
  if (entres == nullptr || ptres == nullptr) return RTERROR;
  if (pf::injectedFault("acedEntSel") != Acad::eOk) {
    pf::g_selectionErrno = 0;
    return RTERROR;
  }
  const char* prompt = str ? str : "\nSelect object: ";
  for (;;) {
    std::string text;
    switch (pf::readAnswer(prompt, text)) {
      case pf::Answer::kCancel:
        pf::g_selectionErrno = 0;
        return RTCAN;
      case pf::Answer::kEnter:
        pf::g_selectionErrno = pf::kErrnoEnter;
        return RTERROR;
      case pf::Answer::kText:
        break;
    }

    if (text.front() == '#') {
      AcDbHandle handle;
      if (!pf::parseHandle(std::string_view(text).substr(1), handle)) {
        pf::writeOutput("\n*Invalid selection*\nExpects a point or an entity handle (#1F).\n");
        continue;
      }
      AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
      AcDbObjectId id;
      if (db != nullptr && db->getAcDbObjectId(id, false, handle) == Acad::eOk &&
          pf::selectableEntity(id) && pf::toAdsName(id, entres)) {
        ptres[X] = ptres[Y] = ptres[Z] = 0.0;
        pf::g_selectionErrno = 0;
        return RTNORM;
      }
      pf::writeOutput("\nNo entity with handle " + text.substr(1) + ".\n");
      pf::g_selectionErrno = pf::kErrnoEmptyPick;
      return RTERROR;
    }

    const double origin[3] = {0.0, 0.0, 0.0};
    double pt[3];
    if (pf::parsePoint(text, origin, pt)) {
      std::memcpy(ptres, pt, sizeof pt);
      AcDbObjectId id;
      if (pf::picker() && pf::picker()(pt, id) && pf::selectableEntity(id) &&
          pf::toAdsName(id, entres)) {
        pf::g_selectionErrno = 0;
        return RTNORM;
      }
      pf::g_selectionErrno = pf::kErrnoEmptyPick;
      return RTERROR;
    }

    if (std::optional<std::string> kw = opts.keywords.match(text)) {
      pf::setLastKeywordInput(*kw);
      return RTKWORD;
    }
    if (opts.flags & RSG_OTHER) {
      pf::setLastKeywordInput(text);
      return RTKWORD;
    }
    pf::writeOutput("\n*Invalid selection*\nExpects a point or an entity handle (#1F).\n");
  }
}
