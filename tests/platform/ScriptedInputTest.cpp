// The scripted input source and the scripted-input file that drives it.
#include "platform/InputScript.h"
#include "platform/ScriptedInputSource.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using platform::InputScript;
using platform::InputScriptEvent;
using platform::InputSnapshot;
using platform::PadAxis;
using platform::ScriptedInputSource;

namespace {

InputSnapshot Poll(ScriptedInputSource& source)
{
    InputSnapshot snapshot;
    source.Poll(snapshot);
    return snapshot;
}

// The message for a one-line script, which must fail.
std::string ErrorOf(const std::string& text)
{
    InputScript script;
    std::string error;
    EXPECT_FALSE(script.Parse(text, error)) << text;
    EXPECT_TRUE(script.GetEvents().empty());
    return error;
}

} // namespace

TEST(ScriptedInputSource, KeysTapsAndModifiers)
{
    ScriptedInputSource source;
    source.SetKey(70, true);
    source.TapKey(71);
    source.SetKey(164, true); // left Alt
    source.SetKey(-1, true);
    source.SetKey(256, true);
    InputSnapshot s = Poll(source);
    EXPECT_TRUE(s.keys[70]);
    EXPECT_TRUE(s.keys[71]);
    EXPECT_TRUE(s.keys[164]);
    EXPECT_TRUE(s.keys[18]);
    EXPECT_FALSE(s.keys[16]);
    EXPECT_EQ(std::count(s.keys.begin(), s.keys.end(), true), 4);
    s = Poll(source);
    EXPECT_TRUE(s.keys[70]);
    EXPECT_FALSE(s.keys[71]);
    source.SetKey(70, false);
    source.SetKey(164, false);
    s = Poll(source);
    EXPECT_FALSE(s.keys[70]);
    EXPECT_FALSE(s.keys[18]);
    EXPECT_EQ(source.GetPollCount(), 3u);
}

TEST(ScriptedInputSource, PadsReadZeroWhileUnplugged)
{
    ScriptedInputSource source;
    source.SetPadButton(1, 10, true);
    source.SetPadAxis(1, PadAxis::LeftY, -40000);
    source.SetPadAxis(1, PadAxis::RightTrigger, 300);
    InputSnapshot s = Poll(source);
    EXPECT_TRUE(s.pads[1].connected);
    EXPECT_EQ(s.pads[1].buttons, platform::pad::A);
    EXPECT_EQ(s.pads[1].thumbLY, -32768);
    EXPECT_EQ(s.pads[1].rightTrigger, 255);
    EXPECT_FALSE(s.pads[0].connected);

    source.SetPadConnected(1, false);
    s = Poll(source);
    EXPECT_EQ(s.pads[1], platform::PadState{});
    // Plugged in again it has the state it was left with.
    source.SetPadConnected(1, true);
    EXPECT_EQ(Poll(source).pads[1].buttons, platform::pad::A);

    source.SetPadButton(4, 0, true);
    source.SetPadButton(0, 14, true);
    source.SetPadAxis(-1, PadAxis::LeftX, 5);
    s = Poll(source);
    EXPECT_FALSE(s.pads[0].connected);
    EXPECT_FALSE(s.pads[2].connected);
}

TEST(ScriptedInputSource, WarpsAreRecordedAndMoveTheCursor)
{
    ScriptedInputSource source;
    source.SetCursor(50, 60);
    EXPECT_EQ(Poll(source).cursorX, 50);
    source.WarpCursor(2, 3);
    InputSnapshot s = Poll(source);
    EXPECT_EQ(s.cursorX, 2);
    EXPECT_EQ(s.cursorY, 3);
    ASSERT_EQ(source.GetWarps().size(), 1u);
    EXPECT_EQ(source.GetWarps()[0], std::make_pair(2, 3));
}

