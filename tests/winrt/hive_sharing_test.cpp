// Hosts sharing one hive: every call sees what another host saved last, and writing back the
// values a host read is no change, so it never undoes another host's change of one of them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "pf/registry.h"
#include "winrt_test_support.h"
#include "windows.h"

namespace {

const char kKey[] = "Software\\Shared\\Settings";

class HiveSharing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.path().empty());
    hive_ = dir_.file("user.reg");
    saveAsAnotherHost("\"A\"=dword:00000001\r\n\"B\"=dword:00000001\r\n\"P0\"=dword:00000000\r\n\"P1\"=dword:00000000\r\n\"P2\"=dword:00000000\r\n\"P3\"=dword:00000000\r\n");
    ASSERT_TRUE(pf::setRegistryHivePath(hive_)) << pf::registryProblem();
  }
  void TearDown() override { pf::setRegistryHivePath(dir_.file("unused.reg")); }

  // Replaces the hive as a host's save does (a new file renamed over it).
  void saveAsAnotherHost(const std::string& values) {
    const std::string tmp = hive_ + ".other";
    writeFileBytes(tmp, "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + std::string(kKey) +
                            "]\r\n" + values);
    ASSERT_EQ(0, std::rename(tmp.c_str(), hive_.c_str()));
  }

  static DWORD get(const char* name) {
    HKEY key = nullptr;
    DWORD value = 0, size = 4;
    EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size))
        << name;
    RegCloseKey(key);
    return value;
  }
  // Writes every value given, as a dialog's OK writes back all it shows, and saves.
  static void setAll(std::initializer_list<std::pair<const char*, DWORD>> values) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key));
    for (const auto& v : values)
      ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, v.first, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.second), 4));
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));
  }
  std::string fileText() const { return readFileBytes(hive_); }

  TempDir dir_;
  std::string hive_;
};

TEST_F(HiveSharing, ReadsSeeTheLatestSavedHive) {
  EXPECT_EQ(1u, get("A"));
  saveAsAnotherHost("\"A\"=dword:00000004\r\n\"B\"=dword:00000001\r\n");
  EXPECT_EQ(4u, get("A"));
  // This process's unsaved changes stay over a newer file.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key));
  DWORD seven = 7;
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "B", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4));
  saveAsAnotherHost("\"A\"=dword:00000005\r\n\"B\"=dword:00000001\r\n\"C\"=dword:00000009\r\n");
  DWORD value = 0, size = 4;
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "B", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
  EXPECT_EQ(7u, value);
  ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "C", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
  EXPECT_EQ(9u, value);
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));
  EXPECT_NE(std::string::npos, fileText().find("\"A\"=dword:00000005"));
  EXPECT_NE(std::string::npos, fileText().find("\"B\"=dword:00000007"));
}

TEST_F(HiveSharing, WritingBackWhatWasReadKeepsAnotherHostsChange) {
  // Read both (the dialog opens), another host changes A, then OK writes both with B changed.
  ASSERT_EQ(1u, get("A"));
  ASSERT_EQ(1u, get("B"));
  saveAsAnotherHost("\"A\"=dword:00000004\r\n\"B\"=dword:00000001\r\n");
  setAll({{"A", 1}, {"B", 2}});
  EXPECT_NE(std::string::npos, fileText().find("\"A\"=dword:00000004")) << fileText();
  EXPECT_NE(std::string::npos, fileText().find("\"B\"=dword:00000002")) << fileText();
  EXPECT_EQ(4u, get("A"));
  EXPECT_FALSE(pf::registryHasUnsavedChanges());
}

TEST_F(HiveSharing, AChangeOfWhatWasReadIsSavedOverAnotherHosts) {
  ASSERT_EQ(1u, get("A"));
  saveAsAnotherHost("\"A\"=dword:00000004\r\n\"B\"=dword:00000001\r\n");
  setAll({{"A", 3}});  // a real change: the later save wins
  EXPECT_NE(std::string::npos, fileText().find("\"A\"=dword:00000003")) << fileText();
  // Going back to the value first read is a change too: this process last wrote 3.
  setAll({{"A", 1}});
  EXPECT_NE(std::string::npos, fileText().find("\"A\"=dword:00000001")) << fileText();
  // The same bytes as another type are a change.
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_WRITE, &key));
  DWORD one = 1;
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "A", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&one), 4));
  EXPECT_TRUE(pf::registryHasUnsavedChanges());
  RegCloseKey(key);
}

TEST_F(HiveSharing, ProcessesWritingBackEverythingLoseNoChange) {
  // Each child changes its own value 15 times, reading all four first and writing all four
  // back, as a settings dialog does; the others' values must survive every write-back.
  const int kChildren = 4, kRounds = 15;
  const char* names[kChildren] = {"P0", "P1", "P2", "P3"};
  pid_t children[kChildren];
  for (int c = 0; c < kChildren; ++c) {
    children[c] = fork();
    ASSERT_GE(children[c], 0);
    if (children[c] == 0) {
      int failures = 0;
      for (int round = 1; round <= kRounds; ++round) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
          ++failures;
          continue;
        }
        DWORD values[kChildren] = {0, 0, 0, 0};
        for (int n = 0; n < kChildren; ++n) {
          DWORD size = 4;
          RegQueryValueExA(key, names[n], nullptr, nullptr, reinterpret_cast<BYTE*>(&values[n]), &size);
        }
        values[c] = static_cast<DWORD>(round);
        usleep(500);  // the user at the dialog
        for (int n = 0; n < kChildren; ++n)
          failures += RegSetValueExA(key, names[n], 0, REG_DWORD, reinterpret_cast<const BYTE*>(&values[n]), 4) !=
                      ERROR_SUCCESS;
        failures += RegCloseKey(key) != ERROR_SUCCESS;
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ASSERT_TRUE(pf::setRegistryHivePath(hive_)) << pf::registryProblem();
  for (const char* name : names) EXPECT_EQ(static_cast<DWORD>(kRounds), get(name)) << name << "\n" << fileText();
}

}  // namespace
