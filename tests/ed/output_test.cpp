// The command-line transcript (acutPrintf through the sink), result-buffer lists, status bar.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "adslib.h"
#include "pf/input.h"
#include "pf/output.h"
#include "pf/statusbar.h"
#include "rxmfcapi.h"

namespace {

TEST(Transcript, PromptLinesAndHostTextFollowTheCommandLineConventions) {
  pf::OutputCapture out;
  pf::ScopedAnswers in({"5", "6"});
  EXPECT_EQ(acutPrintf("\nFirst line"), RTNORM);  // no blank line at the very top
  int v;
  acedGetInt("\nA: ", &v);  // a prompt starts on a fresh line
  acutPrintf("\nafter A");  // its "\n" ends the prompt line, no blank line
  acedGetInt("B: ", &v);
  acutPrintf("after B");    // without "\n" the line still ends first
  acutPrintf(" and more %s %d\n", "text", 42);
  pf::finishOutputLine();
  EXPECT_EQ(out.text(), "First line\nA: 5\nafter A\nB: 6\nafter B and more text 42\n");
}

TEST(Transcript, LongTextIsNotCutAndSinksAreRestored) {
  std::string outer;
  auto prev = pf::setOutputSink([&](std::string_view t) { outer.append(t); });
  {
    pf::OutputCapture inner;
    std::string big(1000, 'q');
    acutPrintf("%s", big.c_str());
    EXPECT_EQ(inner.text(), big);
    EXPECT_EQ(acutPrintf(nullptr), RTERROR);
  }
  acutPrintf("back");
  pf::setOutputSink(std::move(prev));
  EXPECT_EQ(outer, "back");
}

TEST(ResultBuffers, BuildListOwnsItsStringsAndRelRbFreesThem) {
  ads_point pt = {1, 2, 3};
  ads_name ename = {11, 22};
  resbuf* list = acutBuildList(RTDXF0, "LWPOLYLINE", 8, "Walls", 10, pt, 40, 0.5, 70, 1, 90, 7L,
                               -1, ename, RTSTR, "end", 0);
  ASSERT_NE(list, nullptr);
  resbuf* rb = list;
  EXPECT_EQ(rb->restype, 0);
  EXPECT_STREQ(rb->resval.rstring, "LWPOLYLINE");
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 8);
  EXPECT_STREQ(rb->resval.rstring, "Walls");
  rb = rb->rbnext;
  EXPECT_EQ(rb->restype, 10);
  EXPECT_DOUBLE_EQ(rb->resval.rpoint[Z], 3);
  rb = rb->rbnext;
  EXPECT_DOUBLE_EQ(rb->resval.rreal, 0.5);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rint, 1);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rlong, 7);
  rb = rb->rbnext;
  EXPECT_EQ(rb->resval.rlname[1], 22);
  rb = rb->rbnext;
  EXPECT_STREQ(rb->resval.rstring, "end");
  EXPECT_EQ(rb->rbnext, nullptr);
  EXPECT_EQ(acutRelRb(list), RTNORM);

  resbuf* one = acutNewRb(RTSHORT);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->restype, RTSHORT);
  EXPECT_EQ(one->rbnext, nullptr);
  EXPECT_EQ(acutRelRb(one), RTNORM);
  // A code that carries no known value kind cannot be built.
  EXPECT_EQ(acutBuildList(RTSTR, "a", 12345, 1, 0), nullptr);
}

TEST(ProgressMeter, EventsReachTheListenerWithClampedPositions) {
  pf::StatusBarRecorder rec;
  using E = pf::StatusBarEvent;
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(3), -1);  // no meter yet
  EXPECT_EQ(acedSetStatusBarProgressMeter("Updating", 10, 20), 0);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(15), 0);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(-2), 0);  // relative step forward
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(500), 0);  // stays within the range
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(INT_MIN), 0);
  EXPECT_EQ(pf::progressMeter().pos, 20);
  EXPECT_EQ(acedSetStatusBarProgressMeterPos(0), 0);
  acedRestoreStatusBar();
  acedRestoreStatusBar();  // nothing shown any more: no second event
  EXPECT_EQ(acedSetStatusBarProgressMeter("bad", 5, 4), -1);
  EXPECT_FALSE(pf::progressMeter().active);
  std::vector<E> expected = {
      {E::kMeterStarted, "Updating", 10, 20, 10}, {E::kMeterMoved, "Updating", 10, 20, 15},
      {E::kMeterMoved, "Updating", 10, 20, 17},   {E::kMeterMoved, "Updating", 10, 20, 20},
      {E::kMeterMoved, "Updating", 10, 20, 20},   {E::kMeterMoved, "Updating", 10, 20, 10},
      {E::kRestored, "", 0, 0, 0}};
  EXPECT_EQ(rec.events(), expected);
}

TEST(ProgressMeter, TerminalBarDrawsInPlace) {
  char* buf = nullptr;
  size_t len = 0;
  std::FILE* f = open_memstream(&buf, &len);
  ASSERT_NE(f, nullptr);
  pf::TerminalProgressBar bar(f, 10);
  pf::StatusBarListener* prev = pf::setStatusBarListener(&bar);
  acedSetStatusBarProgressMeter("Work", 0, 4);
  acedSetStatusBarProgressMeterPos(2);
  acedRestoreStatusBar();
  pf::setStatusBarListener(prev);
  std::fclose(f);
  std::string drawn(buf, len);
  std::free(buf);
  EXPECT_NE(drawn.find("Work [          ]   0%"), std::string::npos);
  EXPECT_NE(drawn.find("\r\033[KWork [#####     ]  50%"), std::string::npos);
  EXPECT_EQ(drawn.substr(drawn.size() - 4), "\r\033[K");
}

}  // namespace
