#include "tests/frontend/MatchFixture.h"

#include "engine/Action.h"
#include "engine/ActionComponent.h"
#include "engine/ActionList.h"
#include "engine/ActionSystem.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/LoadAssets.h"
#include "engine/ObjectSystem.h"
#include "engine/SoundSystem.h"
#include "engine/Transform3D.h"
#include "frontend/screens/MenuScreen.h"
#include "gameplay/GameLogicSystem.h"
#include "gameplay/PlayerDataComponent.h"
#include "gameplay/cameras/ThirdPersonCameraComponent.h"
#include "tests/frontend/MenuLevelFixture.h"
#include "tools/writers/MaterialWriter.h"

#include <gtest/gtest.h>

namespace tarsel::test {

namespace {

// Stands in for a player's set-up action: it runs as long as the player and leaves the match
// when the player's action list is cancelled.
class MatchSeat : public quellor::Action {
public:
    MatchSeat(quellor::Entity* player, int controllerID) : m_player(player), m_controllerID(controllerID)
    {
        m_onEnded.Connect(quellor::MakeDelegate(this, &MatchSeat::Leave), 0);
    }

private:
    void Leave() { Logic().RemovePlayer(m_controllerID, m_player); }

    quellor::Entity* m_player;
    int m_controllerID;
};

void WriteMatchFixtures(const std::filesystem::path& folder)
{
    WriteMenuLevelFixtures(folder);
    for (const char* material :
         {"2d_pause.mat", "2d_cursor.mat", "2d_checkmark.mat", "2d_htp_xbox.mat", "2d_htp_keyboard.mat",
          "2d_options.mat", "2d_options_0.mat", "2d_options_1.mat", "2d_credits.mat", "2d_cda.mat",
          "results_title.mat", "results_feather.mat", "results_win.mat", "results_loss.mat", "red_boid.mat",
          "orange_boid.mat", "purple_boid.mat", "green_boid.mat"})
        ASSERT_TRUE(tools::WriteMaterial({}, (folder / "materials" / material).string())) << material;
}

} // namespace

FlowSetup MatchSetup()
{
    FlowSetup setup;
    setup.writeFixtures = WriteMatchFixtures;
    setup.fixtureFolders = {TARSEL_FRONTEND_FIXTURES};
    setup.startupTree = [](Game&) {
        auto* arena = new quellor::Invoke([] {
            quellor::Engine* engine = quellor::Engine::Instance();
            engine->GetSystem<quellor::ObjectSystem>("default")->LoadLevel("PauseTest.ql");
            auto* sound = engine->GetSystem<quellor::SoundSystem>("default");
            quellor::MenuScreen::StartMenuTheme(sound);
            sound->SetLooping(quellor::MenuScreen::kGameplayTheme, true, quellor::SoundSystem::SongTable);
            sound->PlaySong(quellor::MenuScreen::kGameplayTheme);
        });
        return quellor::MakeSequence(new quellor::LoadAssets, arena);
    };
    return setup;
}

bool RunUntilArenaLoaded(FlowGame& game)
{
    return game.RunUntil([&] { return game.GetGame().GetActionSystem()->GetRootList().GetCount() == 0; }, 600);
}

quellor::Entity* JoinPlayer(const std::string& name, const std::string& team, int controllerID)
{
    quellor::Entity* player = quellor::Engine::Instance()->CreateEntity(name, "default");
    player->AddComponent<quellor::Transform3D>(true);
    auto* data = player->AddComponent<quellor::PlayerDataComponent>(true);
    data->playerTeam = team;
    data->controllerID = controllerID;
    const bool person = controllerID >= 0;
    if (person)
        player->AddComponent<quellor::ThirdPersonCameraComponent>(true);
    auto* actions = player->AddComponent<quellor::ActionComponent>(true);
    actions->GetActionList().PushBack(new MatchSeat(player, controllerID), 0);
    Logic().AddPlayer(controllerID, player, !person, false);
    return player;
}

quellor::GameLogicSystem& Logic()
{
    return *quellor::Engine::Instance()->GetSystem<quellor::GameLogicSystem>("default");
}

} // namespace tarsel::test
