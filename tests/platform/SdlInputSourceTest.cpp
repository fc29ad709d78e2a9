// The SDL input source, headless: pushed key and mouse events through the window's real event
// pump and the event watch, and virtual game controllers in pad slots.
#include "platform/NativeWindow.h"
#include "platform/SdlInputSource.h"
#include "platform/VirtualKeys.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using platform::InputSnapshot;
using platform::NativeWindow;
using platform::SdlInputSource;

namespace {

class SdlInputSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<NativeWindow>("input", 0, 0, 320, 240, false);
        ASSERT_TRUE(window->IsValid()) << window->Error();
        source = std::make_unique<SdlInputSource>(window.get());
        Pump();
    }
    void TearDown() override
    {
        source.reset();
        window.reset();
    }

    void Pump()
    {
        platform::WindowMessage message;
        while (window->NextMessage(message)) {
        }
    }

    InputSnapshot Poll()
    {
        Pump();
        InputSnapshot snapshot;
        source->Poll(snapshot);
        return snapshot;
    }

    void Key(SDL_Scancode scancode, bool down, bool repeat = false)
    {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = window->GetId();
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat ? 1 : 0;
        event.key.keysym.scancode = scancode;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    void Button(Uint8 button, bool down, int x, int y)
    {
        SDL_Event event{};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = window->GetId();
        event.button.button = button;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = x;
        event.button.y = y;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    std::unique_ptr<NativeWindow> window;
    std::unique_ptr<SdlInputSource> source;
};

// A virtual controller of the game-controller type; detached when it goes.
class VirtualPad {
public:
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "test pad";
        deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
        if (deviceIndex >= 0)
            joystick = SDL_JoystickOpen(deviceIndex);
    }
    ~VirtualPad() { Detach(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool Valid() const { return joystick != nullptr; }
    void Detach()
    {
        if (!joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }
    void Axis(SDL_GameControllerAxis axis, Sint16 value) { SDL_JoystickSetVirtualAxis(joystick, axis, value); }
    void Press(SDL_GameControllerButton button, bool down) { SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0); }

    int deviceIndex = -1;
    SDL_Joystick* joystick = nullptr;
};

} // namespace

TEST(VirtualKeys, RunsAndOddOnesOut)
{
    using platform::VirtualKeyFromScancode;
    // The runs: letters, digits (0 after 9 in SDL's order), keypad digits, F1..F12.
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_A + i), 'A' + i);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_1), '1');
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_0), '0');
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_1), 97);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_0), 96);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F12), 123);
    // Two keys, one code; navigation keys in Windows' order, not SDL's.
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_KP_ENTER), 13);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_PAGEUP), 33);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_HOME), 36);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_UP), 38);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_GRAVE), 192);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_LEFTBRACKET), 219);
    // Keys without a code, and values outside SDL's range.
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_PRINTSCREEN), 0);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_SCANCODE_F13), 0);
    EXPECT_EQ(VirtualKeyFromScancode(-1), 0);
    EXPECT_EQ(VirtualKeyFromScancode(SDL_NUM_SCANCODES), 0);
}

TEST_F(SdlInputSourceTest, PushedKeysReadDownUntilReleasedTapsOnceAndRepeatsChangeNothing)
{
    Key(SDL_SCANCODE_A, true);
    InputSnapshot s = Poll();
    EXPECT_TRUE(s.keys[65]);
    EXPECT_TRUE(Poll().keys[65]);
    Key(SDL_SCANCODE_A, false);
    EXPECT_FALSE(Poll().keys[65]);
    // A repeat without a press before it is no press.
    Key(SDL_SCANCODE_A, true, true);
    EXPECT_FALSE(Poll().keys[65]);
    // Unmapped keys are ignored.
    Key(SDL_SCANCODE_PRINTSCREEN, true);
    s = Poll();
    EXPECT_EQ(std::count(s.keys.begin(), s.keys.end(), true), 0);
    // A key tapped between two polls reads down once.
    Key(SDL_SCANCODE_SPACE, true);
    Key(SDL_SCANCODE_SPACE, false);
    EXPECT_TRUE(Poll().keys[32]);
    EXPECT_FALSE(Poll().keys[32]);
}

