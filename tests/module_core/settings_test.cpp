// settings_test.cpp - loading the settings from the registry and saving them, against a .reg
// hive file.
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "windows.h"
#include "rxregsvc.h"
#include "pf/registry.h"

#include "cmd/arealink.h"
#include "temp_dir.h"
#include "zorvik.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ModuleApp* app = getModuleApp();
        m_saved.autoUpdate = app->autoUpdate();
        m_saved.areaPrec = app->areaPrec();
        m_saved.divisor = app->divisor();
        m_saved.quietMode = app->quietMode();
        m_saved.attname = app->attname();
        setDefaults();
        ASSERT_FALSE(m_dir.path().empty());
        m_errorsBefore = app->errorLog().count();
    }

    void TearDown() override
    {
        pf::setRegistryHivePath(m_dir.file("unused.reg"));
        ModuleApp* app = getModuleApp();
        EXPECT_EQ(m_errorsBefore, app->errorLog().count());  // settings never log
        app->setAutoUpdate(m_saved.autoUpdate);
        app->setAreaPrec(m_saved.areaPrec);
        app->setDivisor(m_saved.divisor);
        app->setQuietMode(m_saved.quietMode);
        app->setAttname(m_saved.attname.c_str());
    }

    static void setDefaults()
    {
        ModuleApp* app = getModuleApp();
        app->setAutoUpdate(1);
        app->setAreaPrec(2);
        app->setDivisor(1.0);
        app->setQuietMode(0);
        app->setAttname("");
    }

    // Loads a hive whose settings key holds the given .reg value lines.
    void useHive(const std::string& valueLines)
    {
        std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
        if (!valueLines.empty())
            text += "[HKEY_CURRENT_USER\\" + settingsKeyPath() + "]\r\n" + valueLines + "\r\n";
        m_dir.write("user.reg", text);
        ASSERT_TRUE(pf::setRegistryHivePath(m_dir.file("user.reg"))) << pf::registryProblem();
    }

    bool keyExists()
    {
        HKEY hKey = NULL;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKeyPath().c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return false;
        RegCloseKey(hKey);
        return true;
    }

    // The stored type and bytes of a value of the settings key.
    bool readValue(const char* name, DWORD& type, std::string& bytes)
    {
        HKEY hKey = NULL;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKeyPath().c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return false;
        DWORD size = 0;
        bool ok = RegQueryValueExA(hKey, name, NULL, &type, NULL, &size) == ERROR_SUCCESS;
        if (ok) {
            bytes.assign(size, '\0');
            ok = RegQueryValueExA(hKey, name, NULL, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size) ==
                 ERROR_SUCCESS;
        }
        RegCloseKey(hKey);
        return ok;
    }

    std::string readText(const char* name)
    {
        DWORD type = 0;
        std::string bytes;
        EXPECT_TRUE(readValue(name, type, bytes)) << name;
        EXPECT_EQ(DWORD(REG_SZ), type) << name;
        EXPECT_FALSE(bytes.empty()) << name;
        EXPECT_EQ('\0', bytes.empty() ? 'x' : bytes.back()) << name << ": terminator included";
        return bytes.empty() ? bytes : bytes.substr(0, bytes.size() - 1);
    }

    DWORD readDword(const char* name)
    {
        DWORD type = 0;
        std::string bytes;
        EXPECT_TRUE(readValue(name, type, bytes)) << name;
        EXPECT_EQ(DWORD(REG_DWORD), type) << name;
        EXPECT_EQ(4u, bytes.size()) << name;
        DWORD value = 0;
        memcpy(&value, bytes.data(), bytes.size() < 4 ? bytes.size() : 4);
        return value;
    }

    std::string readHiveFile()
    {
        std::ifstream in(m_dir.file("user.reg"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    ModuleTempDir m_dir;
    Settings m_saved;
    int m_errorsBefore = 0;
};

TEST_F(SettingsTest, KeyPathIsBelowTheProductKey)
{
    std::string path = settingsKeyPath();
    std::string tail = "\\VelmoraApps\\Zorvik\\Settings";
    ASSERT_GT(path.size(), tail.size());
    EXPECT_EQ(tail, path.substr(path.size() - tail.size()));
    EXPECT_EQ(std::string(acrxProductKey()), path.substr(0, path.size() - tail.size()));
}

TEST_F(SettingsTest, MissingKeyKeepsEverySettingAndCreatesNothing)
{
    useHive("");
    ModuleApp* app = getModuleApp();
    app->setAreaPrec(4);
    app->setAttname("ROOM");
    app->loadSettings();
    EXPECT_TRUE(app->autoUpdate());
    EXPECT_EQ(4, app->areaPrec());
    EXPECT_EQ(1.0, app->divisor());
    EXPECT_FALSE(app->quietMode());
    EXPECT_STREQ("ROOM", app->attname());
    EXPECT_FALSE(keyExists());
}

TEST_F(SettingsTest, StoredValuesAreLoaded)
{
    useHive("\"AutoUpdate\"=dword:00000000\r\n"
            "\"AreaPrec\"=dword:00000004\r\n"
            "\"Divisor\"=\"0.5\"\r\n"
            "\"QuietMode\"=dword:00000001\r\n"
            "\"Attname\"=\"AREA\"\r\n");
    ModuleApp* app = getModuleApp();
    app->loadSettings();
    EXPECT_FALSE(app->autoUpdate());
    EXPECT_EQ(4, app->areaPrec());
    EXPECT_EQ(0.5, app->divisor());
    EXPECT_TRUE(app->quietMode());
    EXPECT_STREQ("AREA", app->attname());
}

TEST_F(SettingsTest, DivisorMustBePositive)
{
    const char* rejected[] = {"0", "-2.5", "abc", "", "0.0"};
    for (const char* text : rejected) {
        useHive(std::string("\"Divisor\"=\"") + text + "\"\r\n\"AreaPrec\"=dword:00000003\r\n");
        getModuleApp()->setDivisor(7.0);
        getModuleApp()->setAreaPrec(2);
        getModuleApp()->loadSettings();
        EXPECT_EQ(7.0, getModuleApp()->divisor()) << text;
        EXPECT_EQ(3, getModuleApp()->areaPrec()) << text << ": the other values still load";
    }

    useHive("\"Divisor\"=\"0.000001\"\r\n");  // below what the dialog accepts, but above 0
    getModuleApp()->loadSettings();
    EXPECT_EQ(0.000001, getModuleApp()->divisor());

    useHive("\"Divisor\"=\"2.5m2\"\r\n");  // atof reads the leading number
    getModuleApp()->loadSettings();
    EXPECT_EQ(2.5, getModuleApp()->divisor());
}

TEST_F(SettingsTest, AreaPrecIsTakenWithoutRangeCheck)
{
    useHive("\"AreaPrec\"=dword:00000009\r\n");
    getModuleApp()->loadSettings();
    EXPECT_EQ(9, getModuleApp()->areaPrec());

    useHive("\"AreaPrec\"=dword:ffffffff\r\n");
    getModuleApp()->loadSettings();
    EXPECT_EQ(-1, getModuleApp()->areaPrec());
}

TEST_F(SettingsTest, AttnameIsTrimmedAndNeverBlank)
{
    getModuleApp()->setAttname("KEEP");
    useHive("\"Attname\"=\" \\t  \"\r\n");
    getModuleApp()->loadSettings();
    EXPECT_STREQ("KEEP", getModuleApp()->attname());

    useHive("\"Attname\"=\"  ROOM AREA \\t\"\r\n");
    getModuleApp()->loadSettings();
    EXPECT_STREQ("ROOM AREA", getModuleApp()->attname());
}

TEST_F(SettingsTest, AnyNonZeroFlagIsTrueAndSavesAsOne)
{
    useHive("\"AutoUpdate\"=dword:00000002\r\n\"QuietMode\"=dword:80000000\r\n");
    getModuleApp()->setAutoUpdate(0);
    getModuleApp()->loadSettings();
    EXPECT_TRUE(getModuleApp()->autoUpdate());
    EXPECT_TRUE(getModuleApp()->quietMode());

    getModuleApp()->saveSettings();
    EXPECT_EQ(1u, readDword("AutoUpdate"));
    EXPECT_EQ(1u, readDword("QuietMode"));
}

TEST_F(SettingsTest, TheStoredTypeDoesNotMatter)
{
    // Data is read as the setting needs it, whatever type it was stored with.
    useHive("\"AreaPrec\"=hex:05,00,00,00\r\n"
            "\"Divisor\"=hex:32,2e,35,00\r\n");
    getModuleApp()->loadSettings();
    EXPECT_EQ(5, getModuleApp()->areaPrec());
    EXPECT_EQ(2.5, getModuleApp()->divisor());
}

TEST_F(SettingsTest, ShortNumbersReadTheirMissingBytesAsZero)
{
    useHive("\"AreaPrec\"=hex(4):03\r\n\"AutoUpdate\"=hex(4):00,00\r\n");
    getModuleApp()->loadSettings();
    EXPECT_EQ(3, getModuleApp()->areaPrec());
    EXPECT_FALSE(getModuleApp()->autoUpdate());
}

TEST_F(SettingsTest, OversizedValuesDoNotLoad)
{
    // Five bytes do not fit the 4-byte buffer.
    useHive("\"AreaPrec\"=hex:07,00,00,00,00\r\n");
    getModuleApp()->loadSettings();
    EXPECT_EQ(2, getModuleApp()->areaPrec());

    // 1023 characters and the terminator fill the 1024-byte buffer exactly; one more does not fit.
    std::string fits(1023, 'A');
    useHive("\"Attname\"=\"" + fits + "\"\r\n");
    getModuleApp()->loadSettings();
    EXPECT_EQ(fits, std::string(getModuleApp()->attname()));

    useHive("\"Attname\"=\"" + std::string(1024, 'B') + "\"\r\n");
    getModuleApp()->loadSettings();
    EXPECT_EQ(fits, std::string(getModuleApp()->attname()));
}

TEST_F(SettingsTest, SaveCreatesTheWholeKeyAndWritesAllValues)
{
    useHive("");
    ModuleApp* app = getModuleApp();
    app->setAutoUpdate(0);
    app->setAreaPrec(-3);
    app->setDivisor(0.5);
    app->setQuietMode(1);
    app->setAttname("ROOM");
    app->saveSettings();

    ASSERT_TRUE(keyExists());
    EXPECT_EQ(0u, readDword("AutoUpdate"));
    EXPECT_EQ(DWORD(-3), readDword("AreaPrec"));
    EXPECT_EQ("0.5", readText("Divisor"));
    EXPECT_EQ(1u, readDword("QuietMode"));
    EXPECT_EQ("ROOM", readText("Attname"));

    // What was saved loads back, also after the hive was written to its file and read again.
    ASSERT_TRUE(pf::registryFlush());
    ASSERT_TRUE(pf::setRegistryHivePath(m_dir.file("user.reg")));
    setDefaults();
    app->loadSettings();
    EXPECT_FALSE(app->autoUpdate());
    EXPECT_EQ(-3, app->areaPrec());
    EXPECT_EQ(0.5, app->divisor());
    EXPECT_TRUE(app->quietMode());
    EXPECT_STREQ("ROOM", app->attname());
}

TEST_F(SettingsTest, DivisorIsSavedWithTheDigitsThatGiveItBack)
{
    useHive("");
    // "%g" where its six digits give back the same number, otherwise the fewest digits that do.
    struct Case {
        double value;
        const char* text;
    } cases[] = {{0.5, "0.5"},
                 {1e6, "1e+06"},
                 {100.0, "100"},
                 {0.00001, "1e-05"},
                 {1234567.0, "1234567"},
                 {123456.7, "123456.7"},
                 {0.000012345678, "1.2345678e-05"},
                 {0.09290304, "0.09290304"},
                 {1.0 / 3.0, "0.3333333333333333"},
                 {0.1 + 0.2, "0.30000000000000004"}};
    for (const Case& c : cases) {
        getModuleApp()->setDivisor(c.value);
        getModuleApp()->saveSettings();
        EXPECT_EQ(c.text, readText("Divisor"));
        getModuleApp()->setDivisor(1.0);
        getModuleApp()->loadSettings();
        EXPECT_EQ(c.value, getModuleApp()->divisor()) << c.text;
    }
}

TEST_F(SettingsTest, SquareMetresToSquareFeetSurviveARestart)
{
    useHive("");
    getModuleApp()->setDivisor(0.09290304);
    getModuleApp()->setAreaPrec(2);
    getModuleApp()->saveSettings();
    ASSERT_TRUE(pf::registryFlush()) << pf::registryProblem();
    EXPECT_NE(std::string::npos, readHiveFile().find("\"Divisor\"=\"0.09290304\""));

    // A new run reads the hive from its file.
    ASSERT_TRUE(pf::setRegistryHivePath(m_dir.file("user.reg"))) << pf::registryProblem();
    setDefaults();
    getModuleApp()->loadSettings();
    EXPECT_EQ(0.09290304, getModuleApp()->divisor());
    EXPECT_EQ("1076391.04", formatAreaText(100000.0, getModuleApp()->divisor(), getModuleApp()->areaPrec()));
}

TEST_F(SettingsTest, EmptyAttnameIsSavedButNotLoaded)
{
    useHive("\"Attname\"=\"ROOM\"\r\n");
    getModuleApp()->setAttname("");
    getModuleApp()->saveSettings();
    EXPECT_EQ("", readText("Attname"));
    getModuleApp()->setAttname("KEEP");
    getModuleApp()->loadSettings();
    EXPECT_STREQ("KEEP", getModuleApp()->attname());
}

}  // namespace
