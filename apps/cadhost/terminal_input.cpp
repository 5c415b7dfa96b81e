// Interactive input. SIGINT is caught without restarting system calls, so Ctrl-C interrupts a
// read at a prompt: the line is dropped and the prompt answers a cancel, as ^C does in a
// script. A Ctrl-C while a command works is ignored rather than killing the program. End of
// input (Ctrl-D) ends the session.
#include "terminal_input.h"

#include <signal.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "pf/output.h"
#include "text_util.h"

namespace cadhost {
namespace {

volatile sig_atomic_t g_interrupted = 0;

void onInterrupt(int) { g_interrupted = 1; }

// A read that stopped on an interrupt (not at the end of the input) leaves the stream usable
// again once its error state is cleared.
bool recoverFromInterrupt() {
  if (std::ferror(stdin) && !std::feof(stdin)) {
    std::clearerr(stdin);
    std::cin.clear();
    return true;
  }
  return false;
}

class TerminalInput : public pf::InputSource {
 public:
  pf::Input read(const std::string& prompt, pf::Extent) override {
    if (!ahead_) pf::writeOpenPrompt(prompt);
    fill();
    ahead_ = false;
    pf::noteLineEndedByUser();
    return next_;
  }

  const pf::Input& peek() override {
    fill();
    return next_;
  }

  bool interactive() const override { return true; }

  std::string where() const override { return "terminal:" + std::to_string(line_); }

 private:
  void fill() {
    if (ahead_) return;
    ahead_ = true;
    recoverFromInterrupt();
    g_interrupted = 0;
    std::string line;
    next_ = pf::Input();
    if (std::getline(std::cin, line)) {
      ++line_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (trimBlanks(line) == "^C") {
        next_.kind = pf::Input::kCancel;
      } else {
        next_.kind = pf::Input::kText;
        next_.text = line;
      }
      return;
    }
    if (g_interrupted && recoverFromInterrupt()) {
      std::fputs("\n", stdout);
      next_.kind = pf::Input::kCancel;
      return;
    }
    // End of input (Ctrl-D) leaves the cursor after the prompt: end that line.
    std::fputs("\n", stdout);
    next_.kind = pf::Input::kEnd;
  }

  bool ahead_ = false;
  pf::Input next_;
  int line_ = 0;
};

}  // namespace

std::unique_ptr<pf::InputSource> makeInterruptibleTerminalInput() {
  struct sigaction sa;
  std::memset(&sa, 0, sizeof sa);
  sa.sa_handler = onInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: an interrupted read returns, so the prompt can cancel
  sigaction(SIGINT, &sa, nullptr);
  return std::make_unique<TerminalInput>();
}

}  // namespace cadhost
