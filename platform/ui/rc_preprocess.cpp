// rc_preprocess.cpp - the preprocessor of resource scripts: strips comments, follows #include,
// keeps #define/#undef, evaluates #if/#ifdef/#ifndef/#elif/#else/#endif, and turns the rest
// of the script into tokens with their file and line, object-like macros expanded.
#include <cctype>
#include <cstdlib>
#include <set>

#include "rc_tokens.h"

namespace pf {
namespace rc {

void fail(const std::string& file, int line, const std::string& message) {
  RcError e;
  e.file = file;
  e.line = line;
  e.message = message;
  throw Failure(e);
}

void fail(const Token& at, const std::string& message) { fail(at.file, at.line, message); }

std::string decodeString(const std::string& body, const std::string& file, int line) {
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if (c == '"') {  // "" inside a literal stands for one quote
      out += '"';
      ++i;
      continue;
    }
    if (c != '\\' || i + 1 >= body.size()) {
      out += c;
      continue;
    }
    char e = body[++i];
    switch (e) {
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'a': out += '\a'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'v': out += '\v'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      case '\'': out += '\''; break;
      case '?': out += '?'; break;
      case 'x': case 'X': {
        int v = 0, n = 0;
        while (i + 1 < body.size() && n < 2 && std::isxdigit(static_cast<unsigned char>(body[i + 1]))) {
          char h = body[++i];
          v = v * 16 + (std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::tolower(h) - 'a' + 10));
          ++n;
        }
        if (n == 0) fail(file, line, "\\x escape without hexadecimal digits");
        out += static_cast<char>(v);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          int v = e - '0', n = 1;
          while (i + 1 < body.size() && n < 3 && body[i + 1] >= '0' && body[i + 1] <= '7') {
            v = v * 8 + (body[++i] - '0');
            ++n;
          }
          out += static_cast<char>(v & 0xff);
        } else {
          // Unknown escapes keep the character, as the resource compiler does.
          out += e;
        }
    }
  }
  return out;
}

namespace {

struct Macro {
  std::vector<Token> body;
  bool functionLike = false;
};

// Removes comments, keeping line breaks so line numbers stay right.
std::string stripComments(const std::string& text, const std::string& file) {
  std::string out;
  out.reserve(text.size());
  int line = 1;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\n') ++line;
    if (c == '"') {
      out += c;
      for (++i; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
          out += text[++i];
        } else if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            out += text[++i];
          } else {
            break;
          }
        } else if (text[i] == '\n') {
          fail(file, line, "string literal not closed before the end of the line");
        }
      }
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      if (i < text.size()) {
        out += '\n';
        ++line;
      }
      continue;
    }
    if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      int start = line;
      i += 2;
      while (i + 1 < text.size() && !(text[i] == '*' && text[i + 1] == '/')) {
        if (text[i] == '\n') {
          out += '\n';
          ++line;
        }
        ++i;
      }
      if (i + 1 >= text.size()) fail(file, start, "comment not closed");
      ++i;
      out += ' ';
      continue;
    }
    out += c;
  }
  return out;
}

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Splits one logical line into tokens.
void tokenizeLine(const std::string& s, const std::string& file, int line, std::vector<Token>& out) {
  size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    Token t;
    t.file = file;
    t.line = line;
    if ((c == 'L' || c == 'l') && i + 1 < s.size() && s[i + 1] == '"') {
      ++i;  // wide literal: the platform's text is narrow
      c = '"';
    }
    if (c == '"') {
      size_t j = i + 1;
      std::string body;
      for (;;) {
        if (j >= s.size()) fail(file, line, "string literal not closed");
        if (s[j] == '\\' && j + 1 < s.size()) {
          body += s[j];
          body += s[j + 1];
          j += 2;
          continue;
        }
        if (s[j] == '"') {
          if (j + 1 < s.size() && s[j + 1] == '"') {
            body += "\"\"";
            j += 2;
            continue;
          }
          break;
        }
        body += s[j++];
      }
      t.kind = Token::String;
      t.text = decodeString(body, file, line);
      i = j + 1;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      size_t j = i;
      while (j < s.size() && (std::isalnum(static_cast<unsigned char>(s[j])))) ++j;
      std::string lit = s.substr(i, j - i);
      std::string digits = lit;
      while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l' || digits.back() == 'U' ||
                                 digits.back() == 'u'))
        digits.pop_back();
      char* end = nullptr;
      unsigned long long v = std::strtoull(digits.c_str(), &end, 0);
      if (digits.empty() || *end != '\0') fail(file, line, "malformed number '" + lit + "'");
      t.kind = Token::Number;
      t.value = static_cast<long>(v);
      t.text = lit;
      i = j;
    } else if (isIdentStart(c)) {
      size_t j = i;
      while (j < s.size() && isIdentChar(s[j])) ++j;
      t.kind = Token::Ident;
      t.text = s.substr(i, j - i);
      i = j;
    } else {
      static const char* const twoChar[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
      t.kind = Token::Punct;
      t.text = std::string(1, c);
      for (const char* p : twoChar) {
        if (i + 1 < s.size() && s[i] == p[0] && s[i + 1] == p[1]) t.text = p;
      }
      if (std::string(",|&()+-~*/%!<>=^?:{}#.\\").find(c) == std::string::npos)
        fail(file, line, std::string("unexpected character '") + c + "'");
      i += t.text.size();
    }
    out.push_back(std::move(t));
  }
}

