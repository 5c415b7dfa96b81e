// rc_tokens.h - the tokens of a preprocessed resource script, and the preprocessor that makes
// them: comments, #include, #define/#undef, conditional sections, macro expansion.
//
// Header files (.h) contribute only their preprocessor directives, as with the Windows
// resource compiler, so a resource.h may hold C declarations too.
#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "pf/resources.h"

namespace pf {
namespace rc {

struct Token {
  enum Kind { Ident, Number, String, Punct, End };
  Kind kind = End;
  std::string text;    // identifier, punctuation, or the decoded string
  long value = 0;      // numbers
  std::string file;
  int line = 0;
};

// Thrown inside the parser; turned into an RcError at the public boundary.
struct Failure : std::runtime_error {
  RcError error;
  explicit Failure(RcError e) : std::runtime_error(e.message), error(std::move(e)) {}
};
[[noreturn]] void fail(const std::string& file, int line, const std::string& message);
[[noreturn]] void fail(const Token& at, const std::string& message);

// Decodes the body of a string literal (between the quotes): C escapes, and "" for one quote.
std::string decodeString(const std::string& body, const std::string& file, int line);

struct PreprocessResult {
  std::vector<Token> tokens;                 // ends with one End token
  std::map<std::string, long> symbols;       // #defines with a numeric value
};

PreprocessResult preprocess(const std::string& fileName, const std::string& text,
                            const RcIncludeResolver& includes);

// Predefined symbols: the Win32 style, message and id constants resource scripts use.
const std::map<std::string, long>& builtinNumbers();
const std::map<std::string, std::string>& builtinStrings();
bool isSystemHeader(const std::string& name);

}  // namespace rc
}  // namespace pf
