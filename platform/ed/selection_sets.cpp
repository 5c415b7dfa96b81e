// Selection sets: acedSSGet, acedSSLength, acedSSName and acedSSFree.
//
// A set is a list of entity ids kept under a number until it is freed; its ads_name holds that
// number and a mark that tells a set's name from an entity's. Interactive selection picks
// entities one by one through acedEntSel (a point or "#handle") until Enter.
#include <map>
#include <unordered_set>
#include <vector>

#include "acedads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "pf/input.h"
#include "pf/output.h"

namespace pf {
namespace {

// Tells a selection set's name from an entity name, whose second word is 0.
constexpr long kSetMark = 0x55e1;
// acedEntSel's ERRNO for a pick that hit nothing.
constexpr int kErrnoEmptyPick = 7;

std::map<long, std::vector<AcDbObjectId>>& sets() {
  static std::map<long, std::vector<AcDbObjectId>> table;
  return table;
}
long g_nextSet = 1;

std::vector<AcDbObjectId>* findSet(const ads_name name) {
  if (name == nullptr || name[1] != kSetMark) return nullptr;
  auto it = sets().find(name[0]);
  return it == sets().end() ? nullptr : &it->second;
}

// Picks until Enter; answers RTCAN when cancelled.
int pickObjects(std::vector<AcDbObjectId>& ids) {
  std::unordered_set<AcDbObjectId> selected;
  for (;;) {
    ads_name name;
    ads_point pt;
    const int rc = acedEntSel("\nSelect objects: ", name, pt);
    if (rc == RTCAN) return RTCAN;
    if (rc != RTNORM) {
      if (lastSelectionErrno() == kErrnoEmptyPick) {
        writeOutput("\n0 found");
        continue;
      }
      return RTNORM;
    }
    AcDbObjectId id;
    if (acdbGetObjectId(id, name) != Acad::eOk) continue;
    if (!selected.insert(id).second) {
      writeOutput("\n1 found, 1 duplicate");
      continue;
    }
    ids.push_back(id);
    writeOutput("\n1 found");
  }
}

// Every entity of model space and then paper space, in drawing order.
void allEntities(std::vector<AcDbObjectId>& ids) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr) return;
  AcDbBlockTable* table = nullptr;
  if (db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk) return;
  for (const char* space : {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE}) {
    AcDbBlockTableRecord* record = nullptr;
    if (table->getAt(space, record, AcDb::kForRead) != Acad::eOk) continue;
    AcDbBlockTableRecordIterator* it = nullptr;
    if (record->newIterator(it) == Acad::eOk) {
      for (; !it->done(); it->step()) {
        AcDbObjectId id;
        if (it->getEntityId(id) == Acad::eOk) ids.push_back(id);
      }
      delete it;
    }
    record->close();
  }
  table->close();
}

}  // namespace
}  // namespace pf

extern "C" int acedSSGet(const char* str, const void* pt1, const void* pt2, const struct resbuf* filter,
                         ads_name ss) {
  if (ss == nullptr || pt1 != nullptr || pt2 != nullptr || filter != nullptr) return RTERROR;
  std::vector<AcDbObjectId> ids;
  if (str == nullptr) {
    const int rc = pf::pickObjects(ids);
    if (rc != RTNORM) return rc;
  } else if ((str[0] == 'X' || str[0] == 'x') && str[1] == '\0') {
    pf::allEntities(ids);
  } else {
    return RTERROR;
  }
  // Like the host, an empty selection makes no set.
  if (ids.empty()) return RTERROR;
  const long number = pf::g_nextSet++;
  pf::sets()[number] = std::move(ids);
  ss[0] = number;
  ss[1] = pf::kSetMark;
  return RTNORM;
}

extern "C" int acedSSFree(const ads_name sname) {
  if (pf::findSet(sname) == nullptr) return RTERROR;
  pf::sets().erase(sname[0]);
  return RTNORM;
}

extern "C" int acedSSLength(const ads_name sname, long* len) {
  const std::vector<AcDbObjectId>* set = pf::findSet(sname);
  if (set == nullptr || len == nullptr) return RTERROR;
  *len = static_cast<long>(set->size());
  return RTNORM;
}

extern "C" int acedSSName(const ads_name ss, long i, ads_name entres) {
  const std::vector<AcDbObjectId>* set = pf::findSet(ss);
  if (set == nullptr || entres == nullptr || i < 0 || i >= static_cast<long>(set->size())) return RTERROR;
  ads_name name;
  if (acdbGetAdsName(name, (*set)[static_cast<size_t>(i)]) != Acad::eOk) return RTERROR;
  entres[0] = name[0];
  entres[1] = name[1];
  return RTNORM;
}
