// reg_text.cpp - the ".reg" text form of the HKEY_CURRENT_USER hive.
//
// Reads what the Windows registry editor exports ("Windows Registry Editor Version 5.00", or the
// older "REGEDIT4"): [key] sections, "name"="text" with \\ and \" escapes, dword:, hex: and
// hex(type): lists continued over lines with a trailing backslash, [-key] and "name"=- removals
// and ; comments. Writes the same form. In version 5 files the string types stored as hex
// (REG_SZ that is not plain text, REG_EXPAND_SZ, REG_MULTI_SZ) hold UTF-16LE, as on Windows;
// in memory every string is in the ANSI code page.
#include <cstdio>
#include <cstring>

#include "winrt/codepage_internal.h"
#include "winrt/reg_model.h"
#include "winreg.h"

namespace pf {
namespace reg {
namespace {

const char kHeader5[] = "Windows Registry Editor Version 5.00";
const char kHeader4[] = "REGEDIT4";
const char kRoot[] = "HKEY_CURRENT_USER";

bool isStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The file's bytes as UTF-8 text.
std::string decodeFile(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string units;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                     (static_cast<unsigned char>(bytes[i + 1]) << 8));
    // Through the ANSI code page: the names and strings end up there anyway.
    return cp::ansiToUtf8(cp::utf16ToAnsi(units));
  }
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return bytes.substr(3);
  if (cp::isValidUtf8(bytes)) return bytes;
  return cp::ansiToUtf8(bytes);
}

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

class Parser {
 public:
  Parser(const std::string& text, Key& root, ParseError& error)
      : root_(root), error_(error) {
    size_t start = 0;
    while (start <= text.size()) {
      size_t nl = text.find('\n', start);
      std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines_.push_back(line);
      if (nl == std::string::npos) break;
      start = nl + 1;
    }
  }

  bool run() {
    root_ = Key();
    root_.name = kRoot;
    size_t i = 0;
    while (i < lines_.size() && trim(lines_[i]).empty()) ++i;
    if (i == lines_.size()) return true;  // an empty file is an empty hive
    std::string header = trim(lines_[i]);
    if (header == kHeader5) {
      unicode_ = true;
    } else if (header == kHeader4) {
      unicode_ = false;
    } else {
      return fail(static_cast<int>(i + 1), "expected \"" + std::string(kHeader5) + "\"");
    }
    for (++i; i < lines_.size(); ++i) {
      lineNo_ = static_cast<int>(i + 1);
      std::string line = trim(lines_[i]);
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        if (!parseKeyLine(line)) return false;
        continue;
      }
      if (line[0] != '"' && line[0] != '@') return fail(lineNo_, "expected a [key] or a value");
      // Join continuation lines of a hex list.
      while (!line.empty() && line.back() == '\\' && i + 1 < lines_.size() && isHexLine(line)) {
        line.pop_back();
        line += trim(lines_[++i]);
      }
      if (!parseValueLine(line)) return false;
    }
    return true;
  }

 private:
  // A name or path (ANSI) cut to a length that a message can show, at a character's end.
  static std::string shortened(const std::string& text) {
    const size_t kShown = 60;
    if (text.size() <= kShown) return text;
    const unsigned char* begin = reinterpret_cast<const unsigned char*>(text.c_str());
    const unsigned char* p = begin;
    while (static_cast<size_t>(p - begin) < kShown && cp::nextChar(p) != 0) {
    }
    return text.substr(0, static_cast<size_t>(p - begin)) + "...";
  }

  bool fail(int line, const std::string& message) {
    error_.line = line;
    error_.message = message;
    return false;
  }

  // True when the value's data is a hex list (only those continue over lines): the name is
  // skipped as a quoted string first, so a text value ending in an escaped backslash is not
  // taken for a continued list.
  static bool isHexLine(const std::string& line) {
    size_t pos = 0;
    if (line[0] == '"') {
      for (pos = 1; pos < line.size() && line[pos] != '"'; ++pos)
        if (line[pos] == '\\') ++pos;
    }
    size_t eq = line.find_first_not_of(" \t", pos + 1);
    if (eq == std::string::npos || line[eq] != '=') return false;
    size_t data = line.find_first_not_of(" \t", eq + 1);
    return data != std::string::npos && line.compare(data, 3, "hex") == 0;
  }

