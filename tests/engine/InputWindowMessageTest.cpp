// The window-message hook: focus pauses and resumes sound through the engine's "SoundSystem",
// and every message goes on to the renderer's default handling.
#include "engine/Engine.h"
#include "engine/Input.h"
#include "engine/SoundSystem.h"
#include "engine/Space.h"
#include "platform/NativeWindow.h"
#include "tests/support/RecordingAudioBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using platform::WindowMessage;
using quellor::Engine;
using quellor::Input;
using quellor::SoundSystem;
using tarsel::test::RecordingAudioBackend;

namespace {

class InputWindowMessageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto backend = std::make_unique<RecordingAudioBackend>(8, true);
        record = backend->GetRecord();
        sound = new SoundSystem(std::move(backend));
        Engine::Instance()->AddSystem("SoundSystem", sound, "default");
        sound->SetMuteAll(false);
        ASSERT_TRUE(sound->LoadSound("sfx/jump.wav"));
        ASSERT_TRUE(sound->LoadSound("music/theme_menu.ogg"));
        ASSERT_TRUE(sound->LoadSound("music/theme_gameplay.ogg"));
        sound->Play("jump.wav", 0);     // channel 0
        sound->Play("jump.wav", 3);     // channel 1
        sound->PlaySong("theme_menu.ogg");     // channel 2
        sound->PlaySong("theme_gameplay.ogg"); // channel 3
        record->calls.clear();
    }
    void TearDown() override { Engine::DestroyInstance(); }

    bool Paused(int channel) const { return record->channels.at(static_cast<std::size_t>(channel)).paused; }

    std::shared_ptr<RecordingAudioBackend::Record> record;
    SoundSystem* sound = nullptr;
};

} // namespace

TEST_F(InputWindowMessageTest, FocusLostPausesEverythingAndSuspendsAndFocusGainedResumes)
{
    Input::WindowMessage(WindowMessage::KillFocus());
    EXPECT_TRUE(sound->IsSuspended());
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_TRUE(Paused(channel)) << channel;
    // Suspended: new effects stay silent.
    record->calls.clear();
    sound->Play("jump.wav", 1);
    EXPECT_TRUE(record->calls.empty());

    Input::WindowMessage(WindowMessage::SetFocus());
    EXPECT_FALSE(sound->IsSuspended());
    for (int channel = 0; channel < 4; ++channel)
        EXPECT_FALSE(Paused(channel)) << channel;
}

TEST_F(InputWindowMessageTest, FocusGainedLeavesThemesPausedWhileMuted)
{
    for (bool muteAll : {true, false}) {
        sound->SetMuteAll(muteAll);
        sound->SetMuteMusic(!muteAll);
        Input::WindowMessage(WindowMessage::KillFocus());
        Input::WindowMessage(WindowMessage::SetFocus());
        EXPECT_FALSE(Paused(0));
        EXPECT_FALSE(Paused(1));
        EXPECT_TRUE(Paused(2)) << muteAll;
        EXPECT_TRUE(Paused(3)) << muteAll;
    }
}

TEST_F(InputWindowMessageTest, OtherMessagesLeaveSoundAlone)
{
    Input::WindowMessage(WindowMessage::Activate(false));
    Input::WindowMessage(WindowMessage::Size(640, 480));
    Input::WindowMessage(WindowMessage::MouseWheel(120));
    EXPECT_TRUE(record->calls.empty());
    EXPECT_FALSE(sound->IsSuspended());
}

TEST(InputWindowMessage, WithoutEngineOrSoundSystemIsHarmless)
{
    ASSERT_FALSE(Engine::HasInstance());
    Input::WindowMessage(WindowMessage::KillFocus());
    Input::WindowMessage(WindowMessage::SetFocus());
    EXPECT_FALSE(Engine::HasInstance());

    Engine::Instance();
    Input::WindowMessage(WindowMessage::KillFocus());
    Input::WindowMessage(WindowMessage::SetFocus());
    EXPECT_TRUE(Engine::Instance()->GetSpace("default")->GetUpdateList().empty());
    // A system under that name that is no sound system is not taken for one.
    Engine::Instance()->AddSystem("SoundSystem", new quellor::System, "default");
    Input::WindowMessage(WindowMessage::KillFocus());
    Engine::DestroyInstance();
}

TEST(InputWindowMessage, HandsMessagesOnToTheDefaultHandler)
{
    platform::NativeWindow window("hook", 0, 0, 64, 64, false);
    if (!window.IsValid())
        GTEST_SKIP() << "no video: " << window.Error();
    WindowMessage message;
    while (window.NextMessage(message)) {
    }
    // The default handling of Destroy asks the application to quit.
    Input::WindowMessage(WindowMessage::Destroy());
    bool quit = false;
    while (window.NextMessage(message))
        quit = quit || message.type == WindowMessage::Type::Quit;
    EXPECT_TRUE(quit);
}
