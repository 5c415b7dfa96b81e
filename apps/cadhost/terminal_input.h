// terminal_input.h - the interactive command line: prompts shown on the terminal, answers read
// from it, and Ctrl-C cancelling the current command without ending the program.
#pragma once
#include <memory>

#include "pf/input.h"

namespace cadhost {

// Installs the Ctrl-C handler (an interrupted read becomes a cancel) and answers the source.
std::unique_ptr<pf::InputSource> makeInterruptibleTerminalInput();

}  // namespace cadhost
