// The sound system over a recording backend: groups, the song table, mutes, suspension,
// volumes, ranges, copies, and the guard against channel numbers that SDL hands on.
#include "engine/AssetPath.h"
#include "engine/SoundSystem.h"
#include "tests/support/RecordingAudioBackend.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using quellor::SoundSystem;
using tarsel::test::RecordingAudioBackend;

namespace {

class SoundSystemTest : public ::testing::Test {
protected:
    void SetUp() override { Make(); }

    void Make(int channels = 8, bool device = true)
    {
        auto backend = std::make_unique<RecordingAudioBackend>(channels, device);
        backend->FailLoadOf("sounds/broken.wav");
        record = backend->GetRecord();
        sound = std::make_unique<SoundSystem>(std::move(backend));
        sound->Initialize();
        sound->SetMuteAll(false);
        ASSERT_TRUE(sound->LoadSound("sounds/sfx/jump.wav"));
        ASSERT_TRUE(sound->LoadSound("sounds/music/theme_menu.ogg"));
        ASSERT_TRUE(sound->LoadSound("sounds/music/theme_gameplay.ogg"));
        record->calls.clear();
    }

    // The calls recorded since the last look.
    std::vector<std::string> Taken()
    {
        std::vector<std::string> calls;
        calls.swap(record->calls);
        return calls;
    }

    const RecordingAudioBackend::ChannelState& Channel(int n) const { return record->channels.at(static_cast<std::size_t>(n)); }

    std::shared_ptr<RecordingAudioBackend::Record> record;
    std::unique_ptr<SoundSystem> sound;
};

using Calls = std::vector<std::string>;

} // namespace

TEST_F(SoundSystemTest, EffectIsHeldInFiveGroupsAndNotInTheSongTable)
{
    for (int group = 0; group < 5; ++group)
        EXPECT_NE(sound->GetChannel("jump.wav", group), nullptr) << group;
    EXPECT_EQ(sound->GetChannel("jump.wav", 42), nullptr);
    EXPECT_NE(sound->GetChannel("theme_menu.ogg", 42), nullptr);
    EXPECT_EQ(sound->GetChannel("theme_menu.ogg", 0), nullptr);
    // Five entries, five channel records, one decoded file.
    EXPECT_NE(sound->GetChannel("jump.wav", 0), sound->GetChannel("jump.wav", 1));
    EXPECT_EQ(std::count_if(record->loaded.begin(), record->loaded.end(),
                            [](const auto& s) { return s.second == "sounds/sfx/jump.wav"; }),
              1);

    sound->PlaySong("jump.wav");
    EXPECT_TRUE(Taken().empty());
    EXPECT_FALSE(sound->IsPlaying("jump.wav", 42));
}

TEST_F(SoundSystemTest, AssetPathsNameSoundsByTheirFileName)
{
    ASSERT_TRUE(sound->LoadSound(quellor::AssetPath("content/sfx/boom.wav")));
    ASSERT_TRUE(sound->LoadSound(quellor::AssetPath(std::string("music\\game_over.ogg") + '\0' + "junk")));
    EXPECT_EQ(Taken(), (Calls{"load content/sfx/boom.wav", "load music\\game_over.ogg"}));
    EXPECT_NE(sound->GetChannel("boom.wav", 2), nullptr);
    EXPECT_EQ(sound->GetChannel("boom.wav", 42), nullptr);
    EXPECT_NE(sound->GetChannel("game_over.ogg", 42), nullptr);
    // A name loaded twice keeps its first sound.
    ASSERT_TRUE(sound->LoadSound(quellor::AssetPath("other/game_over.ogg")));
    sound->PlaySong("game_over.ogg");
    EXPECT_EQ(record->loaded.at(record->channels.at(0).sound), "music\\game_over.ogg");
}

