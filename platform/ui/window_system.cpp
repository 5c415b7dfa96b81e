// window_system.cpp - the table of live windows, creation and destruction, message sending,
// focus and tab order, and the host's main window.
#include "window_system.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

#include "pf/windows.h"

namespace pf {
namespace ui {
namespace {

struct Table {
  std::map<HWND, std::unique_ptr<Window>> windows;
  uintptr_t nextHandle = 0x10000;  // never reused
  HWND focus = nullptr;
};

Table& table() {
  static Table* t = new Table;  // lives until exit: windows may be touched by static destructors
  return *t;
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

Kind kindOfClass(const std::string& className) {
  std::string c = lower(className);
  if (c == "button") return Kind::Button;
  if (c == "edit") return Kind::Edit;
  if (c == "static") return Kind::Static;
  if (c == "listbox") return Kind::ListBox;
  if (c == "combobox") return Kind::ComboBox;
  if (c == "scrollbar") return Kind::ScrollBar;
  if (c == "msctls_updown32") return Kind::UpDown;
  if (c == "#32770") return Kind::Dialog;
  return Kind::Generic;
}

}  // namespace

Window* findWindowNoOops(HWND hwnd) {
  auto& w = table().windows;
  auto it = w.find(hwnd);
  return it == w.end() ? nullptr : it->second.get();
}

Window& windowOf(HWND hwnd) {
  Window* w = findWindowNoOops(hwnd);
  if (!w) throw std::logic_error("window handle does not name a window");
  return *w;
}

size_t windowTableSize() { return table().windows.size(); }

HWND createWindow(const std::string& className, const std::string& text, DWORD style, DWORD exStyle,
                  const RECT& rect, HWND parent, bool child, int id) {
  Table& t = table();
  auto w = std::make_unique<Window>();
  w->hwnd = reinterpret_cast<HWND>(t.nextHandle);
  t.nextHandle += 4;
  w->parent = parent;
  w->child = child;
  w->id = id;
  w->className = className;
  w->kind = kindOfClass(className);
  w->text = text;
  w->style = style;
  w->exStyle = exStyle;
  w->rect = rect;
  if (w->kind == Kind::ComboBox) w->text.clear();
  HWND h = w->hwnd;
  t.windows[h] = std::move(w);
  if (child && parent) {
    if (Window* p = findWindowNoOops(parent)) p->children.push_back(h);
  }
  return h;
}

void destroyWindow(HWND hwnd) {
  Window* w = findWindowNoOops(hwnd);
  if (!w) return;
  std::vector<HWND> kids = w->children;
  for (HWND k : kids) destroyWindow(k);
  // Windows owned by this one (a dialog over it) go too.
  std::vector<HWND> owned;
  for (auto& kv : table().windows)
    if (!kv.second->child && kv.second->parent == hwnd) owned.push_back(kv.first);
  for (HWND o : owned) destroyWindow(o);
  w = findWindowNoOops(hwnd);
  if (!w) return;
  if (w->hook) {
    WindowHook* hook = w->hook;
    w->hook = nullptr;
    hook->hookWindowDestroyed(hwnd);
  }
  if (table().focus == hwnd) table().focus = nullptr;
  if (w->child && w->parent) {
    if (Window* p = findWindowNoOops(w->parent)) {
      auto& c = p->children;
      c.erase(std::remove(c.begin(), c.end(), hwnd), c.end());
    }
  }
  for (auto& kv : table().windows)
    if (kv.second->udBuddy == hwnd) kv.second->udBuddy = nullptr;
  table().windows.erase(hwnd);
}

LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = findWindowNoOops(hwnd);
  if (!w) return 0;
  if (w->hook) return w->hook->hookMessage(hwnd, msg, wParam, lParam);
  return defaultProcedure(hwnd, msg, wParam, lParam);
}

void notifyParent(HWND control, int code) {
  Window* w = findWindowNoOops(control);
  if (!w || !w->child || !w->parent) return;
  send(w->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(w->id), static_cast<WORD>(code)),
       reinterpret_cast<LPARAM>(control));
}

HWND focus() { return table().focus; }

HWND setFocus(HWND hwnd) {
  Table& t = table();
  HWND previous = t.focus;
  if (hwnd && !findWindowNoOops(hwnd)) return nullptr;
  if (hwnd == previous) return previous;
  t.focus = hwnd;
  if (previous && findWindowNoOops(previous)) {
    send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    Window* p = findWindowNoOops(previous);
    if (p && p->kind == Kind::Edit) notifyParent(previous, EN_KILLFOCUS);
    if (p && p->kind == Kind::ListBox && (p->style & LBS_NOTIFY)) notifyParent(previous, LBN_KILLFOCUS);
  }
  if (hwnd && t.focus == hwnd) {
    send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    Window* n = findWindowNoOops(hwnd);
    if (n && n->kind == Kind::Edit) notifyParent(hwnd, EN_SETFOCUS);
    if (n && n->kind == Kind::ListBox && (n->style & LBS_NOTIFY)) notifyParent(hwnd, LBN_SETFOCUS);
  }
  return previous;
}

bool canTakeFocus(const Window& w) {
  if (w.style & WS_DISABLED) return false;
  if (!(w.style & WS_VISIBLE)) return false;
  if (w.kind == Kind::Static) return false;
  if (w.kind == Kind::Button && (w.style & BS_TYPEMASK) == BS_GROUPBOX) return false;
  return true;
}

HWND nextTabItem(HWND dialog, HWND from, bool previous) {
  Window* d = findWindowNoOops(dialog);
  if (!d || d->children.empty()) return nullptr;
  std::vector<HWND> order = d->children;
  if (previous) std::reverse(order.begin(), order.end());
  size_t start = 0;
  if (from) {
    auto it = std::find(order.begin(), order.end(), from);
    start = it == order.end() ? 0 : static_cast<size_t>(it - order.begin()) + 1;
  }
  for (size_t i = 0; i < order.size(); ++i) {
    HWND h = order[(start + i) % order.size()];
    Window* w = findWindowNoOops(h);
    if (w && (w->style & WS_TABSTOP) && canTakeFocus(*w)) return h;
  }
  return from;
}

HWND topLevelOf(HWND hwnd) {
  Window* w = findWindowNoOops(hwnd);
  while (w && w->child && w->parent) {
    Window* p = findWindowNoOops(w->parent);
    if (!p) break;
    w = p;
  }
  return w ? w->hwnd : nullptr;
}

std::string kindName(const Window& w) {
  switch (w.kind) {
    case Kind::Button:
      switch (w.style & BS_TYPEMASK) {
        case BS_DEFPUSHBUTTON: return "default button";
        case BS_CHECKBOX: case BS_AUTOCHECKBOX: return "check box";
        case BS_3STATE: case BS_AUTO3STATE: return "3-state box";
        case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON: return "radio button";
        case BS_GROUPBOX: return "group box";
        default: return "button";
      }
    case Kind::Edit: return "edit";
    case Kind::Static: return "text";
    case Kind::ListBox: return "list box";
    case Kind::ComboBox: return "combo box";
    case Kind::UpDown: return "spin";
    case Kind::ScrollBar: return "scroll bar";
    case Kind::Dialog: return "dialog";
    case Kind::Frame: return "frame";
    default: return "control";
  }
}

}  // namespace ui

