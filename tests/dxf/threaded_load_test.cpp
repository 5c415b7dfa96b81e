// Loading with the tag reader in a thread of its own gives what loading on one thread gives:
// the same refusal (status, file, line, reason, log) wherever the fault is, and for a drawing
// that loads, the same objects and the same saved file.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "dxf/dxf_tag_stream.h"
#include "dxf_test_util.h"
#include "db/db_services.h"
#include "pf/dxf.h"

using namespace dxftest;
using pf::dxf::StreamSettings;

namespace {

// The reader's settings for one load, restored afterwards.
class SettingsScope {
 public:
  explicit SettingsScope(const StreamSettings& s) : saved_(pf::dxf::streamSettings()) { pf::dxf::setStreamSettings(s); }
  ~SettingsScope() { pf::dxf::setStreamSettings(saved_); }

 private:
  StreamSettings saved_;
};

enum class Path { kOneThread, kThreadedSmallRing, kDefault };

StreamSettings settingsFor(Path path) {
  switch (path) {
    case Path::kOneThread: return StreamSettings{std::numeric_limits<std::size_t>::max(), 4096, 4};
    case Path::kThreadedSmallRing: return StreamSettings{0, 5, 2};  // many hand-overs even in a small file
    case Path::kDefault: break;
  }
  return StreamSettings{};
}

struct Outcome {
  Acad::ErrorStatus es = Acad::eOk;
  std::string failure;  // FILE:LINE: REASON
  std::string log;
  std::size_t objects = 0;
  std::string saved;  // the drawing written back
  std::uint64_t threads = 0;
};

Outcome load(const std::string& path, Path how) {
  SettingsScope scope(settingsFor(how));
  DbScope db;
  const std::string log = path + ".log";
  Outcome o;
  const std::uint64_t before = pf::dxf::streamsStarted();
  o.es = db->dxfIn(path.c_str(), log.c_str());
  o.threads = pf::dxf::streamsStarted() - before;
  o.log = readFile(log);
  o.objects = pf::allObjectIds(db.db).size();
  if (o.es != Acad::eOk) {
    o.failure = pf::lastDxfFailure().text();
    return o;
  }
  const std::string out = path + ".out";
  EXPECT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  o.saved = readFile(out);
  return o;
}

// Loads `path` on one thread and through the producer thread; both must answer the same. A
// binary drawing is refused before any thread starts.
Outcome sameBothWays(const std::string& path, Path threaded = Path::kThreadedSmallRing, bool startsThread = true) {
  const Outcome one = load(path, Path::kOneThread);
  const Outcome two = load(path, threaded);
  EXPECT_EQ(one.threads, 0u) << path;
  EXPECT_EQ(two.threads, startsThread ? 1u : 0u) << path;
  EXPECT_EQ(two.es, one.es) << path;
  EXPECT_EQ(two.failure, one.failure) << path;
  EXPECT_EQ(two.log, one.log) << path;
  EXPECT_EQ(two.objects, one.objects) << path;
  EXPECT_TRUE(two.saved == one.saved) << path << ": the saved drawings differ";
  return one;
}

const std::string& plain() {
  static const std::string s = linkedDrawing(false, 1, "\n");
  return s;
}

std::string replaced(std::string s, const std::string& from, const std::string& to, bool last = false) {
  const std::size_t at = last ? s.rfind(from) : s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

// The drawing with `count` LINE entities added to model space (handles from 1000 hex on): large
// enough for the default settings to read it in a thread.
std::string withLines(const std::string& text, int count) {
  std::string lines;
  char handle[20];
  for (int i = 0; i < count; ++i) {
    std::snprintf(handle, sizeof handle, "%X", 0x1000 + i);
    lines += std::string("0\nLINE\n5\n") + handle + "\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n10\n" +
             std::to_string(i) + ".25\n20\n0.0\n30\n0.0\n11\n" + std::to_string(i + 1) + ".0\n21\n2.0\n31\n0.0\n";
  }
  const std::size_t entities = text.find("2\nENTITIES\n");
  EXPECT_NE(entities, std::string::npos);
  std::string s = text;
  s.insert(s.find("0\nENDSEC\n", entities), lines);
  return s;
}

// The text before the code line of the last group whose value is `value`.
std::string before(const std::string& text, const std::string& value) {
  const std::size_t valueLine = text.rfind("\n" + value + "\n");
  EXPECT_NE(valueLine, std::string::npos) << value;
  return text.substr(0, text.rfind('\n', valueLine - 1) + 1);
}

unsigned lineOf(const std::string& s, const std::string& text) {
  const Lines lines = linesOf(s);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == text) return static_cast<unsigned>(i + 1);
  return 0;
}

}  // namespace

