// File replacement (pf/file_replace.h): the new version appears only when complete, nothing
// is left when it is abandoned, also where unnamed files are not available.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "pf/faults.h"
#include "pf/file_replace.h"
#include "winrt_test_support.h"

namespace {

size_t entries(const std::string& dir) {
  size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) n += e.path().empty() ? 0 : 1;
  return n;
}

void replaceAndAbandon(const TempDir& dir, bool unnamed) {
  const std::string path = dir.file("plan.dxf");
  writeFileBytes(path, "old");
  ASSERT_EQ(0, chmod(path.c_str(), 0640));
  {
    pf::FileReplacement abandoned(path);
    ASSERT_TRUE(abandoned.ok()) << abandoned.error();
    EXPECT_EQ(unnamed, abandoned.namedTemporary().empty());
    ASSERT_TRUE(abandoned.write("half", 4));
    EXPECT_EQ(unnamed ? 1u : 2u, entries(dir.path()));
  }
  EXPECT_EQ("old", readFileBytes(path));
  EXPECT_EQ(1u, entries(dir.path())) << "an abandoned replacement left a file";

  pf::FileReplacement file(path);
  ASSERT_TRUE(file.ok() && file.write("new", 3)) << file.error();
  EXPECT_EQ("old", readFileBytes(path));
  ASSERT_TRUE(file.commit()) << file.error();
  EXPECT_EQ("new", readFileBytes(path));
  EXPECT_EQ(1u, entries(dir.path()));
  struct stat st;
  ASSERT_EQ(0, stat(path.c_str(), &st));
  EXPECT_EQ(0640u, st.st_mode & 0777) << "the permissions of the replaced file are kept";

  // A new file is linked in place.
  std::string error;
  ASSERT_TRUE(pf::replaceFile(dir.file("new.dxf"), "fresh", error)) << error;
  EXPECT_EQ("fresh", readFileBytes(dir.file("new.dxf")));
  EXPECT_EQ(2u, entries(dir.path()));
}

TEST(FileReplacement, UnnamedFileLeavesNothingUntilCommitted) {
  TempDir dir;
  replaceAndAbandon(dir, true);
}

TEST(FileReplacement, NamedTemporaryWhereUnnamedFilesAreMissing) {
  TempDir dir;
  pf::ScopedFault noTmpfile("O_TMPFILE", Acad::eNotImplementedYet);
  replaceAndAbandon(dir, false);
}

TEST(FileReplacement, SymbolicLinksAreFollowedAndLoopsRefused) {
  TempDir dir;
  writeFileBytes(dir.file("real.reg"), "old");
  ASSERT_EQ(0, symlink("real.reg", dir.file("second").c_str()));
  ASSERT_EQ(0, symlink(dir.file("second").c_str(), dir.file("first").c_str()));
  std::string error;
  ASSERT_TRUE(pf::replaceFile(dir.file("first"), "new", error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("first")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("second")));
  EXPECT_EQ("new", readFileBytes(dir.file("real.reg")));
  // A dangling link gets its target created.
  ASSERT_EQ(0, symlink("later.reg", dir.file("dangling").c_str()));
  ASSERT_TRUE(pf::replaceFile(dir.file("dangling"), "made", error)) << error;
  EXPECT_EQ("made", readFileBytes(dir.file("later.reg")));

  ASSERT_EQ(0, symlink("loop", dir.file("loop").c_str()));
  EXPECT_FALSE(pf::replaceFile(dir.file("loop"), "x", error));
  EXPECT_NE(std::string::npos, error.find("loop of symbolic links")) << error;
}

}  // namespace