  bool parseKeyLine(const std::string& line) {
    if (line.back() != ']') return fail(lineNo_, "a key line must end with ']'");
    std::string path = cp::utf8ToAnsi(line.substr(1, line.size() - 2));
    bool remove = !path.empty() && path[0] == '-';
    if (remove) path.erase(0, 1);
    size_t rootLen = std::strlen(kRoot);
    if (compareNames(path.substr(0, rootLen), kRoot) != 0 ||
        (path.size() > rootLen && path[rootLen] != '\\'))
      return fail(lineNo_, "key \"" + shortened(path) + "\" is not below " + kRoot);
    std::vector<std::string> parts;
    if (!splitPath(path.size() > rootLen ? path.substr(rootLen + 1) : std::string(), parts))
      return fail(lineNo_, "malformed key path \"" + shortened(path) + "\"");
    if (parts.size() > kMaxKeyDepth)
      return fail(lineNo_, "key \"" + shortened(path) + "\" is nested " + std::to_string(parts.size()) +
                               " levels deep; the registry allows " + std::to_string(kMaxKeyDepth));
    for (const std::string& part : parts) {
      size_t length = nameLength(part);
      if (length > kMaxKeyNameChars)
        return fail(lineNo_, "key name \"" + shortened(part) + "\" has " + std::to_string(length) +
                                 " characters; the registry allows " + std::to_string(kMaxKeyNameChars));
    }
    current_ = nullptr;
    if (remove) {
      if (parts.empty()) {
        root_.values.clear();
        root_.subkeys.clear();
      } else {
        std::vector<std::string> parent(parts.begin(), parts.end() - 1);
        if (Key* p = findPath(root_, parent)) p->removeSubkey(parts.back());
      }
      return true;
    }
    Key* key = &root_;
    for (const std::string& part : parts) key = key->addSubkey(part);
    current_ = key;
    return true;
  }

  // A quoted string at text[pos] (pos at the opening quote); pos ends after the closing quote.
  bool parseQuoted(const std::string& text, size_t& pos, std::string& out) {
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
      char c = text[pos];
      if (c == '"') {
        ++pos;
        return true;
      }
      if (c == '\\' && pos + 1 < text.size()) {
        char n = text[++pos];
        switch (n) {
          case '\\': out += '\\'; break;
          case '"': out += '"'; break;
          case 'n': out += '\n'; break;
          case 'r': out += '\r'; break;
          case 't': out += '\t'; break;
          case '0': out += '\0'; break;
          default: return fail(lineNo_, std::string("unknown escape \\") + n + " in a string");
        }
        continue;
      }
      out += c;
    }
    return fail(lineNo_, "a string is missing its closing quote");
  }

  bool parseHexList(const std::string& list, std::string& bytes) {
    bytes.clear();
    std::string item;
    size_t pos = 0;
    while (pos <= list.size()) {
      size_t comma = list.find(',', pos);
      item = trim(list.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos));
      bool last = comma == std::string::npos;
      if (item.empty()) {
        if (last) break;  // "hex:" with no bytes, or a trailing comma
        return fail(lineNo_, "empty byte in a hex list");
      }
      if (item.size() > 2 || item.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return fail(lineNo_, "\"" + item + "\" is not a hex byte");
      bytes += static_cast<char>(std::strtoul(item.c_str(), nullptr, 16));
      if (last) break;
      pos = comma + 1;
    }
    return true;
  }

  bool parseValueLine(const std::string& line) {
    if (current_ == nullptr) return fail(lineNo_, "a value outside a [key] section");
    size_t pos = 0;
    std::string name;
    if (line[0] == '@') {
      pos = 1;
    } else if (!parseQuoted(line, pos, name)) {
      return false;
    }
    name = cp::utf8ToAnsi(name);
    size_t nameChars = nameLength(name);
    if (nameChars > kMaxValueNameChars)
      return fail(lineNo_, "value name \"" + shortened(name) + "\" has " + std::to_string(nameChars) +
                               " characters; the registry allows " + std::to_string(kMaxValueNameChars));
    std::string rest = trim(line.substr(pos));
    if (rest.empty() || rest[0] != '=') return fail(lineNo_, "expected '=' after the value name");
    std::string data = trim(rest.substr(1));
    if (data == "-") {
      current_->deleteValue(name);
      return true;
    }
    if (!data.empty() && data[0] == '"') {
      size_t p = 0;
      std::string text;
      if (!parseQuoted(data, p, text)) return false;
      if (!trim(data.substr(p)).empty()) return fail(lineNo_, "unexpected text after a string");
      current_->setValue(name, REG_SZ, cp::utf8ToAnsi(text) + '\0');
      return true;
    }
    if (data.compare(0, 6, "dword:") == 0) {
      std::string digits = trim(data.substr(6));
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return fail(lineNo_, "dword: needs 1 to 8 hex digits");
      unsigned long v = std::strtoul(digits.c_str(), nullptr, 16);
      std::string bytes(4, '\0');
      for (int k = 0; k < 4; ++k) bytes[k] = static_cast<char>((v >> (8 * k)) & 0xFF);
      current_->setValue(name, REG_DWORD, bytes);
      return true;
    }
    if (data.compare(0, 3, "hex") == 0) {
      DWORD type = REG_BINARY;
      size_t colon = data.find(':');
      if (colon == std::string::npos) return fail(lineNo_, "expected ':' after hex");
      std::string typeSuffix = data.substr(3, colon - 3);
      if (!typeSuffix.empty()) {
        if (typeSuffix.size() < 3 || typeSuffix.front() != '(' || typeSuffix.back() != ')' ||
            typeSuffix.find_first_not_of("0123456789abcdefABCDEF", 1) != typeSuffix.size() - 1 ||
            typeSuffix.size() > 10)
          return fail(lineNo_, "malformed value type \"hex" + typeSuffix + "\"");
        type = static_cast<DWORD>(std::strtoul(typeSuffix.c_str() + 1, nullptr, 16));
      }
      std::string bytes;
      if (!parseHexList(data.substr(colon + 1), bytes)) return false;
      if (unicode_ && (isStringType(type))) {
        if (bytes.size() % 2 != 0)
          return fail(lineNo_, "a UTF-16 string value has an odd number of bytes");
        std::u16string units;
        for (size_t k = 0; k + 1 < bytes.size(); k += 2)
          units += static_cast<char16_t>(static_cast<unsigned char>(bytes[k]) |
                                         (static_cast<unsigned char>(bytes[k + 1]) << 8));
        bytes = cp::utf16ToAnsi(units);
      }
      current_->setValue(name, type, bytes);
      return true;
    }
    return fail(lineNo_, "unknown value data \"" + data.substr(0, 20) + "\"");
  }

  Key& root_;
  ParseError& error_;
  std::vector<std::string> lines_;
  Key* current_ = nullptr;
  bool unicode_ = true;
  int lineNo_ = 0;
};

