// prompts.cpp - keyword questions and formatted messages of the toolkit commands.
#include "toolkit/prompts.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "adslib.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "mbstring.h"
#include "resource.h"
#include "resources.h"

namespace toolkit {
namespace {

// The answer buffer of acedGetKword.
const int kAnswerSize = 512;

std::string vformat(UINT id, va_list args) {
  CString format = loadResourceString(id);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return std::string();
  std::vector<char> text(static_cast<size_t>(length) + 1);
  std::vsnprintf(text.data(), text.size(), format, args);
  return std::string(text.data(), static_cast<size_t>(length));
}

}  // namespace

std::string askKeyword(UINT keywordsId, UINT promptId, const char* defaultKeyword) {
  char answer[kAnswerSize] = "";
  {
    CString keywords = loadResourceString(keywordsId);
    acedInitGet(0, keywords);
  }
  int result;
  {
    CString prompt = loadResourceString(promptId);
    result = acedGetKword(prompt, answer);
  }
  if (result == RTNONE) return defaultKeyword;
  if (result != RTNORM) return std::string();
  return answer;
}

int askYesNo(UINT promptId, bool defaultYes) {
  const std::string answer = askKeyword(IDS_TK_YESNO_KEYWORDS, promptId, defaultYes ? "Yes" : "No");
  if (answer.empty()) return -1;
  return _mbsicmp(reinterpret_cast<const unsigned char*>(answer.c_str()),
                  reinterpret_cast<const unsigned char*>("Yes")) == 0 ? 1 : 0;
}

std::string formatText(UINT id, ...) {
  va_list args;
  va_start(args, id);
  std::string text = vformat(id, args);
  va_end(args);
  return text;
}

void printText(UINT id, ...) {
  va_list args;
  va_start(args, id);
  const std::string text = vformat(id, args);
  va_end(args);
  acutPrintf("%s", text.c_str());
}

AcDbDatabase* workingDrawingOrSay() {
  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  if (database == nullptr) printText(IDS_TK_NO_DRAWING);
  return database;
}

}  // namespace toolkit
