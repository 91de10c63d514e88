#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "settings/InitFile.h"
#include "settings/Settings.h"

// Every test here runs in a process of its own (see tests/CMakeLists.txt).
// This executable does not link theLanguageTable, so SettingsMap starts
// empty; the start-up read is checked with the language tests.

namespace {

using namespace std::string_literals;

TEST(InitLine, SplitsAtFirstEqualsSignWithoutTrimming) {
    const struct {
        const char* name;
        std::string line;
        bool stored;
        std::string key;
        std::string value;
    } cases[] = {
        {"plain", "languages=lang.txt", true, "languages", "lang.txt"},
        {"blanks around '=' stay", "languages = lang.txt", true, "languages ", " lang.txt"},
        {"only the first '=' splits", "a=b=c", true, "a", "b=c"},
        {"empty key", "=v", true, "", "v"},
        {"empty value", "k=", true, "k", ""},
        {"trailing blanks stay", "k=v  ", true, "k", "v  "},
        {"'#' in the third byte is key", "ab#=v", true, "ab#", "v"},
        {"NUL is data", "k=a\0b"s, true, "k", "a\0b"s},
        {"'#' first", "#k=v", false, "", ""},
        {"'#' second", "x#k=v", false, "", ""},
        {"no '='", "languages", false, "", ""},
    };
    for (const auto& c : cases) {
        std::string_view key = "untouched";
        std::string_view value = "untouched";
        EXPECT_EQ(ParseInitLine(c.line, key, value), c.stored) << c.name;
        if (c.stored) {
            EXPECT_EQ(key, c.key) << c.name;
            EXPECT_EQ(value, c.value) << c.name;
        }
    }
}

class SettingsLoad : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(SettingsMap.empty()); }
    CScratchSettings settings;
};

TEST_F(SettingsLoad, InitFileLinesBecomeEntriesExactly) {
    const std::string init =
        "# comment=ignored\n"
        "x# comment=ignored too\n"
        "  \t  indented=1\n"
        "\n\n"
        "languages = lang.txt\n"
        "two=b=c\n"
        "=empty key\n"
        "empty value=\n"
        "ab#=third byte\n"
        "no equals sign\n"
        "dup=first\n"
        "dup=second\n"
        "Case=upper\n"
        "case=lower\n"
        "crlf=value\r\n"
        "cr=a\rb\n"
        "nul=a\0b\n"s +
        "long=" + std::string(994, 'x') + "more=1\n" + "last=no line end";
    ASSERT_TRUE(settings.UseInitFile(init));
    CConfigBase reader;

    const CSettingsMap expected = {
        {"DataDir", settings.Dir().Path() + "/"},
        {"indented", "1"},
        {"languages ", " lang.txt"},
        {"two", "b=c"},
        {"", "empty key"},
        {"empty value", ""},
        {"ab#", "third byte"},
        {"dup", "second"},
        {"Case", "upper"},
        {"case", "lower"},
        {"crlf", "value"},
        {"cr", "a\rb"},
        {"nul", "a\0b"s},
        {"long", std::string(994, 'x')},
        {"more", "1"},
        {"last", "no line end"},
    };
    EXPECT_EQ(SettingsMap, expected);
    EXPECT_FALSE(SettingsReloadPending);
}

TEST_F(SettingsLoad, FileOfOnlyCommentsLeavesDataDirAlone) {
    ASSERT_TRUE(settings.UseInitFile("# a=1\n\n  x#b=2\r\n   \n"));
    CConfigBase reader;
    EXPECT_EQ(SettingsMap, (CSettingsMap{{"DataDir", settings.Dir().Path() + "/"}}));
}

TEST_F(SettingsLoad, DataDirLineOfInitFileOverridesStore) {
    ASSERT_TRUE(settings.UseInitFile("DataDir=/elsewhere/\n"));
    CConfigBase reader;
    EXPECT_EQ(SettingsMap.at("DataDir"), "/elsewhere/");
}

TEST_F(SettingsLoad, InitPathIsDataDirSlashInitFile) {
    settings.Dir().Write("sub dir/my init.txt", "found=yes\n");
    ASSERT_TRUE(settings.PointAt(settings.Dir().PathOf("sub dir"), "my init.txt"));
    CConfigBase reader;
    EXPECT_EQ(SettingOrAbsent("found"), "yes");
    EXPECT_EQ(SettingsMap.at("DataDir"), settings.Dir().PathOf("sub dir") + "/");
}

