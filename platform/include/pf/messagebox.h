// pf/messagebox.h - message boxes as the host program and the tests see them.
//
// A message box does not wait for anybody: it is recorded, its "[caption] text" goes to the
// user-visible output (pf/windows.h), and it is answered at once: with the next queued answer
// if a test queued one, otherwise with its default button (IDOK for MB_OK, IDYES for MB_YESNO,
// the second or third button with MB_DEFBUTTON2/3).
#pragma once
#include <string>
#include <vector>

#include "windef.h"

namespace pf {

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::string text;
  std::string caption;
  UINT style = 0;
  int answer = 0;
};

// Every message box shown since the last clear, oldest first.
const std::vector<MessageBoxRecord>& messageBoxes();
void clearMessageBoxes();

// Queues the answer of the next message box (IDOK, IDCANCEL, IDYES, IDNO, ...).
void queueMessageBoxAnswer(int answer);

}  // namespace pf
