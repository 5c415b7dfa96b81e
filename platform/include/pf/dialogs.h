// pf/dialogs.h - who answers a modal dialog.
//
// CDialog::DoModal builds the dialog from its template, runs OnInitDialog, and then hands the
// running dialog to the dialog driver that the host program chose. The driver acts on the
// dialog the way a user would (types into edits, ticks boxes, selects list entries, presses
// spin arrows and buttons); the dialog's own code (message map, data exchange, OnOK) does the
// rest. When the driver has no more actions and the dialog is still open, the dialog is
// cancelled (as with Esc) and a warning is printed.
//
// Three drivers: scripted (the "@" lines of a script), programmatic (a test function) and
// terminal (a text form and actions typed at the keyboard).
#pragma once
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "pf/windows.h"

namespace pf {

// The outcome of one action: refused actions carry the reason (control missing, disabled,
// not a list box, entry not found, ...).
struct DialogActionResult {
  bool ok = false;
  std::string message;
};

// A running modal dialog as its driver sees it.
class DialogSession {
 public:
  virtual ~DialogSession() = default;

  virtual UINT templateId() const = 0;
  virtual std::string caption() const = 0;
  virtual HWND hwnd() const = 0;
  // True until the dialog ends (EndDialog).
  virtual bool running() const = 0;
  // The end code once the dialog has ended (IDOK, IDCANCEL, ...).
  virtual int result() const = 0;

  // The controls in tab order, and one control by id (exists == false when there is none).
  virtual std::vector<WindowInfo> controls() const = 0;
  virtual WindowInfo control(int id) const = 0;
  // Id of the control that has the focus (0 when the focus is elsewhere).
  virtual int focusId() const = 0;

  // User actions. Each is echoed in the "@" syntax when echo is on.
  virtual DialogActionResult setText(int id, const std::string& text) = 0;      // @text
  virtual DialogActionResult check(int id, bool on) = 0;                        // @check
  virtual DialogActionResult select(int id, const std::string& entry) = 0;      // @select
  virtual DialogActionResult spin(int id, bool up) = 0;                         // @spin
  virtual DialogActionResult click(int id) = 0;                                 // @click
  virtual DialogActionResult ok() = 0;                                          // @ok
  virtual DialogActionResult cancel() = 0;                                      // @cancel
  // Parses and performs one "@" line (the leading '@' may be left out).
  virtual DialogActionResult perform(const std::string& line) = 0;

  // The dialog as a text form: caption, then one line per control with its id, kind, text or
  // value, and markers for the focus and disabled controls.
  virtual std::string describe() const = 0;

  virtual void setEcho(bool echo) = 0;
};

class DialogDriver {
 public:
  virtual ~DialogDriver() = default;
  // Acts on the dialog until it ends or the driver has nothing more to do.
  virtual void run(DialogSession& session) = 0;
};

// Installs the driver that runs every modal dialog from now on (nullptr: none, every dialog is
// cancelled with a warning). Answers the previous one.
std::shared_ptr<DialogDriver> setDialogDriver(std::shared_ptr<DialogDriver> driver);
std::shared_ptr<DialogDriver> dialogDriver();

// Scripted: reads lines from nextLine, which answers false when there is no dialog answer left
// (end of the script, or the next script line is not an "@" line; the host leaves that line
// where it is). Each action is echoed unless echo is false. An action that cannot be applied
// (no such control or entry, a disabled or hidden control, a value the control refuses, a line
// that is no dialog answer) is reported in the transcript with the place `where` names (the
// script line, e.g. "run.scr:12"), recorded in failedDialogActions(), and cancels the dialog;
// the following lines are left to whatever reads next.
std::shared_ptr<DialogDriver> makeScriptedDialogDriver(std::function<bool(std::string& line)> nextLine,
                                                       bool echo = true,
                                                       std::function<std::string()> where = nullptr);

// The scripted actions that could not be applied so far, as "where: action: reason" (the host
// program ends its run with a failure status when there are any).
const std::vector<std::string>& failedDialogActions();
void clearFailedDialogActions();

// Programmatic: calls the function once per dialog; it inspects and acts on the session.
std::shared_ptr<DialogDriver> makeProgrammaticDialogDriver(std::function<void(DialogSession&)> act,
                                                           bool echo = true);

// Terminal: writes the form to out and reads actions from in ("@ok", "text 2018 5", ...; an
// empty line or "?" shows the form again; end of input cancels the dialog). `toTerminal` and
// `fromTerminal`, when given, convert what is written and read between the dialog's text (the
// ANSI code page) and the terminal's encoding.
using TextConversion = std::function<std::string(const std::string&)>;
std::shared_ptr<DialogDriver> makeTerminalDialogDriver(std::istream& in, std::ostream& out,
                                                       TextConversion toTerminal = nullptr,
                                                       TextConversion fromTerminal = nullptr);

// Installs a driver for the lifetime of the object and restores the previous one afterwards.
class ScopedDialogDriver {
 public:
  explicit ScopedDialogDriver(std::shared_ptr<DialogDriver> driver)
      : previous_(setDialogDriver(std::move(driver))) {}
  ~ScopedDialogDriver() { setDialogDriver(previous_); }
  ScopedDialogDriver(const ScopedDialogDriver&) = delete;
  ScopedDialogDriver& operator=(const ScopedDialogDriver&) = delete;

 private:
  std::shared_ptr<DialogDriver> previous_;
};

}  // namespace pf
