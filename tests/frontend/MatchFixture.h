#pragma once
// A match for the in-match screens (pause menu, results): after the loading screen the arena
// "PauseTest.ql" (one spawn point each for red, green and orange) is loaded and the menu and
// gameplay themes play; the test then joins its players by hand. The menu level's fixtures
// (cues, themes, the main menu's level pieces) and every material the pause menu and the
// results screen set are written into the working directory.
#include "tests/support/flow/FlowGame.h"

#include <string>

namespace quellor {
class Entity;
class GameLogicSystem;
}

namespace tarsel::test {

FlowSetup MatchSetup();

// Runs the game until the start-up tree has ended (the arena is loaded).
bool RunUntilArenaLoaded(FlowGame& game);

// A player of the space "default" joined through GameLogicSystem::AddPlayer: Transform3D,
// PlayerDataComponent (team, controller id, -1 for a computer player), for a person a
// ThirdPersonCameraComponent, and an ActionComponent whose running action takes the player out
// of the match when the entity goes, as the player set-up actions do.
quellor::Entity* JoinPlayer(const std::string& name, const std::string& team, int controllerID);

quellor::GameLogicSystem& Logic();

} // namespace tarsel::test
