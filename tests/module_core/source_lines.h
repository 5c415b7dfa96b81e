// source_lines.h - finds the line of a reporting site in the module's sources.
//
// ErrorLog records and assertion boxes carry the source line of the site that made them. The
// tests look that line up in the source text by a snippet unique to the site, so that they
// check the real line without repeating line numbers that move with every edit.
#pragma once

#include <fstream>
#include <string>

#include <gtest/gtest.h>

// The 1-based line of `path` (relative to the source tree) that contains `snippet`; 0 (and a
// test failure) when the snippet is missing or occurs on more than one line.
inline int sourceLineOf(const std::string& path, const std::string& snippet)
{
    std::ifstream in(std::string(ZORVIK_SOURCE_DIR) + "/" + path);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return 0;
    }
    std::string text;
    int line = 0;
    int found = 0;
    int matches = 0;
    while (std::getline(in, text)) {
        ++line;
        if (text.find(snippet) != std::string::npos) {
            found = line;
            ++matches;
        }
    }
    if (matches != 1) {
        ADD_FAILURE() << "snippet '" << snippet << "' occurs " << matches << " times in " << path;
        return 0;
    }
    return found;
}
