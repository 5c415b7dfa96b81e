// Keyword lists of acedInitGet: parsing, abbreviations and local/global matching.
#include "ed/keywords.h"

#include <cctype>

namespace pf {
namespace {

bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char c) { return c >= 'a' && c <= 'z'; }
char lower(char c) { return isUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

bool startsWithIgnoringCase(std::string_view s, std::string_view prefix) {
  return prefix.size() <= s.size() && equalsIgnoringCase(s.substr(0, prefix.size()), prefix);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<Keyword> Keyword::parse(std::string_view word) {
  if (word.empty() || word.size() > kMaxKeywordLength) return std::nullopt;
  Keyword k;
  std::size_t comma = word.find(',');
  if (comma != std::string_view::npos) {
    std::string_view full = word.substr(0, comma);
    std::string_view abbrev = word.substr(comma + 1);
    if (full.empty() || abbrev.empty() || abbrev.find(',') != std::string_view::npos) {
      return std::nullopt;
    }
    k.name_ = std::string(full);
    k.abbrev_ = std::string(abbrev);
    k.explicitAbbrev_ = true;
    return k;
  }
  k.name_ = std::string(word);
  bool hasLower = false;
  bool hasUpper = false;
  for (char c : word) {
    hasLower = hasLower || isLower(c);
    hasUpper = hasUpper || isUpper(c);
  }
  if (!hasLower || !hasUpper) return k;  // typed in full only
  if (!isLower(word.front())) {
    // "LType": the leading run without lowercase letters is the shortest accepted prefix.
    std::size_t n = 0;
    while (n < word.size() && !isLower(word[n])) ++n;
    k.minPrefix_ = n;
  } else {
    // "eXit": the capitals alone, or any prefix that reaches the last capital.
    std::size_t last = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (isUpper(word[i])) {
        k.abbrev_ += word[i];
        last = i;
      }
    }
    k.minPrefix_ = last + 1;
  }
  return k;
}

bool Keyword::equalsFully(std::string_view input) const { return equalsIgnoringCase(input, name_); }

bool Keyword::accepts(std::string_view input) const {
  if (input.empty()) return false;
  if (equalsFully(input)) return true;
  if (!abbrev_.empty() && equalsIgnoringCase(input, abbrev_)) return true;
  if (explicitAbbrev_) {
    // Anything between the abbreviation and the full word.
    return startsWithIgnoringCase(name_, input) && startsWithIgnoringCase(input, abbrev_);
  }
  return minPrefix_ > 0 && input.size() >= minPrefix_ && startsWithIgnoringCase(name_, input);
}

std::optional<KeywordList> KeywordList::parse(std::string_view list, std::string* reason) {
  KeywordList result;
  bool inGlobal = false;
  std::size_t pos = 0;
  while (pos < list.size()) {
    while (pos < list.size() && isBlank(list[pos])) ++pos;
    std::size_t end = pos;
    while (end < list.size() && !isBlank(list[end])) ++end;
    if (end == pos) break;
    std::string_view word = list.substr(pos, end - pos);
    pos = end;
    if (!inGlobal && word.front() == '_') {
      inGlobal = true;
      word.remove_prefix(1);
      if (word.empty()) continue;  // "Ja Nein _ Yes No"
    }
    std::optional<Keyword> k = Keyword::parse(word);
    if (!k) {
      if (reason) *reason = "malformed keyword \"" + std::string(word) + "\"";
      return std::nullopt;
    }
    (inGlobal ? result.global_ : result.local_).push_back(std::move(*k));
  }
  if (!inGlobal) result.global_ = result.local_;
  return result;
}

std::optional<std::size_t> KeywordList::find(const std::vector<Keyword>& words,
                                             std::string_view input) {
  // A keyword typed in full wins over another keyword's abbreviation.
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i].equalsFully(input)) return i;
  }
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (words[i].accepts(input)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> KeywordList::match(std::string_view input) const {
  input = trimBlanks(input);
  if (input.empty()) return std::nullopt;
  if (input.front() == '_') {
    input.remove_prefix(1);
    std::optional<std::size_t> i = find(global_, input);
    if (!i) return std::nullopt;
    return global_[*i].name();
  }
  std::optional<std::size_t> i = find(local_, input);
  if (!i) return std::nullopt;
  return *i < global_.size() ? global_[*i].name() : std::string();
}

}  // namespace pf
