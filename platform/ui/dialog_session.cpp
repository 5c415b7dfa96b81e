// dialog_session.cpp - a running modal dialog as its driver sees it: the controls with their
// state, and the user actions (type, tick, select, spin, click, OK, Cancel) performed through
// the window system so that the dialog's own code reacts as it would to a real user. Also the
// modal hand-over to the chosen driver, and cancelling a dialog the driver left open.
#include <algorithm>
#include <cctype>
#include <sstream>

#include "pf/dialogs.h"
#include "window_system.h"

namespace pf {
namespace ui {
namespace {

std::shared_ptr<DialogDriver>& currentDriver() {
  static std::shared_ptr<DialogDriver> d;
  return d;
}

DialogActionResult refused(const std::string& why) { return DialogActionResult{false, why}; }
DialogActionResult done() { return DialogActionResult{true, std::string()}; }

std::string quoteIfNeeded(const std::string& s) { return s; }

class Session : public DialogSession {
 public:
  explicit Session(HWND dlg) : dlg_(dlg) {}

  UINT templateId() const override {
    Window* w = findWindowNoOops(dlg_);
    return w ? static_cast<UINT>(w->userData) : 0;
  }
  std::string caption() const override {
    Window* w = findWindowNoOops(dlg_);
    return w ? w->text : std::string();
  }
  HWND hwnd() const override { return dlg_; }
  bool running() const override {
    Window* w = findWindowNoOops(dlg_);
    return w && w->dialogRunning;
  }
  int result() const override {
    Window* w = findWindowNoOops(dlg_);
    return w ? static_cast<int>(w->dialogResult) : IDCANCEL;
  }

  std::vector<WindowInfo> controls() const override {
    std::vector<WindowInfo> out;
    for (HWND c : childWindows(dlg_)) out.push_back(windowInfo(c));
    return out;
  }
  WindowInfo control(int id) const override { return windowInfo(GetDlgItem(dlg_, id)); }
  int focusId() const override {
    HWND f = focus();
    Window* w = findWindowNoOops(f);
    return (w && w->child && w->parent == dlg_) ? w->id : 0;
  }

  DialogActionResult setText(int id, const std::string& text) override {
    echo("@text " + std::to_string(id) + " " + text);
    Window* w = nullptr;
    if (auto r = usable(id, w); !r.ok) return r;
    if (w->kind != Kind::Edit && w->kind != Kind::ComboBox) return refused(describeControl(id, *w) + " is not an edit field");
    if (w->kind == Kind::Edit && (w->style & ES_READONLY)) return refused(describeControl(id, *w) + " is read-only");
    std::string value = text;
    if (w->kind == Kind::Edit) {
      if (w->style & ES_NUMBER) {
        for (char c : value)
          if (!std::isdigit(static_cast<unsigned char>(c))) return refused("edit " + std::to_string(id) + " takes digits only");
      }
      if (w->style & ES_UPPERCASE)
        for (char& c : value) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (w->style & ES_LOWERCASE)
        for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (static_cast<int>(value.size()) > w->limit) {
        value.resize(static_cast<size_t>(w->limit));
        notifyParent(w->hwnd, EN_MAXTEXT);
      }
    }
    HWND h = w->hwnd;
    setFocus(h);  // the user clicks into the field before typing
    if (!findWindowNoOops(h)) return done();
    if (Window* e = findWindowNoOops(h); e && e->kind == Kind::ComboBox) {
      e->text = value;
      e->curSel = -1;
      notifyParent(h, CBN_EDITCHANGE);
    } else {
      SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
      if (Window* e2 = findWindowNoOops(h)) e2->modified = true;
    }
    return done();
  }

