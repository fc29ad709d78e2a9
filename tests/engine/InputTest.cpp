// The input system on the scripted source: codes, edges, pads, sticks, triggers, focus and the
// cursor wrap.
#include "engine/Input.h"
#include "engine/reflection/Function.h"
#include "engine/reflection/Meta.h"
#include "engine/reflection/RegisterEngineTypes.h"
#include "engine/reflection/Variable.h"
#include "platform/ScriptedInputSource.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using platform::PadAxis;
using quellor::Input;

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        source = std::make_shared<platform::ScriptedInputSource>();
        input = std::make_unique<Input>(source);
        input->Initialize();
    }

    void Frame() { input->Update(1.0f / 60.0f); }

    std::shared_ptr<platform::ScriptedInputSource> source;
    std::unique_ptr<Input> input;
};

// Records the pad numbers a pad event was emitted with.
struct PadEvents {
    std::vector<int> numbers;
    void On(int pad) { numbers.push_back(pad); }
};

} // namespace

TEST_F(InputTest, StickDeadZoneEndsJustInsideFifteenThousandSixHundredNinetyEight)
{
    source->SetPadAxis(0, PadAxis::LeftX, 15698);
    source->SetPadAxis(0, PadAxis::LeftY, 15697);
    source->SetPadAxis(0, PadAxis::RightX, -15698);
    source->SetPadAxis(0, PadAxis::RightY, -15697);
    Frame();
    EXPECT_FLOAT_EQ(input->GetLeftJoyStickX(0), 15698 * 3.051851e-5f);
    EXPECT_EQ(input->GetLeftJoyStickY(0), 0.0f);
    EXPECT_FLOAT_EQ(input->GetRightJoyStickX(0), -15698 * 3.051851e-5f);
    EXPECT_EQ(input->GetRightJoyStickY(0), 0.0f);
    // The raw getters keep what the dead zone drops.
    EXPECT_FLOAT_EQ(input->GetLeftJoyStickYRaw(0), 15697 * 3.051851e-5f);
    EXPECT_FLOAT_EQ(input->GetRightJoyStickYRaw(0), -15697 * 3.051851e-5f);
    source->SetPadAxis(0, PadAxis::LeftY, 32767);
    Frame();
    EXPECT_FLOAT_EQ(input->GetLeftJoyStickY(0), 32767 * 3.051851e-5f);
}

TEST_F(InputTest, StickDirectionCountsFromThreeQuartersOfFullTravel)
{
    // 24576 is the first axis value that scales to 0.75 or more; 24575 scales to just below.
    ASSERT_GE(24576 * Input::StickScale, 0.75f);
    ASSERT_LT(24575 * Input::StickScale, 0.75f);

    source->SetPadAxis(1, PadAxis::LeftX, 24575);
    source->SetPadAxis(1, PadAxis::RightY, -24575);
    Frame();
    EXPECT_FALSE(input->KeyIsDown(23, 1)); // left stick right
    EXPECT_FALSE(input->KeyIsDown(25, 1)); // right stick down

    source->SetPadAxis(1, PadAxis::LeftX, 24576);
    source->SetPadAxis(1, PadAxis::RightY, -24576);
    Frame();
    EXPECT_TRUE(input->KeyIsDown(23, 1));
    EXPECT_TRUE(input->KeyIsPressed(23, 1));
    EXPECT_TRUE(input->KeyIsDown(25, 1));
    for (int code : {20, 21, 22, 24, 26, 27})
        EXPECT_FALSE(input->KeyIsDown(code, 1)) << code;

    source->SetPadAxis(1, PadAxis::LeftX, -32768);
    source->SetPadAxis(1, PadAxis::LeftY, 32767);
    source->SetPadAxis(1, PadAxis::RightX, 30000);
    source->SetPadAxis(1, PadAxis::RightY, 0);
    Frame();
    EXPECT_TRUE(input->KeyIsReleased(23, 1));
    EXPECT_TRUE(input->KeyIsReleased(25, 1));
    EXPECT_TRUE(input->KeyIsDown(22, 1)); // left stick left
    EXPECT_TRUE(input->KeyIsDown(20, 1)); // left stick up
    EXPECT_TRUE(input->KeyIsDown(27, 1)); // right stick right
    EXPECT_FALSE(input->KeyIsDown(23, 0)); // other pads see nothing
}