class Preprocessor {
 public:
  Preprocessor(const RcIncludeResolver& includes) : includes_(includes) {
    for (const auto& kv : builtinNumbers()) {
      Token t;
      t.kind = Token::Number;
      t.value = kv.second;
      t.text = std::to_string(kv.second);
      if (kv.second < 0) {
        Token minus;
        minus.kind = Token::Punct;
        minus.text = "-";
        t.value = -kv.second;
        t.text = std::to_string(-kv.second);
        macros_[kv.first].body = {minus, t};
      } else {
        macros_[kv.first].body = {t};
      }
    }
    for (const auto& kv : builtinStrings()) {
      Token t;
      t.kind = Token::String;
      t.text = kv.second;
      macros_[kv.first].body = {t};
    }
  }

  void run(const std::string& file, const std::string& text, int depth) {
    if (depth > 16) fail(file, 1, "#include nested too deeply");
    bool headerOnly = endsWithHeaderSuffix(file);
    std::string clean = stripComments(text, file);
    struct Cond {
      bool active;     // this section is being read
      bool taken;      // some branch of this #if was taken
      bool parentActive;
      int line;
    };
    std::vector<Cond> conds;
    auto active = [&]() { return conds.empty() || conds.back().active; };

    size_t pos = 0;
    int line = 0;
    while (pos < clean.size()) {
      // One logical line (backslash-newline joins lines).
      ++line;
      int startLine = line;
      std::string logical;
      for (;;) {
        size_t nl = clean.find('\n', pos);
        std::string piece = clean.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? clean.size() : nl + 1;
        if (!piece.empty() && piece.back() == '\r') piece.pop_back();
        if (!piece.empty() && piece.back() == '\\' && pos < clean.size()) {
          piece.pop_back();
          logical += piece;
          ++line;
          continue;
        }
        logical += piece;
        break;
      }
      size_t first = logical.find_first_not_of(" \t");
      if (first == std::string::npos) continue;
      if (logical[first] != '#') {
        if (!active() || headerOnly) continue;
        std::vector<Token> raw;
        tokenizeLine(logical, file, startLine, raw);
        expand(raw, out_.tokens, 0);
        continue;
      }
      // A directive.
      size_t d = logical.find_first_not_of(" \t", first + 1);
      size_t de = d;
      while (de < logical.size() && isIdentChar(logical[de])) ++de;
      std::string directive = d == std::string::npos ? "" : logical.substr(d, de - d);
      std::string rest = de < logical.size() ? logical.substr(de) : "";

      if (directive == "if" || directive == "ifdef" || directive == "ifndef") {
        bool parent = active();
        bool value = false;
        if (parent) {
          if (directive == "if") {
            value = evaluate(rest, file, startLine) != 0;
          } else {
            std::vector<Token> toks;
            tokenizeLine(rest, file, startLine, toks);
            if (toks.size() != 1 || toks[0].kind != Token::Ident)
              fail(file, startLine, "#" + directive + " needs one name");
            value = macros_.count(toks[0].text) != 0;
            if (directive == "ifndef") value = !value;
          }
        }
        conds.push_back({parent && value, value, parent, startLine});
      } else if (directive == "elif") {
        if (conds.empty()) fail(file, startLine, "#elif without #if");
        Cond& c = conds.back();
        bool value = false;
        if (c.parentActive && !c.taken) value = evaluate(rest, file, startLine) != 0;
        c.active = c.parentActive && !c.taken && value;
        c.taken = c.taken || value;
      } else if (directive == "else") {
        if (conds.empty()) fail(file, startLine, "#else without #if");
        Cond& c = conds.back();
        c.active = c.parentActive && !c.taken;
        c.taken = true;
      } else if (directive == "endif") {
        if (conds.empty()) fail(file, startLine, "#endif without #if");
        conds.pop_back();
      } else if (!active()) {
        continue;
      } else if (directive == "define") {
        define(rest, file, startLine);
      } else if (directive == "undef") {
        std::vector<Token> toks;
        tokenizeLine(rest, file, startLine, toks);
        if (toks.empty() || toks[0].kind != Token::Ident) fail(file, startLine, "#undef needs a name");
        macros_.erase(toks[0].text);
      } else if (directive == "include") {
        include(rest, file, startLine, depth);
      } else if (directive == "error") {
        fail(file, startLine, "#error" + rest);
      } else if (directive == "pragma" || directive == "line" || directive.empty()) {
        // code_page and the like change nothing for narrow text.
      } else {
        fail(file, startLine, "unknown preprocessor directive #" + directive);
      }
    }
    if (!conds.empty()) fail(file, conds.back().line, "#if without #endif");
  }

