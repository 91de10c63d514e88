// Each fault the fuzzers found, with the smallest input that shows it. The
// inputs themselves are also replayed from fuzz/regressions by CTest.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "settings/FileRegistryStore.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

using namespace std::string_literals;

// fuzz/regressions/store/final-cr-without-lf: a store whose last line ends in
// a CR without LF (a CR LF file that lost its last byte). Appending a value
// put an LF after that CR, which turned it into a line end and changed the
// last line's value from "\r" to "".
TEST(FuzzRegressions, StoreWriteAfterFinalCrKeepsTheLastValue) {
    CScratchFolder folder;
    const std::string path = folder.Write("Veltrano.conf", "a=\r");
    CFileRegistryStore store(path);
    UseRegistryStore(&store);
    const std::string before = ReadRegistryValue("a");
    ASSERT_TRUE(WriteRegistryValue("INITFILE", ""));
    EXPECT_EQ(ReadRegistryValue("a"), before) << "the write changed another value";
    EXPECT_EQ(ReadRegistryValue("InitFile"), "");

    folder.Write("Veltrano.conf", "DataDir=/data\r\nInitFile=init.txt\r");
    const std::string initFile = ReadRegistryValue("InitFile");
    ASSERT_TRUE(WriteRegistryValue("Other", "x"));
    EXPECT_EQ(ReadRegistryValue("InitFile"), initFile) << "the write changed another value";
    UseRegistryStore(nullptr);
}

}  // namespace
