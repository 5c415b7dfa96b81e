// script_check.h - reads a script whole and checks that it is text before anything runs.
#pragma once
#include <string>

namespace cadhost {

// Reads the script at path ("-": standard input) into text. Answers false with "FILE: reason"
// or "FILE:LINE: reason" when it cannot be read or holds binary data.
bool readScript(const std::string& path, std::string& text, std::string& error);

}  // namespace cadhost
