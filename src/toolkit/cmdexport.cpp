// cmdexport.cpp - ZORVIKEXPORT: the room schedule as a CSV file.
//
// The file is RFC 4180 CSV in UTF-8, converted from the drawing's code page (the host
// variable DWGCODEPAGE), with a header row, one row per linked room in handle order and a
// total row. It is written whole beside its name and then renamed, so a file that cannot be
// written leaves nothing behind.
#include "afxwin.h"

#include "toolkit/commands.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "acutmem.h"
#include "adslib.h"
#include "dbapserv.h"
#include "resource.h"
#include "resources.h"
#include "toolkit/audit.h"
#include "toolkit/csvfile.h"
#include "toolkit/plan.h"
#include "toolkit/prompts.h"
#include "toolkit/schedule.h"
#include "windows.h"

namespace toolkit {
namespace {

const int kPathSize = 512;

// The drawing's code page as a number ("ANSI_1252" -> 1252); CP_ACP when the host names none.
UINT drawingCodePage(std::string& name) {
  resbuf value;
  name = "ANSI_1252";
  if (acedGetVar("DWGCODEPAGE", &value) != RTNORM || value.restype != RTSTR) return CP_ACP;
  name = value.resval.rstring != nullptr ? value.resval.rstring : "";
  acutDelString(value.resval.rstring);
  const char* digits = name.c_str() + (name.compare(0, 5, "ANSI_") == 0 ? 5 : 0);
  const UINT number = static_cast<UINT>(std::strtoul(digits, nullptr, 10));
  return number != 0 ? number : CP_ACP;
}

bool toUtf8(UINT codePage, const std::string& text, std::string& out) {
  out.clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (wide <= 0) return false;
  std::vector<WCHAR> buffer(static_cast<size_t>(wide));
  if (MultiByteToWideChar(codePage, 0, text.data(), size, buffer.data(), wide) != wide) return false;
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  out.resize(static_cast<size_t>(bytes));
  return WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &out[0], bytes, nullptr, nullptr) == bytes;
}

}  // namespace
}  // namespace toolkit

void zorvikExportCommand() {
  using namespace toolkit;
  ModuleResourceScope resources;

  AcDbDatabase* database = workingDrawingOrSay();
  if (database == nullptr) return;
  char path[kPathSize] = "";
  {
    CString prompt = loadResourceString(IDS_TK_SCHEDULE_PROMPT);
    if (acedGetString(1, prompt, path) != RTNORM || path[0] == '\0') return;
  }
  Plan plan;
  if (!readPlan(database, plan)) return;
  const std::vector<Finding> findings = auditPlan(plan);
  int rows = 0;
  const std::vector<std::vector<std::string>> records =
      buildSchedule(plan, findings, formatText(IDS_TK_SCHEDULE_TOTAL), rows);
  if (rows == 0) {
    printText(IDS_TK_NO_LINKED_ROOMS);
    return;
  }
  std::string codePageName;
  const UINT codePage = drawingCodePage(codePageName);
  std::string text;
  for (const std::vector<std::string>& record : records) {
    std::vector<std::string> converted(record.size());
    for (size_t i = 0; i < record.size(); ++i) {
      if (!toUtf8(codePage, record[i], converted[i])) {
        printText(IDS_TK_CODE_PAGE_FAILED, codePageName.c_str());
        return;
      }
    }
    text += csvRecord(converted);
  }
  std::string error;
  if (!writeFileAtomically(path, text, error)) {
    printText(IDS_TK_FILE_FAILED, path, error.c_str());
    return;
  }
  printText(IDS_TK_SCHEDULE_WRITTEN, rows, path);
}
