#include "frontend/screens/OptionsMenu.h"

#include "engine/ActionList.h"
#include "engine/Easing.h"
#include "engine/SoundSystem.h"
#include "frontend/screens/GraphicsOptionsMenu.h"
#include "frontend/screens/LevelProps.h"
#include "frontend/screens/MainMenu.h"
#include "frontend/screens/ScreenConfig.h"

namespace quellor {

namespace {

const Vec4 kPosition(73.93f, 100.1f, 63.03f, 1.0f);
const Vec4 kLook(0.02f, 0.0263f, -0.99f, 0.0f);
constexpr float kGlideSeconds = 1.5f;
constexpr int kGlideLane = 3;
constexpr int kCheckLane = 0;
constexpr float kCheckSeconds = 0.5f;
constexpr float kCheckScale = 0.4f;
constexpr int kBackspace = 8;

const char* const kItemNames[OptionsMenu::ItemCount] = {"muteMusic", "muteAll", "graphicsOptionsButton", "back"};

} // namespace

OptionsMenu::OptionsMenu() : MenuScreen("OptionsMenu")
{
    GetKeys().Keyboard(MenuCommand::Back) = {kBackspace};
}

OptionsMenu::~OptionsMenu() = default;

unsigned OptionsMenu::NextItem(unsigned item, bool up)
{
    if (up)
        return item > 0 ? item - 1 : item;
    return item < Back ? item + 1 : item;
}

const char* OptionsMenu::ItemName(unsigned item)
{
    return item < ItemCount ? kItemNames[item] : "";
}

void OptionsMenu::Start()
{
    StartGlide(kPosition, kLook, kGlideSeconds, kGlideLane);
    for (unsigned i = 0; i < ItemCount; ++i)
        m_items[i] = FindLevelEntity(ItemName(i));
    m_muteMusicCheck = FindLevelEntity("muteMusicCheck");
    m_muteAllCheck = FindLevelEntity("muteAllCheck");
    if (SoundSystem* sound = GetSound()) {
        m_muteMusic = sound->IsMuteMusic();
        m_muteAll = sound->IsMuteAll();
    }
    SetPropScale(m_muteMusicCheck, m_muteMusic ? kCheckScale : 0.0f);
    SetPropScale(m_muteAllCheck, m_muteAll ? kCheckScale : 0.0f);
}

void OptionsMenu::UpdateScreen(float)
{
    // Also while the camera glides: the highlight follows the cursor at once.
    RefreshHighlight();
}

bool OptionsMenu::HandleInput(int pad, bool withKeyboard)
{
    if (Pressed(MenuCommand::Back, pad, withKeyboard)) {
        PlaySelect();
        HandOver(new MainMenu(false));
        return true;
    }
    if (Pressed(MenuCommand::Down, pad, withKeyboard)) {
        PlayHighlight();
        m_cursor = NextItem(m_cursor, false);
        return true;
    }
    if (Pressed(MenuCommand::Up, pad, withKeyboard)) {
        PlayHighlight();
        m_cursor = NextItem(m_cursor, true);
        return true;
    }
    if (Pressed(MenuCommand::Activate, pad, withKeyboard)) {
        Activate();
        return true;
    }
    return false;
}

void OptionsMenu::Activate()
{
    PlaySelect();
    switch (m_cursor) {
    case MuteMusic:
    case MuteAll:
        Toggle(static_cast<Item>(m_cursor));
        break;
    case GraphicsOptions:
        HandOver(new GraphicsOptionsMenu);
        break;
    default:
        HandOver(new MainMenu(false));
        break;
    }
}

void OptionsMenu::Toggle(Item item)
{
    const bool music = item == MuteMusic;
    bool& flag = music ? m_muteMusic : m_muteAll;
    const bool other = music ? m_muteAll : m_muteMusic;
    const bool mute = !flag;
    flag = mute;

    // Input waits for the check mark.
    RunThenReady({MakeCheckMarkFlow(music ? m_muteMusicCheck : m_muteAllCheck, mute, kCheckScale, kCheckSeconds,
                                    mute ? Easing::kQuadraticOut : Easing::kBackOut)},
                 kCheckLane);

    SoundSystem* sound = GetSound();
    if (sound) {
        if (music)
            sound->SetMuteMusic(mute);
        else
            sound->SetMuteAll(mute);
    }
    WriteScreenSetting("SOUND", music ? "MUTE_MUSIC" : "MUTE_ALL", mute);
    SaveScreenConfig();
    if (!sound)
        return;
    if (mute) {
        if (sound->IsPlaying(kMenuTheme, SoundSystem::SongTable))
            sound->PauseSong(kMenuTheme, SoundSystem::SongTable);
        else if (sound->IsPlaying(kGameplayTheme, SoundSystem::SongTable))
            sound->PauseSong(kGameplayTheme, SoundSystem::SongTable);
    } else if (!other) {
        sound->ResumeSong(kGameplayTheme, SoundSystem::SongTable);
        sound->ResumeSong(kMenuTheme, SoundSystem::SongTable);
    }
}

void OptionsMenu::RefreshHighlight()
{
    for (unsigned i = 0; i < ItemCount; ++i)
        SetPropMaterial(m_items[i], i == m_cursor ? "arrow_menu_selected.mat" : "arrow_menu.mat");
}

} // namespace quellor
