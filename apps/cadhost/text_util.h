// text_util.h - small text helpers the host program's commands and prompts share.
#pragma once
#include <cstddef>
#include <string>

namespace cadhost {

// The text without blanks and tabs at either end.
std::string trimBlanks(const std::string& s);

// The text in upper case (ASCII letters).
std::string upperCase(std::string s);

// True when a equals b, ignoring the case of ASCII letters.
bool equalsIgnoringCase(const std::string& a, const char* b);

// True when answer is an abbreviation of keyword (ignoring case) of at least `minimum` letters.
bool abbreviates(const std::string& answer, const char* keyword, std::size_t minimum);

// Takes a string the host allocated for the caller (tag(), textString(), layer()), frees it
// with acutDelString and answers its text ("" for null).
std::string takeHostString(char* s);

}  // namespace cadhost
