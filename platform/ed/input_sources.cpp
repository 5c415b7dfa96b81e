// Input sources: scripts, -c text, a terminal and test answer lists, and the current source.
#include <cctype>
#include <fstream>
#include <istream>
#include <utility>

#include "ed/keywords.h"
#include "ed/prompt_state.h"
#include "pf/input.h"
#include "pf/output.h"

namespace pf {

InputSource::~InputSource() = default;

namespace {

// "^C" (any case, surrounding blanks allowed) cancels.
Input classify(std::string line) {
  Input in;
  if (equalsIgnoringCase(trimBlanks(line), "^C")) {
    in.kind = Input::kCancel;
  } else {
    in.kind = Input::kText;
    in.text = std::move(line);
  }
  return in;
}

// A dialog answer: '@' and a letter after any leading blanks ("@ok", "@select 2016 AREA"). A
// relative point ("@10,0") is not one.
bool isDialogLine(std::string_view line) {
  line = trimBlanks(line);
  return line.size() >= 2 && line[0] == '@' && std::isalpha(static_cast<unsigned char>(line[1]));
}

// Splits lines into inputs as the host reads a script: a space or the line's end ends an input,
// except inside double quotes, in a dialog answer line, and where the prompt takes the rest of
// the line. Derived sources supply the lines.
class TokenizingInput : public InputSource {
 public:
  Input read(const std::string&, Extent extent) override {
    Input in = next(extent, true);
    peeked_ = false;
    return in;
  }

  const Input& peek() override {
    if (!peeked_) {
      peek_ = next(Extent::kWord, false);
      peeked_ = true;
    }
    return peek_;
  }

 protected:
  // The next line (without its line end); false at the end of the input.
  virtual bool nextLine(std::string& line) = 0;

 private:
  Input next(Extent extent, bool consume) {
    if (!lineOpen_) {
      if (!nextLine(line_)) return Input();
      lineOpen_ = true;
      pos_ = 0;
    }
    std::size_t end = line_.size();  // where the input ends: a space, or the line's end
    const bool wholeRest = extent == Extent::kRestOfLine || (pos_ == 0 && isDialogLine(line_));
    if (!wholeRest) {
      bool quoted = false;
      for (std::size_t i = pos_; i < line_.size(); ++i) {
        if (line_[i] == '"') quoted = !quoted;
        if (line_[i] == ' ' && !quoted) {
          end = i;
          break;
        }
      }
    }
    std::string text = line_.substr(pos_, end - pos_);
    if (consume) {
      if (end < line_.size()) {
        pos_ = end + 1;  // after the space; the line goes on (an empty rest is one more Enter)
      } else {
        lineOpen_ = false;
      }
    }
    return classify(std::move(text));
  }

  std::string line_;
  std::size_t pos_ = 0;
  bool lineOpen_ = false;
  bool peeked_ = false;
  Input peek_;
};

// Script lines read one at a time from a stream.
class ScriptStreamInput : public TokenizingInput {
 public:
  ScriptStreamInput(std::istream& in, std::string name) : in_(&in), name_(std::move(name)) {}

  ScriptStreamInput(std::unique_ptr<std::istream> owned, std::string name)
      : owned_(std::move(owned)), in_(owned_.get()), name_(std::move(name)) {}

  std::string where() const override { return name_ + ":" + std::to_string(line_); }

 protected:
  bool nextLine(std::string& line) override {
    while (std::getline(*in_, line)) {
      ++line_;
      // Editors on Windows may start a script with a UTF-8 byte-order mark.
      if (line_ == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::string_view t = trimBlanks(line);
      if (!t.empty() && t.front() == ';') continue;
      return true;
    }
    return false;
  }

 private:
  std::unique_ptr<std::istream> owned_;
  std::istream* in_;
  std::string name_;
  int line_ = 0;
};

// The text of -c: its ';'-separated parts are the lines.
class CommandTextInput : public TokenizingInput {
 public:
  explicit CommandTextInput(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  std::string where() const override { return "-c input " + std::to_string(pos_); }

 protected:
  bool nextLine(std::string& line) override {
    if (pos_ >= lines_.size()) return false;
    line = lines_[pos_++];
    return true;
  }

 private:
  std::vector<std::string> lines_;
  std::size_t pos_ = 0;
};

// A terminal: one input per line, with one line of look-ahead.
class TerminalLineInput : public InputSource {
 public:
  explicit TerminalLineInput(std::istream& in) : in_(&in) {}

