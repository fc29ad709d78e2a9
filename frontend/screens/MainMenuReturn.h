#pragma once
// The screen a sub-screen of the main menu goes back to: a new main menu that keeps the menu
// level loaded and glides the camera back. One place, so every sub-screen returns alike.
namespace quellor {

class Action;

// Null while the main menu is not part of the build: the sub-screen then just ends.
Action* MakeMainMenuReturn();

} // namespace quellor
