// The sound system on SDL_mixer with SDL's dummy audio driver (which opens and plays, silently)
// and WAV files written by the test.
#include "engine/Engine.h"
#include "engine/SoundAction.h"
#include "engine/SoundSystem.h"
#include "platform/MixerAudio.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"
#include "tests/support/WavWriter.h"

#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

using quellor::SoundSystem;

namespace {

// Sets an environment variable for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class SoundSystemMixerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Never a real device from a test, even when run by hand.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        std::filesystem::create_directories(dir / "sfx");
        dir.Write("sfx/hit.wav", tarsel::test::MakeWav(4410));
        dir.Write("song.wav", tarsel::test::MakeWav(44100, 2));
        dir.Write("other.wav", tarsel::test::MakeWav(2205, 2, 880.0));
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    std::unique_ptr<SoundSystem> Open()
    {
        auto sound = std::make_unique<SoundSystem>();
        sound->Initialize();
        sound->SetMuteAll(false);
        return sound;
    }

    tarsel::test::TempDir dir;
};

} // namespace

TEST_F(SoundSystemMixerTest, PlaysPausesAndStops)
{
    auto sound = Open();
    ASSERT_TRUE(sound->IsAudible());
    ASSERT_TRUE(sound->LoadSound(Path("song.wav")));
    ASSERT_TRUE(sound->LoadSound(Path("sfx/hit.wav")));
    // Endless, so that the checks below never race the sound's end.
    sound->SetLooping("song.wav", true, SoundSystem::SongTable);
    sound->PlaySong("song.wav");
    EXPECT_TRUE(sound->IsPlaying("song.wav", SoundSystem::SongTable));
    sound->PauseSong("song.wav", SoundSystem::SongTable);
    EXPECT_TRUE(sound->IsPlaying("song.wav", SoundSystem::SongTable));
    sound->ResumeSong("song.wav", SoundSystem::SongTable);
    sound->SetVolume(sound->GetChannel("song.wav", SoundSystem::SongTable), 0.5f);
    EXPECT_EQ(Mix_Volume(sound->GetChannel("song.wav", SoundSystem::SongTable)->channel, -1), 64);
    sound->StopSong("song.wav", SoundSystem::SongTable);
    EXPECT_FALSE(sound->IsPlaying("song.wav", SoundSystem::SongTable));

    sound->SetLooping("hit.wav", true, 2);
    sound->Play("hit.wav", 2);
    EXPECT_TRUE(sound->IsPlaying("hit.wav", 2));
    EXPECT_FALSE(sound->IsPlaying("hit.wav", 3));
    sound->StopAll();
    EXPECT_FALSE(sound->IsPlaying("hit.wav", 2));
    sound->Shutdown();
}

TEST_F(SoundSystemMixerTest, ReusedChannelIsLeftAloneByTheEarlierHandle)
{
    auto sound = Open();
    ASSERT_TRUE(sound->LoadSound(Path("song.wav")));
    ASSERT_TRUE(sound->LoadSound(Path("other.wav")));
    sound->SetLooping("song.wav", true, SoundSystem::SongTable);
    sound->SetLooping("other.wav", true, SoundSystem::SongTable);
    sound->PlaySong("song.wav");
    ASSERT_EQ(sound->GetChannel("song.wav", SoundSystem::SongTable)->channel, 0);
    // Halted behind the system's back, as a sound that ends by itself; SDL gives channel 0 on.
    Mix_HaltChannel(0);
    sound->PlaySong("other.wav");
    ASSERT_EQ(sound->GetChannel("other.wav", SoundSystem::SongTable)->channel, 0);

    EXPECT_FALSE(sound->IsPlaying("song.wav", SoundSystem::SongTable));
    sound->PauseSong("song.wav", SoundSystem::SongTable);
    EXPECT_EQ(Mix_Paused(0), 0);
    sound->SetVolume(sound->GetChannel("song.wav", SoundSystem::SongTable), 0.0f);
    EXPECT_EQ(Mix_Volume(0, -1), MIX_MAX_VOLUME);
    sound->StopSong("song.wav", SoundSystem::SongTable);
    EXPECT_TRUE(sound->IsPlaying("other.wav", SoundSystem::SongTable));
    EXPECT_NE(Mix_Playing(0), 0);
    // A song started muted is paused before anything is heard, at full volume for later.
    sound->SetMuteMusic(true);
    sound->PlaySong("song.wav");
    const int channel = sound->GetChannel("song.wav", SoundSystem::SongTable)->channel;
    EXPECT_EQ(channel, 1);
    EXPECT_NE(Mix_Paused(channel), 0);
    EXPECT_EQ(Mix_Volume(channel, -1), MIX_MAX_VOLUME);
}

