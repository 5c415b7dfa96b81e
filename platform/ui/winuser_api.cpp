// winuser_api.cpp - the Win32 window functions of winuser.h over the platform's window table,
// and LoadStringA over the resource loader.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pf/resource_context.h"
#include "pf/resources.h"
#include "window_system.h"

using namespace pf::ui;

extern "C" {

LRESULT SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) { return send(hWnd, msg, wParam, lParam); }

BOOL PostMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!findWindowNoOops(hWnd)) return FALSE;
  send(hWnd, msg, wParam, lParam);
  return TRUE;
}

LRESULT SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT msg, WPARAM wParam, LPARAM lParam) {
  return send(GetDlgItem(hDlg, nIDDlgItem), msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return defaultProcedure(hWnd, msg, wParam, lParam);
}

BOOL IsWindow(HWND hWnd) { return findWindowNoOops(hWnd) ? TRUE : FALSE; }

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  Window* w = findWindowNoOops(hWnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (bEnable) {
    w->style &= ~static_cast<DWORD>(WS_DISABLED);
  } else {
    w->style |= WS_DISABLED;
    // A disabled control cannot keep the focus: it moves on to the next control that takes it.
    if (focus() == hWnd) {
      HWND top = topLevelOf(hWnd);
      HWND next = top != hWnd ? nextTabItem(top, hWnd, false) : nullptr;
      setFocus(next != hWnd ? next : nullptr);
    }
  }
  if (static_cast<bool>(wasDisabled) == static_cast<bool>(bEnable)) send(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
  Window* w = findWindowNoOops(hWnd);
  return (w && !(w->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
  Window* w = findWindowNoOops(hWnd);
  if (!w) return FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  if (nCmdShow == SW_HIDE) {
    w->style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (focus() == hWnd) setFocus(nullptr);
  } else {
    w->style |= WS_VISIBLE;
  }
  return wasVisible;
}

BOOL IsWindowVisible(HWND hWnd) {
  Window* w = findWindowNoOops(hWnd);
  return (w && (w->style & WS_VISIBLE)) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND hWnd) {
  if (!findWindowNoOops(hWnd)) return FALSE;
  send(hWnd, WM_DESTROY, 0, 0);
  destroyWindow(hWnd);
  return TRUE;
}

HWND GetParent(HWND hWnd) {
  Window* w = findWindowNoOops(hWnd);
  return w ? w->parent : nullptr;
}

HWND SetFocus(HWND hWnd) { return setFocus(hWnd); }
HWND GetFocus(void) { return focus(); }

HWND GetActiveWindow(void) {
  HWND f = focus();
  return f ? topLevelOf(f) : nullptr;
}

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
  if (!findWindowNoOops(hWnd)) return FALSE;
  return send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
  if (!lpString || nMaxCount <= 0) return 0;
  lpString[0] = '\0';
  return static_cast<int>(send(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) { return static_cast<int>(send(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

LONG GetWindowLongA(HWND hWnd, int nIndex) {
  Window* w = findWindowNoOops(hWnd);
  if (!w) return 0;
  switch (nIndex) {
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWL_ID: return w->id;
    default: return 0;
  }
}

LONG SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
  Window* w = findWindowNoOops(hWnd);
  if (!w) return 0;
  LONG previous = GetWindowLongA(hWnd, nIndex);
  switch (nIndex) {
    case GWL_STYLE: w->style = static_cast<DWORD>(dwNewLong); break;
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(dwNewLong); break;
    case GWL_ID: w->id = dwNewLong; break;
    default: return 0;
  }
  return previous;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
  Window* d = findWindowNoOops(hDlg);
  if (!d) return nullptr;
  for (HWND c : d->children) {
    Window* w = findWindowNoOops(c);
    // Ids are 16-bit in a dialog: -1 and 0xFFFF name the same control.
    if (w && static_cast<WORD>(w->id) == static_cast<WORD>(nIDDlgItem)) return c;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
  Window* w = findWindowNoOops(hWnd);
  return (w && w->child) ? w->id : 0;
}

BOOL SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
  return SetWindowTextA(GetDlgItem(hDlg, nIDDlgItem), lpString);
}

UINT GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
  return static_cast<UINT>(GetWindowTextA(GetDlgItem(hDlg, nIDDlgItem), lpString, cchMax));
}

BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
  char buf[32];
  if (bSigned) std::snprintf(buf, sizeof buf, "%d", static_cast<int>(uValue));
  else std::snprintf(buf, sizeof buf, "%u", uValue);
  return SetDlgItemTextA(hDlg, nIDDlgItem, buf);
}

UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
  if (lpTranslated) *lpTranslated = FALSE;
  Window* w = findWindowNoOops(GetDlgItem(hDlg, nIDDlgItem));
  if (!w) return 0;
  const char* s = w->text.c_str();
  while (*s == ' ' || *s == '\t') ++s;
  if (!*s || (!bSigned && *s == '-')) return 0;
  char* end = nullptr;
  long long v = std::strtoll(s, &end, 10);
  while (*end == ' ' || *end == '\t') ++end;
  if (end == s || *end) return 0;
  if (bSigned ? (v < INT32_MIN || v > INT32_MAX) : (v < 0 || v > static_cast<long long>(UINT32_MAX))) return 0;
  if (lpTranslated) *lpTranslated = TRUE;
  return static_cast<UINT>(v);
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND b = GetDlgItem(hDlg, nIDButton);
  if (!b) return FALSE;
  send(b, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  return static_cast<UINT>(send(GetDlgItem(hDlg, nIDButton), BM_GETCHECK, 0, 0));
}

HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) { return nextTabItem(hDlg, hCtl, bPrevious != FALSE); }

BOOL EndDialog(HWND hDlg, INT_PTR nResult) {
  Window* w = findWindowNoOops(hDlg);
  if (!w || w->kind != Kind::Dialog) return FALSE;
  w->dialogResult = nResult;
  w->dialogRunning = false;
  return TRUE;
}

int LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax <= 0) return 0;
  lpBuffer[0] = '\0';
  auto script = pf::moduleResourcesNoOops(hInstance ? hInstance : pf::hostModuleHandle());
  if (!script) return 0;
  const std::string* s = script->findStringNoOops(uID);
  if (!s) return 0;
  size_t n = std::min<size_t>(s->size(), static_cast<size_t>(cchBufferMax) - 1);
  std::memcpy(lpBuffer, s->data(), n);
  lpBuffer[n] = '\0';
  return static_cast<int>(n);
}

BOOL MessageBeep(UINT) { return TRUE; }

}  // extern "C"