TEST(InputScript, ReadsEveryKindOfLineInFrameOrder)
{
    const std::string text = "# a run\n"
                             "3 65 down\r\n"
                             "\n"
                             "1\tpad 2 button 10 down   # A\n"
                             "  1 pad 0 axis ly -32768\n"
                             "2 focus off\n"
                             "3 pad 3 axis rt 255\n"
                             "1 65 up\n"
                             "0 focus on";
    InputScript script;
    std::string error;
    ASSERT_TRUE(script.Parse(text, error)) << error;
    using Kind = InputScriptEvent::Kind;
    const std::vector<InputScriptEvent> expected = {
        {1, Kind::PadButton, 2, 10, PadAxis::LeftX, 0, true},
        {1, Kind::PadAxis, 0, 0, PadAxis::LeftY, -32768, false},
        {1, Kind::Key, 0, 65, PadAxis::LeftX, 0, false},
        {0, Kind::Focus, 0, 0, PadAxis::LeftX, 0, true},
        {2, Kind::Focus, 0, 0, PadAxis::LeftX, 0, false},
        {3, Kind::Key, 0, 65, PadAxis::LeftX, 0, true},
        {3, Kind::PadAxis, 3, 0, PadAxis::RightTrigger, 255, false},
    };
    std::vector<InputScriptEvent> sortedExpected = expected;
    std::stable_sort(sortedExpected.begin(), sortedExpected.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    EXPECT_EQ(script.GetEvents(), sortedExpected);
}

TEST(InputScript, DrivesTheSourceFrameByFrame)
{
    InputScript script;
    std::string error;
    ASSERT_TRUE(script.Parse("2 18 down\n2 115 down\n2 115 up\n4 18 up\n5 focus off\n"
                             "6 pad 1 button 4 down\n6 pad 1 axis rx 30000\n",
                             error))
        << error;
    ScriptedInputSource source;
    script.ApplyUpTo(1, source);
    EXPECT_FALSE(Poll(source).keys[18]);
    script.ApplyUpTo(2, source);
    InputSnapshot s = Poll(source);
    EXPECT_TRUE(s.keys[18]);
    EXPECT_TRUE(s.keys[115]); // pressed and released within the frame
    script.ApplyUpTo(3, source);
    s = Poll(source);
    EXPECT_TRUE(s.keys[18]);
    EXPECT_FALSE(s.keys[115]);
    // A skipped frame still applies what it held.
    script.ApplyUpTo(5, source);
    EXPECT_FALSE(Poll(source).keys[18]);
    EXPECT_FALSE(source.HasFocus());
    EXPECT_FALSE(script.Finished());
    script.ApplyUpTo(100, source);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(source.GetPad(1).buttons, platform::pad::Start);
    EXPECT_EQ(source.GetPad(1).thumbRX, 30000);
    EXPECT_TRUE(source.GetPad(1).connected);
}

TEST(InputScript, BadLinesAreRefusedNamingTheLine)
{
    EXPECT_EQ(ErrorOf("0 65 down\n\n1 65 sideways\n"), "line 3: expected \"down\" or \"up\", found \"sideways\"");
    EXPECT_EQ(ErrorOf("1 256 down"), "line 1: expected a virtual-key code, \"pad\" or \"focus\" (0 to 255), found \"256\"");
    EXPECT_EQ(ErrorOf("-1 65 down"), "line 1: expected a frame number (0 to 4294967295), found \"-1\"");
    EXPECT_EQ(ErrorOf("4294967296 65 down"), "line 1: expected a frame number (0 to 4294967295), found \"4294967296\"");
    EXPECT_EQ(ErrorOf("+1 65 down"), "line 1: expected a frame number (0 to 4294967295), found \"+1\"");
    EXPECT_EQ(ErrorOf("1"), "line 1: missing an event after the frame number");
    EXPECT_EQ(ErrorOf("1 65"), "line 1: missing \"down\" or \"up\"");
    EXPECT_EQ(ErrorOf("1 65 down now"), "line 1: unexpected \"now\" at the end");
    EXPECT_EQ(ErrorOf("1 jump"), "line 1: expected a virtual-key code, \"pad\" or \"focus\" (0 to 255), found \"jump\"");
    EXPECT_EQ(ErrorOf("1 focus maybe"), "line 1: expected \"on\" or \"off\", found \"maybe\"");
    EXPECT_EQ(ErrorOf("1 pad 4 button 0 down"), "line 1: expected a pad number (0 to 3), found \"4\"");
    EXPECT_EQ(ErrorOf("1 pad 0"), "line 1: missing \"button\" or \"axis\"");
    EXPECT_EQ(ErrorOf("1 pad 0 knob 3"), "line 1: expected \"axis\", found \"knob\"");
    EXPECT_EQ(ErrorOf("1 pad 0 button 14 down"), "line 1: expected a button code (0 to 13), found \"14\"");
    EXPECT_EQ(ErrorOf("1 pad 0 axis lz 3"), "line 1: expected an axis (lx, ly, rx, ry, lt or rt), found \"lz\"");
    EXPECT_EQ(ErrorOf("1 pad 0 axis"), "line 1: expected an axis (lx, ly, rx, ry, lt or rt), found nothing");
    EXPECT_EQ(ErrorOf("1 pad 0 axis lx 32768"), "line 1: expected a stick value (-32768 to 32767), found \"32768\"");
    EXPECT_EQ(ErrorOf("1 pad 0 axis lt 256"), "line 1: expected a trigger value (0 to 255), found \"256\"");
    EXPECT_EQ(ErrorOf("1 pad 0 axis rt -1"), "line 1: expected a trigger value (0 to 255), found \"-1\"");
    EXPECT_EQ(ErrorOf("1 pad 0 axis rt"), "line 1: missing a trigger value");
    // Bytes that cannot be shown are escaped, long tokens cut.
    EXPECT_EQ(ErrorOf(std::string("1 65 d\0\xff\"", 9)), "line 1: expected \"down\" or \"up\", found \"d\\x00\\xff\\x22\"");
    EXPECT_EQ(ErrorOf("1 " + std::string(100, 'x')),
              "line 1: expected a virtual-key code, \"pad\" or \"focus\" (0 to 255), found \"" + std::string(32, 'x') +
                  "...\"");
}

TEST(InputScript, FilesThatCannotBeReadAreRefusedNamingTheFile)
{
    tarsel::test::TempDir dir;
    InputScript script;
    std::string error;
    const std::string missing = (dir / "missing.txt").string();
    EXPECT_FALSE(script.Load(missing, error));
    EXPECT_EQ(error, "Failed to read input script \"" + missing + "\": cannot open it");

    EXPECT_FALSE(script.Load(dir.Path().string(), error));
    EXPECT_NE(error.find("cannot open it"), std::string::npos) << error;

    dir.Write("big.txt", "");
    std::filesystem::resize_file(dir / "big.txt", InputScript::MaxFileSize + 1);
    EXPECT_FALSE(script.Load((dir / "big.txt").string(), error));
    EXPECT_NE(error.find("larger than"), std::string::npos) << error;

    dir.Write("bad.txt", "0 65 down\n7 pad 9 button 1 down\n");
    EXPECT_FALSE(script.Load((dir / "bad.txt").string(), error));
    EXPECT_EQ(error, "Failed to read input script \"" + (dir / "bad.txt").string() +
                         "\": line 2: expected a pad number (0 to 3), found \"9\"");
    EXPECT_TRUE(script.GetEvents().empty());

    dir.Write("good.txt", "0 65 down\n");
    ASSERT_TRUE(script.Load((dir / "good.txt").string(), error)) << error;
    EXPECT_EQ(script.GetEvents().size(), 1u);
}