TEST_F(SoundSystemTest, EffectsPlayPerGroupAndNegativeGroupsMeanGroupFour)
{
    sound->Play("jump.wav", 0);
    sound->Play("jump.wav", 1);
    EXPECT_EQ(Taken(), (Calls{"play 1 loops=0 paused=0 -> 0", "play 1 loops=0 paused=0 -> 1"}));
    EXPECT_TRUE(sound->IsPlaying("jump.wav", 0));
    EXPECT_TRUE(sound->IsPlaying("jump.wav", 1));
    EXPECT_FALSE(sound->IsPlaying("jump.wav", 4));

    sound->Play("jump.wav", -1);
    EXPECT_EQ(sound->GetChannel("jump.wav", 4)->channel, 2);
    EXPECT_TRUE(sound->IsPlaying("jump.wav", 4));
    EXPECT_TRUE(sound->IsPlaying("jump.wav", -3));
    EXPECT_EQ(sound->GetChannel("jump.wav", -1), sound->GetChannel("jump.wav", 4));
}

TEST_F(SoundSystemTest, ReplayInOneGroupStopsTheFirstChannel)
{
    sound->Play("jump.wav", 2);
    sound->Play("jump.wav", 2);
    EXPECT_EQ(Taken(), (Calls{"play 1 loops=0 paused=0 -> 0", "stop 0", "play 1 loops=0 paused=0 -> 0"}));
    // Once the first start ended by itself there is nothing to stop.
    RecordingAudioBackend::Finish(*record, 0);
    sound->Play("jump.wav", 2);
    EXPECT_EQ(Taken(), (Calls{"play 1 loops=0 paused=0 -> 0"}));
}

TEST_F(SoundSystemTest, MuteAllSilencesEffectsAndStartsSongsPaused)
{
    sound->SetMuteAll(true);
    sound->Play("jump.wav", 0);
    EXPECT_TRUE(Taken().empty());
    sound->PlaySong("theme_menu.ogg");
    EXPECT_EQ(Taken(), (Calls{"play 2 loops=0 paused=1 -> 0"}));
    EXPECT_TRUE(Channel(0).paused);
    EXPECT_TRUE(sound->IsPlaying("theme_menu.ogg", 42));

    // Music muted alone: effects play, songs start paused.
    sound->SetMuteAll(false);
    sound->SetMuteMusic(true);
    sound->Play("jump.wav", 0);
    sound->PlaySong("theme_gameplay.ogg");
    EXPECT_EQ(Taken(), (Calls{"play 1 loops=0 paused=0 -> 1", "play 3 loops=0 paused=1 -> 2"}));
    // Unmuting changes nothing that plays; the caller resumes.
    sound->SetMuteMusic(false);
    EXPECT_TRUE(Taken().empty());
    sound->ResumeSong("theme_gameplay.ogg", 42);
    EXPECT_EQ(Taken(), (Calls{"resume 2"}));
    EXPECT_FALSE(Channel(2).paused);
}

TEST_F(SoundSystemTest, WhileSuspendedEffectsAndResumesDoNothing)
{
    sound->Play("jump.wav", 0);
    sound->PlaySong("theme_menu.ogg");
    sound->PauseAll();
    sound->PauseSong("theme_menu.ogg", 42);
    sound->SetSuspended(true);
    Taken();

    sound->ResumeAll();
    sound->ResumeSong("theme_menu.ogg", 42);
    sound->Play("jump.wav", 1);
    EXPECT_TRUE(Taken().empty());
    EXPECT_TRUE(Channel(0).paused);
    EXPECT_TRUE(Channel(1).paused);

    // Songs may still start while suspended; stopping and pausing still work.
    sound->PlaySong("theme_gameplay.ogg");
    sound->StopSong("theme_menu.ogg", 42);
    EXPECT_EQ(Taken(), (Calls{"play 3 loops=0 paused=0 -> 2", "stop 1"}));

    sound->SetSuspended(false);
    sound->ResumeAll();
    EXPECT_EQ(Taken(), (Calls{"resume 0"}));
}

TEST_F(SoundSystemTest, AllOperationsTouchEffectsOnly)
{
    sound->Play("jump.wav", 0);
    sound->Play("jump.wav", 3);
    sound->PlaySong("theme_menu.ogg");
    Taken();
    sound->PauseAll();
    auto calls = Taken();
    std::sort(calls.begin(), calls.end());
    EXPECT_EQ(calls, (Calls{"pause 0", "pause 1"}));
    sound->StopAll();
    calls = Taken();
    std::sort(calls.begin(), calls.end());
    EXPECT_EQ(calls, (Calls{"stop 0", "stop 1"}));
    EXPECT_TRUE(sound->IsPlaying("theme_menu.ogg", 42));
    EXPECT_FALSE(sound->IsPlaying("jump.wav", 0));
}

