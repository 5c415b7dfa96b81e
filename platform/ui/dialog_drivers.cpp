// dialog_drivers.cpp - the three dialog drivers: scripted ("@" lines from the host's script),
// programmatic (a test function) and terminal (a text form and actions typed at the keyboard).
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "pf/dialogs.h"
#include "winuser.h"

namespace pf {
namespace {

std::vector<std::string>& failures() {
  static std::vector<std::string> list;
  return list;
}

// A script's answer that cannot be applied must not leave the dialog open for the next answer:
// an "@ok" after a failed "@select" would confirm a choice the script never made. The failure
// is reported with the script line and kept for the host's exit status, and the dialog is
// cancelled.
class ScriptedDriver : public DialogDriver {
 public:
  ScriptedDriver(std::function<bool(std::string&)> next, bool echo, std::function<std::string()> where)
      : next_(std::move(next)), echo_(echo), where_(std::move(where)) {}
  void run(DialogSession& session) override {
    session.setEcho(echo_);
    std::string line;
    while (session.running() && next_ && next_(line)) {
      std::string trimmed = line;
      trimmed.erase(0, trimmed.find_first_not_of(" \t"));
      DialogActionResult r = trimmed.empty() || trimmed[0] != '@' ? DialogActionResult{false, "not a dialog answer"}
                                                                    : session.perform(trimmed);
      if (!r.ok) {
        fail(session, trimmed.empty() ? line : trimmed, r.message);
        return;
      }
    }
  }

 private:
  void fail(DialogSession& session, const std::string& action, const std::string& why) {
    const std::string where = where_ ? where_() : std::string();
    const std::string what = (where.empty() ? "" : where + ": ") + action + ": " + why;
    failures().push_back(what);
    uiPrint("*** " + what + "; dialog " + std::to_string(session.templateId()) + " \"" + session.caption() +
            "\" cancelled");
    session.setEcho(false);
    if (session.running()) session.cancel();
    // A dialog whose Cancel is disabled is ended all the same: its answers went wrong.
    if (session.running()) EndDialog(session.hwnd(), IDCANCEL);
  }

  std::function<bool(std::string&)> next_;
  bool echo_;
  std::function<std::string()> where_;
};

class ProgrammaticDriver : public DialogDriver {
 public:
  ProgrammaticDriver(std::function<void(DialogSession&)> act, bool echo) : act_(std::move(act)), echo_(echo) {}
  void run(DialogSession& session) override {
    session.setEcho(echo_);
    if (act_) act_(session);
  }

 private:
  std::function<void(DialogSession&)> act_;
  bool echo_;
};

class TerminalDriver : public DialogDriver {
 public:
  TerminalDriver(std::istream& in, std::ostream& out, TextConversion toTerminal, TextConversion fromTerminal)
      : in_(in), out_(out), toTerminal_(std::move(toTerminal)), fromTerminal_(std::move(fromTerminal)) {}
  void run(DialogSession& session) override {
    session.setEcho(false);  // the user sees what they typed
    bool show = true;
    while (session.running()) {
      if (show) {
        out_ << "\n" << shown(session.describe())
             << "Actions: @text ID VALUE, @check ID on|off, @select ID ENTRY, @spin ID up|down, @click ID, @ok, @cancel"
             << " (? shows the form)\n";
      }
      out_ << "Dialog> " << std::flush;
      std::string line;
      if (!std::getline(in_, line)) {
        out_ << "\n";
        return;  // end of input: the toolkit cancels the dialog
      }
      std::string trimmed = fromTerminal_ ? fromTerminal_(line) : line;
      trimmed.erase(0, trimmed.find_first_not_of(" \t"));
      while (!trimmed.empty() && (trimmed.back() == '\r')) trimmed.pop_back();
      if (trimmed.empty() || trimmed == "?") {
        show = true;
        continue;
      }
      DialogActionResult r = session.perform(trimmed);
      if (!r.ok) out_ << "*** " << shown(r.message) << "\n";
      show = r.ok;
    }
  }

 private:
  std::string shown(const std::string& text) const { return toTerminal_ ? toTerminal_(text) : text; }

  std::istream& in_;
  std::ostream& out_;
  TextConversion toTerminal_;
  TextConversion fromTerminal_;
};

}  // namespace

std::shared_ptr<DialogDriver> makeScriptedDialogDriver(std::function<bool(std::string& line)> nextLine, bool echo,
                                                       std::function<std::string()> where) {
  return std::make_shared<ScriptedDriver>(std::move(nextLine), echo, std::move(where));
}

const std::vector<std::string>& failedDialogActions() { return failures(); }

void clearFailedDialogActions() { failures().clear(); }

std::shared_ptr<DialogDriver> makeProgrammaticDialogDriver(std::function<void(DialogSession&)> act, bool echo) {
  return std::make_shared<ProgrammaticDriver>(std::move(act), echo);
}

std::shared_ptr<DialogDriver> makeTerminalDialogDriver(std::istream& in, std::ostream& out, TextConversion toTerminal,
                                                       TextConversion fromTerminal) {
  return std::make_shared<TerminalDriver>(in, out, std::move(toTerminal), std::move(fromTerminal));
}

}  // namespace pf
