// The command line's output: the swappable sink, the transcript's line conventions, acutPrintf.
#include "pf/output.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "acutads.h"
#include "adscodes.h"
#include "db/editor_sinks.h"

namespace pf {
namespace {

void writeStdout(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

struct LineState {
  bool anything = false;       // something has been written to this transcript
  bool atLineStart = true;     // the last byte written ended a line
  bool promptPending = false;  // an answered prompt's line is still open
  bool userEndedLine = false;  // a terminal user's Enter ended the line the sink did not see
};

OutputSink& sink() {
  static OutputSink s;
  return s;
}

LineState& state() {
  static LineState s;
  return s;
}

void emit(std::string_view text) {
  if (text.empty()) return;
  LineState& st = state();
  st.anything = true;
  st.atLineStart = text.back() == '\n';
  if (sink()) {
    sink()(text);
  } else {
    writeStdout(text);
  }
}

std::string_view dropLeadingNewlines(std::string_view s) {
  while (!s.empty() && (s.front() == '\n' || s.front() == '\r')) s.remove_prefix(1);
  return s;
}

std::string vformat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::vector<char> big(static_cast<size_t>(n) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<size_t>(n));
}

}  // namespace

OutputSink setOutputSink(OutputSink newSink) {
  OutputSink old = std::move(sink());
  sink() = std::move(newSink);
  return old;
}

void writeOutput(std::string_view text) {
  if (text.empty()) return;
  LineState& st = state();
  if (!st.anything) {
    // Host text conventionally starts with "\n"; at the very top of a transcript that would
    // only make a blank first line.
    text = dropLeadingNewlines(text);
    if (text.empty()) return;
  }
  if (st.userEndedLine) {
    st.userEndedLine = false;
    if (text.front() == '\n') text.remove_prefix(1);
    if (text.empty()) return;
  }
  if (st.promptPending) {
    st.promptPending = false;
    if (text.front() != '\n') emit("\n");
  }
  emit(text);
}

int printOutput(const char* format, ...) {
  if (format == nullptr) return -1;
  va_list args;
  va_start(args, format);
  std::string text = vformat(format, args);
  va_end(args);
  writeOutput(text);
  return static_cast<int>(text.size());
}

void writeAnsweredPrompt(std::string_view prompt, std::string_view answer) {
  LineState& st = state();
  std::string line(dropLeadingNewlines(prompt));
  line.append(answer.data(), answer.size());
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  if (!st.atLineStart) emit("\n");
  st.promptPending = false;
  st.userEndedLine = false;
  emit(line);
  // The line stays open: the next text decides whether its own "\n" ends it.
  st.promptPending = true;
  st.atLineStart = false;
}

void writeOpenPrompt(std::string_view prompt) {
  LineState& st = state();
  if (!st.atLineStart) emit("\n");
  st.promptPending = false;
  st.userEndedLine = false;
  emit(dropLeadingNewlines(prompt));
  if (!sink()) std::fflush(stdout);
}

void noteLineEndedByUser() {
  LineState& st = state();
  st.atLineStart = true;
  st.promptPending = false;
  st.userEndedLine = true;
}

void finishOutputLine() {
  LineState& st = state();
  if (!st.atLineStart) emit("\n");
  st.promptPending = false;
}

void resetOutputState() { state() = LineState(); }

OutputCapture::OutputCapture() {
  previous_ = setOutputSink([this](std::string_view t) { text_.append(t.data(), t.size()); });
  resetOutputState();
}

OutputCapture::~OutputCapture() {
  setOutputSink(std::move(previous_));
  resetOutputState();
}

}  // namespace pf

// ---------------------------------------------------------------------------------------------
// ADS utilities: command-line printing and result-buffer lists.

namespace {
// What the database prints (an entity's listing) goes to the command line too.
const bool g_databaseTextSinkInstalled =
    (pf::setDatabaseTextSink([](const std::string& text) { pf::writeOutput(text); }), true);
}  // namespace

extern "C" int acutPrintf(const char* format, ...) {
  if (format == nullptr) return RTERROR;
  va_list args;
  va_start(args, format);
  std::string text = pf::vformat(format, args);
  va_end(args);
  pf::writeOutput(text);
  return RTNORM;
}
