// reg_model.h - the registry's keys and values in memory, and the ".reg" text form of a hive.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "windef.h"

namespace pf {
namespace reg {

// Case-insensitive ordering of key and value names (character-wise in the current code page,
// as the registry compares names).
int compareNames(const std::string& a, const std::string& b);
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return compareNames(a, b) < 0;
  }
};

struct Value {
  std::string name;  // "" is the key's default value ("@" in the text form)
  DWORD type = 0;
  std::string data;  // the bytes exactly as written (strings in the ANSI code page)
};

struct Key {
  std::string name;          // spelled as when the key was created
  bool isVolatile = false;   // kept in memory only, never saved
  std::vector<Value> values;  // in the order they were first written
  std::map<std::string, std::unique_ptr<Key>, NameLess> subkeys;

  Key() = default;
  Key(const Key& other);
  Key& operator=(const Key& other);

  Value* findValue(const std::string& valueName);
  Key* findSubkey(const std::string& keyName);
  Key* addSubkey(const std::string& keyName);  // the existing one when it is already there
  void setValue(const std::string& valueName, DWORD type, const std::string& data);
  bool deleteValue(const std::string& valueName);
  void removeSubkey(const std::string& keyName);
};

// The limits of the registry: a key name of at most 255 characters, keys nested at most 512
// levels below a root, value names of at most 16,383 characters. Without them one deep key
// would make the text form (which spells every key's full path) grow with the square of its
// depth.
const size_t kMaxKeyNameChars = 255;
const size_t kMaxKeyDepth = 512;
const size_t kMaxValueNameChars = 16383;

// The number of characters of a name in the current code page (a double-byte character counts
// once).
size_t nameLength(const std::string& name);

// Splits a key path at its backslashes (never at the trail byte of a double-byte character).
// Answers false for a path with an empty component or a leading backslash; a single trailing
// backslash is ignored, as Windows does.
bool splitPath(const std::string& path, std::vector<std::string>& parts);

// Follows a path of names from a key; nullptr when a key on the way is missing.
Key* findPath(Key& from, const std::vector<std::string>& path);

// The text form of the HKEY_CURRENT_USER hive.
struct ParseError {
  int line = 0;
  std::string message;
};
// Reads a hive file's bytes (UTF-16 with a byte-order mark, UTF-8, or ANSI text). Answers false
// with the line and reason of the first fault; `root` is then unspecified.
bool parseHive(const std::string& bytes, Key& root, ParseError& error);
// The hive as "Windows Registry Editor Version 5.00" text (UTF-8, CR LF line ends); volatile
// keys are left out.
std::string formatHive(const Key& root);

}  // namespace reg
}  // namespace pf