  PreprocessResult take(const std::string& file) {
    collectSymbols();
    Token end;
    end.kind = Token::End;
    end.file = file;
    end.line = out_.tokens.empty() ? 1 : out_.tokens.back().line;
    out_.tokens.push_back(end);
    return std::move(out_);
  }

 private:
  static bool endsWithHeaderSuffix(const std::string& file) {
    auto ends = [&](const char* s) {
      std::string suf(s);
      if (file.size() < suf.size()) return false;
      for (size_t i = 0; i < suf.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(file[file.size() - suf.size() + i])) != suf[i]) return false;
      return true;
    };
    return ends(".h") || ends(".hpp") || ends(".c");
  }

  void define(const std::string& rest, const std::string& file, int line) {
    size_t i = rest.find_first_not_of(" \t");
    if (i == std::string::npos || !isIdentStart(rest[i])) fail(file, line, "#define needs a name");
    size_t j = i;
    while (j < rest.size() && isIdentChar(rest[j])) ++j;
    std::string name = rest.substr(i, j - i);
    Macro m;
    if (j < rest.size() && rest[j] == '(') {
      m.functionLike = true;  // kept only so that using it gives a clear error
    } else {
      tokenizeLine(rest.substr(j), file, line, m.body);
    }
    macros_[name] = m;
    userDefines_.insert(name);
  }

  // The numeric value of every #define still in force (a definition may use names defined
  // after it, so this is done at the end).
  void collectSymbols() {
    for (const std::string& name : userDefines_) {
      auto it = macros_.find(name);
      if (it == macros_.end() || it->second.functionLike || it->second.body.empty()) continue;
      try {
        std::vector<Token> expanded;
        expand(it->second.body, expanded, 0);
        size_t k = 0;
        long v = evalExpr(expanded, k, "", 0);
        if (k == expanded.size()) out_.symbols[name] = v;
      } catch (const Failure&) {
        // Not a numeric definition (a string, a type name...): fine for a header.
      }
    }
  }

  void include(const std::string& rest, const std::string& file, int line, int depth) {
    size_t a = rest.find_first_of("\"<");
    if (a == std::string::npos) fail(file, line, "#include needs a file name");
    char close = rest[a] == '"' ? '"' : '>';
    size_t b = rest.find(close, a + 1);
    if (b == std::string::npos) fail(file, line, "#include file name not closed");
    std::string name = rest.substr(a + 1, b - a - 1);
    std::string content;
    if (includes_ && includes_(name, content)) {
      if (active_.count(name)) fail(file, line, "#include of '" + name + "' includes itself");
      active_.insert(name);
      run(name, content, depth + 1);
      active_.erase(name);
      return;
    }
    if (isSystemHeader(name)) return;  // its symbols are built in
    fail(file, line, "cannot open include file '" + name + "'");
  }

  // Expands object-like macros; a macro is not expanded inside its own expansion.
  void expand(const std::vector<Token>& in, std::vector<Token>& out, int depth) {
    for (const Token& t : in) {
      if (t.kind == Token::Ident) {
        auto it = macros_.find(t.text);
        if (it != macros_.end() && !expanding_.count(t.text)) {
          if (it->second.functionLike) fail(t, "macro '" + t.text + "' takes arguments, which resource scripts do not support");
          if (depth > 64) fail(t, "macro '" + t.text + "' expands too deeply");
          expanding_.insert(t.text);
          std::vector<Token> body = it->second.body;
          for (Token& b : body) {
            b.file = t.file;
            b.line = t.line;
          }
          expand(body, out, depth + 1);
          expanding_.erase(t.text);
          continue;
        }
      }
      out.push_back(t);
    }
  }

  long evaluate(const std::string& rest, const std::string& file, int line) {
    std::vector<Token> raw;
    tokenizeLine(rest, file, line, raw);
    // Resolve defined(X) / defined X before expansion.
    std::vector<Token> resolved;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i].kind == Token::Ident && raw[i].text == "defined") {
        size_t k = i + 1;
        bool paren = k < raw.size() && raw[k].text == "(";
        if (paren) ++k;
        if (k >= raw.size() || raw[k].kind != Token::Ident) fail(file, line, "defined needs a name");
        Token v;
        v.kind = Token::Number;
        v.value = macros_.count(raw[k].text) ? 1 : 0;
        v.file = file;
        v.line = line;
        if (paren) {
          ++k;
          if (k >= raw.size() || raw[k].text != ")") fail(file, line, "')' expected after defined(name");
        }
        resolved.push_back(v);
        i = k;
        continue;
      }
      resolved.push_back(raw[i]);
    }
    std::vector<Token> expanded;
    expand(resolved, expanded, 0);
    // Names left after expansion count as 0, as in C.
    for (Token& t : expanded) {
      if (t.kind == Token::Ident) {
        t.kind = Token::Number;
        t.value = 0;
      }
    }
    size_t k = 0;
    long v = evalExpr(expanded, k, file, line);
    if (k != expanded.size()) fail(file, line, "unexpected '" + expanded[k].text + "' in #if expression");
    return v;
  }

  // C expression evaluation for #if and #define values (precedence climbing).
  static int precedence(const std::string& op) {
    static const std::map<std::string, int> p = {{"||", 1}, {"&&", 2}, {"|", 3}, {"^", 4}, {"&", 5},
                                                 {"==", 6}, {"!=", 6}, {"<", 7}, {">", 7}, {"<=", 7},
                                                 {">=", 7}, {"<<", 8}, {">>", 8}, {"+", 9}, {"-", 9},
                                                 {"*", 10}, {"/", 10}, {"%", 10}};
    auto it = p.find(op);
    return it == p.end() ? -1 : it->second;
  }

  long evalExpr(const std::vector<Token>& t, size_t& k, const std::string& file, int line, int minPrec = 1) {
    long lhs = evalUnary(t, k, file, line);
    for (;;) {
      if (k >= t.size() || t[k].kind != Token::Punct) break;
      if (t[k].text == "?" && minPrec <= 0) break;
      if (t[k].text == "?") {
        ++k;
        long a = evalExpr(t, k, file, line);
        if (k >= t.size() || t[k].text != ":") fail(file, line, "':' expected in conditional expression");
        ++k;
        long b = evalExpr(t, k, file, line);
        lhs = lhs ? a : b;
        continue;
      }
      int p = precedence(t[k].text);
      if (p < minPrec) break;
      std::string op = t[k++].text;
      long rhs = evalExpr(t, k, file, line, p + 1);
      if (op == "||") lhs = lhs || rhs;
      else if (op == "&&") lhs = lhs && rhs;
      else if (op == "|") lhs |= rhs;
      else if (op == "^") lhs ^= rhs;
      else if (op == "&") lhs &= rhs;
      else if (op == "==") lhs = lhs == rhs;
      else if (op == "!=") lhs = lhs != rhs;
      else if (op == "<") lhs = lhs < rhs;
      else if (op == ">") lhs = lhs > rhs;
      else if (op == "<=") lhs = lhs <= rhs;
      else if (op == ">=") lhs = lhs >= rhs;
      else if (op == "<<") lhs = static_cast<long>(static_cast<unsigned long>(lhs) << (rhs & 63));
      else if (op == ">>") lhs >>= (rhs & 63);
      else if (op == "+") lhs += rhs;
      else if (op == "-") lhs -= rhs;
      else if (op == "*") lhs *= rhs;
      else if (op == "/" || op == "%") {
        if (rhs == 0) fail(file, line, "division by zero in expression");
        lhs = op == "/" ? lhs / rhs : lhs % rhs;
      }
    }
    return lhs;
  }

  long evalUnary(const std::vector<Token>& t, size_t& k, const std::string& file, int line) {
    if (k >= t.size()) fail(file, line, "expression expected");
    const Token& tok = t[k];
    if (tok.kind == Token::Number) {
      ++k;
      return tok.value;
    }
    if (tok.kind == Token::Punct) {
      ++k;
      if (tok.text == "-") return -evalUnary(t, k, file, line);
      if (tok.text == "+") return evalUnary(t, k, file, line);
      if (tok.text == "~") return ~evalUnary(t, k, file, line);
      if (tok.text == "!") return !evalUnary(t, k, file, line);
      if (tok.text == "(") {
        long v = evalExpr(t, k, file, line);
        if (k >= t.size() || t[k].text != ")") fail(file, line, "')' expected");
        ++k;
        return v;
      }
    }
    fail(file, line, "unexpected '" + tok.text + "' in expression");
  }

  const RcIncludeResolver& includes_;
  std::map<std::string, Macro> macros_;
  std::set<std::string> expanding_;
  std::set<std::string> active_;
  std::set<std::string> userDefines_;
  PreprocessResult out_;
};

}  // namespace

PreprocessResult preprocess(const std::string& fileName, const std::string& text,
                            const RcIncludeResolver& includes) {
  Preprocessor p(includes);
  p.run(fileName, text, 0);
  return p.take(fileName);
}

}  // namespace rc
}  // namespace pf
