// cadhost_settings_test.cpp - hosts sharing one registry hive keep each other's settings: the
// Options dialog of one run, opened after another run saved a change, shows and keeps it, and
// ten runs changing settings at once lose no change.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "run_cadhost.h"

namespace robust {
namespace {

const char kSettingsKey[] = "[HKEY_CURRENT_USER\\Software\\Cadhost\\R15.0\\ACAD-1:409\\VelmoraApps\\Zorvik\\Settings]";

std::string hiveText(const std::string& divisor, const std::string& attname) {
  return std::string("Windows Registry Editor Version 5.00\r\n\r\n") + kSettingsKey +
         "\r\n\"AutoUpdate\"=dword:00000001\r\n\"AreaPrec\"=dword:00000002\r\n\"Divisor\"=\"" + divisor +
         "\"\r\n\"QuietMode\"=dword:00000001\r\n\"Attname\"=\"" + attname + "\"\r\n";
}

// The text of a value line of the hive ("\"Divisor\"=\"2.5\"" -> 2.5), empty when missing.
std::string valueOf(const std::string& hive, const std::string& name) {
  const std::string start = "\"" + name + "\"=";
  size_t at = hive.find(start);
  if (at == std::string::npos) return std::string();
  at += start.size();
  std::string text = hive.substr(at, hive.find('\r', at) - at);
  if (!text.empty() && text.front() == '"') text = text.substr(1, text.size() - 2);
  return text;
}

TEST(SharedSettings, OptionsAfterALongJobKeepsWhatAnotherRunSaved) {
  const std::string dir = freshDir("SharedSettingsLongJob");
  const std::string hive = dir + "/user.reg", plan = dir + "/plan.dxf";
  writeFile(hive, hiveText("1", "AREA"));
  writeFile(plan, roomsDrawing(30000));
  // The long job: saves of a large drawing; the first one's file says the run has read the hive.
  std::string job = "SAVEAS;" + dir + "/started.dxf";
  for (int i = 0; i < 6; ++i) job += ";SAVEAS;" + dir + "/job" + std::to_string(i) + ".dxf";
  const pid_t longRun = startCadhost({plan, "-l", ZORVIK_MODULE, "--registry", hive, "-c",
                                      job + ";ZORVIK;Options;@text 2020 0.09290304;@ok"});
  while (!exists(dir + "/started.dxf")) usleep(1000);
  const RunResult other = runCadhost({"-l", ZORVIK_MODULE, "--registry", hive, "-c", "ZORVIK;Options;@text 2018 4;@ok"});
  ASSERT_EQ(0, other.status) << other.describe();
  const bool inTime = !exists(dir + "/job5.dxf");  // the long run has not reached its Options yet
  int ws = 0;
  ASSERT_EQ(longRun, waitpid(longRun, &ws, 0));
  ASSERT_TRUE(WIFEXITED(ws) && WEXITSTATUS(ws) == 0);
  ASSERT_TRUE(inTime) << "the other run ended after the long job; make the job longer";
  const std::string saved = readFile(hive);
  EXPECT_EQ("dword:00000004", valueOf(saved, "AreaPrec")) << saved;
  EXPECT_EQ("0.09290304", valueOf(saved, "Divisor")) << saved;
}

TEST(SharedSettings, TenRunsAtOnceLoseNoChange) {
  // Runs 0, 2, ... change the divisor, runs 1, 3, ... the default attribute, 20 times each
  // (200 changes); every OK writes all five settings back. A change may only be replaced by a
  // later change of the same setting, so each setting ends with the last value of one of the
  // runs that changed it, and the settings nobody changed keep their values.
  const std::string dir = freshDir("SharedSettingsTenRuns");
  const std::string hive = dir + "/user.reg";
  writeFile(hive, hiveText("1", "START"));
  const int kRuns = 10, kChanges = 20;
  std::set<std::string> lastDivisors, lastAttnames;
  std::vector<pid_t> runs;
  for (int run = 0; run < kRuns; ++run) {
    std::string inputs;
    for (int i = 1; i <= kChanges; ++i) {
      const std::string value = std::to_string(run + 1) + "0" + std::to_string(i);  // no leading zero: the divisor is stored as a number
      inputs += std::string(inputs.empty() ? "" : ";") + "ZORVIK;Options;" +
                (run % 2 == 0 ? "@text 2020 " + value : "@text 2021 N" + value) + ";@ok";
      if (i == kChanges) (run % 2 == 0 ? lastDivisors : lastAttnames).insert(run % 2 == 0 ? value : "N" + value);
    }
    runs.push_back(startCadhost({"-l", ZORVIK_MODULE, "--registry", hive, "-c", inputs}));
  }
  for (pid_t pid : runs) {
    int ws = 0;
    ASSERT_EQ(pid, waitpid(pid, &ws, 0));
    EXPECT_TRUE(WIFEXITED(ws) && WEXITSTATUS(ws) == 0);
  }
  const std::string saved = readFile(hive);
  EXPECT_EQ(1u, lastDivisors.count(valueOf(saved, "Divisor"))) << saved;
  EXPECT_EQ(1u, lastAttnames.count(valueOf(saved, "Attname"))) << saved;
  EXPECT_EQ("dword:00000002", valueOf(saved, "AreaPrec")) << saved;
  EXPECT_EQ("dword:00000001", valueOf(saved, "AutoUpdate")) << saved;
  EXPECT_EQ("dword:00000001", valueOf(saved, "QuietMode")) << saved;
}

}  // namespace
}  // namespace robust
