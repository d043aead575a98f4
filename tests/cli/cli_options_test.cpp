#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace tarnwell::cli {
namespace {

constexpr unsigned every_option =
    opt_lang | opt_lines | opt_level | opt_small | opt_output | opt_budget | opt_markup;

cli_options parsed(std::vector<std::string_view> args) {
    return parse_options(args, every_option);
}

// Each option that takes a value reads it from the next argument or after "=", alike.
TEST(CliOptions, TakeTheirValueAfterAnEqualsSign) {
    const cli_options separate = parsed({"--lang", "js", "--lines", "3-7", "--level", "4",
                                         "--budget", "250", "-o", "out.png", "f.c"});
    const cli_options joined =
        parsed({"--lang=js", "--lines=3-7", "--level=4", "--budget=250", "-o", "out.png", "f.c"});
    for (const cli_options* options : {&separate, &joined}) {
        EXPECT_EQ(options->language, separate.language);
        ASSERT_TRUE(options->lines.has_value());
        EXPECT_EQ(*options->lines, std::make_pair(3, 7));
        EXPECT_EQ(options->level, 4);
        EXPECT_EQ(options->budget, 250);
        EXPECT_EQ(options->file, "f.c");
    }
    ASSERT_TRUE(joined.language.has_value());
    EXPECT_EQ(joined.language, parsed({"--lang", "js", "-o", "x", "f"}).language);
    // Everything after the first "=" is the value.
    EXPECT_THROW(parsed({"--lines=3-7=9", "-o", "x", "f"}), usage_error);
}

TEST(CliOptions, RejectWrongJoinedValues) {
    const std::vector<std::vector<std::string_view>> wrong{
        {"--lang=", "-o", "x", "f"},         // empty name
        {"--lang=klingon", "-o", "x", "f"},  // unknown language
        {"--level=-1", "-o", "x", "f"},      // below 0
        {"--level=", "-o", "x", "f"},        // no number
        {"--budget=ten", "-o", "x", "f"},    // no number
        {"--small=yes", "-o", "x", "f"},     // a flag takes no value
        {"--markup=1", "-o", "x", "f"},      // a flag takes no value
        {"--colour=red", "-o", "x", "f"},    // unknown option
    };
    for (const auto& args : wrong) {
        EXPECT_THROW(parsed(args), usage_error) << args.front();
    }
}

TEST(CliOptions, JoinedValueNeedsNoFurtherArgument) {
    // "--level=2" at the end consumes nothing after it, so FILE is still found before it.
    const cli_options options =
        parse_options(std::vector<std::string_view>{"f.c", "--level=2"}, opt_level);
    EXPECT_EQ(options.level, 2);
    EXPECT_EQ(options.file, "f.c");
    EXPECT_THROW(parse_options(std::vector<std::string_view>{"f.c", "--level"}, opt_level),
                 usage_error);
}

}  // namespace
}  // namespace tarnwell::cli
