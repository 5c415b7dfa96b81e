// dxf_test_util.h - helpers of the DXF tests: temporary files, a hand-built R2000 drawing with a
// linked polyline, reading a saved file back as records, and a database that must end closed.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "dbmain.h"
#include "dxf/dxf_reader.h"
#include "pf/dbdebug.h"

namespace dxftest {

// A directory of its own for each test process, below the build tree.
inline std::string tempDir() {
  static std::string dir;
  if (dir.empty()) {
    dir = std::string(ZORVIK_BINARY_DIR) + "/test-tmp";
    ::mkdir(dir.c_str(), 0777);
    dir += "/dxf-" + std::to_string(::getpid());
    ::mkdir(dir.c_str(), 0777);
  }
  return dir;
}

inline std::string tempPath(const std::string& name) { return tempDir() + "/" + name; }

inline std::string writeFile(const std::string& name, const std::string& text) {
  std::string path = tempPath(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// One record of a DXF file: its type, handle (as written) and groups after `0 type`.
struct Record {
  std::string type;
  std::string handle;
  std::vector<std::pair<int, std::string>> tags;
  unsigned line = 0;

  std::vector<std::string> values(int code) const {
    std::vector<std::string> out;
    for (const auto& t : tags)
      if (t.first == code) out.push_back(t.second);
    return out;
  }
  std::string first(int code) const {
    for (const auto& t : tags)
      if (t.first == code) return t.second;
    return std::string();
  }
  // The codes in order, as "code code code" (for layout checks).
  std::string codes() const {
    std::string s;
    for (const auto& t : tags) s += (s.empty() ? "" : " ") + std::to_string(t.first);
    return s;
  }
};

// Every record of a file (section markers included, as records of type SECTION/ENDSEC...).
inline std::vector<Record> readRecords(const std::string& path) {
  std::string text = readFile(path);
  pf::dxf::TagReader r(text, path);
  std::vector<Record> out;
  pf::dxf::Tag t;
  while (r.next(t)) {
    if (t.code == 0) {
      Record rec;
      rec.type = std::string(t.value);
      rec.line = t.line;
      out.push_back(rec);
      continue;
    }
    if (out.empty()) continue;
    Record& rec = out.back();
    if (rec.handle.empty() && rec.type != "SECTION" && (t.code == 5 || (t.code == 105 && rec.type == "DIMSTYLE")))
      rec.handle = std::string(t.value);
    rec.tags.emplace_back(t.code, std::string(t.value));
  }
  return out;
}

inline std::map<std::string, Record> byHandle(const std::vector<Record>& recs) {
  std::map<std::string, Record> m;
  for (const Record& r : recs)
    if (!r.handle.empty()) m[r.handle] = r;
  return m;
}

inline std::vector<Record> ofType(const std::vector<Record>& recs, const std::string& type) {
  std::vector<Record> out;
  for (const Record& r : recs)
    if (r.type == type) out.push_back(r);
  return out;
}

// ---- Editing drawing text line by line -------------------------------------------------------

using Lines = std::vector<std::string>;

inline Lines linesOf(const std::string& text) {
  Lines out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

inline std::string textOf(const Lines& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

// The lines of one section, from the code line of its `0 SECTION` to its ENDSEC line.
inline Lines sectionLines(const Lines& lines, const std::string& name) {
  for (std::size_t i = 1; i + 2 < lines.size(); ++i)
    if (lines[i] == "SECTION" && lines[i + 2] == name)
      for (std::size_t j = i; j < lines.size(); ++j)
        if (lines[j] == "ENDSEC") return Lines(lines.begin() + static_cast<long>(i - 1), lines.begin() + static_cast<long>(j + 1));
  ADD_FAILURE() << "no section " << name;
  return {};
}

// A drawing made of the sections of `text` in the order given, then `0 EOF`.
inline std::string withSections(const std::string& text, std::initializer_list<const char*> order) {
  const Lines lines = linesOf(text);
  Lines out;
  for (const char* name : order) {
    Lines sec = sectionLines(lines, name);
    out.insert(out.end(), sec.begin(), sec.end());
  }
  out.push_back("0");
  out.push_back("EOF");
  return textOf(out);
}

// The hand-built R2000 drawing: a room polyline 41 whose extension dictionary 44 holds the link
// object 45 (also a persistent reactor of the polyline), pointing at the AREA attribute 3F of
// the tag block reference 3E. `reactorsFirst` writes the polyline's reactor group before its
// extension dictionary; `linkVersion` is the link object's group 70.
std::string linkedDrawing(bool reactorsFirst = false, int linkVersion = 1, const char* eol = "\r\n");

// A database for one test; the test fails if anything is still open at its end.
class DbScope {
 public:
  explicit DbScope(bool buildDefault = false) : db(new AcDbDatabase(buildDefault, true)) {}
  ~DbScope() {
    EXPECT_EQ(pf::openObjectsReport(db), "");
    delete db;
  }
  AcDbDatabase* operator->() const { return db; }
  AcDbDatabase* db;
};

// The object of a handle (given as hex text), opened for read; the caller closes it.
AcDbObject* openByHandle(AcDbDatabase* db, const char* hex);

}  // namespace dxftest
