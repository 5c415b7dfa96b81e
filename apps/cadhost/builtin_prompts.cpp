// Prompts of the host program's built-in commands, on top of the platform's input source.
#include "builtin_prompts.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <unordered_set>

#include "adslib.h"
#include "console_text.h"
#include "dbmain.h"
#include "pf/input.h"
#include "pf/output.h"
#include "text_util.h"

namespace cadhost {
namespace {

bool parseNumber(const std::string& text, double& value) {
  const std::string t = trimBlanks(text);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtod(t.c_str(), &end);
  return end && *end == '\0' && errno != ERANGE && std::isfinite(value);
}

std::vector<std::string> splitCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

}  // namespace

bool parsePoint(const std::string& text, Pt& point, double* bulge) {
  const std::vector<std::string> parts = splitCommas(text);
  if (parts.size() < 2 || parts.size() > 3) return false;
  double v[3] = {0, 0, 0};
  for (size_t i = 0; i < parts.size(); ++i)
    if (!parseNumber(parts[i], v[i])) return false;
  point = Pt{v[0], v[1]};
  if (bulge) *bulge = parts.size() == 3 ? v[2] : 0.0;
  return true;
}

Answer askPoint(const std::string& prompt, Pt& point, bool allowEnter) {
  for (;;) {
    pf::Input in = pf::readInput(prompt);
    if (in.kind != pf::Input::kText) return Answer::kCancel;
    if (trimBlanks(in.text).empty()) {
      if (allowEnter) return Answer::kEnter;
      pf::writeOutput("\nPoint or option keyword required.");
      continue;
    }
    if (parsePoint(in.text, point)) return Answer::kOk;
    pf::writeOutput("\nInvalid point: give it as x,y.");
  }
}

Answer askReal(const std::string& prompt, double& value, bool allowEnter) {
  for (;;) {
    pf::Input in = pf::readInput(prompt);
    if (in.kind != pf::Input::kText) return Answer::kCancel;
    if (trimBlanks(in.text).empty()) {
      if (allowEnter) return Answer::kEnter;
      pf::writeOutput("\nRequires a number.");
      continue;
    }
    double v;
    if (parseNumber(in.text, v)) {
      value = v;
      return Answer::kOk;
    }
    pf::writeOutput("\nRequires a number.");
  }
}

Answer askText(const std::string& prompt, std::string& text, bool allowEnter, pf::Extent extent) {
  for (;;) {
    pf::Input in = pf::readInput(prompt, extent);
    if (in.kind != pf::Input::kText) return Answer::kCancel;
    if (in.text.empty() && !allowEnter) continue;
    text = in.text;
    return text.empty() ? Answer::kEnter : Answer::kOk;
  }
}

std::string unquoteFileName(const std::string& typed) {
  std::string name = trimBlanks(typed);
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
  return name;
}

Answer askFileName(const std::string& prompt, std::string& path) {
  for (;;) {
    std::string typed;
    const Answer a = askText(prompt, typed);
    if (a != Answer::kOk) return a;
    path = consoleEncoding().fromHost(unquoteFileName(typed));
    if (!path.empty()) return Answer::kOk;
  }
}

Answer askObjects(std::vector<AcDbObjectId>& ids) {
  // The set finds duplicates in constant time, so selecting n objects costs O(n).
  std::unordered_set<AcDbObjectId> selected(ids.begin(), ids.end());
  for (;;) {
    ads_name name;
    ads_point pt;
    const int rc = acedEntSel("\nSelect objects: ", name, pt);
    if (rc == RTCAN) return Answer::kCancel;
    if (rc != RTNORM) {
      // A pick that hit nothing asks again; Enter, or any other failure, ends the selection.
      if (pf::lastSelectionErrno() == 7) {
        pf::writeOutput("\n0 found");
        continue;
      }
      return ids.empty() ? Answer::kEnter : Answer::kOk;
    }
    AcDbObjectId id;
    if (acdbGetObjectId(id, name) != Acad::eOk) continue;
    if (!selected.insert(id).second) {
      pf::writeOutput("\n1 found, 1 duplicate");
      continue;
    }
    ids.push_back(id);
    pf::writeOutput("\n1 found");
  }
}

}  // namespace cadhost
