// dialog_drivers.cpp - the three dialog drivers: scripted ("@" lines from the host's script),
// programmatic (a test function) and terminal (a text form and actions typed at the keyboard).
#include <istream>
#include <ostream>
#include <string>

#include "pf/dialogs.h"

namespace pf {
namespace {

void warnRefused(const std::string& action, const DialogActionResult& r) {
  if (!r.ok) uiPrint("*** " + action + ": " + r.message + " (ignored)");
}

class ScriptedDriver : public DialogDriver {
 public:
  ScriptedDriver(std::function<bool(std::string&)> next, bool echo) : next_(std::move(next)), echo_(echo) {}
  void run(DialogSession& session) override {
    session.setEcho(echo_);
    std::string line;
    while (session.running() && next_ && next_(line)) {
      std::string trimmed = line;
      trimmed.erase(0, trimmed.find_first_not_of(" \t"));
      if (trimmed.empty() || trimmed[0] != '@') {
        warnRefused(line, DialogActionResult{false, "not a dialog answer"});
        continue;
      }
      DialogActionResult r = session.perform(trimmed);
      warnRefused(trimmed, r);
    }
  }

 private:
  std::function<bool(std::string&)> next_;
  bool echo_;
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
  TerminalDriver(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  void run(DialogSession& session) override {
    session.setEcho(false);  // the user sees what they typed
    bool show = true;
    while (session.running()) {
      if (show) {
        out_ << "\n" << session.describe()
             << "Actions: @text ID VALUE, @check ID on|off, @select ID ENTRY, @spin ID up|down, @click ID, @ok, @cancel"
             << " (? shows the form)\n";
      }
      out_ << "Dialog> " << std::flush;
      std::string line;
      if (!std::getline(in_, line)) {
        out_ << "\n";
        return;  // end of input: the toolkit cancels the dialog
      }
      std::string trimmed = line;
      trimmed.erase(0, trimmed.find_first_not_of(" \t"));
      while (!trimmed.empty() && (trimmed.back() == '\r')) trimmed.pop_back();
      if (trimmed.empty() || trimmed == "?") {
        show = true;
        continue;
      }
      DialogActionResult r = session.perform(trimmed);
      if (!r.ok) out_ << "*** " << r.message << "\n";
      show = r.ok;
    }
  }

 private:
  std::istream& in_;
  std::ostream& out_;
};

}  // namespace

std::shared_ptr<DialogDriver> makeScriptedDialogDriver(std::function<bool(std::string& line)> nextLine, bool echo) {
  return std::make_shared<ScriptedDriver>(std::move(nextLine), echo);
}

std::shared_ptr<DialogDriver> makeProgrammaticDialogDriver(std::function<void(DialogSession&)> act, bool echo) {
  return std::make_shared<ProgrammaticDriver>(std::move(act), echo);
}

std::shared_ptr<DialogDriver> makeTerminalDialogDriver(std::istream& in, std::ostream& out) {
  return std::make_shared<TerminalDriver>(in, out);
}

}  // namespace pf