TEST_F(SoundSystemTest, VolumeIsClampedAndKept)
{
    sound->Play("jump.wav", 0);
    Taken();
    SoundSystem::Channel* channel = sound->GetChannel("jump.wav", 0);
    sound->SetVolume(channel, 1.5f);
    EXPECT_EQ(channel->volume, 1.0f);
    sound->SetVolume(channel, -0.2f);
    EXPECT_EQ(channel->volume, 0.0f);
    sound->SetVolume(channel, 0.25f);
    EXPECT_EQ(channel->volume, 0.25f);
    sound->SetVolume(channel, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(channel->volume, 0.0f);
    EXPECT_EQ(Taken(), (Calls{"volume 0 1.00", "volume 0 0.00", "volume 0 0.25", "volume 0 0.00"}));
    sound->SetVolume(nullptr, 0.5f);
    EXPECT_TRUE(Taken().empty());
    // A record that never played keeps the volume without touching a channel.
    SoundSystem::Channel* idle = sound->GetChannel("jump.wav", 3);
    sound->SetVolume(idle, 0.5f);
    EXPECT_EQ(idle->volume, 0.5f);
    EXPECT_TRUE(Taken().empty());
}

TEST_F(SoundSystemTest, LoopingSetsTheCountOfTheNextStart)
{
    sound->SetLooping("theme_menu.ogg", true, 42);
    sound->PlaySong("theme_menu.ogg");
    sound->SetLooping("jump.wav", true, -1);
    sound->Play("jump.wav", 4);
    sound->Play("jump.wav", 0);
    sound->SetLooping("theme_menu.ogg", false, 42);
    sound->PlaySong("theme_menu.ogg");
    EXPECT_EQ(Taken(), (Calls{"play 2 loops=-1 paused=0 -> 0", "play 1 loops=-1 paused=0 -> 1",
                              "play 1 loops=0 paused=0 -> 2", "stop 0", "play 2 loops=0 paused=0 -> 0"}));
}

TEST_F(SoundSystemTest, GroupsOutsideTheirRangeAndUnknownNamesDoNothing)
{
    for (int group : {5, 41, 43, 1000}) {
        sound->Play("jump.wav", group);
        sound->PauseSong("jump.wav", group);
        sound->ResumeSong("jump.wav", group);
        sound->StopSong("jump.wav", group);
        sound->SetLooping("jump.wav", true, group);
        EXPECT_FALSE(sound->IsPlaying("jump.wav", group));
        EXPECT_EQ(sound->GetChannel("jump.wav", group), nullptr);
    }
    // Play takes effect groups only, not the song table.
    sound->Play("theme_menu.ogg", 42);
    sound->Play("missing.wav", 0);
    sound->PlaySong("missing.ogg");
    sound->StopSong("missing.ogg", 42);
    EXPECT_FALSE(sound->IsPlaying("missing.wav", 0));
    EXPECT_EQ(sound->GetChannel("missing.wav", 0), nullptr);
    EXPECT_TRUE(Taken().empty());
    // Group 4's loop count stayed as it was.
    sound->Play("jump.wav", 4);
    EXPECT_EQ(Taken(), (Calls{"play 1 loops=0 paused=0 -> 0"}));
}

TEST_F(SoundSystemTest, StaleHandleLeavesTheSoundNowOnItsChannelAlone)
{
    sound->Play("jump.wav", 0);
    ASSERT_EQ(sound->GetChannel("jump.wav", 0)->channel, 0);
    // The effect ends by itself; SDL gives its channel to the next start.
    RecordingAudioBackend::Finish(*record, 0);
    sound->PlaySong("theme_menu.ogg");
    ASSERT_EQ(sound->GetChannel("theme_menu.ogg", 42)->channel, 0);
    Taken();

    sound->StopSong("jump.wav", 0);
    sound->PauseSong("jump.wav", 0);
    sound->ResumeSong("jump.wav", 0);
    sound->SetVolume(sound->GetChannel("jump.wav", 0), 0.1f);
    sound->PauseAll();
    sound->StopAll();
    EXPECT_FALSE(sound->IsPlaying("jump.wav", 0));
    sound->Play("jump.wav", 0); // the restart must not stop channel 0 either
    EXPECT_EQ(Taken(), (Calls{"play 1 loops=0 paused=0 -> 1"}));
    EXPECT_TRUE(sound->IsPlaying("theme_menu.ogg", 42));
    EXPECT_FALSE(Channel(0).paused);
    EXPECT_EQ(Channel(0).volume, 1.0f);
}

TEST_F(SoundSystemTest, FailedLoadLogsAndInsertsNothing)
{
    tarsel::test::StdoutCapture out;
    EXPECT_FALSE(sound->LoadSound("sounds/broken.wav"));
    EXPECT_NE(out.Text().find("Failed to load sound \"sounds/broken.wav\""), std::string::npos) << out.Text();
    EXPECT_EQ(sound->GetChannel("broken.wav", 42), nullptr);
    EXPECT_EQ(sound->GetChannel("broken.wav", 0), nullptr);
}

TEST_F(SoundSystemTest, WithoutDeviceEverythingIsQuietAndSafe)
{
    tarsel::test::StdoutCapture out;
    auto backend = std::make_unique<RecordingAudioBackend>(8, false);
    auto silentRecord = backend->GetRecord();
    SoundSystem silent(std::move(backend));
    silent.Initialize();
    silent.SetMuteAll(false);
    EXPECT_FALSE(silent.IsAudible());
    EXPECT_FALSE(silent.LoadSound("sounds/sfx/jump.wav"));
    silent.Play("jump.wav", 0);
    silent.PlaySong("theme_menu.ogg");
    silent.PauseAll();
    silent.ResumeAll();
    silent.StopAll();
    EXPECT_FALSE(silent.IsPlaying("jump.wav", 0));
    silent.Update(0.016f);
    silent.Shutdown();
    const std::string& text = out.Text();
    EXPECT_NE(text.find("Notice: "), std::string::npos) << text;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(text.find("Failed"), std::string::npos) << text;
    EXPECT_EQ(silentRecord->calls, (Calls{"open"}));
}

TEST_F(SoundSystemTest, ShutdownStopsFreesEachSoundOnceAndCloses)
{
    sound->Play("jump.wav", 0);
    sound->Play("jump.wav", 1);
    sound->PlaySong("theme_menu.ogg");
    Taken();
    sound->Shutdown();
    auto calls = Taken();
    EXPECT_EQ(record->freed, 3);
    EXPECT_TRUE(record->loaded.empty());
    EXPECT_TRUE(record->closed);
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string& c) { return c.rfind("stop", 0) == 0; }), 3);
    EXPECT_EQ(calls.back(), "close");
    // After shutdown the system answers safely.
    sound->Play("jump.wav", 0);
    EXPECT_FALSE(sound->IsPlaying("theme_menu.ogg", 42));
    EXPECT_FALSE(sound->LoadSound("sounds/sfx/jump.wav"));
}

TEST_F(SoundSystemTest, CopySharesSoundsAndTheLastHolderFreesThem)
{
    sound->Play("jump.wav", 0);
    auto copy = std::make_unique<SoundSystem>(*sound);
    EXPECT_TRUE(copy->IsPlaying("jump.wav", 0));
    EXPECT_FALSE(copy->IsMuteAll());
    copy->StopSong("jump.wav", 0);
    EXPECT_FALSE(sound->IsPlaying("jump.wav", 0));

    copy.reset();
    EXPECT_EQ(record->freed, 0);
    EXPECT_FALSE(record->closed);
    sound->PlaySong("theme_menu.ogg");
    EXPECT_TRUE(sound->IsPlaying("theme_menu.ogg", 42));

    auto second = std::make_unique<SoundSystem>(*sound);
    sound.reset();
    EXPECT_EQ(record->freed, 0);
    EXPECT_TRUE(second->IsPlaying("theme_menu.ogg", 42));
    second.reset();
    EXPECT_EQ(record->freed, 3);
    EXPECT_TRUE(record->closed);
}
