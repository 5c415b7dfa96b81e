// messagebox.cpp - MessageBoxA for a host without a screen: every box is recorded, shown as
// "[caption] text" on the user-visible output, and answered at once with a queued answer or
// its default button.
#include <deque>

#include "pf/messagebox.h"
#include "pf/windows.h"
#include "windows.h"

namespace pf {
namespace {

std::vector<MessageBoxRecord>& records() {
  static std::vector<MessageBoxRecord> r;
  return r;
}

std::deque<int>& queued() {
  static std::deque<int> q;
  return q;
}

// The buttons of each MB_ type, in order, and which one is the default.
int defaultAnswer(UINT style) {
  static const std::vector<std::vector<int>> buttons = {
      {IDOK}, {IDOK, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO}, {IDRETRY, IDCANCEL}};
  UINT type = style & MB_TYPEMASK;
  if (type >= buttons.size()) return IDOK;
  size_t which = (style & MB_DEFMASK) >> 8;
  const auto& b = buttons[type];
  return b[which < b.size() ? which : 0];
}

}  // namespace

const std::vector<MessageBoxRecord>& messageBoxes() { return records(); }
void clearMessageBoxes() {
  records().clear();
  queued().clear();
}
void queueMessageBoxAnswer(int answer) { queued().push_back(answer); }

}  // namespace pf

extern "C" int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
  pf::MessageBoxRecord r;
  r.owner = hWnd;
  r.text = lpText ? lpText : "";
  r.caption = lpCaption ? lpCaption : "Error";  // Windows' caption when none is given
  r.style = uType;
  if (!pf::queued().empty()) {
    r.answer = pf::queued().front();
    pf::queued().pop_front();
  } else {
    r.answer = pf::defaultAnswer(uType);
  }
  pf::records().push_back(r);
  pf::uiPrint("[" + r.caption + "] " + r.text);
  return r.answer;
}