  Input read(const std::string& prompt, Extent) override {
    if (!ahead_) writeOpenPrompt(prompt);
    fill();
    ahead_ = false;
    noteLineEndedByUser();
    return std::move(next_);
  }

  const Input& peek() override {
    fill();
    return next_;
  }

  bool interactive() const override { return true; }

  std::string where() const override { return "terminal:" + std::to_string(line_); }

 private:
  void fill() {
    if (ahead_) return;
    ahead_ = true;
    std::string line;
    if (std::getline(*in_, line)) {
      ++line_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      next_ = classify(std::move(line));
      return;
    }
    next_ = Input();
  }

  std::istream* in_;
  bool ahead_ = false;
  Input next_;
  int line_ = 0;
};

// A fixed list of inputs: a test's answers, one input each.
class ListInput : public InputSource {
 public:
  ListInput(std::vector<std::string> items, std::string label)
      : items_(std::move(items)), label_(std::move(label)) {}

  Input read(const std::string&, Extent) override {
    Input in = peek();
    if (pos_ < items_.size()) ++pos_;
    return in;
  }

  const Input& peek() override {
    peeked_ = pos_ < items_.size() ? classify(items_[pos_]) : Input();
    return peeked_;
  }

  std::string where() const override { return label_ + " " + std::to_string(pos_); }

  std::size_t remaining() const { return items_.size() - pos_; }

 private:
  std::vector<std::string> items_;
  std::string label_;
  std::size_t pos_ = 0;
  Input peeked_;
};

std::unique_ptr<InputSource>& current() {
  static std::unique_ptr<InputSource> source;
  return source;
}

bool g_quiet = false;

}  // namespace

std::unique_ptr<InputSource> makeScriptInput(std::istream& in, const std::string& name) {
  return std::make_unique<ScriptStreamInput>(in, name);
}

std::unique_ptr<InputSource> makeScriptFileInput(const std::string& path, std::string* error) {
  auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*file) {
    if (error) *error = "cannot open script " + path;
    return nullptr;
  }
  return std::make_unique<ScriptStreamInput>(std::move(file), path);
}

std::unique_ptr<InputSource> makeCommandTextInput(const std::string& text) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (;;) {
    std::size_t semi = text.find(';', start);
    items.push_back(text.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return std::make_unique<CommandTextInput>(std::move(items));
}

std::unique_ptr<InputSource> makeAnswerListInput(std::vector<std::string> answers) {
  return std::make_unique<ListInput>(std::move(answers), "answer");
}

std::unique_ptr<InputSource> makeTerminalInput(std::istream& in) {
  return std::make_unique<TerminalLineInput>(in);
}

std::unique_ptr<InputSource> setInputSource(std::unique_ptr<InputSource> source) {
  std::unique_ptr<InputSource> old = std::move(current());
  current() = std::move(source);
  return old;
}

InputSource* inputSource() { return current().get(); }

void setQuietPrompts(bool quiet) { g_quiet = quiet; }
bool quietPrompts() { return g_quiet; }

Input readInput(const std::string& prompt, Extent extent) {
  InputSource* src = inputSource();
  Input in = src ? src->read(prompt, extent) : Input();
  // Whatever asked is cancelled; the command runner reports the command as cancelled.
  if (in.kind != Input::kText) noteCancelledPrompt();
  // The end of the input is nobody's answer: it leaves no line in the transcript.
  if (in.kind == Input::kEnd) return in;
  if ((src == nullptr || !src->interactive()) && !g_quiet) {
    writeAnsweredPrompt(prompt, in.kind == Input::kText ? in.text : std::string("*Cancel*"));
  } else if (src != nullptr && src->interactive() && in.kind == Input::kCancel) {
    writeOutput("*Cancel*\n");
  }
  return in;
}

ScopedAnswers::ScopedAnswers(std::initializer_list<std::string> answers)
    : ScopedAnswers(std::vector<std::string>(answers)) {}

ScopedAnswers::ScopedAnswers(std::vector<std::string> answers) {
  auto source = makeAnswerListInput(std::move(answers));
  mine_ = source.get();
  previous_ = setInputSource(std::move(source));
}

ScopedAnswers::~ScopedAnswers() {
  if (inputSource() == mine_) setInputSource(std::move(previous_));
}

std::size_t ScopedAnswers::remaining() const {
  if (inputSource() != mine_) return 0;
  return static_cast<ListInput*>(mine_)->remaining();
}

}  // namespace pf
