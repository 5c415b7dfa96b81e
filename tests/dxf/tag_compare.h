// tag_compare.h - compares two drawings group for group, as a reader sees them: numbers by value
// (a real written with other digits of the same value is the same), handles without regard to
// case, everything else exactly. Every differing group is reported, with the lines of both.
#pragma once

#include <string>
#include <vector>

namespace dxftest {

struct TagDifferences {
  std::size_t count = 0;           // differing groups (and groups only one side has)
  std::vector<std::string> shown;  // the first of them, one line each
  std::string text() const;        // the count and the lines shown
};

// The groups of two drawing files compared in order, record by record (a record is a group 0
// and what follows it up to the next). Shows at most `show` differences.
TagDifferences compareTags(const std::string& before, const std::string& after, std::size_t show = 40);

}  // namespace dxftest
