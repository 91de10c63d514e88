#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace {

bool Parse(std::vector<const char*> arguments, CCliOptions& options, std::string& error) {
    arguments.insert(arguments.begin(), "veltrano-cli");
    return ParseCliOptions(static_cast<int>(arguments.size()), arguments.data(), options, error);
}

TEST(CliOptions, CountAcceptsEveryUnsigned64AndNothingElse) {
    const struct {
        const char* text;
        bool accepted;
        std::uint64_t value;
    } cases[] = {
        {"0", true, 0},
        {"1000000000", true, 1000000000},
        {"0007", true, 7},
        {"18446744073709551615", true, std::numeric_limits<std::uint64_t>::max()},
        {"18446744073709551616", false, 0},
        {"-1", false, 0},
        {"+1", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"1e3", false, 0},
        {"0x10", false, 0},
        {"", false, 0},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        std::uint64_t value = 0;
        EXPECT_EQ(ParseUnsigned64(row.text, value), row.accepted);
        if (row.accepted) {
            EXPECT_EQ(value, row.value);
        }
    }
}

TEST(CliOptions, SeedIsAnUnsignedIntAsSrandTakesIt) {
    unsigned int seed = 0;
    EXPECT_TRUE(ParseUnsignedInt("4294967295", seed));
    EXPECT_EQ(seed, 4294967295u);
    EXPECT_TRUE(ParseUnsignedInt("0", seed));
    EXPECT_EQ(seed, 0u);
    EXPECT_FALSE(ParseUnsignedInt("4294967296", seed));
    EXPECT_FALSE(ParseUnsignedInt("-1", seed));
}

TEST(CliOptions, LongAndShortFormsGiveTheSameOptions) {
    CCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"-n", "12", "-s", "5", "-i", "x/init.txt", "-u", "--crlf", "K", "T"},
                      options, error))
        << error;
    CCliOptions longForms;
    ASSERT_TRUE(
        Parse({"--count=12", "--seed", "5", "--init=x/init.txt", "--unique", "--crlf", "K", "T"},
              longForms, error))
        << error;
    for (const CCliOptions* parsed : {&options, &longForms}) {
        EXPECT_EQ(parsed->count, 12u);
        EXPECT_EQ(parsed->seed, 5u);
        EXPECT_EQ(parsed->initFile, "x/init.txt");
        EXPECT_TRUE(parsed->unique);
        EXPECT_TRUE(parsed->crlf);
        EXPECT_EQ(parsed->arguments, (std::vector<std::string>{"K", "T"}));
    }
}

TEST(CliOptions, DefaultsAreOneNameFromTheClock) {
    CCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"K", "T"}, options, error)) << error;
    EXPECT_EQ(options.count, 1u);
    EXPECT_FALSE(options.seed.has_value());
    EXPECT_FALSE(options.initFile.has_value());
    EXPECT_FALSE(options.crlf || options.unique || options.list || options.check);
}

TEST(CliOptions, DoubleDashEndsTheOptions) {
    CCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"-n", "2", "--", "-s", "--help"}, options, error)) << error;
    EXPECT_EQ(options.arguments, (std::vector<std::string>{"-s", "--help"}));
    EXPECT_FALSE(options.help);
    EXPECT_FALSE(options.seed.has_value());
}

TEST(CliOptions, ListTakesAnOptionalCulture) {
    CCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--list"}, options, error)) << error;
    EXPECT_TRUE(options.list);
    EXPECT_TRUE(options.arguments.empty());
    ASSERT_TRUE(Parse({"-l", "K"}, options, error)) << error;
    EXPECT_EQ(options.arguments, (std::vector<std::string>{"K"}));
}

TEST(CliOptions, RepeatedOptionTakesTheLastValue) {
    CCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"-n", "3", "-n", "4", "K", "T"}, options, error)) << error;
    EXPECT_EQ(options.count, 4u);
}

TEST(CliOptions, HelpWinsOverMissingArguments) {
    CCliOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--help"}, options, error)) << error;
    EXPECT_TRUE(options.help);
    ASSERT_TRUE(Parse({"-V", "-n", "x"}, options, error)) << error;
    EXPECT_TRUE(options.version);
}

}  // namespace
