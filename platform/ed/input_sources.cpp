// Input sources: scripts, -c text, a terminal and test answer lists, and the current source.
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

// Lines read one at a time from a stream, with one line of look-ahead.
class StreamInput : public InputSource {
 public:
  StreamInput(std::istream& in, std::string name, bool skipComments, bool interactive)
      : in_(&in), name_(std::move(name)), skipComments_(skipComments), interactive_(interactive) {}

  StreamInput(std::unique_ptr<std::istream> owned, std::string name)
      : owned_(std::move(owned)), in_(owned_.get()), name_(std::move(name)), skipComments_(true) {}

  Input read(const std::string& prompt) override {
    if (interactive_ && !ahead_) writeOpenPrompt(prompt);
    fill();
    ahead_ = false;
    if (interactive_) noteLineEndedByUser();
    return std::move(next_);
  }

  const Input& peek() override {
    fill();
    return next_;
  }

  bool interactive() const override { return interactive_; }

  std::string where() const override { return name_ + ":" + std::to_string(line_); }

 private:
  void fill() {
    if (ahead_) return;
    ahead_ = true;
    std::string line;
    while (std::getline(*in_, line)) {
      ++line_;
      // Editors on Windows may start a script with a UTF-8 byte-order mark.
      if (line_ == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (skipComments_) {
        std::string_view t = trimBlanks(line);
        if (!t.empty() && t.front() == ';') continue;
      }
      next_ = classify(std::move(line));
      return;
    }
    next_ = Input();
  }

  std::unique_ptr<std::istream> owned_;
  std::istream* in_;
  std::string name_;
  bool skipComments_;
  bool interactive_ = false;
  bool ahead_ = false;
  Input next_;
  int line_ = 0;
};

// A fixed list of inputs: -c text and test answers.
class ListInput : public InputSource {
 public:
  ListInput(std::vector<std::string> items, std::string label)
      : items_(std::move(items)), label_(std::move(label)) {}

  Input read(const std::string&) override {
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
  return std::make_unique<StreamInput>(in, name, true, false);
}

std::unique_ptr<InputSource> makeScriptFileInput(const std::string& path, std::string* error) {
  auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*file) {
    if (error) *error = "cannot open script " + path;
    return nullptr;
  }
  return std::make_unique<StreamInput>(std::move(file), path);
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
  return std::make_unique<ListInput>(std::move(items), "-c input");
}

std::unique_ptr<InputSource> makeAnswerListInput(std::vector<std::string> answers) {
  return std::make_unique<ListInput>(std::move(answers), "answer");
}

std::unique_ptr<InputSource> makeTerminalInput(std::istream& in) {
  return std::make_unique<StreamInput>(in, "terminal", false, true);
}

std::unique_ptr<InputSource> setInputSource(std::unique_ptr<InputSource> source) {
  std::unique_ptr<InputSource> old = std::move(current());
  current() = std::move(source);
  return old;
}

InputSource* inputSource() { return current().get(); }

void setQuietPrompts(bool quiet) { g_quiet = quiet; }
bool quietPrompts() { return g_quiet; }

Input readInput(const std::string& prompt) {
  InputSource* src = inputSource();
  Input in = src ? src->read(prompt) : Input();
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
