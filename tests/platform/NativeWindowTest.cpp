#include "platform/ErrorBox.h"
#include "platform/MainThread.h"
#include "platform/NativeWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

using platform::NativeWindow;
using platform::WindowMessage;

namespace {

void PushWindowEvent(const NativeWindow& window, Uint8 kind, int data1 = 0, int data2 = 0)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window.GetId();
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void PushWheel(const NativeWindow& window, float notches, bool flipped)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = window.GetId();
    event.wheel.y = static_cast<Sint32>(notches);
    event.wheel.preciseY = notches;
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

std::vector<WindowMessage> Drain(NativeWindow& window)
{
    std::vector<WindowMessage> messages;
    WindowMessage message;
    while (window.NextMessage(message))
        messages.push_back(message);
    return messages;
}

} // namespace

TEST(NativeWindow, CreatesAHiddenWindowOfTheClientSizeAndShowsIt)
{
    NativeWindow window("test", 10, 20, 640, 360, false);
    ASSERT_TRUE(window.IsValid()) << window.Error();
    EXPECT_FALSE(window.IsShown());
    std::uint32_t w = 0, h = 0;
    window.GetDrawableSize(w, h);
    EXPECT_EQ(w, 640u);
    EXPECT_EQ(h, 360u);
    window.Show();
    EXPECT_TRUE(window.IsShown());
    window.SetSize(800, 600);
    window.GetSize(w, h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);
    Drain(window);
}

TEST(NativeWindow, PumpTranslatesWindowEventsIntoMessagesInOrder)
{
    NativeWindow window("test", 0, 0, 320, 200, false);
    ASSERT_TRUE(window.IsValid()) << window.Error();
    Drain(window);

    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(window, SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480);
    PushWindowEvent(window, SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWheel(window, 2.0f, false);
    PushWheel(window, 1.0f, true);
    PushWheel(window, 0.5f, false);
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    NativeWindow::PostQuit();

    const std::vector<WindowMessage> expected = {
        WindowMessage::Activate(true), WindowMessage::SetFocus(),   WindowMessage::Size(640, 480),
        WindowMessage::Size(0, 0),     WindowMessage::Activate(false), WindowMessage::KillFocus(),
        WindowMessage::MouseWheel(240), WindowMessage::MouseWheel(-120), WindowMessage::MouseWheel(60),
        WindowMessage::Destroy(),      WindowMessage::Quit(),
    };
    EXPECT_EQ(Drain(window), expected);
}

TEST(NativeWindow, KeysAndMouseMotionAreNoMessagesButReachSdlState)
{
    NativeWindow window("test", 0, 0, 320, 200, false);
    ASSERT_TRUE(window.IsValid()) << window.Error();
    Drain(window);

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = window.GetId();
    key.key.keysym.scancode = SDL_SCANCODE_A;
    key.key.keysym.sym = SDLK_a;
    ASSERT_EQ(SDL_PushEvent(&key), 1);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = window.GetId();
    ASSERT_EQ(SDL_PushEvent(&motion), 1);

    EXPECT_TRUE(Drain(window).empty());
    WindowMessage message;
    EXPECT_FALSE(window.NextMessage(message)); // an empty queue returns at once
}

TEST(NativeWindow, FullscreenTakesTheChosenModeAndLeavesIt)
{
    NativeWindow window("test", 0, 0, 640, 480, true);
    ASSERT_TRUE(window.IsValid()) << window.Error();
    ASSERT_TRUE(window.SetFullscreenMode({800, 600, 60, 0})) << window.Error();
    ASSERT_TRUE(window.SetFullscreen(true)) << window.Error();
    EXPECT_TRUE(window.IsFullscreen());
    std::uint32_t w = 0, h = 0;
    window.GetSize(w, h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);
    ASSERT_TRUE(window.SetFullscreen(false)) << window.Error();
    EXPECT_FALSE(window.IsFullscreen());
    Drain(window);
}

TEST(MainThread, OnlyTheInitialThreadIsMain)
{
    EXPECT_TRUE(platform::IsMainThread());
    bool other = true;
    std::thread([&] { other = platform::IsMainThread(); }).join();
    EXPECT_FALSE(other);
}

TEST(ErrorBox, HookReceivesRequestsFromAnyThreadUntilRemoved)
{
    std::vector<std::string> seen;
    platform::SetErrorBoxHook([&](const std::string& title, const std::string& text) { seen.push_back(title + ":" + text); });
    platform::ShowErrorBox("Error!", "first");
    std::thread([] { platform::ShowErrorBox("Error!", "second"); }).join();
    platform::SetErrorBoxHook({});
    // Offscreen: the real box is never shown, so this returns at once instead of waiting.
    platform::ShowErrorBox("Error!", "third");
    EXPECT_EQ(seen, (std::vector<std::string>{"Error!:first", "Error!:second"}));
}
