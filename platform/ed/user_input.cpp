// User input at the command line: acedInitGet, acedGetKword, acedGetString, acedGetInt,
// acedGetReal, acedGetPoint and acedGetInput, all reading from the current input source.
//
// Each call reads answers until one is valid. Invalid answers print the host's complaint and ask
// again; Enter answers RTNONE unless acedInitGet forbade empty input (then it asks again);
// "^C" or the end of the input answers RTCAN; an answer matching one of acedInitGet's keywords
// answers RTKWORD (acedGetInput then gives the keyword).
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "acedads.h"
#include "adscodes.h"
#include "ed/prompt_state.h"
#include "pf/faults.h"
#include "pf/input.h"
#include "pf/output.h"

namespace pf {
namespace {

InitGetSettings& pending() {
  static InitGetSettings s;
  return s;
}
std::string& lastKeyword() {
  static std::string s;
  return s;
}
bool g_cancelled = false;
ads_point g_lastPoint = {0.0, 0.0, 0.0};

// Copies an answer into a caller's 132-byte result buffer.
bool copyResult(const std::string& text, char* result) {
  std::size_t n = text.size() > kMaxKeywordLength ? kMaxKeywordLength : text.size();
  std::memcpy(result, text.data(), n);
  result[n] = '\0';
  return n == text.size();
}

std::optional<double> parseReal(std::string_view s) {
  s = trimBlanks(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  double v = 0.0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

enum class IntParse { kOk, kNotInteger, kOutOfRange };

IntParse parseInt(std::string_view s, int& out) {
  s = trimBlanks(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return IntParse::kNotInteger;
  long v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec == std::errc::result_out_of_range) return IntParse::kOutOfRange;
  if (ec != std::errc() || end != s.data() + s.size()) return IntParse::kNotInteger;
  // ADS integers are 16-bit.
  if (v < -32768 || v > 32767) return IntParse::kOutOfRange;
  out = static_cast<int>(v);
  return IntParse::kOk;
}

constexpr double kPi = 3.14159265358979323846;

}  // namespace

// "x,y", "x,y,z", "dist<angle" (degrees), each optionally "@"-relative to the last point.
bool parsePoint(std::string_view s, const double last[3], double out[3]) {
  s = trimBlanks(s);
  bool relative = !s.empty() && s.front() == '@';
  if (relative) s.remove_prefix(1);
  double v[3] = {0.0, 0.0, 0.0};
  std::size_t lt = s.find('<');
  if (lt != std::string_view::npos) {
    auto d = parseReal(s.substr(0, lt));
    auto a = parseReal(s.substr(lt + 1));
    if (!d || !a) return false;
    double rad = *a * (kPi / 180.0);
    v[0] = *d * std::cos(rad);
    v[1] = *d * std::sin(rad);
  } else {
    int n = 0;
    std::size_t start = 0;
    for (;;) {
      std::size_t comma = s.find(',', start);
      if (n == 3) return false;
      auto c = parseReal(s.substr(start, comma == std::string_view::npos ? s.npos : comma - start));
      if (!c) return false;
      v[n++] = *c;
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    if (relative && n == 0) return false;
    if (!relative && n < 2) return false;
    if (!relative && n == 2) v[2] = 0.0;
  }
  for (int i = 0; i < 3; ++i) out[i] = relative ? last[i] + v[i] : v[i];
  return true;
}

InitGetSettings takeInitGet() {
  InitGetSettings s = std::move(pending());
  pending() = InitGetSettings();
  return s;
}

void setLastKeywordInput(const std::string& text) { lastKeyword() = text; }

void noteCancelledPrompt() { g_cancelled = true; }

bool takeCancelledPrompt() {
  bool c = g_cancelled;
  g_cancelled = false;
  return c;
}

Answer readAnswer(const char* prompt, std::string& text) {
  Input in = readInput(prompt ? prompt : "");
  if (in.kind != Input::kText) return Answer::kCancel;
  text = std::string(trimBlanks(in.text));
  return text.empty() ? Answer::kEnter : Answer::kText;
}

// The shared loop of the value prompts: `accept` answers RTNORM when it took the text, or 0 to
// ask again (it printed why).
template <typename Accept>
int valuePrompt(const char* prompt, const InitGetSettings& opts, Accept accept) {
  for (;;) {
    std::string text;
    switch (readAnswer(prompt, text)) {
      case Answer::kCancel: return RTCAN;
      case Answer::kEnter:
        if (opts.flags & RSG_NONULL) continue;
        return RTNONE;
      case Answer::kText: break;
    }
    if (int rc = accept(text)) return rc;
    if (std::optional<std::string> kw = opts.keywords.match(text)) {
      setLastKeywordInput(*kw);
      return RTKWORD;
    }
    if (opts.flags & RSG_OTHER) {
      setLastKeywordInput(text);
      return RTKWORD;
    }
  }
}

// Checks the RSG_NOZERO / RSG_NONEG restrictions; prints the complaint when one is broken.
bool numberAllowed(double v, int flags) {
  if ((flags & RSG_NOZERO) && v == 0.0) {
    writeOutput((flags & RSG_NONEG) ? "\nValue must be positive and nonzero.\n"
                                    : "\nValue must be nonzero.\n");
    return false;
  }
  if ((flags & RSG_NONEG) && v < 0.0) {
    writeOutput((flags & RSG_NOZERO) ? "\nValue must be positive and nonzero.\n"
                                     : "\nValue must be positive.\n");
    return false;
  }
  return true;
}

}  // namespace pf

extern "C" int acedInitGet(int val, const char* kwl) {
  if (pf::injectedFault("acedInitGet") != Acad::eOk) {
    pf::takeInitGet();
    return RTERROR;
  }
  pf::InitGetSettings s;
  s.flags = val;
  if (kwl != nullptr) {
    std::optional<pf::KeywordList> list = pf::KeywordList::parse(kwl);
    if (!list) {
      pf::takeInitGet();
      return RTERROR;
    }
    s.keywords = std::move(*list);
  }
  pf::pending() = std::move(s);
  return RTNORM;
}

extern "C" int acedGetInput(char* str) {
  if (str == nullptr) return RTERROR;
  pf::copyResult(pf::lastKeyword(), str);
  return RTNORM;
}

extern "C" int acedGetKword(const char* prompt, char* result) {
  pf::InitGetSettings opts = pf::takeInitGet();
  if (result == nullptr) return RTERROR;
  result[0] = '\0';
  if (pf::injectedFault("acedGetKword") != Acad::eOk) return RTERROR;
  for (;;) {
    std::string text;
    switch (pf::readAnswer(prompt, text)) {
      case pf::Answer::kCancel: return RTCAN;
      case pf::Answer::kEnter:
        if (opts.flags & RSG_NONULL) continue;
        return RTNONE;
      case pf::Answer::kText: break;
    }
    if (std::optional<std::string> kw = opts.keywords.match(text)) {
      pf::copyResult(*kw, result);
      return RTNORM;
    }
    if (opts.flags & RSG_OTHER) {
      return pf::copyResult(text, result) ? RTNORM : RTINPUTTRUNCATED;
    }
    pf::writeOutput("\nInvalid option keyword.\n");
  }
}

extern "C" int acedGetString(int cronly, const char* prompt, char* result) {
  pf::takeInitGet();
  if (result == nullptr) return RTERROR;
  result[0] = '\0';
  // With cronly only the end of the line ends the answer, so it may hold spaces; without, a
  // space in a script ends it as Enter does.
  pf::Input in = pf::readInput(prompt ? prompt : "", cronly ? pf::Extent::kRestOfLine : pf::Extent::kWord);
  if (in.kind != pf::Input::kText) return RTCAN;
  return pf::copyResult(in.text, result) ? RTNORM : RTINPUTTRUNCATED;
}

extern "C" int acedGetInt(const char* prompt, int* result) {
  pf::InitGetSettings opts = pf::takeInitGet();
  if (result == nullptr) return RTERROR;
  return pf::valuePrompt(prompt, opts, [&](const std::string& text) {
    int v = 0;
    switch (pf::parseInt(text, v)) {
      case pf::IntParse::kOk:
        if (!pf::numberAllowed(v, opts.flags)) return 0;
        *result = v;
        return RTNORM;
      case pf::IntParse::kOutOfRange:
        pf::writeOutput("\nRequires an integer between -32768 and 32767.\n");
        return 0;
      case pf::IntParse::kNotInteger:
        break;
    }
    if (opts.keywords.match(text) || (opts.flags & RSG_OTHER)) return 0;
    pf::writeOutput("\nRequires an integer value.\n");
    return 0;
  });
}

extern "C" int acedGetReal(const char* prompt, ads_real* result) {
  pf::InitGetSettings opts = pf::takeInitGet();
  if (result == nullptr) return RTERROR;
  return pf::valuePrompt(prompt, opts, [&](const std::string& text) {
    if (std::optional<double> v = pf::parseReal(text)) {
      if (!pf::numberAllowed(*v, opts.flags)) return 0;
      *result = *v;
      return RTNORM;
    }
    if (opts.keywords.match(text) || (opts.flags & RSG_OTHER)) return 0;
    pf::writeOutput("\nRequires numeric value.\n");
    return 0;
  });
}

extern "C" int acedGetPoint(const ads_point pt, const char* prompt, ads_point result) {
  (void)pt;  // the base point only draws a rubber band on a screen
  pf::InitGetSettings opts = pf::takeInitGet();
  if (result == nullptr) return RTERROR;
  return pf::valuePrompt(prompt, opts, [&](const std::string& text) {
    ads_point p;
    if (pf::parsePoint(text, pf::g_lastPoint, p)) {
      for (int i = 0; i < 3; ++i) result[i] = pf::g_lastPoint[i] = p[i];
      return RTNORM;
    }
    if (opts.keywords.match(text) || (opts.flags & RSG_OTHER)) return 0;
    pf::writeOutput("\nInvalid point.\n");
    return 0;
  });
}