TEST_F(SettingsLoad, SecondObjectWithoutWriteReadsNothing) {
    ASSERT_TRUE(settings.UseInitFile("a=1\n"));
    CConfigBase first;
    settings.Dir().Write("init.txt", "a=2\nb=3\n");
    CConfigBase second("named");
    EXPECT_EQ(SettingOrAbsent("a"), "1");
    EXPECT_EQ(SettingOrAbsent("b"), "<absent>");

    ASSERT_TRUE(WriteRegistryValue("InitFile", "init.txt"));
    EXPECT_TRUE(SettingsReloadPending);
    CConfigBase third;
    EXPECT_EQ(SettingOrAbsent("a"), "2");
    EXPECT_EQ(SettingOrAbsent("b"), "3");
}

TEST_F(SettingsLoad, ReReadKeepsOldEntriesAndRederivesDataDir) {
    ASSERT_TRUE(settings.UseInitFile("kept=old\nchanged=old\n"));
    CConfigBase first;

    settings.Dir().Write("second/init.txt", "changed=new\nadded=new\n");
    ASSERT_TRUE(settings.PointAt(settings.Dir().PathOf("second"), "init.txt"));
    CConfigBase second;
    const CSettingsMap expected = {
        {"DataDir", settings.Dir().PathOf("second") + "/"},
        {"kept", "old"},
        {"changed", "new"},
        {"added", "new"},
    };
    EXPECT_EQ(SettingsMap, expected);
}

TEST_F(SettingsLoad, DataDirOfInitFileIsRederivedFromStoreOnReRead) {
    ASSERT_TRUE(settings.UseInitFile("DataDir=/from/init/\n"));
    CConfigBase first;
    settings.Dir().Write("second/init.txt", "other=1\n");
    ASSERT_TRUE(settings.PointAt(settings.Dir().PathOf("second"), "init.txt"));
    CConfigBase second;
    EXPECT_EQ(SettingsMap.at("DataDir"), settings.Dir().PathOf("second") + "/");
}

TEST_F(SettingsLoad, MissingInitFileClearsPendingAndKeepsEntries) {
    ASSERT_TRUE(settings.UseInitFile("kept=1\n"));
    CConfigBase first;
    ASSERT_TRUE(settings.PointAt(settings.Dir().PathOf("nowhere"), "init.txt"));
    CConfigBase second;
    EXPECT_FALSE(SettingsReloadPending);
    EXPECT_EQ(SettingOrAbsent("kept"), "1");
    EXPECT_EQ(SettingsMap.at("DataDir"), settings.Dir().PathOf("nowhere") + "/");

    // No new attempt until the next write, even once the file exists.
    settings.Dir().Write("nowhere/init.txt", "late=1\n");
    CConfigBase third;
    EXPECT_EQ(SettingOrAbsent("late"), "<absent>");
}

TEST_F(SettingsLoad, StoreErrorTextsBecomeDataDir) {
    settings.Store().SetKeyExists(false);
    SettingsReloadPending = true;
    CConfigBase noKey;
    EXPECT_EQ(SettingsMap.at("DataDir"), "[Error: No Key]/");

    settings.Store().SetKeyExists(true);  // a key without values
    SettingsReloadPending = true;
    CConfigBase noValue;
    EXPECT_EQ(SettingsMap.at("DataDir"), "[Error: Unknown Subkey]/");
}

TEST_F(SettingsLoad, EmptySettingsMapIsReadWithoutPendingFlag) {
    ASSERT_TRUE(settings.UseInitFile("a=1\n"));
    SettingsReloadPending = false;
    CConfigBase reader;
    EXPECT_EQ(SettingOrAbsent("a"), "1");
}

TEST_F(SettingsLoad, CopiesAndMovesNeverRead) {
    ASSERT_TRUE(settings.UseInitFile("a=1\n"));
    CConfigBase original("original");
    settings.Dir().Write("init.txt", "a=2\n");
    SettingsReloadPending = true;

    CConfigBase copy(original);
    CConfigBase moved(std::move(copy));
    EXPECT_TRUE(SettingsReloadPending);
    EXPECT_EQ(SettingOrAbsent("a"), "1");
    EXPECT_EQ(moved.GetName(), "original");

    CConfigBase named("named");
    EXPECT_FALSE(SettingsReloadPending);
    EXPECT_EQ(SettingOrAbsent("a"), "2");
    EXPECT_EQ(named.GetName(), "named");
}

}  // namespace
