// rc_parser.cpp - the statements of a resource script: STRINGTABLE and DIALOG/DIALOGEX with
// their controls (styles computed as the Windows resource compiler computes them), and the
// other resource kinds skipped over. Errors carry the file and line of the offending token.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

#include "commctrl.h"
#include "rc_tokens.h"
#include "windows.h"

namespace pf {

std::string RcError::toString() const {
  std::ostringstream s;
  s << (file.empty() ? "<resource script>" : file) << ":" << line << ": error: " << message;
  return s.str();
}

const RcControl* RcDialog::findControlNoOops(int controlId) const {
  for (const RcControl& c : controls)
    if (c.id == controlId) return &c;
  return nullptr;
}

const std::string* ResourceScript::findStringNoOops(UINT id) const {
  auto it = strings.find(id);
  return it == strings.end() ? nullptr : &it->second;
}

const RcDialog* ResourceScript::findDialogNoOops(UINT id) const {
  for (const RcDialog& d : dialogs)
    if (d.name.empty() && static_cast<UINT>(d.id) == id) return &d;
  return nullptr;
}

namespace rc {
namespace {

std::string upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

// What a control statement makes: its window class, default style (WS_CHILD | WS_VISIBLE are
// added to every control) and the shape of its arguments.
struct ControlKind {
  const char* statement;
  const char* className;
  DWORD defaultStyle;
  bool hasText;       // text, id, x, y, w, h [, style [, exstyle]]
};

const ControlKind kControlKinds[] = {
    {"LTEXT", "Static", SS_LEFT | WS_GROUP, true},
    {"RTEXT", "Static", SS_RIGHT | WS_GROUP, true},
    {"CTEXT", "Static", SS_CENTER | WS_GROUP, true},
    {"PUSHBUTTON", "Button", BS_PUSHBUTTON | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", "Button", BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {"PUSHBOX", "Button", BS_PUSHBOX | WS_TABSTOP, true},
    {"CHECKBOX", "Button", BS_CHECKBOX | WS_TABSTOP, true},
    {"AUTOCHECKBOX", "Button", BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {"STATE3", "Button", BS_3STATE | WS_TABSTOP, true},
    {"AUTO3STATE", "Button", BS_AUTO3STATE | WS_TABSTOP, true},
    {"RADIOBUTTON", "Button", BS_RADIOBUTTON, true},
    {"AUTORADIOBUTTON", "Button", BS_AUTORADIOBUTTON, true},
    {"GROUPBOX", "Button", BS_GROUPBOX, true},
    {"ICON", "Static", SS_ICON, true},
    {"EDITTEXT", "Edit", ES_LEFT | WS_BORDER | WS_TABSTOP, false},
    {"LISTBOX", "ListBox", LBS_NOTIFY | WS_BORDER, false},
    {"COMBOBOX", "ComboBox", CBS_SIMPLE | WS_TABSTOP, false},
    {"SCROLLBAR", "ScrollBar", SBS_HORZ, false},
};

const ControlKind* findControlKind(const std::string& word) {
  for (const ControlKind& k : kControlKinds)
    if (word == k.statement) return &k;
  return nullptr;
}

// Class keywords a CONTROL statement may use instead of a class name string.
std::string classKeyword(const std::string& word) {
  static const std::map<std::string, std::string> names = {{"BUTTON", "Button"},     {"EDIT", "Edit"},
                                                           {"STATIC", "Static"},     {"LISTBOX", "ListBox"},
                                                           {"COMBOBOX", "ComboBox"}, {"SCROLLBAR", "ScrollBar"}};
  auto it = names.find(upper(word));
  return it == names.end() ? std::string() : it->second;
}

bool isMemoryOption(const std::string& w) {
  static const std::set<std::string> opts = {"DISCARDABLE", "MOVEABLE", "PURE",   "PRELOAD",   "LOADONCALL",
                                             "FIXED",       "IMPURE",   "SHARED", "NONSHARED"};
  return opts.count(w) != 0;
}

class Parser {
 public:
  Parser(const std::string& file, PreprocessResult pre, ResourceScript& out)
      : file_(file), toks_(std::move(pre.tokens)), out_(out) {
    out_.symbols = std::move(pre.symbols);
  }

  void run() {
    out_.fileName = file_;
    while (peek().kind != Token::End) {
      const Token& t = peek();
      if (t.kind == Token::Ident && t.text == "LANGUAGE") {
        next();
        number();
        expect(",");
        number();
        continue;
      }
      if (t.kind == Token::Ident && t.text == "STRINGTABLE") {
        next();
        stringTable(t);
        continue;
      }
      resource();
    }
  }

 private:
  const Token& peek(size_t ahead = 0) const {
    size_t i = std::min(pos_ + ahead, toks_.size() - 1);
    return toks_[i];
  }
  const Token& next() {
    const Token& t = toks_[pos_];
    if (t.kind != Token::End) ++pos_;
    return t;
  }
  static std::string describe(const Token& t) {
    switch (t.kind) {
      case Token::End: return "end of file";
      case Token::String: return "string \"" + t.text + "\"";
      default: return "'" + t.text + "'";
    }
  }
  bool accept(const char* punct) {
    if (peek().kind == Token::Punct && peek().text == punct) {
      next();
      return true;
    }
    return false;
  }
  void expect(const char* punct, const char* what = nullptr) {
    if (!accept(punct))
      fail(peek(), std::string("expected '") + punct + "'" + (what ? std::string(" ") + what : "") + ", found " +
                       describe(peek()));
  }
  bool isBegin(const Token& t) const {
    return (t.kind == Token::Ident && t.text == "BEGIN") || (t.kind == Token::Punct && t.text == "{");
  }
  bool isEnd(const Token& t) const {
    return (t.kind == Token::Ident && t.text == "END") || (t.kind == Token::Punct && t.text == "}");
  }
  void expectBegin(const char* what) {
    if (!isBegin(peek())) fail(peek(), std::string("expected BEGIN of ") + what + ", found " + describe(peek()));
    next();
  }

  // Numeric expressions: + - * / & | ~ and parentheses, the way resource scripts use them.
  long number() { return binary(0); }
  long binary(int level) {
    static const std::vector<std::vector<std::string>> levels = {{"|"}, {"&"}, {"+", "-"}, {"*", "/"}};
    if (level >= static_cast<int>(levels.size())) return unary();
    long v = binary(level + 1);
    for (;;) {
      const Token& t = peek();
      if (t.kind != Token::Punct) return v;
      const auto& ops = levels[level];
      if (std::find(ops.begin(), ops.end(), t.text) == ops.end()) return v;
      std::string op = next().text;
      const Token& at = peek();
      long r = binary(level + 1);
      if (op == "|") v |= r;
      else if (op == "&") v &= r;
      else if (op == "+") v += r;
      else if (op == "-") v -= r;
      else if (op == "*") v *= r;
      else {
        if (r == 0) fail(at, "division by zero");
        v /= r;
      }
    }
  }
  long unary() {
    const Token& t = peek();
    if (t.kind == Token::Number) return next().value;
    if (t.kind == Token::Punct) {
      if (t.text == "-") { next(); return -unary(); }
      if (t.text == "+") { next(); return unary(); }
      if (t.text == "~") { next(); return ~unary(); }
      if (t.text == "(") {
        next();
        long v = number();
        expect(")");
        return v;
      }
    }
    if (t.kind == Token::Ident && t.text == "NOT") {
      next();
      return ~unary();
    }
    if (t.kind == Token::Ident) fail(t, "undefined symbol '" + t.text + "'");
    fail(t, "expected a number, found " + describe(t));
  }

  // A style: terms joined by '|', each "NOT term" clearing bits of what came before (the
  // defaults included), every other term setting its bits.
  DWORD style(DWORD base) {
    long v = static_cast<long>(base);
    for (;;) {
      bool negate = false;
      if (peek().kind == Token::Ident && peek().text == "NOT") {
        next();
        negate = true;
      }
      long term = binary(1);  // a term may use & + - * / but '|' separates terms
      v = negate ? (v & ~term) : (v | term);
      if (!accept("|")) break;
    }
    return static_cast<DWORD>(v);
  }

  std::string string(const char* what) {
    const Token& t = peek();
    if (t.kind != Token::String) fail(t, std::string("expected ") + what + " (a string), found " + describe(t));
    std::string s = next().text;
    while (peek().kind == Token::String) s += next().text;  // adjacent literals join
    return s;
  }

  void stringTable(const Token start) {
    while (peek().kind == Token::Ident && !isBegin(peek())) {
      const Token& w = next();
      if (isMemoryOption(w.text)) continue;
      if (w.text == "LANGUAGE") { number(); expect(","); number(); continue; }
      if (w.text == "CHARACTERISTICS" || w.text == "VERSION") { number(); continue; }
      fail(w, "unexpected " + describe(w) + " in STRINGTABLE header");
    }
    expectBegin("STRINGTABLE");
    for (;;) {
      const Token& t = peek();
      if (isEnd(t)) {
        next();
        return;
      }
      if (t.kind == Token::End) fail(start, "STRINGTABLE has no END");
      if (t.kind == Token::Ident && !isEnd(t)) fail(t, "undefined string id '" + t.text + "'");
      const Token at = t;
      long id = number();
      if (id < 0 || id > 0xFFFF) fail(at, "string id " + std::to_string(id) + " is out of range 0..65535");
      accept(",");
      std::string text = string("the string's text");
      if (out_.strings.count(static_cast<UINT>(id)))
        fail(at, "string id " + std::to_string(id) + " is defined twice");
      out_.strings[static_cast<UINT>(id)] = text;
    }
  }

  // name TYPE ...: dialogs are read, everything else is skipped.
  void resource() {
    const Token nameTok = peek();
    RcDialog d;
    d.file = nameTok.file;
    d.line = nameTok.line;
    if (nameTok.kind == Token::Ident && peek(1).kind == Token::Ident) {
      d.name = next().text;  // a name that is not #defined names the resource by string
    } else if (nameTok.kind == Token::String) {
      d.name = next().text;
    } else if (nameTok.kind == Token::Number || nameTok.kind == Token::Punct) {
      d.id = static_cast<int>(number());
    } else {
      fail(nameTok, "expected a resource statement, found " + describe(nameTok));
    }
    const Token typeTok = peek();
    if (typeTok.kind != Token::Ident)
      fail(typeTok, "expected a resource type after the resource name, found " + describe(typeTok));
    next();
    if (typeTok.text == "DIALOG" || typeTok.text == "DIALOGEX") {
      d.extended = typeTok.text == "DIALOGEX";
      dialog(d);
      for (const RcDialog& other : out_.dialogs) {
        if (other.id == d.id && other.name == d.name)
          fail(nameTok, "dialog " + (d.name.empty() ? std::to_string(d.id) : d.name) +
                            " is defined twice (first at line " + std::to_string(other.line) + ")");
      }
      out_.dialogs.push_back(std::move(d));
      return;
    }
    skipResource(typeTok);
  }

  void skipResource(const Token& typeTok) {
    bool sawFile = false;
    for (;;) {
      const Token& t = peek();
      if (t.kind == Token::End) {
        if (sawFile) return;
        fail(t, typeTok.text + " resource at line " + std::to_string(typeTok.line) + " has no body");
      }
      if (isBegin(t)) {
        skipBlock();
        return;
      }
      if (sawFile && t.line != typeTok.line) return;
      if (t.kind == Token::String && t.line == typeTok.line) sawFile = true;
      next();
    }
  }

  void skipBlock() {
    const Token start = next();
    int depth = 1;
    while (depth > 0) {
      const Token& t = next();
      if (t.kind == Token::End) fail(start, "BEGIN without END");
      if (isBegin(t)) ++depth;
      if (isEnd(t)) --depth;
    }
  }

  void dialog(RcDialog& d) {
    while (peek().kind == Token::Ident && isMemoryOption(peek().text)) next();
    d.x = static_cast<int>(number());
    expect(",", "after the dialog's x");
    d.y = static_cast<int>(number());
    expect(",", "after the dialog's y");
    d.width = static_cast<int>(number());
    expect(",", "after the dialog's width");
    d.height = static_cast<int>(number());
    if (d.extended && accept(",")) number();  // help id

    bool hasStyle = false;
    DWORD st = WS_POPUP | WS_BORDER | WS_SYSMENU;
    while (!isBegin(peek())) {
      const Token& w = peek();
      if (w.kind != Token::Ident) fail(w, "expected a dialog statement or BEGIN, found " + describe(w));
      next();
      if (w.text == "STYLE") {
        st = style(0);
        hasStyle = true;
      } else if (w.text == "EXSTYLE") {
        d.exStyle = style(0);
      } else if (w.text == "CAPTION") {
        d.caption = string("the caption");
      } else if (w.text == "FONT") {
        d.fontSize = static_cast<int>(number());
        expect(",", "after the font size");
        d.fontName = string("the font name");
        if (accept(",")) {
          d.fontWeight = static_cast<int>(number());
          if (accept(",")) {
            d.fontItalic = number() != 0;
            if (accept(",")) number();  // character set
          }
        }
      } else if (w.text == "MENU") {
        const Token& m = next();
        d.menu = m.text;
      } else if (w.text == "CLASS") {
        const Token& c = next();
        d.windowClass = c.text;
      } else if (w.text == "LANGUAGE") {
        number();
        expect(",");
        number();
      } else if (w.text == "CHARACTERISTICS" || w.text == "VERSION") {
        number();
      } else {
        fail(w, "unknown dialog statement '" + w.text + "'");
      }
    }
    (void)hasStyle;
    if (!d.caption.empty()) st |= WS_CAPTION;
    if (d.fontSize != 0) st |= DS_SETFONT;
    d.style = st;

    const Token begin = peek();
    expectBegin("the dialog's controls");
    for (;;) {
      const Token& t = peek();
      if (isEnd(t)) {
        next();
        return;
      }
      if (t.kind == Token::End)
        fail(begin, "dialog " + (d.name.empty() ? std::to_string(d.id) : d.name) + ": BEGIN without END");
      d.controls.push_back(control(d.extended));
    }
  }

  int controlId() {
    const Token& t = peek();
    if (t.kind == Token::Ident) fail(t, "undefined control id '" + t.text + "'");
    long id = number();
    // Ids are 16-bit in a template; 0xFFFF is the same as -1 (no id).
    if (id == 0xFFFF) id = -1;
    if (id < -1 || id > 0xFFFF) fail(t, "control id " + std::to_string(id) + " is out of range");
    return static_cast<int>(id);
  }

  RcControl control(bool extended) {
    const Token stmt = next();
    if (stmt.kind != Token::Ident) fail(stmt, "expected a control statement, found " + describe(stmt));
    RcControl c;
    c.statement = stmt.text;
    c.line = stmt.line;
    const DWORD base = WS_CHILD | WS_VISIBLE;
    if (stmt.text == "CONTROL") {
      c.text = controlText();
      expect(",", "after the control text");
      c.id = controlId();
      expect(",", "after the control id");
      const Token& cls = peek();
      if (cls.kind == Token::String) {
        c.className = next().text;
      } else if (cls.kind == Token::Ident && !classKeyword(cls.text).empty()) {
        c.className = classKeyword(next().text);
      } else {
        fail(cls, "expected a window class name, found " + describe(cls));
      }
      std::string known = classKeyword(c.className);
      if (!known.empty()) c.className = known;
      expect(",", "after the class name");
      c.style = style(base);
      expect(",", "after the style");
      rectangle(c);
      if (accept(",")) c.exStyle = style(0);
    } else if (const ControlKind* kind = findControlKind(stmt.text)) {
      c.className = kind->className;
      if (kind->hasText) {
        c.text = controlText();
        expect(",", "after the control text");
      }
      c.id = controlId();
      expect(",", "after the control id");
      if (stmt.text == "ICON") {
        c.x = static_cast<int>(number());
        expect(",");
        c.y = static_cast<int>(number());
        if (accept(",")) {
          c.width = static_cast<int>(number());
          expect(",");
          c.height = static_cast<int>(number());
        }
      } else {
        rectangle(c);
      }
      c.style = base | kind->defaultStyle;
      if (accept(",")) {
        c.style = style(c.style);
        if (accept(",")) c.exStyle = style(0);
      }
    } else {
      fail(stmt, "unknown control statement '" + stmt.text + "'");
    }
    if (extended && accept(",")) number();  // help id
    if (extended && isBegin(peek())) skipBlock();  // control data
    return c;
  }

  std::string controlText() {
    const Token& t = peek();
    if (t.kind == Token::String) return string("the control text");
    if (t.kind == Token::Number || t.kind == Token::Ident) return next().text;  // ICON by name or id
    fail(t, "expected the control text, found " + describe(t));
  }

  void rectangle(RcControl& c) {
    c.x = static_cast<int>(number());
    expect(",", "after x");
    c.y = static_cast<int>(number());
    expect(",", "after y");
    c.width = static_cast<int>(number());
    expect(",", "after the width");
    c.height = static_cast<int>(number());
  }

  std::string file_;
  std::vector<Token> toks_;
  size_t pos_ = 0;
  ResourceScript& out_;
};

}  // namespace
}  // namespace rc

bool parseResourceScript(const std::string& fileName, const std::string& text, const RcIncludeResolver& includes,
                         ResourceScript& out, RcError& error) {
  out = ResourceScript();
  try {
    rc::Parser p(fileName, rc::preprocess(fileName, text, includes), out);
    p.run();
    return true;
  } catch (const rc::Failure& f) {
    error = f.error;
    out = ResourceScript();
    return false;
  }
}

namespace {
bool readFile(const std::string& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  content = s.str();
  return true;
}
}  // namespace

bool parseResourceFile(const std::string& path, ResourceScript& out, RcError& error) {
  std::string text;
  if (!readFile(path, text)) {
    error = RcError{path, 0, "cannot read the resource script"};
    return false;
  }
  size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  RcIncludeResolver resolver = [dir](const std::string& name, std::string& content) {
    std::string n = name;
    std::replace(n.begin(), n.end(), '\\', '/');
    if (!n.empty() && n[0] == '/') return readFile(n, content);
    return readFile(dir + n, content);
  };
  return parseResourceScript(path, text, resolver, out, error);
}

}  // namespace pf
