// replay_test.cpp - every input that once made a fuzz harness fail (fuzz/regressions/<name>/),
// and every seed of its corpus, replayed through the same entry point (fuzz/targets.h). An
// entry point aborts when a property breaks, so a regression ends this test with a crash.
#include <dirent.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "targets.h"

namespace {

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> files;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') files.push_back(dir + "/" + e->d_name);
    closedir(d);
  }
  return files;
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Replays the regressions and the seeds of one harness; answers how many inputs it ran.
size_t replay(const std::string& name, void (*entry)(const std::uint8_t*, std::size_t)) {
  size_t count = 0;
  for (const char* kind : {"regressions", "corpus"}) {
    for (const std::string& file : filesIn(std::string(ZORVIK_SOURCE_DIR) + "/fuzz/" + kind + "/" + name)) {
      SCOPED_TRACE(file);
      const std::string bytes = readAll(file);
      entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++count;
    }
  }
  return count;
}

TEST(FuzzReplay, DrawingsReadOrRefusedAndSavedDrawingsLoadAgain) {
  EXPECT_GT(replay("dxf", fuzzing::dxfInput), 0u);
}

TEST(FuzzReplay, ResourceScriptsParseOrAnswerAnError) {
  EXPECT_GT(replay("rc", fuzzing::rcInput), 0u);
}

TEST(FuzzReplay, HivesParseAndFormatStably) {
  EXPECT_GT(replay("reg", fuzzing::regInput), 0u);
}

TEST(FuzzReplay, ScriptsReadToTheirEnd) {
  EXPECT_GT(replay("script", fuzzing::scriptInput), 0u);
}

}  // namespace
