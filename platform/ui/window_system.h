// window_system.h - platform-internal model of windows: the table of live windows behind HWND
// values, the per-control state (texts, check marks, list items, spin ranges), focus, and the
// hook through which an MFC object receives the messages of the window it is attached to.
//
// Handles are numbers that are never reused, so a handle of a destroyed window is simply not
// found any more instead of reaching freed memory. Everything runs on the host's single
// user-interface thread.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "commctrl.h"
#include "windows.h"

namespace pf {
namespace ui {

// The object that receives a window's messages before its default procedure (an attached
// CWnd). It calls defaultProcedure for what it does not handle itself.
class WindowHook {
 public:
  virtual ~WindowHook() = default;
  virtual LRESULT hookMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  // The window is going away; the hook must forget the handle.
  virtual void hookWindowDestroyed(HWND hwnd) = 0;
};

enum class Kind { Generic, Frame, Dialog, Button, Edit, Static, ListBox, ComboBox, UpDown, ScrollBar };

struct Window {
  HWND hwnd = nullptr;
  HWND parent = nullptr;     // parent of a child control, owner of a dialog
  bool child = false;
  int id = 0;
  std::string className;
  Kind kind = Kind::Generic;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect{0, 0, 0, 0};     // dialog units for dialogs and their controls
  std::vector<HWND> children;
  WindowHook* hook = nullptr;
  LONG_PTR userData = 0;

  // Buttons.
  int check = BST_UNCHECKED;
  bool pushed = false;
  // Edits.
  int limit = 30000;
  int selStart = 0, selEnd = 0;
  bool modified = false;
  // List and combo boxes.
  std::vector<std::string> items;
  std::vector<LPARAM> itemData;
  int curSel = -1;
  // Up-down controls (Windows' defaults: range 100 down to 0, three acceleration steps).
  int udLower = 100, udUpper = 0, udPos = 0, udBase = 10;
  HWND udBuddy = nullptr;
  std::vector<UDACCEL> udAccel{{0, 1}, {2, 5}, {5, 20}};
  // Dialogs.
  bool dialogRunning = false;
  INT_PTR dialogResult = 0;
  int defId = IDOK;
};

Window* findWindowNoOops(HWND hwnd);
Window& windowOf(HWND hwnd);  // the window must exist

// Creates a window; controls go at the end of their parent's child list (tab order).
HWND createWindow(const std::string& className, const std::string& text, DWORD style, DWORD exStyle,
                  const RECT& rect, HWND parent, bool child, int id);
// Destroys a window and its children (children first), telling their hooks.
void destroyWindow(HWND hwnd);

// Sends a message: to the hook if one is attached, otherwise to the default procedure.
LRESULT send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The behaviour of the window class (what DefWindowProc/DefDlgProc and the control do).
LRESULT defaultProcedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Notifies a control's parent with WM_COMMAND(id, code).
void notifyParent(HWND control, int code);

// Focus.
HWND focus();
HWND setFocus(HWND hwnd);
bool canTakeFocus(const Window& w);
HWND nextTabItem(HWND dialog, HWND from, bool previous);
// The dialog (or top-level window) a control belongs to.
HWND topLevelOf(HWND hwnd);

// Up-down control: one press of an arrow.
void spinPress(HWND updown, bool up);
// Button click as the user makes it (auto check boxes toggle, radio groups update, the parent
// is told BN_CLICKED).
void buttonClick(HWND button);

std::string kindName(const Window& w);
size_t windowTableSize();

}  // namespace ui
}  // namespace pf
