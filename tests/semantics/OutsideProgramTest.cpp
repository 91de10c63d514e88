// A program outside the library: it sees only the public headers and finds
// its data the way the desktop program does, through the store file under
// XDG_CONFIG_HOME.

#include <stdlib.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "language/LanguageTable.h"
#include "language/Random.h"
#include "semantics/Semantics.h"
#include "settings/Settings.h"

namespace {

const std::string kSampleDir = VELTRANO_SAMPLE_DATA_DIR;

class OutsideProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kSampleDir + "/init.txt"))
            << "no sample data in " << kSampleDir;
        ASSERT_FALSE(configHome.Path().empty());
        configHome.Write("Brannock/Veltrano.conf",
                         "DataDir=" + kSampleDir + "\nInitFile=init.txt\n");
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", configHome.Path().c_str(), 1), 0);
        // The start-up read saw the test's own, empty, store folder.
        SettingsReloadPending = true;
    }
    CScratchFolder configHome;
};

TEST_F(OutsideProgram, EveryNameTypeOfSampleDataYieldsNames) {
    CSemantics semantics;
    ASSERT_TRUE(semantics.Load());
    EXPECT_EQ(ReadRegistryValue("DataDir"), kSampleDir);
    EXPECT_EQ(SettingsMap["DataDir"], kSampleDir + "/");
    EXPECT_FALSE(theLanguageTable.m_lists.empty());

    RandomInRange(0, 0);
    const auto cultures = semantics.GetCultureNames();
    ASSERT_FALSE(cultures.empty());
    for (const std::string& culture : cultures) {
        const auto nameTypes = semantics.GetNameTypeNames(culture);
        EXPECT_FALSE(nameTypes.empty()) << culture;
        for (const std::string& nameType : nameTypes) {
            for (unsigned seed = 1; seed <= 50; ++seed) {
                srand(seed);
                EXPECT_NE(semantics.Generate(culture, nameType), "")
                    << culture << "/" << nameType << " seed " << seed;
            }
        }
    }
}

}  // namespace
