// Registry: the Win32 call contract (sizes, missing values and keys, access rights) and the
// .reg hive file (round trip of every value type, hand-written files, a damaged file, two
// processes saving at once).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "pf/faults.h"
#include "pf/registry.h"
#include "winrt_test_support.h"
#include "windows.h"

namespace {

std::vector<std::string> g_reports;
void captureReport(const std::string& message) { g_reports.push_back(message); }

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.path().empty());
    hive_ = dir_.file("user.reg");
    g_reports.clear();
    pf::setRegistryReporter(captureReport);
    ASSERT_TRUE(pf::setRegistryHivePath(hive_));
  }
  void TearDown() override {
    pf::setRegistryReporter(nullptr);
    pf::setRegistryHivePath(dir_.file("unused.reg"));
  }

  HKEY create(const char* path, REGSAM sam = KEY_ALL_ACCESS, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, sam,
                                             nullptr, &key, disposition));
    return key;
  }
  static LONG setString(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
  }
  static LONG setBytes(HKEY key, const char* name, DWORD type, const std::string& bytes) {
    return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size()));
  }
  // The value's type and bytes, read back with a size query first.
  static bool read(HKEY key, const char* name, DWORD& type, std::string& bytes) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    bytes.assign(size, '\0');
    return RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]),
                            &size) == ERROR_SUCCESS &&
           size == bytes.size();
  }

  TempDir dir_;
  std::string hive_;
};

TEST_F(RegistryTest, QueryFollowsTheWin32SizeProtocol) {
  HKEY key = create("Software\\Test");
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "Name", "hello"));

  char small[3] = {'x', 'x', 'x'};
  DWORD size = sizeof small;
  DWORD type = 0;
  EXPECT_EQ(ERROR_MORE_DATA,
            RegQueryValueExA(key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(small), &size));
  EXPECT_EQ(6u, size);  // the size needed, terminator included
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);

  size = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, &size));
  EXPECT_EQ(6u, size);

  char exact[6];
  size = sizeof exact;
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExA(key, "name", nullptr, &type, reinterpret_cast<BYTE*>(exact), &size));
  EXPECT_STREQ("hello", exact);

  size = sizeof exact;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegQueryValueExA(key, "Other", nullptr, &type, reinterpret_cast<BYTE*>(exact), &size));
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegQueryValueExA(key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(exact), nullptr));

  // A DWORD read into a 4-byte buffer, as settings are.
  DWORD number = 42;
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Prec", 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&number), 4));
  DWORD back = 0;
  size = 4;
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExA(key, "Prec", nullptr, &type, reinterpret_cast<BYTE*>(&back), &size));
  EXPECT_EQ(42u, back);
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
}

TEST_F(RegistryTest, MissingKeyIsNotFoundAndNotCreated) {
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Nowhere", 0, KEY_READ, &key));
  EXPECT_EQ(nullptr, key);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Nowhere", 0, KEY_READ, &key));
  EXPECT_FALSE(pf::registryHasUnsavedChanges());
  EXPECT_EQ(ERROR_BAD_PATHNAME, RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &key));
}

TEST_F(RegistryTest, CreateMakesEveryMissingParentAndThenOpensIt) {
  DWORD disposition = 0;
  HKEY key = create("Software\\Maker\\Product\\Settings", KEY_ALL_ACCESS, &disposition);
  EXPECT_EQ(static_cast<DWORD>(REG_CREATED_NEW_KEY), disposition);
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));

  HKEY parent = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "software\\MAKER", 0, KEY_READ, &parent));
  HKEY child = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(parent, "Product\\Settings", 0, KEY_READ, &child));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(child));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(parent));

  key = create("Software\\Maker\\Product\\Settings", KEY_ALL_ACCESS, &disposition);
  EXPECT_EQ(static_cast<DWORD>(REG_OPENED_EXISTING_KEY), disposition);
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));

  // The keys were saved with their spelling, empty ones included.
  std::string text = readFileBytes(hive_);
  EXPECT_NE(std::string::npos, text.find("[HKEY_CURRENT_USER\\Software\\Maker\\Product\\Settings]"));
  EXPECT_NE(std::string::npos, text.find("[HKEY_CURRENT_USER\\Software\\Maker]"));
}

