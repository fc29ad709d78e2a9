#pragma once
// The real game in the built content, run to its main menu: the start-up tests that look at the
// menu level as the main menu loads it.
#include "engine/Engine.h"
#include "tarsel/Game.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace tarsel::test {

// Space pressed in the first frame (to skip the splash screens), and a fixed frame time.
inline Options SkipSplashOptions(const TempDir& documents)
{
    documents.Write("input.txt", "1 32 down\n");
    Options options;
    options.fixedDt = 0.1f;
    options.inputFile = (documents / "input.txt").string();
    return options;
}

// Frames until the main menu has loaded the menu level, and ten more.
inline void RunToTheMenu(Game& game)
{
    for (int i = 0; i < 200000 && !quellor::Engine::Instance()->GetEntity("dojo", "default"); ++i)
        ASSERT_TRUE(game.Frame());
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(game.Frame());
}

} // namespace tarsel::test