TEST_F(SoundSystemMixerTest, BrokenFilesGiveFalseAndALogLine)
{
    auto sound = Open();
    const std::string wav = tarsel::test::MakeWav(1000);
    dir.Write("truncated.wav", wav.substr(0, 30));
    dir.Write("text.ogg", "this is no sound at all\n");
    dir.Write("empty.mp3", "");
    for (const char* name : {"truncated.wav", "text.ogg", "empty.mp3", "missing.wav"}) {
        tarsel::test::StdoutCapture out;
        EXPECT_FALSE(sound->LoadSound(Path(name))) << name;
        EXPECT_NE(out.Text().find("Failed to load sound \"" + Path(name) + "\""), std::string::npos) << out.Text();
        EXPECT_EQ(sound->GetChannel(name, SoundSystem::SongTable), nullptr);
    }
    // The system goes on working.
    EXPECT_TRUE(sound->LoadSound(Path("other.wav")));
}

TEST_F(SoundSystemMixerTest, UnknownDriverMeansSilenceAndEverySafeCall)
{
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    tarsel::test::StdoutCapture out;
    auto sound = Open();
    EXPECT_FALSE(sound->IsAudible());
    EXPECT_FALSE(sound->LoadSound(Path("song.wav")));
    sound->PlaySong("song.wav");
    sound->Play("hit.wav", 0);
    sound->PauseSong("song.wav", SoundSystem::SongTable);
    sound->ResumeSong("song.wav", SoundSystem::SongTable);
    sound->StopSong("song.wav", SoundSystem::SongTable);
    sound->SetLooping("song.wav", true, SoundSystem::SongTable);
    sound->SetVolume(sound->GetChannel("song.wav", SoundSystem::SongTable), 0.5f);
    sound->PauseAll();
    sound->ResumeAll();
    sound->StopAll();
    sound->Update(0.016f);
    EXPECT_FALSE(sound->IsPlaying("song.wav", SoundSystem::SongTable));
    sound->Shutdown();
    sound.reset();
    const std::string& text = out.Text();
    EXPECT_EQ(text.rfind("Notice: ", 0), 0u) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
}

TEST_F(SoundSystemMixerTest, OnlyOneMixerIsOpenAtATime)
{
    platform::MixerAudio first;
    ASSERT_TRUE(first.Open()) << first.Error();
    platform::MixerAudio second;
    EXPECT_FALSE(second.Open());
    EXPECT_EQ(second.Load(Path("song.wav")), 0u);
    EXPECT_EQ(second.Play(1, 0, false), -1);
    second.Stop(0);
    first.Close();
    EXPECT_TRUE(second.Open()) << second.Error();
    // Channels outside the range are refused.
    const platform::SoundId id = second.Load(Path("other.wav"));
    ASSERT_NE(id, 0u);
    EXPECT_FALSE(second.IsPlaying(-1));
    EXPECT_FALSE(second.IsPlaying(platform::MixerAudio::ChannelCount));
    second.Pause(300);
    second.SetVolume(-4, 1.0f);
    EXPECT_EQ(second.Play(id + 100, 0, false), -1);
}

TEST_F(SoundSystemMixerTest, LoadsOnAThreadWhileTheMainThreadPlays)
{
    auto sound = Open();
    ASSERT_TRUE(sound->LoadSound(Path("song.wav")));
    sound->SetLooping("song.wav", true, SoundSystem::SongTable);
    constexpr int count = 24;
    for (int i = 0; i < count; ++i)
        dir.Write("sfx/effect" + std::to_string(i) + ".wav", tarsel::test::MakeWav(441 * (i + 1)));

    std::atomic<int> loaded{0};
    std::thread loader([&] {
        for (int i = 0; i < count; ++i)
            if (sound->LoadSound(Path("sfx/effect" + std::to_string(i) + ".wav")))
                ++loaded;
    });
    int rounds = 0;
    while (loaded.load() < count && rounds < 1000000) {
        ++rounds;
        sound->PlaySong("song.wav");
        for (int i = 0; i < count; ++i) {
            const std::string name = "effect" + std::to_string(i) + ".wav";
            if (sound->GetChannel(name, i % 5))
                sound->Play(name, i % 5);
            sound->IsPlaying(name, i % 5);
        }
    }
    loader.join();
    EXPECT_EQ(loaded.load(), count);
    for (int i = 0; i < count; ++i)
        for (int group = 0; group < 5; ++group)
            EXPECT_NE(sound->GetChannel("effect" + std::to_string(i) + ".wav", group), nullptr) << i;
}

TEST_F(SoundSystemMixerTest, SoundActionPlaysInGroupZero)
{
    auto* sound = new SoundSystem();
    quellor::Engine::Instance()->AddSystem("SoundSystem", sound, "default");
    sound->SetMuteAll(false);
    ASSERT_TRUE(sound->LoadSound(Path("sfx/hit.wav")));
    sound->SetLooping("hit.wav", true, 0);
    quellor::SoundAction action("hit.wav");
    action.Update(0.0f);
    EXPECT_TRUE(action.IsFinished());
    EXPECT_TRUE(sound->IsPlaying("hit.wav", 0));
    EXPECT_FALSE(sound->IsPlaying("hit.wav", 1));
    quellor::Engine::DestroyInstance();
}