TEST_F(RegistryTest, AccessMaskIsHonoured) {
  RegCloseKey(create("Software\\Locked"));
  HKEY readOnly = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Locked", 0, KEY_READ, &readOnly));
  EXPECT_EQ(ERROR_ACCESS_DENIED, setString(readOnly, "V", "x"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteValueA(readOnly, "V"));
  HKEY sub = nullptr;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(readOnly, "Sub\\Deeper", 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &sub, nullptr));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(readOnly, "Sub", 0, KEY_READ, &sub));

  HKEY writeOnly = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Locked", 0, KEY_WRITE, &writeOnly));
  EXPECT_EQ(ERROR_SUCCESS, setString(writeOnly, "V", "x"));
  DWORD size = 0;
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegQueryValueExA(writeOnly, "V", nullptr, nullptr, nullptr, &size));
  DWORD type = 0;
  std::string bytes;
  EXPECT_TRUE(read(readOnly, "V", type, bytes));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(writeOnly));
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(readOnly));
}

TEST_F(RegistryTest, BadHandlesAreRefused) {
  HKEY key = create("Software\\H");
  EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));
  EXPECT_EQ(ERROR_INVALID_HANDLE, setString(key, "V", "x"));
  EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(reinterpret_cast<HKEY>(0x12345)));
  EXPECT_EQ(ERROR_INVALID_PARAMETER,
            RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, nullptr));
}

