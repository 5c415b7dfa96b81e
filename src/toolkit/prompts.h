// prompts.h - the command-line helpers the toolkit commands share: keyword questions and
// messages from the string table.
#pragma once

#include <string>

#include "afxwin.h"

class AcDbDatabase;

namespace toolkit {

// Asks the keyword question `promptId` with the keyword list `keywordsId` ("A B _A B"); Enter
// answers defaultKeyword. Answers the keyword chosen (as the list spells it), or an empty text
// when the user cancelled.
std::string askKeyword(UINT keywordsId, UINT promptId, const char* defaultKeyword);

// Asks the Yes/No question `promptId`; answers 1 for Yes, 0 for No, -1 for a cancel.
int askYesNo(UINT promptId, bool defaultYes);

// The string-table entry `id` used as a printf format.
std::string formatText(UINT id, ...);
// Prints the string-table entry `id` used as a printf format.
void printText(UINT id, ...);

// The working drawing a command acts on; when there is none, says so and answers nullptr.
AcDbDatabase* workingDrawingOrSay();

}  // namespace toolkit
