// pf/input.h - where the command line's input comes from.
//
// Every prompt (acedGetKword, acedEntSel, acedGetPoint, the host's "Command:" prompt, a
// dialog's "@" answer lines) reads from one input source that the host chooses: a script file,
// the text of -c split on ';', an interactive terminal, or a test's list of answers. A source
// hands out one input per line: an empty line is Enter, "^C" cancels, and the end of the input
// cancels whatever is still asking.
//
// Prompts answered from a non-interactive source are echoed to the transcript as the command
// line shows them ("Prompt text: answer") unless the host asks for quiet output; a terminal
// shows the prompt and the user's own typing instead.
#pragma once
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class AcDbObjectId;

namespace pf {

struct Input {
  enum Kind {
    kText,    // a line of input (possibly empty: Enter)
    kCancel,  // "^C": cancel the current command
    kEnd      // nothing left to read
  };
  Kind kind = kEnd;
  std::string text;
};

class InputSource {
 public:
  virtual ~InputSource();

  // Consumes and answers the next input. `prompt` is what the user is being asked; a terminal
  // shows it before reading, other sources ignore it.
  virtual Input read(const std::string& prompt) = 0;

  // The next input without consuming it (a terminal reads a line to answer).
  virtual const Input& peek() = 0;

  // True when a user types the answers at a terminal (prompts are shown there, not echoed).
  virtual bool interactive() const { return false; }

  // Where the last input came from, for messages: "build.scr:12", "-c input 3", "answer 2".
  virtual std::string where() const = 0;
};

// A script: one input per line; lines whose first non-blank character is ';' are comments and
// skipped; "^C" cancels; a trailing '\r' and a leading UTF-8 byte-order mark are dropped.
// `name` appears in messages.
std::unique_ptr<InputSource> makeScriptInput(std::istream& in, const std::string& name);
// The same from a file; nullptr (and a reason) when the file cannot be read.
std::unique_ptr<InputSource> makeScriptFileInput(const std::string& path, std::string* error);
// The text of -c: inputs separated by ';' ("ZORVIK;Update"; "A;;B" has an Enter between).
std::unique_ptr<InputSource> makeCommandTextInput(const std::string& text);
// A test's answers, one input each ("" is Enter, "^C" cancels).
std::unique_ptr<InputSource> makeAnswerListInput(std::vector<std::string> answers);
// An interactive terminal reading lines from `in` (prompts go to the output sink).
std::unique_ptr<InputSource> makeTerminalInput(std::istream& in);

// Installs the source every prompt reads from and answers the previous one. Without a source
// (the default) every prompt reads the end of input, so nothing ever blocks waiting for a user.
std::unique_ptr<InputSource> setInputSource(std::unique_ptr<InputSource> source);
InputSource* inputSource();

// Quiet output: prompts and echoed answers are left out of the transcript (cadhost -q).
void setQuietPrompts(bool quiet);
bool quietPrompts();

// Reads the answer to a prompt through the current source and echoes it to the transcript
// ("Prompt: answer", "Prompt: *Cancel*" for ^C; nothing when the input has ended). The
// platform's prompts and the host program's own commands read through this.
Input readInput(const std::string& prompt);

// For tests: installs a list of answers for as long as it lives, then restores the previous
// source. remaining() tells whether a test's prompts consumed what it expected.
class ScopedAnswers {
 public:
  ScopedAnswers(std::initializer_list<std::string> answers);
  explicit ScopedAnswers(std::vector<std::string> answers);
  ~ScopedAnswers();
  ScopedAnswers(const ScopedAnswers&) = delete;
  ScopedAnswers& operator=(const ScopedAnswers&) = delete;

  std::size_t remaining() const;

 private:
  std::unique_ptr<InputSource> previous_;
  InputSource* mine_ = nullptr;
};

// Entity picking at a point for acedEntSel: the host program supplies the function that finds
// the entity whose geometry passes closest to the point within the pick aperture (the topmost
// wins a tie). It answers false when nothing is there. Without a picker a point picks nothing.
using EntityPicker = std::function<bool(const double point[3], AcDbObjectId& picked)>;
EntityPicker setEntityPicker(EntityPicker picker);

// Why the last entity selection found nothing, as the host's ERRNO reports it:
// 7 for a pick that hit nothing, 52 for Enter; 0 after a successful pick.
int lastSelectionErrno();

}  // namespace pf