TEST_F(RegistryTest, EveryValueTypeRoundTripsThroughTheHiveFile) {
  struct Sample {
    const char* name;
    DWORD type;
    std::string bytes;
  };
  std::string binary;
  for (int i = 0; i < 100; ++i) binary += static_cast<char>(i * 7);  // spans several lines
  const std::vector<Sample> samples = {
      {"Text", REG_SZ, std::string("Fl\xE4" "che \"A\" C:\\dir\\") + '\0'},
      {"", REG_SZ, std::string("default value") + '\0'},
      {"Lines", REG_SZ, std::string("one\ntwo") + '\0'},
      {"Unterminated", REG_SZ, "abc"},
      {"Expand", REG_EXPAND_SZ, std::string("%HOME%\\\xA7") + '\0'},
      {"Multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14)},
      {"Binary", REG_BINARY, binary},
      {"Empty", REG_BINARY, ""},
      {"Dword", REG_DWORD, std::string("\x2A\x00\x00\x80", 4)},
      {"Qword", REG_QWORD, std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
      {"Odd \"name\" \\ here", REG_NONE, std::string("\x00\xFF", 2)},
  };
  HKEY key = create("Software\\Types");
  for (const Sample& s : samples) ASSERT_EQ(ERROR_SUCCESS, setBytes(key, s.name, s.type, s.bytes));
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));

  std::string text = readFileBytes(hive_);
  EXPECT_EQ(0u, text.find("Windows Registry Editor Version 5.00\r\n"));
  EXPECT_NE(std::string::npos, text.find("\"Text\"=\"Fl\xC3\xA4" "che \\\"A\\\" C:\\\\dir\\\\\""));
  EXPECT_NE(std::string::npos, text.find("@=\"default value\""));
  EXPECT_NE(std::string::npos, text.find("\"Dword\"=dword:8000002a"));
  EXPECT_NE(std::string::npos, text.find("\"Qword\"=hex(b):01,02,03,04,05,06,07,08"));
  EXPECT_NE(std::string::npos, text.find("\"Multi\"=hex(7):66,00,69,00"));  // UTF-16LE, as on Windows
  EXPECT_NE(std::string::npos, text.find(",\\\r\n  "));  // a continued hex list

  ASSERT_TRUE(pf::setRegistryHivePath(hive_));  // drop memory, read the file again
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Types", 0, KEY_READ, &key));
  for (const Sample& s : samples) {
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(read(key, s.name, type, bytes)) << s.name;
    EXPECT_EQ(s.type, type) << s.name;
    EXPECT_EQ(s.bytes, bytes) << s.name;
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, ReadsAFileExportedByTheWindowsRegistryEditor) {
  // UTF-16LE with a byte-order mark; an expandable string as UTF-16 hex over two lines.
  std::string utf8 =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "; exported settings\r\n"
      "[HKEY_CURRENT_USER\\Software\\Imported]\r\n"
      "\"Attname\"=\"R\xC3\xA4ume\"\r\n"
      "\"AutoUpdate\"=dword:00000001\r\n"
      "\"Path\"=hex(2):25,00,41,00,\\\r\n"
      "  25,00,00,00\r\n"
      "\"Gone\"=\"x\"\r\n"
      "\"Gone\"=-\r\n";
  std::string bytes = "\xFF\xFE";
  for (unsigned char c : std::string("Windows Registry Editor Version 5.00\r\n\r\n; exported settings\r\n"
                                     "[HKEY_CURRENT_USER\\Software\\Imported]\r\n\"Attname\"=\"R")) {
    bytes += static_cast<char>(c);
    bytes += '\0';
  }
  bytes += std::string("\xE4\0", 2);  // a-umlaut, U+00E4
  for (unsigned char c : std::string("ume\"\r\n\"AutoUpdate\"=dword:00000001\r\n"
                                     "\"Path\"=hex(2):25,00,41,00,\\\r\n  25,00,00,00\r\n"
                                     "\"Gone\"=\"x\"\r\n\"Gone\"=-\r\n")) {
    bytes += static_cast<char>(c);
    bytes += '\0';
  }
  for (const std::string& content : {bytes, utf8}) {
    writeFileBytes(hive_, content);
    ASSERT_TRUE(pf::setRegistryHivePath(hive_)) << pf::registryProblem();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Imported", 0, KEY_READ, &key));
    DWORD type = 0;
    std::string value;
    ASSERT_TRUE(read(key, "Attname", type, value));
    EXPECT_EQ(std::string("R\xE4ume") + '\0', value);  // code page 1252 in memory
    ASSERT_TRUE(read(key, "AutoUpdate", type, value));
    EXPECT_EQ(std::string("\x01\0\0\0", 4), value);
    ASSERT_TRUE(read(key, "Path", type, value));
    EXPECT_EQ(static_cast<DWORD>(REG_EXPAND_SZ), type);
    EXPECT_EQ(std::string("%A%") + '\0', value);
    EXPECT_FALSE(read(key, "Gone", type, value));
    RegCloseKey(key);
  }
}

TEST_F(RegistryTest, DamagedHiveIsReportedWithItsLineAndNeverOverwritten) {
  const std::string damaged =
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Mine]\r\n"
      "\"Good\"=dword:00000001\r\n"
      "\"Bad\"=dword:xyz\r\n";
  writeFileBytes(hive_, damaged);
  g_reports.clear();
  EXPECT_FALSE(pf::setRegistryHivePath(hive_));
  EXPECT_NE(std::string::npos, pf::registryProblem().find("line 5")) << pf::registryProblem();
  ASSERT_EQ(1u, g_reports.size());
  EXPECT_NE(std::string::npos, g_reports[0].find(hive_));

  HKEY key = create("Software\\Mine");
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "New", "kept in memory"));
  EXPECT_EQ(ERROR_REGISTRY_IO_FAILED, RegCloseKey(key));
  EXPECT_EQ(damaged, readFileBytes(hive_));
  EXPECT_TRUE(pf::registryHasUnsavedChanges());
  EXPECT_EQ(2u, g_reports.size());

  // Once the user repairs the file, the pending change is merged into it.
  writeFileBytes(hive_,
                 "Windows Registry Editor Version 5.00\r\n\r\n"
                 "[HKEY_CURRENT_USER\\Software\\Mine]\r\n\"Good\"=dword:00000001\r\n");
  EXPECT_TRUE(pf::registryFlush());
  EXPECT_FALSE(pf::registryHasUnsavedChanges());
  ASSERT_TRUE(pf::setRegistryHivePath(hive_));
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Mine", 0, KEY_READ, &key));
  DWORD type;
  std::string value;
  EXPECT_TRUE(read(key, "Good", type, value));
  EXPECT_TRUE(read(key, "New", type, value));
  RegCloseKey(key);
}