  DialogActionResult check(int id, bool on) override {
    echo("@check " + std::to_string(id) + (on ? " on" : " off"));
    Window* w = nullptr;
    if (auto r = usable(id, w); !r.ok) return r;
    DWORD type = w->style & BS_TYPEMASK;
    bool checkable = w->kind == Kind::Button &&
                     (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
                      type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
    if (!checkable) return refused(describeControl(id, *w) + " is not a check box");
    if ((w->check == BST_CHECKED) == on) return done();  // already so: the user does not click
    HWND h = w->hwnd;
    setFocus(h);
    if (!findWindowNoOops(h)) return done();
    if (type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON) {
      buttonClick(h);
    } else if (type == BS_AUTO3STATE) {
      // Click until the box shows the wanted state.
      for (int i = 0; i < 3; ++i) {
        Window* b = findWindowNoOops(h);
        if (!b || (b->check == BST_CHECKED) == on) break;
        buttonClick(h);
      }
    } else {
      // A plain check box only notifies; its owner sets the mark. Set it, as the user means.
      w->check = on ? BST_CHECKED : BST_UNCHECKED;
      notifyParent(h, BN_CLICKED);
    }
    return done();
  }

  DialogActionResult select(int id, const std::string& entry) override {
    echo("@select " + std::to_string(id) + " " + entry);
    Window* w = nullptr;
    if (auto r = usable(id, w); !r.ok) return r;
    if (w->kind != Kind::ListBox && w->kind != Kind::ComboBox) return refused(describeControl(id, *w) + " is not a list");
    bool list = w->kind == Kind::ListBox;
    HWND h = w->hwnd;
    LRESULT index = SendMessageA(h, list ? LB_FINDSTRINGEXACT : CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(entry.c_str()));
    if (index < 0) return refused("list " + std::to_string(id) + " has no entry \"" + entry + "\"");
    setFocus(h);
    if (!findWindowNoOops(h)) return done();
    int before = findWindowNoOops(h)->curSel;
    SendMessageA(h, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Window* after = findWindowNoOops(h);
    if (after && before != after->curSel) {
      if (!list) notifyParent(h, CBN_SELCHANGE);
      else if (after->style & LBS_NOTIFY) notifyParent(h, LBN_SELCHANGE);
    }
    return done();
  }

  DialogActionResult spin(int id, bool up) override {
    echo("@spin " + std::to_string(id) + (up ? " up" : " down"));
    Window* w = nullptr;
    if (auto r = usable(id, w); !r.ok) return r;
    if (w->kind != Kind::UpDown) return refused(describeControl(id, *w) + " is not a spin control");
    spinPress(w->hwnd, up);
    return done();
  }

  DialogActionResult click(int id) override {
    echo("@click " + std::to_string(id));
    return press(id);
  }

  DialogActionResult ok() override {
    echo("@ok");
    if (!running()) return refused("the dialog has ended");
    // Enter: the default button (OK unless the dialog chose another).
    Window* d = findWindowNoOops(dlg_);
    int def = d ? d->defId : IDOK;
    HWND button = GetDlgItem(dlg_, def);
    if (button && !IsWindowEnabled(button)) return refused("button " + std::to_string(def) + " is disabled");
    send(dlg_, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(def), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return done();
  }

  DialogActionResult cancel() override {
    echo("@cancel");
    if (!running()) return refused("the dialog has ended");
    // Esc works as the Cancel button, as long as that button (if any) is enabled.
    HWND button = GetDlgItem(dlg_, IDCANCEL);
    if (button && !IsWindowEnabled(button)) return refused("button 2 (Cancel) is disabled");
    send(dlg_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return done();
  }

  DialogActionResult perform(const std::string& rawLine) override {
    std::string line = rawLine;
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return refused("empty dialog action");
    line = line.substr(start);
    if (line[0] == '@') line = line.substr(1);
    // Only the line end goes: blanks after the value belong to a @text value.
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    std::istringstream in(line);
    std::string verb;
    in >> verb;
    std::transform(verb.begin(), verb.end(), verb.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (verb == "ok") return ok();
    if (verb == "cancel") return cancel();
    std::string idText;
    in >> idText;
    char* end = nullptr;
    long id = std::strtol(idText.c_str(), &end, 10);
    bool idOk = !idText.empty() && *end == '\0';
    // The rest of the line after the id, as written (texts may hold blanks).
    std::string rest;
    size_t afterId = line.find(idText, verb.size()) + idText.size();
    if (idOk && afterId < line.size()) {
      rest = line.substr(afterId);
      size_t s = rest.find_first_of(" \t");
      rest = s == 0 ? rest.substr(1) : rest;
    }
    auto lowerRest = [&]() {
      std::string r = rest;
      r.erase(0, r.find_first_not_of(" \t"));
      while (!r.empty() && (r.back() == ' ' || r.back() == '\t')) r.pop_back();
      std::transform(r.begin(), r.end(), r.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      return r;
    };
    if (verb == "text" || verb == "select" || verb == "check" || verb == "spin" || verb == "click") {
      if (!idOk) return warnRefused(rawLine, "a control id is expected after @" + verb);
    }
    if (verb == "text") return setText(static_cast<int>(id), rest);
    if (verb == "select") {
      std::string entry = rest;
      entry.erase(0, entry.find_first_not_of(" \t"));
      while (!entry.empty() && (entry.back() == ' ' || entry.back() == '\t')) entry.pop_back();
      return select(static_cast<int>(id), entry);
    }
    if (verb == "check") {
      std::string v = lowerRest();
      if (v != "on" && v != "off") return warnRefused(rawLine, "@check takes on or off");
      return check(static_cast<int>(id), v == "on");
    }
    if (verb == "spin") {
      std::string v = lowerRest();
      if (v != "up" && v != "down") return warnRefused(rawLine, "@spin takes up or down");
      return spin(static_cast<int>(id), v == "up");
    }
    if (verb == "click") return click(static_cast<int>(id));
    return warnRefused(rawLine, "unknown dialog action '@" + verb + "'");
  }

  std::string describe() const override {
    std::ostringstream s;
    s << "Dialog " << templateId() << " \"" << caption() << "\"" << (running() ? "" : " (ended)") << "\n";
    for (const WindowInfo& c : controls()) {
      s << (c.focused ? "> " : "  ");
      if (c.id == -1 || c.id == 0xFFFF) s << "     ";
      else {
        std::string id = std::to_string(c.id);
        s << std::string(id.size() < 5 ? 5 - id.size() : 0, ' ') << id;
      }
      s << "  " << c.kind;
      s << std::string(c.kind.size() < 14 ? 14 - c.kind.size() : 1, ' ');
      if (c.kind == "check box" || c.kind == "radio button" || c.kind == "3-state box") {
        s << (c.check == BST_CHECKED ? "[x] " : c.check == BST_INDETERMINATE ? "[-] " : "[ ] ") << c.text;
      } else if (c.kind == "edit") {
        s << "[" << c.text << "]";
      } else if (c.kind == "list box" || c.kind == "combo box") {
        if (c.kind == "combo box") s << "[" << c.text << "] ";
        for (size_t i = 0; i < c.items.size(); ++i) {
          if (i) s << " | ";
          bool sel = static_cast<int>(i) == c.selection;
          s << (sel ? "<" : "") << c.items[i] << (sel ? ">" : "");
        }
        if (c.items.empty()) s << "(empty)";
      } else if (c.kind == "spin") {
        s << c.spinLower << ".." << c.spinUpper;
        Window* b = findWindowNoOops(c.buddy);
        if (b) s << " (buddy " << b->id << ")";
      } else {
        s << c.text;
      }
      if (!c.enabled) s << "  (disabled)";
      if (!c.visible) s << "  (hidden)";
      s << "\n";
    }
    return s.str();
  }

  void setEcho(bool e) override { echo_ = e; }

 private:
  void echo(const std::string& line) {
    if (echo_) uiPrint(quoteIfNeeded(line));
  }

  DialogActionResult warnRefused(const std::string& line, const std::string& why) {
    (void)line;
    return refused(why);
  }

  static std::string describeControl(int id, const Window& w) { return kindName(w) + " " + std::to_string(id); }

  // The control exists, is visible and enabled, and the dialog still runs.
  DialogActionResult usable(int id, Window*& w) {
    if (!running()) return refused("the dialog has ended");
    HWND h = GetDlgItem(dlg_, id);
    w = findWindowNoOops(h);
    if (!w) return refused("the dialog has no control " + std::to_string(id));
    if (!(w->style & WS_VISIBLE)) return refused(describeControl(id, *w) + " is hidden");
    if (w->style & WS_DISABLED) return refused(describeControl(id, *w) + " is disabled");
    return done();
  }

  DialogActionResult press(int id) {
    Window* w = nullptr;
    if (auto r = usable(id, w); !r.ok) return r;
    if (w->kind != Kind::Button) return refused(describeControl(id, *w) + " is not a button");
    HWND h = w->hwnd;
    if ((w->style & BS_TYPEMASK) != BS_GROUPBOX) setFocus(h);
    if (findWindowNoOops(h)) SendMessageA(h, BM_CLICK, 0, 0);
    return done();
  }

  HWND dlg_;
  bool echo_ = true;
};

}  // namespace

void runDialogDriver(HWND dialog) {
  Session session(dialog);
  std::shared_ptr<DialogDriver> driver = currentDriver();
  if (driver) driver->run(session);
  if (session.running()) {
    uiPrint("*** Dialog " + std::to_string(session.templateId()) + " \"" + session.caption() +
            "\": no more answers, cancelled");
    session.setEcho(false);
    session.cancel();
    // A dialog that refuses to be cancelled is ended all the same: nobody is left to answer it.
    if (session.running()) EndDialog(dialog, IDCANCEL);
  }
}

}  // namespace ui

std::shared_ptr<DialogDriver> setDialogDriver(std::shared_ptr<DialogDriver> driver) {
  std::shared_ptr<DialogDriver> previous = ui::currentDriver();
  ui::currentDriver() = std::move(driver);
  return previous;
}

std::shared_ptr<DialogDriver> dialogDriver() { return ui::currentDriver(); }

}  // namespace pf