TEST_F(InputTest, TriggerCountsAsPressedFromThirtyOne)
{
    source->SetPadAxis(2, PadAxis::RightTrigger, 30);
    Frame();
    EXPECT_FALSE(input->KeyIsDown(14, 2));
    EXPECT_EQ(input->GetRightTrigger(2), 0);

    source->SetPadAxis(2, PadAxis::RightTrigger, 31);
    Frame();
    EXPECT_TRUE(input->KeyIsDown(14, 2));
    EXPECT_TRUE(input->KeyIsPressed(14, 2));
    EXPECT_EQ(input->GetRightTrigger(2), 31);

    source->SetPadAxis(2, PadAxis::RightTrigger, 255);
    Frame();
    EXPECT_EQ(input->GetRightTrigger(2), 255);
    EXPECT_FALSE(input->RightTriggerIsReleased(2));

    source->SetPadAxis(2, PadAxis::RightTrigger, 0);
    Frame();
    EXPECT_TRUE(input->RightTriggerIsReleased(2));
    EXPECT_EQ(input->GetRightTrigger(2), 0);
}

TEST_F(InputTest, CodeFifteenIsTheLeftTriggerNotTheKeyboard)
{
    source->SetKey(15, true);
    source->SetPadAxis(0, PadAxis::LeftTrigger, 0);
    Frame();
    EXPECT_TRUE(input->KeyIsDown(15, -1));
    EXPECT_FALSE(input->KeyIsDown(15, 0));

    source->SetKey(15, false);
    source->SetPadAxis(0, PadAxis::LeftTrigger, 40);
    Frame();
    EXPECT_TRUE(input->KeyIsDown(15, 0));
    EXPECT_TRUE(input->KeyIsPressed(15, 0));
    EXPECT_EQ(input->GetLeftTrigger(0), 40);
    EXPECT_EQ(input->GetRightTrigger(0), 0);
}

TEST_F(InputTest, PadButtonsMapToTheirCodes)
{
    const std::uint16_t bits[] = {0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040,
                                  0x0080, 0x0100, 0x0200, 0x1000, 0x2000, 0x4000, 0x8000};
    for (int code = 0; code < 14; ++code) {
        platform::PadState state;
        state.connected = true;
        state.buttons = bits[code];
        source->SetPad(3, state);
        Frame();
        for (int other = 0; other < 14; ++other)
            EXPECT_EQ(input->KeyIsDown(other, 3), other == code) << "bit " << bits[code] << " code " << other;
    }
}

TEST_F(InputTest, KeyPressReadsPressedInOneFrameAndTypesItsLetter)
{
    source->SetKey('A', true);
    Frame();
    EXPECT_TRUE(input->KeyIsPressed(65, -1));
    EXPECT_TRUE(input->KeyIsDown(65, -1));
    EXPECT_EQ(input->GetTypedText(), "A");

    Frame();
    EXPECT_FALSE(input->KeyIsPressed(65, -1));
    EXPECT_TRUE(input->KeyIsDown(65, -1));
    EXPECT_EQ(input->GetTypedText(), "");

    source->SetKey('A', false);
    Frame();
    EXPECT_TRUE(input->KeyIsReleased(65, -1));
    EXPECT_FALSE(input->KeyIsDown(65, -1));

    // Two letters in one frame are typed in code order; digits are not letters.
    source->SetKey('Q', true);
    source->SetKey('C', true);
    source->SetKey('7', true);
    Frame();
    EXPECT_EQ(input->GetTypedText(), "CQ");
}

TEST_F(InputTest, TapShorterThanAFrameReadsDownForOneFrame)
{
    source->TapKey(32);
    Frame();
    EXPECT_TRUE(input->KeyIsDown(32, -1));
    EXPECT_TRUE(input->KeyIsPressed(32, -1));
    Frame();
    EXPECT_FALSE(input->KeyIsDown(32, -1));
    EXPECT_TRUE(input->KeyIsReleased(32, -1));
    Frame();
    EXPECT_FALSE(input->KeyIsReleased(32, -1));
}

