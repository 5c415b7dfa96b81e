// reg_model.cpp - registry keys and values in memory: names compared without regard to case,
// paths split at backslashes.
#include "winrt/reg_model.h"

#include <algorithm>

#include "winrt/codepage_internal.h"

namespace pf {
namespace reg {

int compareNames(const std::string& a, const std::string& b) {
  const unsigned char* pa = reinterpret_cast<const unsigned char*>(a.c_str());
  const unsigned char* pb = reinterpret_cast<const unsigned char*>(b.c_str());
  for (;;) {
    unsigned ca = cp::toLower(cp::nextChar(pa));
    unsigned cb = cp::toLower(cp::nextChar(pb));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

Key::Key(const Key& other) : name(other.name), isVolatile(other.isVolatile), values(other.values) {
  for (const auto& entry : other.subkeys)
    subkeys.emplace(entry.first, std::make_unique<Key>(*entry.second));
}

Key& Key::operator=(const Key& other) {
  if (this != &other) {
    Key copy(other);
    name = std::move(copy.name);
    isVolatile = copy.isVolatile;
    values = std::move(copy.values);
    subkeys = std::move(copy.subkeys);
  }
  return *this;
}

Value* Key::findValue(const std::string& valueName) {
  for (Value& v : values)
    if (compareNames(v.name, valueName) == 0) return &v;
  return nullptr;
}

Key* Key::findSubkey(const std::string& keyName) {
  auto it = subkeys.find(keyName);
  return it == subkeys.end() ? nullptr : it->second.get();
}

Key* Key::addSubkey(const std::string& keyName) {
  if (Key* existing = findSubkey(keyName)) return existing;
  auto key = std::make_unique<Key>();
  key->name = keyName;
  Key* raw = key.get();
  subkeys.emplace(keyName, std::move(key));
  return raw;
}

void Key::setValue(const std::string& valueName, DWORD type, const std::string& data) {
  if (Value* v = findValue(valueName)) {
    v->type = type;
    v->data = data;
    return;
  }
  values.push_back(Value{valueName, type, data});
}

bool Key::deleteValue(const std::string& valueName) {
  auto it = std::find_if(values.begin(), values.end(), [&](const Value& v) {
    return compareNames(v.name, valueName) == 0;
  });
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

void Key::removeSubkey(const std::string& keyName) { subkeys.erase(keyName); }

size_t nameLength(const std::string& name) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(name.c_str());
  const unsigned char* end = p + name.size();
  size_t count = 0;
  while (p < end) {
    if (*p == 0) {
      ++p;  // an embedded NUL is a character of its own
    } else if (cp::nextChar(p) == 0) {
      break;
    }
    ++count;
  }
  return count;
}

bool splitPath(const std::string& path, std::vector<std::string>& parts) {
  parts.clear();
  if (path.empty()) return true;
  if (path[0] == '\\') return false;
  std::string current;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(path.c_str());
  const unsigned char* end = p + path.size();
  while (p < end) {
    const unsigned char* start = p;
    unsigned c = cp::nextChar(p);
    if (c == 0) return false;  // an embedded NUL or a lead byte without its trail byte
    if (c == '\\') {
      if (current.empty()) return false;
      parts.push_back(current);
      current.clear();
    } else {
      current.append(reinterpret_cast<const char*>(start), p - start);
    }
  }
  if (!current.empty()) parts.push_back(current);
  return true;
}

Key* findPath(Key& from, const std::vector<std::string>& path) {
  Key* key = &from;
  for (const std::string& part : path) {
    key = key->findSubkey(part);
    if (key == nullptr) return nullptr;
  }
  return key;
}

}  // namespace reg
}  // namespace pf
