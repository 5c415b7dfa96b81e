// cmdaudit.cpp - ZORVIKAUDIT: check the plan's links, repair on request, report.
//
// Like the host's own AUDIT it asks whether to fix what it finds; with No it opens nothing for
// write. It prints one line per finding and a summary, writes the findings to a CSV report
// when one is named, and leaves its verdict in the host variable EXITCODE (3 when a stale,
// broken, foreign or double link remains, else 0) for hosts that end with it, as cadhost does.
#include "afxwin.h"

#include "toolkit/commands.h"

#include <string>
#include <vector>

#include "adslib.h"
#include "dbapserv.h"
#include "resource.h"
#include "resources.h"
#include "toolkit/audit.h"
#include "toolkit/csvfile.h"
#include "toolkit/plan.h"
#include "toolkit/prompts.h"

namespace toolkit {
namespace {

// The host variable that carries the verdict, and the verdict for a plan that needs work.
const char* const kExitVariable = "EXITCODE";
const short kExitFindings = 3;

const int kPathSize = 512;

std::string handles(const std::vector<AcDbObjectId>& ids) {
  std::string text;
  for (const AcDbObjectId& id : ids) text += (text.empty() ? "#" : ", #") + handleText(id);
  return text;
}

void printFinding(const Finding& f) {
  const std::string fixed = f.fixed ? formatText(IDS_TK_FIXED_SUFFIX) : std::string();
  if (f.kind == FindingKind::kOrphan) {
    printText(IDS_TK_FINDING_ORPHAN, handleText(f.others.front()).c_str());
  } else if (f.kind == FindingKind::kStale) {
    printText(IDS_TK_FINDING_STALE, handleText(f.room).c_str(), handleText(f.others.front()).c_str(), f.shown.c_str(),
              f.expected.c_str(), fixed.c_str());
  } else {
    const std::string others = f.others.empty() ? std::string() : " (" + handles(f.others) + ")";
    printText(IDS_TK_FINDING, findingName(f.kind), handleText(f.room).c_str(), others.c_str(), fixed.c_str());
  }
}

std::string reportText(const std::vector<Finding>& findings) {
  // Status and Handle name the columns as a picture's marks file wants them (cadhost --svg-marks).
  std::string text = csvRecord({"Status", "Handle", "Others", "Shown", "Expected", "Fixed"});
  for (const Finding& f : findings) {
    std::string others;
    for (const AcDbObjectId& id : f.others) others += (others.empty() ? "" : " ") + handleText(id);
    text += csvRecord({findingName(f.kind), f.room.isNull() ? std::string() : handleText(f.room), others, f.shown,
                       f.expected, f.fixed ? "yes" : "no"});
  }
  return text;
}

void setVerdict(bool needsWork) {
  resbuf value;
  value.rbnext = nullptr;
  value.restype = RTSHORT;
  value.resval.rint = needsWork ? kExitFindings : 0;
  // A host without the variable refuses it; the audit's output says the same.
  acedSetVar(kExitVariable, &value);
}

}  // namespace
}  // namespace toolkit

void zorvikAuditCommand() {
  using namespace toolkit;
  ModuleResourceScope resources;

  AcDbDatabase* database = workingDrawingOrSay();
  if (database == nullptr) return;
  const int fix = askYesNo(IDS_TK_FIX_PROMPT, false);
  if (fix < 0) return;
  char path[kPathSize] = "";
  int result;
  {
    CString prompt = loadResourceString(IDS_TK_REPORT_PROMPT);
    result = acedGetString(1, prompt, path);
  }
  if (result != RTNORM && result != RTNONE) return;
  const std::string reportPath = result == RTNONE ? std::string() : path;

  Plan plan;
  if (!readPlan(database, plan)) return;
  std::vector<Finding> findings = auditPlan(plan);

  int found[kFindingKinds] = {};
  int fixed[kFindingKinds] = {};
  bool needsWork = false;
  for (Finding& f : findings) {
    const int kind = static_cast<int>(f.kind);
    ++found[kind];
    if (fix == 1 && repairFinding(f)) ++fixed[kind];
    printFinding(f);
    const bool serious = f.kind == FindingKind::kStale || f.kind == FindingKind::kBroken ||
                         f.kind == FindingKind::kForeign || f.kind == FindingKind::kDouble;
    if (serious && !f.fixed) needsWork = true;
  }
  printText(IDS_TK_AUDIT_SUMMARY, found[0], found[1], found[2], found[3], found[4], found[5], found[6], found[7]);
  if (fix == 1)
    printText(IDS_TK_AUDIT_FIXED, fixed[static_cast<int>(FindingKind::kStale)],
              fixed[static_cast<int>(FindingKind::kBroken)], fixed[static_cast<int>(FindingKind::kForeign)],
              fixed[static_cast<int>(FindingKind::kDangling)]);
  if (!reportPath.empty()) {
    std::string error;
    if (writeFileAtomically(reportPath, reportText(findings), error))
      printText(IDS_TK_REPORT_WRITTEN, reportPath.c_str());
    else
      printText(IDS_TK_FILE_FAILED, reportPath.c_str(), error.c_str());
  }
  setVerdict(needsWork);
}
