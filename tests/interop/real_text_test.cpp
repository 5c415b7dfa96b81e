// The text of the real drawings survives a round trip: every value holding characters beyond
// ASCII or a \U+ escape (UTF-8 in the R2007 and later ones, code-page bytes in the others) comes
// back, as often as it was there.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <map>

#include "dxf_test_util.h"
#include "pf/dxf.h"

using namespace dxftest;

namespace {

std::map<std::pair<int, std::string>, int> textValues(const std::string& path) {
  std::map<std::pair<int, std::string>, int> out;
  for (const Record& r : readRecords(path))
    for (const auto& t : r.tags) {
      const bool beyondAscii = std::any_of(t.second.begin(), t.second.end(), [](char c) { return (c & 0x80) != 0; });
      if (beyondAscii || t.second.find("\\U+") != std::string::npos) ++out[t];
    }
  return out;
}

}  // namespace

TEST(RealDrawings, TextComesBackAsItWasInEveryVersion) {
  const std::string dir = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf/";
  DIR* d = ::opendir(dir.c_str());
  ASSERT_NE(d, nullptr) << dir;
  std::vector<std::string> names;
  while (dirent* e = ::readdir(d)) {
    const std::string n = e->d_name;
    if (n.size() > 4 && n.compare(n.size() - 4, 4, ".dxf") == 0) names.push_back(n);
  }
  ::closedir(d);
  std::sort(names.begin(), names.end());
  ASSERT_GE(names.size(), 10u);
  int withText = 0;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    DbScope db;
    const std::string in = dir + name;
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    const std::string out = tempPath("real-text-" + name);
    ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    const auto before = textValues(in);
    EXPECT_EQ(textValues(out), before);
    if (!before.empty()) ++withText;
  }
  EXPECT_GE(withText, 4) << "the drawings with such text (UTF-8 in TS1 and 2013_gh109_1) are read";
}
