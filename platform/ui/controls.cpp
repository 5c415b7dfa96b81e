// controls.cpp - what each window class does with its messages: text, enabling, dialogs
// (WM_NEXTDLGCTL, WM_CLOSE), buttons, edits, list and combo boxes, and up-down controls with
// their buddy. This is DefWindowProc, DefDlgProc and the control procedures in one place.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "window_system.h"

namespace pf {
namespace ui {
namespace {

LRESULT copyText(const std::string& s, WPARAM capacity, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (!out || capacity == 0) return 0;
  size_t n = std::min<size_t>(s.size(), capacity - 1);
  std::memcpy(out, s.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

// List order of a sorted list box: case-insensitive, as the Windows list compares by default.
int compareEntries(const std::string& a, const std::string& b) {
  int c = strcasecmp(a.c_str(), b.c_str());
  return c != 0 ? c : a.compare(b);
}

bool startsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && strncasecmp(s.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// LB_FINDSTRING/LB_FINDSTRINGEXACT: search starts after index 'after' and wraps around.
int findEntry(const Window& w, int after, const std::string& text, bool exact) {
  int n = static_cast<int>(w.items.size());
  if (n == 0) return -1;
  int start = (after < -1 || after >= n) ? 0 : after + 1;
  for (int i = 0; i < n; ++i) {
    int k = (start + i) % n;
    const std::string& e = w.items[static_cast<size_t>(k)];
    if (exact ? strcasecmp(e.c_str(), text.c_str()) == 0 : startsWithNoCase(e, text)) return k;
  }
  return -1;
}

int insertEntry(Window& w, int index, const std::string& text, bool sorted) {
  int n = static_cast<int>(w.items.size());
  if (sorted) {
    index = n;
    for (int i = 0; i < n; ++i) {
      if (compareEntries(text, w.items[static_cast<size_t>(i)]) < 0) {
        index = i;
        break;
      }
    }
  } else if (index < 0 || index > n) {
    if (index != -1) return -1;
    index = n;
  }
  w.items.insert(w.items.begin() + index, text);
  w.itemData.insert(w.itemData.begin() + index, 0);
  if (w.curSel >= index) ++w.curSel;
  return index;
}

int deleteEntry(Window& w, int index) {
  if (index < 0 || index >= static_cast<int>(w.items.size())) return -1;
  w.items.erase(w.items.begin() + index);
  w.itemData.erase(w.itemData.begin() + index);
  if (w.curSel == index) w.curSel = -1;
  else if (w.curSel > index) --w.curSel;
  return static_cast<int>(w.items.size());
}

LRESULT listBoxProcedure(Window& w, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  const char* text = reinterpret_cast<const char*>(lParam);
  int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  int n = static_cast<int>(w.items.size());
  switch (msg) {
    case LB_ADDSTRING:
      return insertEntry(w, -1, text ? text : "", (w.style & LBS_SORT) != 0);
    case LB_INSERTSTRING:
      return insertEntry(w, index, text ? text : "", false);
    case LB_DELETESTRING:
      return deleteEntry(w, index);
    case LB_RESETCONTENT:
      w.items.clear();
      w.itemData.clear();
      w.curSel = -1;
      return 0;
    case LB_GETCOUNT:
      return n;
    case LB_GETCURSEL:
      return w.curSel;
    case LB_SETCURSEL:
      if (index == -1) {
        w.curSel = -1;
        return LB_ERR;
      }
      if (index < 0 || index >= n) return LB_ERR;
      w.curSel = index;
      return index;
    case LB_GETSEL:
      if (index < 0 || index >= n) return LB_ERR;
      return w.curSel == index ? 1 : 0;
    case LB_SETSEL:
    case LB_GETSELCOUNT:
    case LB_GETSELITEMS:
      return LB_ERR;  // single-selection lists only
    case LB_GETTEXT:
      if (index < 0 || index >= n) return LB_ERR;
      if (text) std::strcpy(reinterpret_cast<char*>(lParam), w.items[static_cast<size_t>(index)].c_str());
      return static_cast<LRESULT>(w.items[static_cast<size_t>(index)].size());
    case LB_GETTEXTLEN:
      if (index < 0 || index >= n) return LB_ERR;
      return static_cast<LRESULT>(w.items[static_cast<size_t>(index)].size());
    case LB_FINDSTRING:
      return findEntry(w, index, text ? text : "", false);
    case LB_FINDSTRINGEXACT:
      return findEntry(w, index, text ? text : "", true);
    case LB_SELECTSTRING: {
      int k = findEntry(w, index, text ? text : "", false);
      if (k >= 0) w.curSel = k;
      return k;
    }
    case LB_GETITEMDATA:
      if (index < 0 || index >= n) return LB_ERR;
      return w.itemData[static_cast<size_t>(index)];
    case LB_SETITEMDATA:
      if (index < 0 || index >= n) return LB_ERR;
      w.itemData[static_cast<size_t>(index)] = lParam;
      return 0;
    case LB_GETTOPINDEX:
      return 0;
    case LB_SETTOPINDEX:
      return (index >= 0 && index < n) ? 0 : LB_ERR;
    default:
      handled = false;
      return 0;
  }
}

LRESULT comboBoxProcedure(Window& w, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  const char* text = reinterpret_cast<const char*>(lParam);
  int index = static_cast<int>(static_cast<INT_PTR>(wParam));
  int n = static_cast<int>(w.items.size());
  switch (msg) {
    case CB_ADDSTRING:
      return insertEntry(w, -1, text ? text : "", (w.style & CBS_SORT) != 0);
    case CB_INSERTSTRING:
      return insertEntry(w, index, text ? text : "", false);
    case CB_DELETESTRING:
      return deleteEntry(w, index);
    case CB_RESETCONTENT:
      w.items.clear();
      w.itemData.clear();
      w.curSel = -1;
      w.text.clear();
      return CB_OKAY;
    case CB_GETCOUNT:
      return n;
    case CB_GETCURSEL:
      return w.curSel;
    case CB_SETCURSEL:
      if (index < 0 || index >= n) {
        w.curSel = -1;
        w.text.clear();
        return CB_ERR;
      }
      w.curSel = index;
      w.text = w.items[static_cast<size_t>(index)];
      return index;
    case CB_GETLBTEXT:
      if (index < 0 || index >= n) return CB_ERR;
      if (text) std::strcpy(reinterpret_cast<char*>(lParam), w.items[static_cast<size_t>(index)].c_str());
      return static_cast<LRESULT>(w.items[static_cast<size_t>(index)].size());
    case CB_GETLBTEXTLEN:
      if (index < 0 || index >= n) return CB_ERR;
      return static_cast<LRESULT>(w.items[static_cast<size_t>(index)].size());
    case CB_FINDSTRING:
      return findEntry(w, index, text ? text : "", false);
    case CB_FINDSTRINGEXACT:
      return findEntry(w, index, text ? text : "", true);
    case CB_SELECTSTRING: {
      int k = findEntry(w, index, text ? text : "", false);
      if (k >= 0) {
        w.curSel = k;
        w.text = w.items[static_cast<size_t>(k)];
      }
      return k;
    }
    case CB_GETITEMDATA:
      if (index < 0 || index >= n) return CB_ERR;
      return w.itemData[static_cast<size_t>(index)];
    case CB_SETITEMDATA:
      if (index < 0 || index >= n) return CB_ERR;
      w.itemData[static_cast<size_t>(index)] = lParam;
      return 0;
    case CB_LIMITTEXT:
      w.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(wParam);
      return TRUE;
    default:
      handled = false;
      return 0;
  }
}

LRESULT buttonProcedure(Window& w, UINT msg, WPARAM wParam, LPARAM, bool& handled) {
  handled = true;
  DWORD type = w.style & BS_TYPEMASK;
  bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                   type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
  switch (msg) {
    case BM_GETCHECK:
      return checkable ? w.check : BST_UNCHECKED;
    case BM_SETCHECK:
      if (checkable) {
        int v = static_cast<int>(wParam);
        if (v == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE) v = BST_CHECKED;
        w.check = v == BST_UNCHECKED ? BST_UNCHECKED : (v == BST_INDETERMINATE ? BST_INDETERMINATE : BST_CHECKED);
      }
      return 0;
    case BM_GETSTATE:
      return w.check | (w.pushed ? BST_PUSHED : 0) | (focus() == w.hwnd ? BST_FOCUS : 0);
    case BM_SETSTATE:
      w.pushed = wParam != 0;
      return 0;
    case BM_SETSTYLE:
      w.style = (w.style & ~0xFFFFu) | static_cast<DWORD>(wParam & 0xFFFF);
      return 0;
    case BM_CLICK:
      if (!(w.style & WS_DISABLED)) buttonClick(w.hwnd);
      return 0;
    default:
      handled = false;
      return 0;
  }
}

// Text of a buddy with UDS_SETBUDDYINT: thousands separated unless UDS_NOTHOUSANDS.
std::string formatBuddy(const Window& ud, int value) {
  char buf[40];
  if (ud.udBase == 16) {
    std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(value));
    return buf;
  }
  std::snprintf(buf, sizeof buf, "%d", value);
  std::string s = buf;
  if (ud.style & UDS_NOTHOUSANDS) return s;
  std::string digits = s[0] == '-' ? s.substr(1) : s;
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return (s[0] == '-' ? "-" : "") + grouped;
}

// Reads the buddy's integer; answers false when its text is not one.
bool readBuddy(const Window& ud, int& value) {
  Window* b = findWindowNoOops(ud.udBuddy);
  if (!b) return false;
  std::string t;
  for (char c : b->text)
    if (c != ',' && c != ' ') t += c;
  if (t.empty()) return false;
  char* end = nullptr;
  long v = std::strtol(t.c_str(), &end, ud.udBase == 16 ? 16 : 10);
  if (*end != '\0') return false;
  value = static_cast<int>(v);
  return true;
}

void setBuddyText(Window& ud) {
  if (!(ud.style & UDS_SETBUDDYINT) || !ud.udBuddy) return;
  send(ud.udBuddy, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(formatBuddy(ud, ud.udPos).c_str()));
}

int clampPos(const Window& ud, int v) {
  int lo = std::min(ud.udLower, ud.udUpper), hi = std::max(ud.udLower, ud.udUpper);
  return std::max(lo, std::min(hi, v));
}

LRESULT upDownProcedure(Window& w, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (msg) {
    case UDM_SETRANGE:
      w.udUpper = static_cast<short>(LOWORD(lParam));
      w.udLower = static_cast<short>(HIWORD(lParam));
      w.udPos = clampPos(w, w.udPos);
      return 0;
    case UDM_GETRANGE:
      return MAKELONG(static_cast<WORD>(w.udUpper), static_cast<WORD>(w.udLower));
    case UDM_SETRANGE32:
      w.udLower = static_cast<int>(static_cast<INT_PTR>(wParam));
      w.udUpper = static_cast<int>(lParam);
      w.udPos = clampPos(w, w.udPos);
      return 0;
    case UDM_GETRANGE32:
      if (wParam) *reinterpret_cast<int*>(wParam) = w.udLower;
      if (lParam) *reinterpret_cast<int*>(lParam) = w.udUpper;
      return 0;
    case UDM_SETPOS:
    case UDM_SETPOS32: {
      int previous = w.udPos;
      int v = msg == UDM_SETPOS ? static_cast<short>(LOWORD(lParam)) : static_cast<int>(lParam);
      w.udPos = clampPos(w, v);
      setBuddyText(w);
      return previous;
    }
    case UDM_GETPOS:
    case UDM_GETPOS32: {
      bool error = false;
      if (w.udBuddy && (w.style & UDS_SETBUDDYINT)) {
        int v = 0;
        if (readBuddy(w, v)) w.udPos = clampPos(w, v);
        else error = true;
      }
      if (msg == UDM_GETPOS32) {
        if (lParam) *reinterpret_cast<BOOL*>(lParam) = error ? TRUE : FALSE;
        return w.udPos;
      }
      return MAKELONG(static_cast<WORD>(w.udPos), error ? 1 : 0);
    }
    case UDM_SETBUDDY: {
      HWND previous = w.udBuddy;
      w.udBuddy = reinterpret_cast<HWND>(wParam);
      return reinterpret_cast<LRESULT>(previous);
    }
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(w.udBuddy);
    case UDM_SETACCEL: {
      const UDACCEL* a = reinterpret_cast<const UDACCEL*>(lParam);
      if (!a || wParam == 0) return FALSE;
      w.udAccel.assign(a, a + wParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      UDACCEL* a = reinterpret_cast<UDACCEL*>(lParam);
      size_t n = std::min<size_t>(wParam, w.udAccel.size());
      for (size_t i = 0; a && i < n; ++i) a[i] = w.udAccel[i];
      return static_cast<LRESULT>(w.udAccel.size());
    }
    case UDM_SETBASE: {
      int previous = w.udBase;
      if (wParam != 10 && wParam != 16) return 0;
      w.udBase = static_cast<int>(wParam);
      return previous;
    }
    case UDM_GETBASE:
      return w.udBase;
    default:
      handled = false;
      return 0;
  }
}

LRESULT editProcedure(Window& w, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (msg) {
    case EM_SETSEL: {
      int len = static_cast<int>(w.text.size());
      int a = static_cast<int>(static_cast<INT_PTR>(wParam)), b = static_cast<int>(lParam);
      if (a == -1) {
        w.selStart = w.selEnd = len;  // -1 removes the selection
        return 0;
      }
      if (b < 0 || b > len) b = len;
      a = std::max(0, std::min(a, len));
      w.selStart = std::min(a, b);
      w.selEnd = std::max(a, b);
      return 0;
    }
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(w.selStart);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(w.selEnd);
      return MAKELONG(w.selStart, w.selEnd);
    case EM_LIMITTEXT:
      w.limit = wParam == 0 ? 0x7FFFFFFE : static_cast<int>(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return w.limit;
    case EM_SETREADONLY:
      if (wParam) w.style |= ES_READONLY;
      else w.style &= ~static_cast<DWORD>(ES_READONLY);
      return TRUE;
    case EM_GETMODIFY:
      return w.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      w.modified = wParam != 0;
      return 0;
    default:
      handled = false;
      return 0;
  }
}

}  // namespace

LRESULT defaultProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = findWindowNoOops(hwnd);
  if (!w) return 0;
  bool handled = false;
  LRESULT r = 0;
  switch (w->kind) {
    case Kind::ListBox: r = listBoxProcedure(*w, msg, wParam, lParam, handled); break;
    case Kind::ComboBox: r = comboBoxProcedure(*w, msg, wParam, lParam, handled); break;
    case Kind::Button: r = buttonProcedure(*w, msg, wParam, lParam, handled); break;
    case Kind::UpDown: r = upDownProcedure(*w, msg, wParam, lParam, handled); break;
    case Kind::Edit: r = editProcedure(*w, msg, wParam, lParam, handled); break;
    default: break;
  }
  if (handled) return r;

  switch (msg) {
    case WM_SETTEXT: {
      const char* t = reinterpret_cast<const char*>(lParam);
      std::string value = t ? t : "";
      bool changed = value != w->text;
      w->text = value;
      if (w->kind == Kind::Edit) {
        w->selStart = w->selEnd = 0;
        w->modified = false;
        // Single-line edits tell their parent about text set by the program too.
        if (changed && !(w->style & ES_MULTILINE)) {
          notifyParent(hwnd, EN_UPDATE);
          notifyParent(hwnd, EN_CHANGE);
        }
      }
      return TRUE;
    }
    case WM_GETTEXT:
      return copyText(w->text, wParam, lParam);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_NEXTDLGCTL: {
      if (w->kind != Kind::Dialog) return 0;
      HWND target = nullptr;
      if (LOWORD(lParam)) {
        target = reinterpret_cast<HWND>(wParam);
      } else {
        target = nextTabItem(hwnd, focus(), wParam != 0);
      }
      Window* t = findWindowNoOops(target);
      if (!t) return 0;
      setFocus(target);
      if (t->kind == Kind::Edit) send(target, EM_SETSEL, 0, -1);  // the dialog manager selects the text
      return 0;
    }
    case WM_CLOSE:
      if (w->kind == Kind::Dialog) {
        // The close box works as Cancel.
        HWND cancel = nullptr;
        for (HWND c : w->children)
          if (Window* cw = findWindowNoOops(c); cw && cw->id == IDCANCEL) cancel = c;
        send(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      }
      return 0;
    case DM_GETDEFID:
      if (w->kind == Kind::Dialog) return MAKELONG(w->defId, DC_HASDEFID);
      return 0;
    case DM_SETDEFID:
      if (w->kind == Kind::Dialog) w->defId = static_cast<int>(wParam);
      return TRUE;
    case WM_GETDLGCODE:
    case WM_INITDIALOG:
      return 0;
    default:
      return 0;
  }
}

void buttonClick(HWND button) {
  Window* w = findWindowNoOops(button);
  if (!w) return;
  DWORD type = w->style & BS_TYPEMASK;
  if (type == BS_AUTOCHECKBOX) {
    w->check = w->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
  } else if (type == BS_AUTO3STATE) {
    w->check = (w->check + 1) % 3;
  } else if (type == BS_AUTORADIOBUTTON) {
    // Clear the other automatic radio buttons of the group (up to the next WS_GROUP control).
    Window* p = findWindowNoOops(w->parent);
    if (p) {
      auto& kids = p->children;
      auto it = std::find(kids.begin(), kids.end(), button);
      size_t me = static_cast<size_t>(it - kids.begin());
      size_t first = me;
      while (first > 0) {
        Window* c = findWindowNoOops(kids[first]);
        if (c && (c->style & WS_GROUP)) break;
        --first;
      }
      for (size_t i = first; i < kids.size(); ++i) {
        Window* c = findWindowNoOops(kids[i]);
        if (!c) continue;
        if (i > first && (c->style & WS_GROUP)) break;
        if (c->kind == Kind::Button && (c->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) c->check = BST_UNCHECKED;
      }
    }
    w->check = BST_CHECKED;
  }
  notifyParent(button, BN_CLICKED);
}

void spinPress(HWND updown, bool up) {
  Window* w = findWindowNoOops(updown);
  if (!w) return;
  if (w->udBuddy && (w->style & UDS_SETBUDDYINT)) {
    int v = 0;
    if (readBuddy(*w, v)) w->udPos = clampPos(*w, v);
  }
  int inc = w->udAccel.empty() ? 1 : static_cast<int>(w->udAccel.front().nInc);
  // The up arrow moves toward the upper end of the range, whichever way the range runs.
  int delta = (w->udUpper >= w->udLower ? inc : -inc) * (up ? 1 : -1);
  int lo = std::min(w->udLower, w->udUpper), hi = std::max(w->udLower, w->udUpper);
  NMUPDOWN nm{};
  nm.hdr.hwndFrom = updown;
  nm.hdr.idFrom = static_cast<UINT_PTR>(w->id);
  nm.hdr.code = UDN_DELTAPOS;
  nm.iPos = w->udPos;
  nm.iDelta = delta;
  HWND parent = w->parent;
  if (send(parent, WM_NOTIFY, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&nm)) != 0) return;
  w = findWindowNoOops(updown);
  if (!w) return;
  int target = w->udPos + nm.iDelta;
  if (target > hi) target = (w->style & UDS_WRAP) ? lo : hi;
  if (target < lo) target = (w->style & UDS_WRAP) ? hi : lo;
  w->udPos = target;
  setBuddyText(*w);
  send(parent, (w->style & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(target)),
       reinterpret_cast<LPARAM>(updown));
}

}  // namespace ui
}  // namespace pf