TEST_F(InputTest, PadPluggedInAndOutRaisesOneEventEach)
{
    PadEvents connected, disconnected;
    input->m_onPadConnected.ConnectSlot(quellor::MakeDelegate(&connected, &PadEvents::On), 0, false);
    input->m_onPadDisconnected.ConnectSlot(quellor::MakeDelegate(&disconnected, &PadEvents::On), 0, false);

    Frame();
    EXPECT_TRUE(connected.numbers.empty());
    source->SetPadConnected(2, true);
    Frame();
    Frame();
    EXPECT_EQ(connected.numbers, std::vector<int>{2});
    EXPECT_TRUE(input->IsConnected(2));
    EXPECT_TRUE(disconnected.numbers.empty());

    source->SetPadConnected(2, false);
    Frame();
    Frame();
    EXPECT_EQ(disconnected.numbers, std::vector<int>{2});
    EXPECT_FALSE(input->IsConnected(2));
    EXPECT_EQ(connected.numbers, std::vector<int>{2});
}

TEST_F(InputTest, UnpluggedPadKeepsItsCodesWithTriggersAndSticksAtZero)
{
    source->SetPadButton(0, 10, true); // A
    source->SetPadAxis(0, PadAxis::RightTrigger, 200);
    source->SetPadAxis(0, PadAxis::LeftX, 32767);
    Frame();
    ASSERT_TRUE(input->KeyIsPressed(10, 0));
    ASSERT_EQ(input->GetRightTrigger(0), 200);
    ASSERT_TRUE(input->KeyIsDown(23, 0));

    source->SetPadConnected(0, false);
    Frame();
    EXPECT_TRUE(input->KeyIsDown(10, 0));
    EXPECT_TRUE(input->KeyIsDown(14, 0));
    EXPECT_EQ(input->GetRightTrigger(0), 0);
    EXPECT_EQ(input->GetLeftJoyStickX(0), 0.0f);
    EXPECT_EQ(input->GetLeftJoyStickXRaw(0), 0.0f);
    EXPECT_FALSE(input->KeyIsDown(23, 0));
    EXPECT_TRUE(input->KeyIsReleased(23, 0));
    // The press of the last answered poll does not act again in every frame without the pad.
    EXPECT_FALSE(input->KeyIsPressed(10, 0));
    Frame();
    EXPECT_FALSE(input->KeyIsPressed(10, 0));
    EXPECT_FALSE(input->KeyIsReleased(10, 0));
    EXPECT_TRUE(input->KeyIsDown(10, 0));
}

TEST_F(InputTest, WithoutFocusStatesFreezeAndEdgesStop)
{
    source->SetKey('A', true);
    source->SetPadButton(1, 4, true); // Start
    source->SetCursor(10, 10);
    Frame();
    source->SetCursor(30, 50);
    Frame();
    ASSERT_EQ(input->GetMouseDelta().x, 20.0f);
    source->SetKey('A', false);
    source->SetPadButton(1, 4, false);
    source->SetKey('A', true);
    Frame();
    ASSERT_FALSE(input->KeyIsPressed(65, -1));

    source->SetKey('B', true);
    Frame();
    ASSERT_TRUE(input->KeyIsPressed(66, -1));
    ASSERT_EQ(input->GetTypedText(), "B");

    source->SetFocus(false);
    source->SetKey('C', true);
    source->SetKey('A', false);
    const unsigned polls = source->GetPollCount();
    for (int i = 0; i < 3; ++i) {
        Frame();
        EXPECT_EQ(source->GetPollCount(), polls);
        EXPECT_TRUE(input->KeyIsDown(66, -1));
        EXPECT_FALSE(input->KeyIsPressed(66, -1));
        EXPECT_TRUE(input->KeyIsDown(65, -1));
        EXPECT_FALSE(input->KeyIsReleased(65, -1));
        EXPECT_FALSE(input->KeyIsDown(67, -1));
        EXPECT_EQ(input->GetTypedText(), "");
        EXPECT_EQ(input->GetMouseDelta().x, 0.0f);
        EXPECT_EQ(input->GetMousePosition().y, 50.0f);
    }

    // With focus back, what happened meanwhile reads as this frame's edges, once.
    source->SetFocus(true);
    Frame();
    EXPECT_TRUE(input->KeyIsPressed(67, -1));
    EXPECT_TRUE(input->KeyIsReleased(65, -1));
    EXPECT_EQ(input->GetTypedText(), "C");
    Frame();
    EXPECT_FALSE(input->KeyIsPressed(67, -1));
}

