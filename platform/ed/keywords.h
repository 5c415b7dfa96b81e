// ed/keywords.h - keyword lists of acedInitGet and how typed input matches them.
//
// A list is space-separated. Words before a word starting with '_' are local keywords (what the
// user sees), the words after it are global keywords (what the program receives), paired by
// position; without '_' the local words are the global ones too. Each keyword is either written
// with capitals marking its abbreviation ("LType": "LT", "LTY", ... "LTYPE" are accepted;
// "eXit": "X" or "EX", "EXI", "EXIT") or as FULL,ABBREV ("LTYPE,LT"); a keyword without
// lowercase letters, or without capitals, must be typed in full. Matching ignores case.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pf {

// Longest keyword (and longest answer) the ADS layer hands back: its result buffers hold 132
// bytes including the terminating NUL.
constexpr std::size_t kMaxKeywordLength = 131;

class Keyword {
 public:
  // Parses one word of a keyword list; nullopt for a malformed word.
  static std::optional<Keyword> parse(std::string_view word);

  // The keyword as the program receives it: the word without its ",ABBREV" part.
  const std::string& name() const { return name_; }

  // Whether typed input (already trimmed) selects this keyword.
  bool accepts(std::string_view input) const;
  bool equalsFully(std::string_view input) const;

 private:
  std::string name_;
  std::string abbrev_;       // FULL,ABBREV form, or the capitals of a keyword like "eXit"
  std::size_t minPrefix_ = 0;  // shortest accepted prefix of name_; 0: only the full name
  bool explicitAbbrev_ = false;
};

class KeywordList {
 public:
  // Parses an acedInitGet keyword list; nullopt (with a reason) when it is malformed.
  static std::optional<KeywordList> parse(std::string_view list, std::string* reason = nullptr);

  bool empty() const { return local_.empty() && global_.empty(); }

  // The global keyword that the typed input selects: a local keyword answers its global
  // counterpart (empty when the list has no global word at that position); input with a
  // leading '_' is matched against the global keywords. nullopt when nothing matches.
  std::optional<std::string> match(std::string_view input) const;

  const std::vector<Keyword>& local() const { return local_; }
  const std::vector<Keyword>& global() const { return global_; }

 private:
  static std::optional<std::size_t> find(const std::vector<Keyword>& words, std::string_view input);

  std::vector<Keyword> local_;
  std::vector<Keyword> global_;
};

// Input with surrounding blanks removed.
std::string_view trimBlanks(std::string_view s);

// Case-insensitive comparison of ASCII text.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace pf
