// ed/prompt_state.h - state shared by the prompt functions: acedInitGet's pending settings, the
// last keyword entered, and whether a prompt was cancelled during the running command.
#pragma once
#include <string>
#include <string_view>

#include "ed/keywords.h"

namespace pf {

// What acedInitGet set up for the next input call.
struct InitGetSettings {
  int flags = 0;
  KeywordList keywords;
};

// Hands the pending settings to an input call and clears them (they apply to one call only).
InitGetSettings takeInitGet();

// The input that made the last input call answer RTKWORD (what acedGetInput returns).
void setLastKeywordInput(const std::string& text);

// Cancelled prompts (pf::readInput notes every ^C and end of input): the command runner asks
// whether the command it ran was cancelled.
void noteCancelledPrompt();
bool takeCancelledPrompt();

// The outcome of reading one answer: text, or a status that ends the input call.
enum class Answer { kText, kEnter, kCancel };

// Parses a typed point: "x,y", "x,y,z" or "dist<angle" (degrees), each optionally
// "@"-relative to `last`. A missing z is 0 (or last z for a relative point).
bool parsePoint(std::string_view text, const double last[3], double out[3]);

// Reads an answer to `prompt` and strips surrounding blanks from typed text.
Answer readAnswer(const char* prompt, std::string& text);

}  // namespace pf