TEST_F(InputTest, CodesOutsideTheCodeSpaceReadNothing)
{
    for (int key = 0; key < 256; ++key)
        source->SetKey(key, true);
    for (int code = 0; code < 14; ++code)
        source->SetPadButton(0, code, true);
    source->SetPadAxis(0, PadAxis::LeftTrigger, 255);
    source->SetPadAxis(0, PadAxis::RightTrigger, 255);
    source->SetPadAxis(0, PadAxis::LeftX, 32767);
    source->SetPadAxis(0, PadAxis::LeftY, 32767);
    source->SetPadAxis(0, PadAxis::RightX, 32767);
    source->SetPadAxis(0, PadAxis::RightY, 32767);
    Frame();

    EXPECT_FALSE(input->KeyIsDown(256, -1));
    EXPECT_FALSE(input->KeyIsDown(-1, -1));
    EXPECT_FALSE(input->KeyIsPressed(1000, -1));
    EXPECT_FALSE(input->KeyIsDown(28, 0));
    EXPECT_FALSE(input->KeyIsDown(32, 0));
    EXPECT_FALSE(input->KeyIsDown(-5, 0));
    EXPECT_FALSE(input->KeyIsDown(10, 4));
    EXPECT_FALSE(input->KeyIsDown(10, -2));
    EXPECT_FALSE(input->KeyIsPressed(10, 4));
    EXPECT_FALSE(input->KeyIsReleased(65, -7));
    EXPECT_EQ(input->GetLeftJoyStickX(4), 0.0f);
    EXPECT_EQ(input->GetRightJoyStickYRaw(-1), 0.0f);
    EXPECT_EQ(input->GetRightTrigger(-1), 0);
    EXPECT_EQ(input->GetLeftTrigger(9), 0);
    EXPECT_FALSE(input->RightTriggerIsReleased(5));
    EXPECT_FALSE(input->IsConnected(4));

    // Inside the code space everything held reads down, 16..19 on a pad as the keyboard.
    EXPECT_TRUE(input->KeyIsDown(255, -1));
    EXPECT_TRUE(input->KeyIsDown(27, 0));
    EXPECT_TRUE(input->KeyIsDown(15, 0));
    EXPECT_TRUE(input->KeyIsDown(19, 0));
    source->SetKey(19, false);
    Frame();
    EXPECT_FALSE(input->KeyIsDown(19, 0));
    EXPECT_TRUE(input->KeyIsReleased(19, 0));
}

TEST_F(InputTest, CursorWrapsToTheOppositeBoundAndWarps)
{
    input->SetCursorBounds(2.0f, 2.0f, 798.0f, 598.0f, true);
    source->SetCursor(400, 300);
    Frame();
    EXPECT_TRUE(source->GetWarps().empty());

    source->SetCursor(799, 300);
    Frame();
    EXPECT_EQ(input->GetMousePosition().x, 2.0f);
    EXPECT_EQ(input->GetMousePosition().y, 300.0f);
    ASSERT_EQ(source->GetWarps().size(), 1u);
    EXPECT_EQ(source->GetWarps()[0], std::make_pair(2, 300));
    EXPECT_EQ(input->GetMouseDelta().x, 2.0f - 400.0f);

    source->SetCursor(1, 1);
    Frame();
    EXPECT_EQ(input->GetMousePosition().x, 798.0f);
    EXPECT_EQ(input->GetMousePosition().y, 598.0f);
    ASSERT_EQ(source->GetWarps().size(), 2u);
    EXPECT_EQ(source->GetWarps()[1], std::make_pair(798, 598));

    // On a bound is inside; with the switch off nothing wraps.
    source->SetCursor(798, 2);
    Frame();
    EXPECT_EQ(source->GetWarps().size(), 2u);
    input->SetCursorBounds(2.0f, 2.0f, 798.0f, 598.0f, false);
    source->SetCursor(900, -40);
    Frame();
    EXPECT_EQ(input->GetMousePosition().x, 900.0f);
    EXPECT_EQ(input->GetMousePosition().y, -40.0f);
    EXPECT_EQ(source->GetWarps().size(), 2u);
}

