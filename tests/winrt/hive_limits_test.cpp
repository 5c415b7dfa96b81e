// Hive limits: key names of at most 255 characters, keys at most 512 levels deep and value
// names of at most 16,383 characters, both in a hive file (beyond them the file is damaged:
// reported with its line and never rewritten) and through the registry calls.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "pf/registry.h"
#include "winrt_test_support.h"
#include "windows.h"

namespace {

std::string g_lastReport;
void keepReport(const std::string& message) { g_lastReport = message; }

class HiveLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.path().empty());
    hive_ = dir_.file("user.reg");
    g_lastReport.clear();
    pf::setRegistryReporter(keepReport);
  }
  void TearDown() override {
    pf::setRegistryReporter(nullptr);
    pf::setRegistryHivePath(dir_.file("unused.reg"));
  }

  // A hive of one [key] line below HKEY_CURRENT_USER (on line 3) with one value line (line 4).
  static std::string hiveWith(const std::string& keyPath, const std::string& valueName = "V") {
    return "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + keyPath + "]\r\n\"" +
           valueName + "\"=dword:00000001\r\n";
  }
  static std::string nested(int levels, const std::string& name = "k") {
    std::string path;
    for (int i = 0; i < levels; ++i) path += (i ? "\\" : "") + name;
    return path;
  }

  // Loads `text` and expects it refused on `line`, then expects a change not to touch the file.
  void expectRefused(const std::string& text, int line, const std::string& reason) {
    writeFileBytes(hive_, text);
    EXPECT_FALSE(pf::setRegistryHivePath(hive_));
    const std::string problem = pf::registryProblem();
    EXPECT_NE(std::string::npos, problem.find("line " + std::to_string(line) + ":")) << problem;
    EXPECT_NE(std::string::npos, problem.find(reason)) << problem;
    EXPECT_LT(problem.size(), 400u) << "the message quotes the whole name";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Other", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    DWORD one = 1;
    RegSetValueExA(key, "X", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
    EXPECT_EQ(ERROR_REGISTRY_IO_FAILED, RegCloseKey(key));
    EXPECT_EQ(text, readFileBytes(hive_)) << "a damaged hive was rewritten";
  }

  void expectAccepted(const std::string& text) {
    writeFileBytes(hive_, text);
    EXPECT_TRUE(pf::setRegistryHivePath(hive_)) << pf::registryProblem();
  }

  TempDir dir_;
  std::string hive_;
};

TEST_F(HiveLimits, AKeyTenThousandLevelsDeepIsRefusedAtOnce) {
  // 59 KB of text whose saved form would spell the full path of each of its 10,000 keys.
  const std::string text = hiveWith(nested(10000, "abcde"));
  ASSERT_GT(text.size(), 59000u);
  const auto start = std::chrono::steady_clock::now();
  expectRefused(text, 3, "10000 levels deep; the registry allows 512");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(HiveLimits, FileLimitsAreTheRegistrysOwn) {
  expectAccepted(hiveWith(nested(512)));
  expectRefused(hiveWith(nested(513)), 3, "513 levels deep");
  expectAccepted(hiveWith("Software\\" + std::string(255, 'n')));
  expectRefused(hiveWith("Software\\" + std::string(256, 'n')), 3, "has 256 characters; the registry allows 255");
  // Characters are counted, not bytes: 255 "Ä" are 510 bytes of UTF-8 and one character each.
  std::string umlauts;
  for (int i = 0; i < 255; ++i) umlauts += "\xC3\x84";
  expectAccepted(hiveWith("Software\\" + umlauts));
  expectAccepted(hiveWith("Software", std::string(16383, 'v')));
  expectRefused(hiveWith("Software", std::string(16384, 'v')), 4, "has 16384 characters; the registry allows 16383");
  // A removal line is held to the same limits.
  expectRefused("REGEDIT4\r\n[-HKEY_CURRENT_USER\\" + nested(600) + "]\r\n", 2, "600 levels deep");
}

TEST_F(HiveLimits, TheCallsRefuseWhatTheFileCouldNotHold) {
  ASSERT_TRUE(pf::setRegistryHivePath(hive_));
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegCreateKeyExA(HKEY_CURRENT_USER, ("Software\\" + std::string(256, 'n')).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExA(HKEY_CURRENT_USER, nested(513).c_str(), 0, nullptr, 0,
                                                     KEY_ALL_ACCESS, nullptr, &key, nullptr));
  // The depth counts from the root, also below an opened key.
  HKEY deep = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, nested(500).c_str(), 0, nullptr, 0,
                                           KEY_ALL_ACCESS, nullptr, &deep, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(deep, nested(12).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           &key, nullptr));
  RegCloseKey(key);
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExA(deep, nested(13).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                     nullptr, &key, nullptr));
  DWORD one = 1;
  EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(deep, std::string(16383, 'v').c_str(), 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&one), 4));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, RegSetValueExA(deep, std::string(16384, 'v').c_str(), 0, REG_DWORD,
                                                    reinterpret_cast<const BYTE*>(&one), 4));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(deep));
  // What the calls let through loads again.
  EXPECT_TRUE(pf::setRegistryHivePath(hive_)) << pf::registryProblem();
}

}  // namespace
