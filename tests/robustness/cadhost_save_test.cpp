// cadhost_save_test.cpp - nothing is lost when a save is interrupted: a cadhost process killed
// while it writes leaves the previous file as it was, and a drawing saved onto its own input
// file replaces it only once the new file is complete.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_cadhost.h"

namespace robust {
namespace {

void sleepMicroseconds(long us) {
  timespec ts{us / 1000000, (us % 1000000) * 1000};
  nanosleep(&ts, nullptr);
}

// Waits until a file other than `known` appears in `dir` (the save's temporary file) or the
// process ends; answers true when it appeared while the process still ran.
bool waitForTemporary(pid_t pid, const std::string& dir, const std::vector<std::string>& known) {
  for (;;) {
    for (const std::string& f : filesIn(dir)) {
      bool isKnown = false;
      for (const std::string& k : known) isKnown = isKnown || f == k;
      if (!isKnown) return true;
    }
    int ws = 0;
    if (waitpid(pid, &ws, WNOHANG) == pid) return false;
    sleepMicroseconds(200);
  }
}

class InterruptedSave : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    input_ = dir_ + "/plan.dxf";
    writeFile(input_, roomsDrawing(30000));
    // What a complete save of the erased drawing looks like.
    reference_ = dir_ + "/reference.dxf";
    const RunResult r = runCadhost({input_, "-c", "ERASE;#100000;;", "-o", reference_, "--registry", dir_ + "/user.reg"});
    ASSERT_EQ(r.status, 0) << r.describe();
    complete_ = readFile(reference_);
    unlink(reference_.c_str());
  }

  // Runs the save onto `target` and kills the process at its temporary file's appearance, or
  // after `delayUs`; answers whether the kill landed while the process ran.
  bool killDuringSave(const std::string& target, long delayUs, bool atTemporary) {
    std::vector<std::string> known = filesIn(dir_);
    const pid_t pid = startCadhost({input_, "-c", "ERASE;#100000;;", "-o", target, "--registry", dir_ + "/user.reg"});
    bool running = true;
    if (atTemporary) running = waitForTemporary(pid, dir_, known);
    else sleepMicroseconds(delayUs);
    kill(pid, SIGKILL);
    int ws = 0;
    waitpid(pid, &ws, 0);
    return running && WIFSIGNALED(ws);
  }

  void removeTemporaries(const std::vector<std::string>& keep) {
    for (const std::string& f : filesIn(dir_)) {
      bool k = false;
      for (const std::string& name : keep) k = k || f == name;
      if (!k) unlink((dir_ + "/" + f).c_str());
    }
  }

  std::string dir_, input_, reference_, complete_;
};

TEST_F(InterruptedSave, KilledWhileWritingLeavesThePreviousFileIntact) {
  const std::string target = dir_ + "/out.dxf";
  const std::string previous = "previous contents of out.dxf\n";
  int landed = 0;
  // At the temporary file's appearance, then at delays spread over a run.
  for (int attempt = 0; attempt < 12; ++attempt) {
    writeFile(target, previous);
    const bool inside = killDuringSave(target, 20000L * attempt, attempt == 0);
    landed += inside ? 1 : 0;
    const std::string now = readFile(target);
    EXPECT_TRUE(now == previous || now == complete_)
        << "attempt " << attempt << ": the target holds " << now.size() << " bytes, neither the previous file ("
        << previous.size() << ") nor a complete save (" << complete_.size() << ")";
    // The new version was an unnamed file: nothing of it is left beside the target.
    for (const std::string& f : filesIn(dir_))
      EXPECT_TRUE(f == "plan.dxf" || f == "out.dxf" || f == "user.reg" || f == "user.reg.lock")
          << "attempt " << attempt << " left " << f;
    removeTemporaries({"plan.dxf", "out.dxf", "user.reg"});
  }
  EXPECT_GT(landed, 0) << "no kill landed while cadhost ran";
}