std::string quote(const std::string& ansi) {
  std::string out = "\"";
  for (char c : cp::ansiToUtf8(ansi)) {
    if (c == '\n') {
      out += "\\n";  // only value names get here with line breaks; strings go as hex(1)
    } else if (c == '\r') {
      out += "\\r";
    } else {
      if (c == '\\' || c == '"') out += '\\';
      out += c;
    }
  }
  return out + "\"";
}

// A REG_SZ that reads back the same when written as "text": one terminating NUL and no line
// breaks or other NULs inside.
bool isPlainText(const std::string& data) {
  if (data.empty() || data.back() != '\0') return false;
  for (size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == '\0' || data[i] == '\n' || data[i] == '\r') return false;
  return true;
}

void appendHex(std::string& out, const std::string& prefix, const std::string& bytes) {
  std::string line = prefix;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(bytes[i]));
    line += buf;
    if (i + 1 < bytes.size()) {
      line += ',';
      if (line.size() > 76) {  // wrap as the registry editor does, below 80 columns
        out += line + "\\\r\n";
        line = "  ";
      }
    }
  }
  out += line + "\r\n";
}

void formatValue(std::string& out, const Value& v) {
  std::string prefix = (v.name.empty() ? std::string("@") : quote(v.name)) + "=";
  if (v.type == REG_SZ && isPlainText(v.data)) {
    out += prefix + quote(v.data.substr(0, v.data.size() - 1)) + "\r\n";
    return;
  }
  if (v.type == REG_DWORD && v.data.size() == 4) {
    unsigned long value = 0;
    for (int k = 3; k >= 0; --k) value = (value << 8) | static_cast<unsigned char>(v.data[k]);
    char buf[24];
    std::snprintf(buf, sizeof buf, "dword:%08lx", value);
    out += prefix + buf + "\r\n";
    return;
  }
  std::string bytes = v.data;
  if (isStringType(v.type)) {
    std::u16string units = cp::ansiToUtf16(v.data);
    bytes.clear();
    for (char16_t u : units) {
      bytes += static_cast<char>(u & 0xFF);
      bytes += static_cast<char>(u >> 8);
    }
  }
  char type[16];
  if (v.type == REG_BINARY)
    std::snprintf(type, sizeof type, "hex:");
  else
    std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(v.type));
  appendHex(out, prefix + type, bytes);
}

void formatKey(std::string& out, const Key& key, const std::string& path, bool isRoot) {
  if (key.isVolatile) return;
  if (!isRoot || !key.values.empty()) {
    out += "\r\n[" + cp::ansiToUtf8(path) + "]\r\n";
    for (const Value& v : key.values) formatValue(out, v);
  }
  for (const auto& entry : key.subkeys)
    formatKey(out, *entry.second, path + "\\" + entry.second->name, false);
}

}  // namespace

bool parseHive(const std::string& bytes, Key& root, ParseError& error) {
  Parser parser(decodeFile(bytes), root, error);
  return parser.run();
}

std::string formatHive(const Key& root) {
  std::string out = std::string(kHeader5) + "\r\n";
  formatKey(out, root, kRoot, true);
  return out;
}

}  // namespace reg
}  // namespace pf