TEST_F(SdlInputSourceTest, ShiftCtrlAndAltReadDownFromEitherSide)
{
    const struct {
        SDL_Scancode scancode;
        int sided;
        int either;
    } modifiers[] = {
        {SDL_SCANCODE_LSHIFT, 160, 16}, {SDL_SCANCODE_RSHIFT, 161, 16}, {SDL_SCANCODE_LCTRL, 162, 17},
        {SDL_SCANCODE_RCTRL, 163, 17},  {SDL_SCANCODE_LALT, 164, 18},   {SDL_SCANCODE_RALT, 165, 18},
    };
    for (const auto& m : modifiers) {
        Key(m.scancode, true);
        InputSnapshot s = Poll();
        EXPECT_TRUE(s.keys[static_cast<std::size_t>(m.sided)]) << m.sided;
        EXPECT_TRUE(s.keys[static_cast<std::size_t>(m.either)]) << m.sided;
        Key(m.scancode, false);
        s = Poll();
        EXPECT_FALSE(s.keys[static_cast<std::size_t>(m.either)]) << m.sided;
    }
    // Held on both sides, released on one: still down.
    Key(SDL_SCANCODE_LCTRL, true);
    Key(SDL_SCANCODE_RCTRL, true);
    Poll();
    Key(SDL_SCANCODE_LCTRL, false);
    EXPECT_TRUE(Poll().keys[17]);
    // Both Enter keys are 13: it stays down while either is held.
    Key(SDL_SCANCODE_RETURN, true);
    Key(SDL_SCANCODE_KP_ENTER, true);
    Poll();
    Key(SDL_SCANCODE_RETURN, false);
    EXPECT_TRUE(Poll().keys[13]);
    Key(SDL_SCANCODE_KP_ENTER, false);
    EXPECT_FALSE(Poll().keys[13]);
}

TEST_F(SdlInputSourceTest, MouseButtonsGiveTheirCodesAndMoveTheCursor)
{
    const struct {
        Uint8 button;
        int code;
    } buttons[] = {{SDL_BUTTON_LEFT, 1}, {SDL_BUTTON_RIGHT, 2}, {SDL_BUTTON_MIDDLE, 4}, {SDL_BUTTON_X1, 5}, {SDL_BUTTON_X2, 6}};
    for (const auto& b : buttons) {
        Button(b.button, true, 10 * b.code, 7);
        InputSnapshot s = Poll();
        EXPECT_TRUE(s.keys[static_cast<std::size_t>(b.code)]) << b.code;
        EXPECT_EQ(std::count(s.keys.begin(), s.keys.end(), true), 1) << b.code;
        EXPECT_EQ(s.cursorX, 10 * b.code);
        EXPECT_EQ(s.cursorY, 7);
        Button(b.button, false, 0, 0);
        EXPECT_FALSE(Poll().keys[static_cast<std::size_t>(b.code)]) << b.code;
    }
    // A click shorter than a frame.
    Button(SDL_BUTTON_LEFT, true, 1, 1);
    Button(SDL_BUTTON_LEFT, false, 1, 1);
    EXPECT_TRUE(Poll().keys[1]);
    EXPECT_FALSE(Poll().keys[1]);

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = window->GetId();
    motion.motion.x = 123;
    motion.motion.y = 45;
    ASSERT_EQ(SDL_PushEvent(&motion), 1);
    InputSnapshot s = Poll();
    EXPECT_EQ(s.cursorX, 123);
    EXPECT_EQ(s.cursorY, 45);
    source->WarpCursor(2, 3);
    s = Poll();
    EXPECT_EQ(s.cursorX, 2);
    EXPECT_EQ(s.cursorY, 3);
}

