// audit.h - the findings of ZORVIKAUDIT, and the repairs of its fix mode.
//
// The check reads the plan and every room's links without changing anything. Stale texts,
// broken links, foreign and dangling reactor entries can be repaired; double and shared links,
// unlinked rooms and orphan tags need a person and are only reported.
#pragma once

#include <string>
#include <vector>

#include "dbmain.h"
#include "toolkit/plan.h"

namespace toolkit {

enum class FindingKind { kStale, kBroken, kForeign, kDouble, kShared, kDangling, kUnlinked, kOrphan };
const int kFindingKinds = 8;

struct Finding {
  FindingKind kind;
  AcDbObjectId room;           // the polyline (null for an orphan tag)
  std::vector<AcDbObjectId> others;  // the attribute, link, reactor or tag involved
  std::string shown, expected;       // stale: the text shown and what Update would write
  bool fixed = false;
};

// The lower-case name of a kind, as reports and the schedule name it.
const char* findingName(FindingKind kind);

// Checks the links of every room of the plan against the current settings.
std::vector<Finding> auditPlan(const Plan& plan);

// Repairs one finding when its kind can be repaired; answers true when it was.
bool repairFinding(Finding& finding);

// The audit status of one linked room for the schedule: "current" or the first finding's kind.
std::string roomStatus(const std::vector<Finding>& findings, const AcDbObjectId& room);

}  // namespace toolkit
