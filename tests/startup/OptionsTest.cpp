// The command line's test hooks and the cursor rule of the frame loop.
#include "tarsel/CursorPolicy.h"
#include "tarsel/Options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tarsel;

namespace {

bool Parse(std::vector<const char*> args, Options& options, std::string& error)
{
    args.insert(args.begin(), "tarsel");
    return ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

} // namespace

TEST(Options, ReadsEveryHookAndNothingByDefault)
{
    Options options;
    std::string error;
    ASSERT_TRUE(Parse({}, options, error));
    EXPECT_EQ(options.frames, 0u);
    EXPECT_FALSE(options.fixedDt.has_value());
    EXPECT_FALSE(options.simulatedClock);
    EXPECT_TRUE(options.inputFile.empty());
    EXPECT_FALSE(options.seed.has_value());

    ASSERT_TRUE(Parse({"--frames", "20", "--fixed-dt", "0.016", "--input", "keys.txt", "--seed", "0"}, options, error))
        << error;
    EXPECT_EQ(options.frames, 20u);
    ASSERT_TRUE(options.fixedDt.has_value());
    EXPECT_FLOAT_EQ(*options.fixedDt, 0.016f);
    EXPECT_TRUE(options.simulatedClock); // the command line's fixed frame time is simulated time too
    EXPECT_EQ(options.inputFile, "keys.txt");
    ASSERT_TRUE(options.seed.has_value());
    EXPECT_EQ(*options.seed, 0u); // unlike --frames, 0 is a seed
    ASSERT_TRUE(Parse({"--seed", "4294967295"}, options, error)) << error;
    EXPECT_EQ(*options.seed, 4294967295u);
}

TEST(Options, RefusesBadArgumentsWithAMessageNamingThem)
{
    const std::vector<std::vector<const char*>> bad = {
        {"--frames"},           {"--frames", "0"},        {"--frames", "-3"},     {"--frames", "2x"},
        {"--frames", "99999999999"}, {"--fixed-dt", "nan"}, {"--fixed-dt", "inf"}, {"--fixed-dt", "-0.1"},
        {"--fixed-dt", "0.1s"}, {"--fixed-dt", "1e9"},    {"--input", ""},        {"--fullscreen"},
        {"frames"},             {"--seed"},               {"--seed", "-1"},       {"--seed", "4294967296"},
        {"--seed", "7 "},
    };
    for (const auto& args : bad) {
        Options options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
        const char* named = args.size() > 1 && *args[1] ? args[1] : args[0];
        EXPECT_NE(error.find(named), std::string::npos) << error;
    }
    EXPECT_NE(std::string(Usage()).find("--frames"), std::string::npos);
}

TEST(CursorPolicy, ClipsOnlyWithFocusAndNoPadZero)
{
    for (bool focused : {false, true}) {
        for (bool pad : {false, true}) {
            const CursorDecision d = DecideCursor(focused, pad, 10, 10, 640, 480);
            EXPECT_EQ(d.clip, focused && !pad) << focused << pad;
            if (d.clip) {
                EXPECT_FLOAT_EQ(d.minX, 2.0f);
                EXPECT_FLOAT_EQ(d.minY, 2.0f);
                EXPECT_FLOAT_EQ(d.maxX, 638.0f);
                EXPECT_FLOAT_EQ(d.maxY, 478.0f);
            }
            // Visibility depends on where the cursor is, never on focus or pads.
            EXPECT_TRUE(d.hide);
            EXPECT_FALSE(DecideCursor(focused, pad, 700, 10, 640, 480).hide);
        }
    }
}

TEST(CursorPolicy, HiddenInsideTheClientAreaOnly)
{
    EXPECT_TRUE(DecideCursor(true, false, 0, 0, 640, 480).hide);
    EXPECT_TRUE(DecideCursor(true, false, 639, 479, 640, 480).hide);
    EXPECT_FALSE(DecideCursor(true, false, 640, 10, 640, 480).hide);
    EXPECT_FALSE(DecideCursor(true, false, 10, 480, 640, 480).hide);
    EXPECT_FALSE(DecideCursor(true, false, -1, 10, 640, 480).hide);
    EXPECT_FALSE(DecideCursor(true, false, 10, -1, 640, 480).hide);
    EXPECT_FALSE(DecideCursor(true, false, 0, 0, 0, 0).hide);
}