TEST_F(RegistryTest, FirstSaveCreatesTheHiveAndItsFolders) {
  const std::string nested = dir_.file("home/.cadhost/user.reg");
  ASSERT_TRUE(pf::setRegistryHivePath(nested));  // a missing file is an empty hive
  HKEY key = create("Software\\First");
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "V", "1"));
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));
  EXPECT_NE(std::string::npos, readFileBytes(nested).find("\"V\"=\"1\""));
  EXPECT_FALSE(std::filesystem::exists(nested + ".tmp." + std::to_string(getpid())));
}

TEST_F(RegistryTest, UnreadableHiveIsReportedAndNotReplaced) {
  const std::string folder = dir_.file("folder.reg");
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  EXPECT_FALSE(pf::setRegistryHivePath(folder));
  EXPECT_NE(std::string::npos, pf::registryProblem().find("cannot be read"));
  HKEY key = create("Software\\X");
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "V", "1"));
  EXPECT_EQ(ERROR_REGISTRY_IO_FAILED, RegCloseKey(key));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(RegistryTest, ParseFaultsNameTheirLine) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"Not a registry file\r\n", 1},
      {"REGEDIT4\r\n\r\n\"Orphan\"=\"x\"\r\n", 3},
      {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n", 2},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=hex:01,zz\r\n", 3},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"open\r\n", 3},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\A\r\n", 2},
  };
  for (const Case& c : cases) {
    writeFileBytes(hive_, c.text);
    EXPECT_FALSE(pf::setRegistryHivePath(hive_)) << c.text;
    EXPECT_NE(std::string::npos, pf::registryProblem().find("line " + std::to_string(c.line)))
        << c.text << " -> " << pf::registryProblem();
  }
}

TEST_F(RegistryTest, SaveMergesWhatAnotherHostSavedMeanwhile) {
  HKEY key = create("Software\\Shared");
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "Mine", "1"));
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "Both", "mine"));
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));

  // Another host of the same user saves its own values (and one of ours) after we loaded.
  writeFileBytes(hive_,
                 "Windows Registry Editor Version 5.00\r\n\r\n"
                 "[HKEY_CURRENT_USER\\Software\\Shared]\r\n"
                 "\"Mine\"=\"1\"\r\n\"Both\"=\"theirs\"\r\n\"Theirs\"=\"2\"\r\n");
  key = create("Software\\Shared");
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "Later", "3"));
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));

  ASSERT_TRUE(pf::setRegistryHivePath(hive_));
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Shared", 0, KEY_READ, &key));
  DWORD type;
  std::string value;
  ASSERT_TRUE(read(key, "Theirs", type, value));
  ASSERT_TRUE(read(key, "Later", type, value));
  ASSERT_TRUE(read(key, "Both", type, value));
  EXPECT_EQ(std::string("theirs") + '\0', value);  // their save came after ours
  RegCloseKey(key);
}

TEST_F(RegistryTest, TwoProcessesSavingAtOnceLoseNothing) {
  const int kWrites = 40;
  std::vector<pid_t> children;
  for (int p = 0; p < 2; ++p) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      for (int i = 0; i < kWrites; ++i) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Race", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
          ++failures;
          continue;
        }
        std::string name = "P" + std::to_string(p) + "_" + std::to_string(i);
        DWORD v = static_cast<DWORD>(i);
        failures += RegSetValueExA(key, name.c_str(), 0, REG_DWORD,
                                   reinterpret_cast<const BYTE*>(&v), 4) != ERROR_SUCCESS;
        failures += RegSetValueExA(key, "Last", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                                   4) != ERROR_SUCCESS;
        failures += RegCloseKey(key) != ERROR_SUCCESS;
      }
      _exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(pid, waitpid(pid, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ASSERT_TRUE(pf::setRegistryHivePath(hive_)) << pf::registryProblem();
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Race", 0, KEY_READ, &key));
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < kWrites; ++i) {
      std::string name = "P" + std::to_string(p) + "_" + std::to_string(i);
      DWORD v = 99, size = 4;
      ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                                                reinterpret_cast<BYTE*>(&v), &size))
          << name;
      EXPECT_EQ(static_cast<DWORD>(i), v);
    }
  }
  DWORD last = 0, size = 4;
  EXPECT_EQ(ERROR_SUCCESS,
            RegQueryValueExA(key, "Last", nullptr, nullptr, reinterpret_cast<BYTE*>(&last), &size));
  EXPECT_EQ(static_cast<DWORD>(kWrites - 1), last);
  RegCloseKey(key);
}

