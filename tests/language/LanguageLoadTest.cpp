#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "ScratchSettings.h"
#include "language/LanguageTable.h"

// theLanguageTable is read once per process: every test here runs in a
// process of its own (see tests/CMakeLists.txt) and makes the first Load.

namespace {

class LanguageLoad : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(theLanguageTable.m_lists.empty()); }

    // Points the settings at a language file and brings SettingsMap up to
    // date, as constructing a pattern would.
    void UseLanguageFile(const std::string& text) {
        settings.Dir().Write("lang.txt", text);
        ASSERT_TRUE(settings.UseInitFile("languages=lang.txt\n"));
        CConfigBase reader;
    }

    CScratchSettings settings;
};

TEST_F(LanguageLoad, StartUpReadOfMissingStoreGivesNoKeyDataDir) {
    // Constructing theLanguageTable before main read the store named by the
    // test's XDG_CONFIG_HOME, where no store exists: reading never makes one.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(configHome, nullptr);
    EXPECT_FALSE(std::filesystem::exists(std::string(configHome) + "/Brannock/Veltrano.conf"));
    EXPECT_EQ(SettingsMap, (CSettingsMap{{"DataDir", "[Error: No Key]/"}}));
    EXPECT_FALSE(SettingsReloadPending);
}

TEST_F(LanguageLoad, FragmentBeforeHeaderFailsFirstLoadOnly) {
    UseLanguageFile("x\n[a]\ny\n");
    EXPECT_FALSE(theLanguageTable.Load());
    EXPECT_TRUE(theLanguageTable.m_lists.empty());
    EXPECT_TRUE(theLanguageTable.Load());
    EXPECT_TRUE(theLanguageTable.m_lists.empty());
}

TEST_F(LanguageLoad, LanguageFileIsReadOncePerProcess) {
    UseLanguageFile("[first]\na\n");
    ASSERT_TRUE(theLanguageTable.Load());
    ASSERT_NE(theLanguageTable.Find("first"), nullptr);

    settings.Dir().Write("second/lang.txt", "[second]\nb\n");
    settings.Dir().Write("second/init.txt", "languages=lang.txt\n");
    ASSERT_TRUE(settings.PointAt(settings.Dir().PathOf("second"), "init.txt"));
    CConfigBase reader;
    EXPECT_TRUE(theLanguageTable.Load());
    EXPECT_NE(theLanguageTable.Find("first"), nullptr);
    EXPECT_EQ(theLanguageTable.Find("second"), nullptr);
}

TEST_F(LanguageLoad, MissingFileLeavesTableEmptyForGood) {
    ASSERT_TRUE(settings.UseInitFile("languages=missing.txt\n"));
    CConfigBase reader;
    EXPECT_TRUE(theLanguageTable.Load());

    settings.Dir().Write("missing.txt", "[late]\nx\n");
    ASSERT_TRUE(WriteRegistryValue("InitFile", "init.txt"));
    CConfigBase rereader;
    EXPECT_TRUE(theLanguageTable.Load());
    EXPECT_TRUE(theLanguageTable.m_lists.empty());
}

TEST_F(LanguageLoad, AbsentLanguagesKeyOpensDataDirAndReadsNothing) {
    // The path is then the data directory itself: no read may block or fail.
    ASSERT_TRUE(settings.UseInitFile("semantics=sem.txt\n"));
    CConfigBase reader;
    EXPECT_TRUE(theLanguageTable.Load());
    EXPECT_TRUE(theLanguageTable.m_lists.empty());
}

TEST_F(LanguageLoad, PathIsDataDirFollowedByLanguagesValue) {
    settings.Dir().Write("sub/lang.txt", "[nested]\nx\n");
    ASSERT_TRUE(settings.UseInitFile("languages=sub/lang.txt\n"));
    CConfigBase reader;
    EXPECT_TRUE(theLanguageTable.Load());
    EXPECT_NE(theLanguageTable.Find("nested"), nullptr);
}

}  // namespace