TEST_F(SdlInputSourceTest, GameControllersTakeTheLowestFreeSlot)
{
    ASSERT_TRUE(source->PadsAvailable()) << source->PadError();
    auto first = std::make_unique<VirtualPad>();
    ASSERT_TRUE(first->Valid()) << SDL_GetError();
    InputSnapshot s = Poll();
    EXPECT_TRUE(s.pads[0].connected);
    EXPECT_FALSE(s.pads[1].connected);

    VirtualPad second;
    ASSERT_TRUE(second.Valid()) << SDL_GetError();
    second.Press(SDL_CONTROLLER_BUTTON_B, true);
    s = Poll();
    EXPECT_TRUE(s.pads[0].connected);
    EXPECT_TRUE(s.pads[1].connected);
    EXPECT_EQ(s.pads[1].buttons, platform::pad::B);
    EXPECT_EQ(s.pads[0].buttons, 0);

    first->Detach();
    s = Poll();
    EXPECT_FALSE(s.pads[0].connected);
    EXPECT_TRUE(s.pads[1].connected);

    VirtualPad third;
    ASSERT_TRUE(third.Valid()) << SDL_GetError();
    third.Press(SDL_CONTROLLER_BUTTON_Y, true);
    s = Poll();
    EXPECT_TRUE(s.pads[0].connected);
    EXPECT_EQ(s.pads[0].buttons, platform::pad::Y);
    EXPECT_EQ(s.pads[1].buttons, platform::pad::B);
    EXPECT_FALSE(s.pads[2].connected);
}

TEST_F(SdlInputSourceTest, ControllerStateTakesThePadShape)
{
    ASSERT_TRUE(source->PadsAvailable()) << source->PadError();
    VirtualPad pad;
    ASSERT_TRUE(pad.Valid()) << SDL_GetError();
    Poll();
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    pad.Axis(SDL_CONTROLLER_AXIS_LEFTX, -32768);
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTY, 32767);
    pad.Axis(SDL_CONTROLLER_AXIS_RIGHTX, 1000);
    pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 16384); // SDL spreads the raw range over 0..32767
    pad.Press(SDL_CONTROLLER_BUTTON_A, true);
    InputSnapshot s = Poll();
    const platform::PadState& state = s.pads[0];
    ASSERT_TRUE(state.connected);
    EXPECT_EQ(state.thumbLY, 32767);
    EXPECT_EQ(state.thumbLX, -32768);
    EXPECT_EQ(state.thumbRY, -32767);
    EXPECT_EQ(state.thumbRX, 1000);
    EXPECT_EQ(state.rightTrigger, 255);
    SDL_GameController* controller = SDL_GameControllerOpen(pad.deviceIndex);
    ASSERT_NE(controller, nullptr);
    const int half = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    SDL_GameControllerClose(controller);
    EXPECT_GT(half, 0);
    EXPECT_EQ(state.leftTrigger, static_cast<int>(std::lround(half * 255.0 / 32767.0)));
    EXPECT_EQ(state.buttons, platform::pad::A);

    const struct {
        SDL_GameControllerButton button;
        std::uint16_t bit;
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_UP, 0x0001},      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 0x0002},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0x0004},    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0x0008},
        {SDL_CONTROLLER_BUTTON_START, 0x0010},        {SDL_CONTROLLER_BUTTON_BACK, 0x0020},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, 0x0040},    {SDL_CONTROLLER_BUTTON_RIGHTSTICK, 0x0080},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 0x0100}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 0x0200},
        {SDL_CONTROLLER_BUTTON_A, 0x1000},            {SDL_CONTROLLER_BUTTON_B, 0x2000},
        {SDL_CONTROLLER_BUTTON_X, 0x4000},            {SDL_CONTROLLER_BUTTON_Y, 0x8000},
    };
    pad.Press(SDL_CONTROLLER_BUTTON_A, false);
    for (const auto& b : buttons) {
        pad.Press(b.button, true);
        EXPECT_EQ(Poll().pads[0].buttons, b.bit) << b.bit;
        pad.Press(b.button, false);
    }
    pad.Axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, -32768);
    EXPECT_EQ(Poll().pads[0].leftTrigger, 0);
    // The guide button has no bit.
    pad.Press(SDL_CONTROLLER_BUTTON_GUIDE, true);
    EXPECT_EQ(Poll().pads[0].buttons, 0);
}

TEST_F(SdlInputSourceTest, FocusFollowsTheWindow)
{
    // An offscreen window never takes keyboard focus.
    EXPECT_FALSE(source->HasFocus());
}