TEST_F(InterruptedSave, SavingOntoTheInputReplacesItOnlyWhenComplete) {
  const std::string original = readFile(input_);
  for (int attempt = 0; attempt < 8; ++attempt) {
    killDuringSave(input_, 30000L * attempt, attempt == 0);
    const std::string now = readFile(input_);
    ASSERT_TRUE(now == original || now == complete_)
        << "attempt " << attempt << ": the input holds " << now.size() << " bytes";
    if (now != original) writeFile(input_, original);
    removeTemporaries({"plan.dxf", "user.reg"});
  }
  // Uninterrupted, the input is replaced by the complete new drawing.
  const RunResult r = runCadhost({input_, "-c", "ERASE;#100000;;", "-o", input_, "--registry", dir_ + "/user.reg"});
  ASSERT_EQ(r.status, 0) << r.describe();
  EXPECT_EQ(readFile(input_), complete_);
}

TEST_F(InterruptedSave, FailedSaveLeavesTheTargetAndNoTemporary) {
  // The target is a directory's entry that cannot be replaced: a save into a missing directory.
  const RunResult r = runCadhost({input_, "-c", "QUIT", "-o", dir_ + "/missing/out.dxf", "--registry", dir_ + "/user.reg"});
  EXPECT_EQ(r.signal, 0) << r.describe();
  EXPECT_EQ(r.status, 1) << r.describe();
  EXPECT_NE((r.out + r.err).find("out.dxf"), std::string::npos) << r.describe();
  EXPECT_FALSE(exists(dir_ + "/missing"));
}

TEST_F(InterruptedSave, SavingOntoASymbolicLinkReplacesItsTarget) {
  // The link stays a link and the file it points to gets the drawing; a hard link of the old
  // file keeps the old contents (the target is replaced by a new file, not rewritten).
  const std::string target = dir_ + "/real.dxf", link = dir_ + "/link.dxf", hard = dir_ + "/hard.dxf";
  writeFile(target, "old\n");
  ASSERT_EQ(0, symlink("real.dxf", link.c_str()));
  ASSERT_EQ(0, ::link(target.c_str(), hard.c_str()));
  const RunResult r = runCadhost({input_, "-c", "ERASE;#100000;;", "-o", link, "--registry", dir_ + "/user.reg"});
  ASSERT_EQ(r.status, 0) << r.describe();
  char pointsTo[64] = "";
  ASSERT_GT(readlink(link.c_str(), pointsTo, sizeof pointsTo - 1), 0) << "the link was replaced by a file";
  EXPECT_STREQ("real.dxf", pointsTo);
  EXPECT_EQ(complete_, readFile(target));
  EXPECT_EQ("old\n", readFile(hard));
}

TEST_F(InterruptedSave, AFailedSaveSaysWhyOnStandardError) {
  const std::string folder = dir_ + "/adir";
  rmdir(folder.c_str());  // left by an earlier run (freshDir removes files only)
  ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
  struct Case {
    std::string target, says;
  } cases[] = {{folder + "/", "ends with '/', so it names a folder, not a file"},
               {folder, "is a folder, not a file"},
               {dir_ + "/missing/", "names a folder that does not exist"},
               {input_ + "/out.dxf", "is not a folder"}};
  for (const Case& c : cases) {
    // Through SAVEAS: the run goes on (status 0) and the transcript has no error in it.
    const RunResult r = runCadhost({input_, "-c", "SAVEAS;" + c.target, "--registry", dir_ + "/user.reg"});
    EXPECT_EQ(r.status, 0) << r.describe();
    EXPECT_NE(r.err.find("The drawing was not saved: "), std::string::npos) << r.describe();
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.describe();
    EXPECT_EQ(r.err.find("Not a directory"), std::string::npos) << r.describe();
    EXPECT_EQ(r.out.find("not saved"), std::string::npos) << r.describe();
  }
  EXPECT_EQ(filesIn(folder).size(), 0u);
  rmdir(folder.c_str());
}

}  // namespace
}  // namespace robust
