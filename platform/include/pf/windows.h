// pf/windows.h - the host program's and the tests' view of the headless window system: where
// user-visible text of windows goes, the host's main window, and what every window shows.
//
// Windows exist only in memory: a dialog's controls hold their texts, states and list items,
// take the focus and send their notifications exactly as on Windows, but nothing is drawn.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "windef.h"

namespace pf {

// Receives one piece of user-visible text (a message box as "[caption] text", a dialog action
// echoed in the "@" syntax, a warning), without a line end. The host program prints it on the
// command line; the default sink drops it.
using UiTextSink = std::function<void(const std::string& text)>;
void setUiOutput(UiTextSink sink);
// Sends text to the current sink (used by the toolkit; tests may use it too).
void uiPrint(const std::string& text);

// Title used for message boxes that have no caption of their own (MFC's AfxMessageBox and the
// toolkit's data-exchange messages). Default "cadhost".
void setApplicationTitle(const std::string& title);
const std::string& applicationTitle();

// The host's main window (created on first use; also answered by adsw_acadMainWnd()).
HWND mainWindow();

// What a window shows, for tests and for the terminal form of a dialog.
struct WindowInfo {
  bool exists = false;
  HWND hwnd = nullptr;
  HWND parent = nullptr;
  int id = 0;                  // control id (0 for top-level windows)
  std::string className;       // "Button", "Edit", "Static", "ListBox", "ComboBox",
                               // "msctls_updown32", "#32770" (dialog), ...
  std::string kind;            // "push button", "check box", "edit", "list box", "spin", ...
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  bool enabled = false;
  bool visible = false;
  bool focused = false;
  int check = 0;                      // buttons: BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
  std::vector<std::string> items;     // list and combo boxes, in display order
  int selection = -1;                 // list and combo boxes
  int spinLower = 0, spinUpper = 0, spinPos = 0;  // up-down controls
  HWND buddy = nullptr;                           // up-down controls
};
WindowInfo windowInfo(HWND hwnd);
// The child windows of a window in creation (tab) order.
std::vector<HWND> childWindows(HWND parent);
// Number of windows that exist (the main window included); a test can check that a dialog
// left nothing behind.
size_t windowCount();

}  // namespace pf
