#include "frontend/screens/GraphicsOptionsMenu.h"

#include "engine/ActionList.h"
#include "engine/Easing.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/LevelProps.h"
#include "frontend/screens/MoreGraphicsOptionsMenu.h"
#include "frontend/screens/OptionsMenu.h"
#include "frontend/screens/ScreenConfig.h"

namespace quellor {

namespace {

const Vec4 kPosition(72.7f, 64.8f, 67.99f, 1.0f);
const Vec4 kLook(0.1f, -0.03f, -0.99f, 0.0f);
constexpr float kGlideSeconds = 1.5f;
constexpr int kGlideLane = 3;
constexpr int kCheckLane = 0;
constexpr float kCheckSeconds = 0.25f;
constexpr float kCheckScale = 0.4f;
constexpr int kAllScreens = -1;

// What an entry does: a render effect, full screen, or a hand-over.
enum class Does { Effect, Fullscreen, More, Back };

struct GridEntry {
    const char* box;
    const char* check; // the switches only
    Does does;
    ZOR::RenderSystem::Effect effect;
    const char* key; // in "EFFECTS", the effects only
};

// In Entry() order: the left column, then the right one. The switches come first, so an
// entry below kSwitchCount indexes the check marks and the states.
const std::array<GridEntry, GraphicsOptionsMenu::kEntryCount> kGrid = {{
    {"lightingBox", "lightingCheck", Does::Effect, ZOR::RenderSystem::Lighting, "LIGHTING"},
    {"bloomBox", "bloomCheck", Does::Effect, ZOR::RenderSystem::Bloom, "BLOOM"},
    {"DOFBox", "DOFCheck", Does::Effect, ZOR::RenderSystem::DepthOfField, "DEPTH_OF_FIELD"},
    {"SSAOBox", "SSAOCheck", Does::Effect, ZOR::RenderSystem::SSAO, "SSAO"},
    {"sunBox", "sunCheck", Does::Effect, ZOR::RenderSystem::GodRays, "GOD_RAYS"},
    {"fogBox", "fogCheck", Does::Fullscreen, ZOR::RenderSystem::DebugDraw, nullptr},
    {"shadowBox", "shadowCheck", Does::Effect, ZOR::RenderSystem::Shadows, "SHADOWS"},
    {"moreGraphicsOptions", nullptr, Does::More, ZOR::RenderSystem::DebugDraw, nullptr},
    {"back1", nullptr, Does::Back, ZOR::RenderSystem::DebugDraw, nullptr},
}};

} // namespace

GraphicsOptionsCursor GraphicsOptionsCursor::MovedDown() const
{
    GraphicsOptionsCursor moved = *this;
    if (left >= 0 && left < kLeftRows - 1)
        ++moved.left;
    else if (right >= 0 && right < kRightRows - 1)
        ++moved.right;
    return moved;
}

GraphicsOptionsCursor GraphicsOptionsCursor::MovedUp() const
{
    GraphicsOptionsCursor moved = *this;
    if (left > 0)
        --moved.left;
    else if (right > 0)
        --moved.right;
    return moved;
}

GraphicsOptionsCursor GraphicsOptionsCursor::MovedRight() const
{
    if (left < 0)
        return *this;
    return GraphicsOptionsCursor{-1, left};
}

GraphicsOptionsCursor GraphicsOptionsCursor::MovedLeft() const
{
    if (right < 0 || right >= kLeftRows)
        return *this;
    return GraphicsOptionsCursor{right, -1};
}

unsigned GraphicsOptionsCursor::Entry() const
{
    if (right >= 0)
        return static_cast<unsigned>(kLeftRows + right);
    return static_cast<unsigned>(left < 0 ? 0 : left);
}

GraphicsOptionsMenu::GraphicsOptionsMenu() : GraphicsMenuScreen("GraphicsOptionsMenu") {}

GraphicsOptionsMenu::~GraphicsOptionsMenu() = default;

const char* GraphicsOptionsMenu::EntryName(unsigned entry)
{
    return entry < kEntryCount ? kGrid[entry].box : "";
}

void GraphicsOptionsMenu::Start()
{
    for (unsigned i = 0; i < kEntryCount; ++i)
        m_entries[i] = FindLevelEntity(kGrid[i].box);
    for (unsigned i = 0; i < kSwitchCount; ++i)
        m_checks[i] = FindLevelEntity(kGrid[i].check);
    // Check marks of switches that are on keep the scale the level gives them.
    for (unsigned i = 0; i < kSwitchCount; ++i) {
        m_states[i] = ReadSwitch(i);
        if (!m_states[i])
            SetPropScale(m_checks[i], 0.0f);
    }
    StartGlide(kPosition, kLook, kGlideSeconds, kGlideLane);
}

bool GraphicsOptionsMenu::ReadSwitch(unsigned entry)
{
    GraphicsSystem* graphics = GetGraphics();
    if (!graphics)
        return false;
    if (kGrid[entry].does == Does::Fullscreen)
        return graphics->GetFullscreen();
    return graphics->ZOR::RenderSystem::EffectEnabled(kGrid[entry].effect, kAllScreens);
}

void GraphicsOptionsMenu::UpdateScreen(float)
{
    RefreshHighlight();
}

void GraphicsOptionsMenu::OnKey(Key key)
{
    if (key == Key::Activate) {
        Activate();
        return;
    }
    PlayHighlight();
    switch (key) {
    case Key::Down:
        m_cursor = m_cursor.MovedDown();
        break;
    case Key::Up:
        m_cursor = m_cursor.MovedUp();
        break;
    case Key::Left:
        m_cursor = m_cursor.MovedLeft();
        break;
    default:
        m_cursor = m_cursor.MovedRight();
        break;
    }
}

void GraphicsOptionsMenu::OnBack()
{
    PlaySelect();
    HandOver(new OptionsMenu);
}

void GraphicsOptionsMenu::Activate()
{
    PlaySelect();
    const unsigned entry = m_cursor.Entry();
    switch (kGrid[entry].does) {
    case Does::More:
        HandOver(new MoreGraphicsOptionsMenu);
        break;
    case Does::Back:
        HandOver(new OptionsMenu);
        break;
    default:
        Toggle(entry);
        break;
    }
    // Also after the two hand-overs: the file is saved after every activation.
    SaveScreenConfig();
}

void GraphicsOptionsMenu::Toggle(unsigned entry)
{
    const bool on = !m_states[entry];
    // Input waits for the check mark.
    RunThenReady({MakeCheckMarkFlow(m_checks[entry], on, kCheckScale, kCheckSeconds,
                                    on ? Easing::kElasticOut : Easing::kBackOut)},
                 kCheckLane);

    if (GraphicsSystem* graphics = GetGraphics()) {
        const GridEntry& grid = kGrid[entry];
        if (grid.does == Does::Fullscreen) {
            // The render context records full screen in its own section.
            graphics->SetFullscreen(on);
        } else {
            if (on)
                graphics->ZOR::RenderSystem::EnableEffect(grid.effect, kAllScreens);
            else
                graphics->ZOR::RenderSystem::DisableEffect(grid.effect, kAllScreens);
            WriteScreenSetting("EFFECTS", grid.key, on);
        }
    }
    m_states[entry] = on;
}

void GraphicsOptionsMenu::RefreshHighlight()
{
    const unsigned selected = m_cursor.Entry();
    for (unsigned i = 0; i < kEntryCount; ++i)
        SetPropMaterial(m_entries[i], i == selected ? "arrow_menu_selected.mat" : "arrow_menu.mat");
}

} // namespace quellor
