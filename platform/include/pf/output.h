// pf/output.h - the command line's text output: one swappable sink for everything the host shows.
//
// Every acutPrintf, every echoed prompt and every host message goes through here, so the host
// program, a terminal and the tests each decide where the transcript ends up by setting the sink.
// The transcript follows the command line's conventions: a prompt starts on a fresh line and is
// followed by the input that answered it; host text written after an answered prompt starts on
// the next line (a leading "\n" in that text ends the prompt line instead of adding a blank one).
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace pf {

// Receives the final bytes of the transcript, in order.
using OutputSink = std::function<void(std::string_view text)>;

// Installs the sink and answers the one it replaces. An empty sink restores the default, which
// writes to standard output.
OutputSink setOutputSink(OutputSink sink);

// Writes command text (what acutPrintf prints), applying the line conventions above.
void writeOutput(std::string_view text);

// printf-style writeOutput. Answers the number of characters written, or -1 for a bad format.
int printOutput(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes "prompt answer" as one transcript line, as the command line shows a prompt answered
// from a script. Leading newlines of the prompt are dropped (the line always starts fresh) and
// trailing blanks of the line are trimmed.
void writeAnsweredPrompt(std::string_view prompt, std::string_view answer);

// Shows a prompt that a user is about to answer at a terminal (no line end), and then records
// that the user's Enter has ended the line.
void writeOpenPrompt(std::string_view prompt);
void noteLineEndedByUser();

// Ends the current line if anything is pending on it (the host calls this when a run ends).
void finishOutputLine();

// Forgets the line state (for a new transcript, e.g. at the start of a test).
void resetOutputState();

// Collects the transcript into a string while it lives, then restores the previous sink and
// line state. Tests compare transcripts with it.
class OutputCapture {
 public:
  OutputCapture();
  ~OutputCapture();
  OutputCapture(const OutputCapture&) = delete;
  OutputCapture& operator=(const OutputCapture&) = delete;

  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

 private:
  std::string text_;
  OutputSink previous_;
};

}  // namespace pf