TEST_F(InputTest, InitializeClearsEveryState)
{
    source->SetKey('W', true);
    source->SetPadButton(0, 11, true);
    source->SetPadAxis(0, PadAxis::LeftY, 32767);
    Frame();
    Frame();
    ASSERT_TRUE(input->KeyIsDown('W', -1));
    input->Initialize();
    EXPECT_FALSE(input->KeyIsDown('W', -1));
    EXPECT_FALSE(input->KeyIsDown(11, 0));
    EXPECT_FALSE(input->KeyIsDown(20, 0));
    EXPECT_FALSE(input->IsConnected(0));
    // The next poll sees them as new presses, and the pad as newly connected.
    PadEvents connected;
    input->m_onPadConnected.ConnectSlot(quellor::MakeDelegate(&connected, &PadEvents::On), 0, false);
    Frame();
    EXPECT_TRUE(input->KeyIsPressed('W', -1));
    EXPECT_TRUE(input->KeyIsPressed(11, 0));
    EXPECT_EQ(connected.numbers, std::vector<int>{0});
}

TEST(InputWithoutSource, ReadsNothingAndKeepsWorking)
{
    Input input;
    input.Initialize();
    input.Update(0.016f);
    EXPECT_FALSE(input.KeyIsDown(65, -1));
    EXPECT_EQ(input.GetMousePosition().x, 0.0f);
    auto source = std::make_shared<platform::ScriptedInputSource>();
    source->SetKey(65, true);
    input.SetInputSource(source);
    input.Update(0.016f);
    EXPECT_TRUE(input.KeyIsPressed(65, -1));
}

TEST_F(InputTest, QueriesCalledByNameAnswerLikeTheMethods)
{
    quellor::RegisterEngineTypes();
    quellor::Meta* record = input->GetMeta();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetName(), "Input");
    EXPECT_EQ(record->GetMethods().size(), 9u);

    source->SetKey(17, true);
    source->SetPadAxis(1, PadAxis::RightTrigger, 99);
    source->SetPadAxis(1, PadAxis::LeftX, -20000);
    source->SetCursor(12, 34);
    Frame();
    source->SetKey('R', true);
    Frame();

    auto call = [&](const char* name, auto... args) {
        quellor::Function* f = record->GetMethod(name);
        EXPECT_NE(f, nullptr) << name;
        f->PushArgument(quellor::Variable(input.get(), false));
        (f->PushArgument(quellor::Variable(&args, false)), ...);
        return std::unique_ptr<quellor::Variable>(f->Invoke());
    };
    quellor::Function* keyIsDown = record->GetMethod("KeyIsDown");
    ASSERT_NE(keyIsDown, nullptr);
    ASSERT_EQ(keyIsDown->GetArgumentTypes().size(), 2u);
    EXPECT_EQ(keyIsDown->GetArgumentTypes()[0]->GetName(), "code");
    EXPECT_EQ(keyIsDown->GetArgumentTypes()[1]->GetName(), "int");

    for (int key : {17, 82, 65, 300}) {
        for (int pad : {-1, 0, 7}) {
            auto down = call("KeyIsDown", key, pad);
            auto pressed = call("KeyIsPressed", key, pad);
            ASSERT_TRUE(down && pressed) << key << " " << pad;
            EXPECT_EQ(*static_cast<bool*>(down->GetData()), input->KeyIsDown(key, pad)) << key << " " << pad;
            EXPECT_EQ(*static_cast<bool*>(pressed->GetData()), input->KeyIsPressed(key, pad)) << key << " " << pad;
        }
    }
    EXPECT_TRUE(*static_cast<bool*>(call("KeyIsPressed", 82, -1)->GetData()));
    EXPECT_EQ(*static_cast<int*>(call("GetRightTrigger", 1)->GetData()), 99);
    EXPECT_EQ(*static_cast<float*>(call("GetLeftJoyStickX", 1)->GetData()), input->GetLeftJoyStickX(1));
    const auto position = call("GetMousePosition");
    ASSERT_TRUE(position);
    const auto* mouse = static_cast<quellor::Vec2*>(position->GetData());
    EXPECT_EQ(mouse->x, 12.0f);
    EXPECT_EQ(mouse->y, 34.0f);
}
