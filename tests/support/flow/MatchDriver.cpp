#include "tests/support/flow/MatchDriver.h"

#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/LoadAssets.h"
#include "engine/Space.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/content/ContentSystem.h"
#include "frontend/screens/MatchStart.h"
#include "frontend/screens/MenuScreen.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/OrbComponent.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/LevelIntroCam.h"
#include "platform/ScriptedInputSource.h"
#include "renderer/ParticleEmitter.h"
#include "renderer/dx11/DXRenderContext.h"
#include "tarsel/Game.h"
#include "tests/support/ContentDir.h"

#include <cstdio>
#include <memory>

namespace tarsel::test {

namespace {

// Virtual-key codes: the keyboard person's move, turn, jump and weapon, and the menu keys.
constexpr int kRightMouse = 2;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kRightArrow = 39;
constexpr int kKeyA = 65;
constexpr int kKeyW = 87;
constexpr int kLeftShift = 160;
constexpr int kPadA = 10;
constexpr int kStick = 32767;
constexpr int kTrigger = 255;

// The script repeats every 8 s: always forward, a quarter of each lap strafing left, two turns
// to the right (so that the walk closes a loop), three jumps, a quick shot and a charged one.
constexpr std::uint32_t kLap = 480;
struct Moment {
    bool strafe = false;
    bool turn = false;
    bool jump = false;
    bool weapon = false; // held: charging; let go: the shot
};

Moment ScriptAt(std::uint32_t frame)
{
    const std::uint32_t t = frame % kLap;
    Moment m;
    m.strafe = t >= 240 && t < 300;
    m.turn = (t >= 120 && t < 160) || (t >= 360 && t < 400);
    m.jump = t == 60 || t == 200 || t == 330;
    m.weapon = (t >= 100 && t < 104) || (t >= 400 && t < 450);
    return m;
}

// The start sequence holds the intro from the confirm on: it runs once it has started.
bool IntroRuns(Game& game)
{
    bool runs = false;
    game.GetActionSystem()->GetRootList().VisitActions([&](const quellor::Action& action) {
        runs = runs || (dynamic_cast<const quellor::LevelIntroCam*>(&action) && action.IsStarted() &&
                        !action.IsFinished());
    });
    return runs;
}

std::size_t CountActions(const quellor::ActionList& list)
{
    std::size_t count = 0;
    list.VisitActions([&](const quellor::Action&) { ++count; });
    return count;
}

} // namespace

MatchDriver::MatchDriver(FlowGame& game) : m_game(game) {}

FlowSetup MatchDriver::DirectSetup(unsigned seed)
{
    FlowSetup setup;
    setup.workingDirectory = std::filesystem::absolute(ContentDir());
    setup.seed = seed;
    setup.startupTree = [](Game&) { return new quellor::LoadAssets; };
    return setup;
}

bool MatchDriver::Boot(std::uint32_t maxFrames)
{
    if (!m_game.Start())
        return false;
    // The loading screen is the whole tree: the root list empties when it is done.
    Game& game = m_game.GetGame();
    return RunUntil([&] { return game.GetActionSystem()->GetRootList().GetCount() == 0; }, maxFrames);
}

quellor::CharSelectRules MatchDriver::PersonAndComputers(Game& game)
{
    quellor::ContentSystem* store = game.GetContentSystem();
    quellor::CharSelectRules roster(store->GetHair(), store->GetMasks());
    // Join, hair, mask; three computer players on the slot's colour; the next colour; ready.
    roster.Join(0);
    roster.AdvanceStage(0);
    roster.AdvanceStage(0);
    for (int i = 0; i < 3; ++i)
        roster.AddComputer(0);
    roster.Cycle(0, +1);
    roster.AdvanceStage(0);
    return roster;
}

quellor::CharSelectRules MatchDriver::FourPeople(Game& game)
{
    quellor::ContentSystem* store = game.GetContentSystem();
    quellor::CharSelectRules roster(store->GetHair(), store->GetMasks());
    for (int slot = 0; slot < quellor::CharSelectRules::kSlots; ++slot) {
        roster.Join(slot);
        for (int stage = 0; stage < quellor::CharSelectRules::kReady; ++stage)
            roster.AdvanceStage(slot);
    }
    return roster;
}

bool MatchDriver::Start(const quellor::CharSelectRules& roster, bool throughIntro, std::uint32_t maxFrames)
{
    const std::size_t expected = roster.Entries().size();
    auto start = std::make_shared<quellor::MatchStart>(roster);
    if (!start->Queue(nullptr)) {
        std::printf("the match start could not be queued\n");
        return false;
    }
    Game& game = m_game.GetGame();
    m_scriptFrame = 0;
    if (!RunUntil([&] { return IntroRuns(game); }, maxFrames))
        return false;
    if (!throughIntro)
        return true;
    const bool handedOver = RunUntil([&] {
        if (IntroRuns(game))
            return false;
        const std::vector<quellor::Entity*> players = m_game.Players();
        if (players.size() != expected)
            return false;
        for (quellor::Entity* player : players) {
            auto* data = player ? player->GetComponent<quellor::PlayerDataComponent>() : nullptr;
            if (!data || !data->GetControlable())
                return false;
        }
        return true;
    }, maxFrames);
    m_scriptFrame = 0;
    return handedOver;
}

void MatchDriver::SetPeople(std::vector<int> slots, bool keyboard)
{
    ReleaseAll();
    m_slots = std::move(slots);
    m_keyboard = keyboard;
}

bool MatchDriver::Frame()
{
    BeforeFrame();
    const bool running = m_game.Frame();
    AfterFrame();
    return running;
}

void MatchDriver::BeforeFrame()
{
    Drive(m_scriptFrame++);
    if (m_winHeld)
        if (quellor::GameLogicSystem* logic = m_game.GetGameLogic())
            logic->m_winEnabled = false;
}

bool MatchDriver::RunUntil(const std::function<bool()>& predicate, std::uint32_t maxFrames)
{
    for (std::uint32_t i = 0; i < maxFrames; ++i) {
        if (predicate())
            return true;
        if (!Frame()) {
            std::printf("The game stopped while waiting:\n%s", m_game.Dump().c_str());
            return false;
        }
    }
    if (predicate())
        return true;
    std::printf("No result after %u frames:\n%s", static_cast<unsigned>(maxFrames), m_game.Dump().c_str());
    return false;
}

bool MatchDriver::Press(const char* screen, int key, std::uint32_t maxFrames)
{
    const bool ready = RunUntil([&] {
        const quellor::MenuScreen* found = m_game.FindScreen(screen);
        return found && found->IsReady();
    }, maxFrames);
    if (!ready)
        return false;
    m_game.Input().TapKey(key);
    Frame();
    Frame();
    return true;
}

bool MatchDriver::CyclePauseMenu(std::uint32_t maxFrames)
{
    // The script pauses with the game: its keys would move the menu's cursor.
    const std::vector<int> slots = m_slots;
    const bool keyboard = m_keyboard;
    SetPeople({}, false);
    m_game.Input().TapKey(kEscape);
    const bool cycled = Press("PauseMenu", kEnter, maxFrames) &&
                        RunUntil([&] { return m_game.FindScreen("PauseMenu") == nullptr; }, maxFrames);
    SetPeople(slots, keyboard);
    return cycled;
}

void MatchDriver::ReleaseAll()
{
    platform::ScriptedInputSource& input = m_game.Input();
    for (int key : {kRightMouse, kRightArrow, kKeyA, kKeyW, kLeftShift})
        input.SetKey(key, false);
    for (int slot : m_slots) {
        if (slot == 0 && m_keyboard)
            continue;
        platform::PadState idle = input.GetPad(slot);
        const bool connected = idle.connected;
        idle = platform::PadState{};
        idle.connected = connected;
        input.SetPad(slot, idle);
    }
}

void MatchDriver::Drive(std::uint32_t frame)
{
    for (int slot : m_slots) {
        // Each person a little out of step with the others.
        const std::uint32_t own = frame + static_cast<std::uint32_t>(slot) * 97u;
        if (slot == 0 && m_keyboard)
            DriveKeyboard(own);
        else
            DrivePad(slot, own);
    }
}

void MatchDriver::DriveKeyboard(std::uint32_t frame)
{
    const Moment m = ScriptAt(frame);
    platform::ScriptedInputSource& input = m_game.Input();
    input.SetKey(kKeyW, true);
    input.SetKey(kKeyA, m.strafe);
    input.SetKey(kRightArrow, m.turn);
    input.SetKey(kRightMouse, m.weapon);
    if (m.jump)
        input.TapKey(kLeftShift);
}

void MatchDriver::DrivePad(int pad, std::uint32_t frame)
{
    const Moment m = ScriptAt(frame);
    platform::ScriptedInputSource& input = m_game.Input();
    input.SetPadAxis(pad, platform::PadAxis::LeftY, kStick);
    input.SetPadAxis(pad, platform::PadAxis::LeftX, m.strafe ? -kStick : 0);
    input.SetPadAxis(pad, platform::PadAxis::RightX, m.turn ? kStick : 0);
    input.SetPadAxis(pad, platform::PadAxis::RightTrigger, m.weapon ? kTrigger : 0);
    // A press is the frame the button goes down: held one frame, then let go.
    input.SetPadButton(pad, kPadA, m.jump);
}

void MatchDriver::TallyDeaths()
{
    for (quellor::Entity* player : m_game.Players()) {
        auto* data = player ? player->GetComponent<quellor::PlayerDataComponent>() : nullptr;
        if (!data)
            continue;
        bool& wasDying = m_dying[player->GetSerial()];
        if (data->m_dying && !wasDying)
            ++m_deaths;
        wasDying = data->m_dying;
    }
}

MatchDriver::Census MatchDriver::Count() const
{
    Census census;
    Game& game = m_game.GetGame();
    quellor::Engine* engine = quellor::Engine::Existing();
    quellor::Space* space = engine ? engine->GetSpace("default") : nullptr;
    census.actions = CountActions(game.GetActionSystem()->GetRootList());
    if (space) {
        for (quellor::Entity* entity : space->GetEntities()) {
            ++census.entities;
            census.components += entity->GetComponentMap().size();
            if (auto* actions = entity->GetComponent<quellor::ActionComponent>())
                census.actions += CountActions(actions->GetActionList());
        }
    }
    quellor::GraphicsSystem* graphics = game.GetGraphicsSystem();
    if (auto* context = dynamic_cast<ZOR::DXRenderContext*>(graphics->GetRenderContext()))
        census.slots = context->GetSlotsInUse();
    // Every renderable added and not removed (the renderer's per-frame buckets may hold gone ones).
    for (const ZOR::Renderable* renderable : graphics->GetOctreeList())
        if (renderable->GetType() == ZOR::Renderable::Type::ParticleEmitter)
            census.particles += static_cast<const ZOR::ParticleEmitter*>(renderable)->GetParticleCount();
    if (quellor::GameLogicSystem* logic = m_game.GetGameLogic())
        for (quellor::GameLogicMember* member : logic->GetSlot(quellor::LogicSlot::OrbComponent))
            if (auto* orb = dynamic_cast<quellor::OrbComponent*>(member))
                census.orbs += orb->GetOrbs().size();
    for (const RecordingAudioBackend::ChannelState& channel : m_game.GetSoundRecord().channels)
        census.channels += channel.sound != 0 ? 1 : 0;
    return census;
}

} // namespace tarsel::test
