// pf/input.h - where the command line's input comes from.
//
// Every prompt (acedGetKword, acedEntSel, acedGetPoint, the host's "Command:" prompt, a
// dialog's "@" answer lines) reads from one input source that the host chooses: a script file,
// the text of -c split on ';', an interactive terminal, or a test's list of answers.
//
// Scripts and -c text are read as the host reads its scripts: a space ends an input just as the
// end of the line does, so "ZORVIK U" is two inputs and a trailing space is one more Enter. A
// prompt that takes text with spaces (acedGetString with cronly, an attribute value) reads the
// rest of the line instead. Double quotes keep spaces inside one input ("my plans/a.dxf", quotes
// included: the file prompt takes them off). A line that starts with '@' and a letter is a
// dialog answer and stays one input. A terminal and a test's answer list hand out one input per
// line or answer. Everywhere an empty input is Enter, "^C" cancels, and the end of the input
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

// How much of a script line one input takes: up to the next space (most prompts), or all that
// is left of the line (prompts that take text with spaces).
enum class Extent { kWord, kRestOfLine };

class InputSource {
 public:
  virtual ~InputSource();

  // Consumes and answers the next input. `prompt` is what the user is being asked; a terminal
  // shows it before reading, other sources ignore it. Sources that hand out one input per line
  // ignore `extent`.
  virtual Input read(const std::string& prompt, Extent extent) = 0;
  Input read(const std::string& prompt) { return read(prompt, Extent::kWord); }

  // The next input (as a word prompt would read it) without consuming it (a terminal reads a
  // line to answer).
  virtual const Input& peek() = 0;

  // True when a user types the answers at a terminal (prompts are shown there, not echoed).
  virtual bool interactive() const { return false; }

  // Where the last input came from, for messages: "build.scr:12", "-c input 3", "answer 2".
  virtual std::string where() const = 0;
};

// A script: inputs ended by spaces and line ends (see above); lines whose first non-blank
// character is ';' are comments and skipped; "^C" cancels; a trailing '\r' and a leading UTF-8
// byte-order mark are dropped. `name` appears in messages.
std::unique_ptr<InputSource> makeScriptInput(std::istream& in, const std::string& name);
// The same from a file; nullptr (and a reason) when the file cannot be read.
std::unique_ptr<InputSource> makeScriptFileInput(const std::string& path, std::string* error);
// The text of -c: ';' ends a line of a script ("ZORVIK;Update" and "ZORVIK Update" are the
// same; "A;;B" has an Enter between).
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
Input readInput(const std::string& prompt, Extent extent = Extent::kWord);

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