TEST(ThreadedLoad, RefusesEveryFaultWithTheSameReasonAndLine) {
  const std::string nameless = [] {
    // The block record ROOMTAG without its name group: the loader itself fails.
    Lines lines = linesOf(plain());
    const unsigned at = lineOf(plain(), "ROOMTAG") - 1;
    lines.erase(lines.begin() + (at - 1), lines.begin() + (at + 1));
    return textOf(lines);
  }();
  struct Case {
    const char* name;
    std::string text;
    const char* words;  // in the reason
  } cases[] = {
      {"bad-early.dxf", replaced(plain(), "70\n6\n", "70\nsix\n"), "is not an integer"},
      {"bad-late.dxf", replaced(plain(), "100\nAcDbDictionary\n", "100\nAcDbDictionary\n10\n1..5\n", true), "is not a number"},
      {"truncated.dxf", before(plain(), "EOF"), "truncated (no 0 EOF)"},
      {"no-value.dxf", before(plain(), "ENDSEC") + "  0\n", "truncated (group 0 has no value)"},
      {"duplicate.dxf", replaced(plain(), "5\n41\n", "5\n3F\n"), "duplicate handle 3F"},
      {"binary.dxf", std::string("AutoCAD Binary DXF\r\n\x1a", 21) + std::string(1, '\0') + "rest", "binary DXF"},
      {"empty.dxf", "", "the file is empty"},
      {"not-dxf.dxf", "hello\n", "not a DXF file"},
      {"old.dxf", replaced(plain(), "AC1015", "AC1006"), "AC1006 is not supported"},
      {"nameless.dxf", nameless, "without a name"},
      {"outside.dxf", replaced(plain(), "0\nEOF\n", "0\nLINE\n0\nEOF\n"), "outside any section"},
      {"reordered-bad.dxf",
       replaced(withSections(plain(), {"HEADER", "OBJECTS", "ENTITIES", "BLOCKS", "TABLES", "CLASSES"}), "350\nD\n",
                "350\nZZ\n"),
       "is not a handle"},
      {"large-bad-late.dxf", replaced(withLines(plain(), 3000), "31\n0.0\n", "31\n0.0.0\n", true), "is not a number"},
      {"large-duplicate.dxf", replaced(withLines(plain(), 3000), "5\n1BB7\n", "5\n1000\n"), "duplicate handle 1000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = writeFile(c.name, c.text);
    const Outcome one = sameBothWays(path, Path::kThreadedSmallRing, std::string(c.name) != "binary.dxf");
    EXPECT_NE(one.es, Acad::eOk);
    EXPECT_NE(one.failure.find(c.words), std::string::npos) << one.failure;
    EXPECT_EQ(one.objects, 0u);
  }
}

TEST(ThreadedLoad, ADrawingThatLoadsGivesTheSameObjectsAndSavedFile) {
  std::vector<std::string> paths = {
      writeFile("plain.dxf", plain()),
      writeFile("crlf.dxf", linkedDrawing(true, 1, "\r\n")),
      writeFile("reordered.dxf", withSections(plain(), {"HEADER", "OBJECTS", "ENTITIES", "BLOCKS", "TABLES", "CLASSES"})),
      writeFile("lines.dxf", withLines(plain(), 500)),
  };
  for (const char* name : {"Constraints.dxf", "Leader_2000.dxf", "PolyLine2D.dxf", "TS1.dxf", "entities-2d.dxf",
                           "entities-3d.dxf", "example_2000.dxf", "sample_2000.dxf"})
    paths.push_back(std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf/" + name);
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    // Loaded from a copy in our own directory: the shared drawings stay untouched by the .log/.out files.
    const std::string copy = writeFile("copy-" + path.substr(path.rfind('/') + 1), readFile(path));
    const Outcome one = sameBothWays(copy);
    EXPECT_EQ(one.es, Acad::eOk) << one.failure;
    EXPECT_GT(one.objects, 10u);
    EXPECT_FALSE(one.saved.empty());
  }
}

TEST(ThreadedLoad, ALargeDrawingIsReadInAThreadByDefault) {
  const std::string text = withLines(plain(), 3000);
  ASSERT_GE(text.size(), StreamSettings{}.minFileBytes);
  const std::string path = writeFile("large.dxf", text);
  const Outcome one = sameBothWays(path, Path::kDefault);
  EXPECT_EQ(one.es, Acad::eOk) << one.failure;
  EXPECT_GT(one.objects, 3000u);

  // A small file is read on the calling thread.
  const Outcome small = load(writeFile("small.dxf", plain()), Path::kDefault);
  EXPECT_EQ(small.es, Acad::eOk) << small.failure;
  EXPECT_EQ(small.threads, 0u);
}