// ---- pf/windows.h ---------------------------------------------------------------------------

namespace {
UiTextSink& sink() {
  static UiTextSink s;
  return s;
}
std::string& title() {
  static std::string t = "cadhost";
  return t;
}
}  // namespace

void setUiOutput(UiTextSink s) { sink() = std::move(s); }

void uiPrint(const std::string& text) {
  if (sink()) sink()(text);
}

void setApplicationTitle(const std::string& t) { title() = t; }
const std::string& applicationTitle() { return title(); }

HWND mainWindow() {
  static HWND main = nullptr;
  if (!main || !ui::findWindowNoOops(main)) {
    main = ui::createWindow("cadhost main window", title(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                            RECT{0, 0, 1024, 768}, nullptr, false, 0);
    ui::windowOf(main).kind = ui::Kind::Frame;
  }
  return main;
}

WindowInfo windowInfo(HWND hwnd) {
  WindowInfo info;
  ui::Window* w = ui::findWindowNoOops(hwnd);
  if (!w) return info;
  info.exists = true;
  info.hwnd = hwnd;
  info.parent = w->parent;
  info.id = w->id;
  info.className = w->className;
  info.kind = ui::kindName(*w);
  info.text = w->text;
  info.style = w->style;
  info.exStyle = w->exStyle;
  info.enabled = !(w->style & WS_DISABLED);
  info.visible = (w->style & WS_VISIBLE) != 0;
  info.focused = ui::focus() == hwnd;
  info.check = w->check;
  info.items = w->items;
  info.selection = w->curSel;
  info.spinLower = w->udLower;
  info.spinUpper = w->udUpper;
  info.spinPos = w->udPos;
  info.buddy = w->udBuddy;
  return info;
}

std::vector<HWND> childWindows(HWND parent) {
  ui::Window* w = ui::findWindowNoOops(parent);
  return w ? w->children : std::vector<HWND>();
}

size_t windowCount() { return ui::windowTableSize(); }

}  // namespace pf

extern "C" HWND adsw_acadMainWnd() { return pf::mainWindow(); }

extern "C" HWND adsw_acadDocWnd() {
  static HWND doc = nullptr;
  if (!doc || !pf::ui::findWindowNoOops(doc)) {
    doc = pf::ui::createWindow("cadhost drawing window", "Drawing", WS_CHILD | WS_VISIBLE, 0,
                               RECT{0, 0, 1024, 700}, pf::mainWindow(), true, 0);
  }
  return doc;
}