TEST_F(RegistryTest, VolatileKeysStayInMemory) {
  RegCloseKey(create("Software"));
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Session", 0, nullptr,
                                           REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                           nullptr));
  ASSERT_EQ(ERROR_SUCCESS, setString(key, "Temp", "x"));
  HKEY child = nullptr;
  EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE,
            RegCreateKeyExA(key, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr));
  RegCloseKey(key);
  HKEY other = create("Software\\Kept");
  ASSERT_EQ(ERROR_SUCCESS, setString(other, "V", "y"));
  ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(other));
  std::string text = readFileBytes(hive_);
  EXPECT_NE(std::string::npos, text.find("Kept"));
  EXPECT_EQ(std::string::npos, text.find("Session"));
  // Still there for this process after the save.
  EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Session", 0, KEY_READ, &key));
  RegCloseKey(key);
}

TEST_F(RegistryTest, EnumeratesValuesAndSubkeys) {
  HKEY key = create("Software\\Enum");
  RegCloseKey(create("Software\\Enum\\beta"));
  RegCloseKey(create("Software\\Enum\\Alpha"));
  setString(key, "First", "1");
  setString(key, "Second", "22");
  char name[16];
  DWORD count = sizeof name;
  ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExA(key, 0, name, &count, nullptr, nullptr, nullptr, nullptr));
  EXPECT_STREQ("Alpha", name);
  count = sizeof name;
  ASSERT_EQ(ERROR_SUCCESS, RegEnumKeyExA(key, 1, name, &count, nullptr, nullptr, nullptr, nullptr));
  EXPECT_STREQ("beta", name);
  count = sizeof name;
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, RegEnumKeyExA(key, 2, name, &count, nullptr, nullptr, nullptr, nullptr));
  DWORD type = 0, size = 0;
  count = sizeof name;
  ASSERT_EQ(ERROR_SUCCESS, RegEnumValueA(key, 1, name, &count, nullptr, &type, nullptr, &size));
  EXPECT_STREQ("Second", name);
  EXPECT_EQ(3u, size);
  count = 3;
  EXPECT_EQ(ERROR_MORE_DATA, RegEnumValueA(key, 1, name, &count, nullptr, &type, nullptr, &size));
  RegCloseKey(key);
}

TEST_F(RegistryTest, InjectedFaultsFailTheNamedCallOnly) {
  HKEY key = nullptr;
  {
    pf::ScopedFault fault("RegCreateKeyExA", Acad::eFileAccessErr);
    EXPECT_EQ(ERROR_ACCESS_DENIED, RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\F", 0, nullptr, 0,
                                                   KEY_ALL_ACCESS, nullptr, &key, nullptr));
    EXPECT_EQ(nullptr, key);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\F", 0, KEY_READ, &key));
  }
  key = create("Software\\F");
  pf::failNext("RegSetValueExA", Acad::eOutOfMemory, 1);
  EXPECT_EQ(ERROR_NOT_ENOUGH_MEMORY, setString(key, "V", "lost"));
  EXPECT_EQ(ERROR_SUCCESS, setString(key, "W", "kept"));
  DWORD type;
  std::string bytes;
  EXPECT_FALSE(read(key, "V", type, bytes));
  pf::failNext("RegQueryValueExA", Acad::eKeyNotFound, 1);
  EXPECT_FALSE(read(key, "W", type, bytes));
  EXPECT_TRUE(read(key, "W", type, bytes));
  RegCloseKey(key);
  pf::failNext("RegOpenKeyExA", Acad::eFileAccessErr, 1);
  EXPECT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\F", 0, KEY_READ, &key));
  pf::clearAllFaults();
}

TEST(Win32Strings, LstrlenA) {
  EXPECT_EQ(0, lstrlenA(nullptr));
  EXPECT_EQ(0, lstrlenA(""));
  EXPECT_EQ(5, lstrlenA("Zorvi"));
}

}  // namespace
