// locale_names.cpp - setlocale that understands the Windows locale names.
//
// Modules written for Windows select locales with names such as ".ACP" (the user's default
// locale with its ANSI code page) and "ENU" (English, United States). The C library knows only
// POSIX names, and would refuse them, leaving numbers in whatever locale the process started
// with (a comma as the decimal point under a German locale, say). libplatform therefore
// defines setlocale itself: every program and module linked against it calls this one, which
// maps the Windows names to POSIX ones and hands everything to the C library's setlocale
// (found with dlsym(RTLD_NEXT)).
#include <clocale>
#include <dlfcn.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

using SetlocaleFn = char* (*)(int, const char*);

SetlocaleFn librarySetlocale() {
  static SetlocaleFn next = reinterpret_cast<SetlocaleFn>(dlsym(RTLD_NEXT, "setlocale"));
  return next;
}

std::string lowered(const char* s) {
  std::string out;
  for (; *s; ++s) out += static_cast<char>(std::tolower(static_cast<unsigned char>(*s)));
  return out;
}

// Windows language names (three-letter abbreviations, English names, "Language_Country"
// forms) and the POSIX language_territory they stand for.
struct WindowsName {
  const char* windows;
  const char* posix;
};
const WindowsName kNames[] = {
    {"enu", "en_US"}, {"english", "en_US"}, {"american", "en_US"}, {"american english", "en_US"},
    {"english-us", "en_US"}, {"english-american", "en_US"}, {"us", "en_US"}, {"usa", "en_US"},
    {"english_united states", "en_US"}, {"eng", "en_GB"}, {"english-uk", "en_GB"},
    {"british", "en_GB"}, {"english_united kingdom", "en_GB"}, {"deu", "de_DE"},
    {"german", "de_DE"}, {"german_germany", "de_DE"}, {"des", "de_CH"}, {"dea", "de_AT"},
    {"fra", "fr_FR"}, {"french", "fr_FR"}, {"french_france", "fr_FR"}, {"ita", "it_IT"},
    {"italian", "it_IT"}, {"italian_italy", "it_IT"}, {"esp", "es_ES"}, {"esn", "es_ES"},
    {"spanish", "es_ES"}, {"spanish_spain", "es_ES"}, {"nld", "nl_NL"}, {"dutch", "nl_NL"},
    {"sve", "sv_SE"}, {"swedish", "sv_SE"}, {"ptb", "pt_BR"}, {"ptg", "pt_PT"},
    {"jpn", "ja_JP"}, {"japanese", "ja_JP"}, {"japanese_japan", "ja_JP"}, {"kor", "ko_KR"},
    {"korean", "ko_KR"}, {"chs", "zh_CN"}, {"cht", "zh_TW"}, {"plk", "pl_PL"},
    {"polish", "pl_PL"}, {"csy", "cs_CZ"}, {"czech", "cs_CZ"}, {"rus", "ru_RU"},
    {"russian", "ru_RU"},
};

// POSIX names to try, in order, for a Windows name; empty when the name is not a Windows one.
std::vector<std::string> candidatesFor(const char* name) {
  std::string lower = lowered(name);
  // ".ACP" / ".OCP" / ".1252": the user's default locale (the environment's), falling back to
  // the C locale when the environment names none that is installed.
  if (!lower.empty() && lower[0] == '.') {
    std::string cp = lower.substr(1);
    bool digits = !cp.empty() && cp.find_first_not_of("0123456789") == std::string::npos;
    if (cp == "acp" || cp == "ocp" || digits) return {"", "C"};
    return {};
  }
  std::string base = lower.substr(0, lower.find('.'));  // drop a ".1252" code page suffix
  const char* posix = nullptr;
  for (const WindowsName& n : kNames)
    if (base == n.windows) posix = n.posix;
  if (posix == nullptr) {
    std::string language = base.substr(0, base.find('_'));
    if (language == base) return {};
    for (const WindowsName& n : kNames)
      if (language == n.windows) posix = n.posix;
    if (posix == nullptr) return {};
  }
  std::string p(posix);
  std::vector<std::string> out = {p + ".UTF-8", p + ".utf8", p};
  // English is what callers ask for to get the point as the decimal separator: the C locales
  // give the same numbers when no English locale is installed.
  if (p.compare(0, 3, "en_") == 0) {
    out.push_back("C.UTF-8");
    out.push_back("C");
  }
  return out;
}

}  // namespace

extern "C" char* setlocale(int category, const char* locale) noexcept {
  SetlocaleFn next = librarySetlocale();
  if (next == nullptr) return nullptr;
  if (locale == nullptr) return next(category, locale);
  std::vector<std::string> candidates = candidatesFor(locale);
  if (candidates.empty()) return next(category, locale);
  for (const std::string& c : candidates)
    if (char* result = next(category, c.c_str())) return result;
  return nullptr;
}
