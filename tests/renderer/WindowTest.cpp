#include "platform/NativeWindow.h"
#include "renderer/Window.h"
#include "tests/support/FakeDisplay.h"
#include "tests/support/RecordingRenderContext.h"
#include "tests/support/StdoutCapture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

using platform::WindowMessage;
using tarsel::test::FakeDisplay;
using tarsel::test::RecordingRenderContext;
using ZOR::Dimension;
using ZOR::Window;

namespace {

void PushWindowEvent(const Window& window, Uint8 kind, int data1 = 0, int data2 = 0)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = window.GetHWND()->GetId();
    event.window.event = kind;
    event.window.data1 = data1;
    event.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

// Empties what SDL queued when the window was made.
void Settle(Window& window)
{
    window.SetMessageHandler([](const WindowMessage&) {});
    window.Update();
    window.SetMessageHandler(&Window::DefaultMessageHandler);
}

} // namespace

TEST(WindowPosition, CentresWithIntegerHalves)
{
    int x = 0, y = 0;
    Window::CentredPosition(1920, 1080, Dimension(1280, 720), x, y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 180);
    Window::CentredPosition(1920, 1080, Dimension(801, 601), x, y);
    EXPECT_EQ(x, 960 - 400);
    EXPECT_EQ(y, 540 - 300);
    // Larger than the desktop: the corner lies off screen, to the left and above.
    Window::CentredPosition(1024, 768, Dimension(3000, 2000), x, y);
    EXPECT_EQ(x, 512 - 1500);
    EXPECT_EQ(y, 384 - 1000);
}

TEST(Window, TheFirstWindowIsTheSingletonAndAnyDestructionClearsIt)
{
    FakeDisplay display;
    EXPECT_EQ(Window::Instance(), nullptr);
    auto first = std::make_unique<Window>("first", Dimension(320, 200), false);
    ASSERT_TRUE(first->IsAlive());
    EXPECT_EQ(Window::Instance(), first.get());
    {
        Window second("second", Dimension(320, 200), false);
        EXPECT_EQ(Window::Instance(), first.get());
    }
    EXPECT_EQ(Window::Instance(), nullptr);
    first.reset();
    EXPECT_EQ(Window::Instance(), nullptr);
    EXPECT_EQ(Window::GetDesktopWidth(), 1920u);
    EXPECT_EQ(Window::GetDesktopHeight(), 1080u);
}

TEST(Window, UpdateOnAnEmptyQueueKeepsItAlive)
{
    Window window("test", Dimension(320, 200), false);
    Settle(window);
    window.Update();
    EXPECT_TRUE(window.IsAlive());
    window.Kill();
    EXPECT_FALSE(window.IsAlive());
}

TEST(Window, ClosingPostsQuitAndEndsTheWindowsLife)
{
    Window window("test", Dimension(320, 200), true);
    Settle(window);
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    window.Update();
    EXPECT_FALSE(window.IsAlive());
}

TEST(Window, AReplacedHandlerSeesMessagesInOrderAndChainsToTheDefault)
{
    Window window("test", Dimension(320, 200), false);
    Settle(window);
    std::vector<WindowMessage> seen;
    window.SetMessageHandler([&](const WindowMessage& message) {
        seen.push_back(message);
        Window::DefaultMessageHandler(message);
    });
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(window, SDL_WINDOWEVENT_SIZE_CHANGED, 400, 300);
    PushWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
    window.Update();
    // The quit that Destroy posted ends the window; it is not handed to the handler.
    EXPECT_EQ(seen, (std::vector<WindowMessage>{WindowMessage::Activate(true), WindowMessage::SetFocus(),
                                                WindowMessage::Size(400, 300), WindowMessage::Destroy()}));
    EXPECT_FALSE(window.IsAlive());
}

TEST(Window, AnEmptyHandlerIsRefusedAndTheOldOneKept)
{
    Window window("test", Dimension(320, 200), false);
    Settle(window);
    int calls = 0;
    window.SetMessageHandler([&](const WindowMessage&) { ++calls; });
    tarsel::test::StdoutCapture out;
    window.SetMessageHandler(Window::MessageHandler());
    EXPECT_EQ(out.Text(), "Failed to change the message handler.");
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    window.Update();
    EXPECT_EQ(calls, 2); // Activate(false), KillFocus
}

TEST(Window, SizeAndActivationReachTheRenderContext)
{
    Window window("test", Dimension(320, 200), false);
    Settle(window);
    // Without a context the default handler has nobody to tell.
    PushWindowEvent(window, SDL_WINDOWEVENT_SIZE_CHANGED, 10, 10);
    window.Update();

    RecordingRenderContext context;
    PushWindowEvent(window, SDL_WINDOWEVENT_SIZE_CHANGED, 640, 480);
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(window, SDL_WINDOWEVENT_MINIMIZED);
    PushWindowEvent(window, SDL_WINDOWEVENT_FOCUS_GAINED);
    window.Update();
    EXPECT_EQ(context.Calls(), (std::vector<std::string>{"OnSize(640, 480)", "OnActivate(false)", "OnSize(0, 0)",
                                                         "OnActivate(true)"}));
    EXPECT_TRUE(window.IsAlive());
}

TEST(Window, SizesThePlatformCannotMakeAreLimited)
{
    Window huge("huge", Dimension(100000, 0), false);
    ASSERT_TRUE(huge.IsAlive());
    std::uint32_t w = 0, h = 0;
    huge.GetHWND()->GetSize(w, h);
    EXPECT_EQ(w, platform::NativeWindow::MaxSide);
    EXPECT_EQ(h, 1u);
}
