#pragma once
// Fixtures of the screen tests, written into a flow game's working directory: the menu cues
// and theme songs as sound files, the overlay material of the frame tests, and the skinned
// quit button of the main menu (a two-bone strip) with its four clips.
#include "frontend/screens/MainMenu.h"
#include "renderer/math/float4x4.h"
#include "tests/support/WavWriter.h"
#include "tools/writers/AnimationWriter.h"
#include "tools/writers/MaterialWriter.h"
#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ModelWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace tarsel::test {

inline void WriteFixtureFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Cues under a path with "sfx" (effects), themes under "music" (songs), and the frame tests'
// overlay material.
inline void WriteMenuSounds(const std::filesystem::path& folder)
{
    const std::string tone = MakeWav(441);
    for (const char* effect : {"menu_highlight.ogg", "menu_select.ogg"})
        WriteFixtureFile(folder / "sounds/sfx" / effect, tone);
    for (const char* song : {"theme_menu.ogg", "theme_gameplay.ogg"})
        WriteFixtureFile(folder / "sounds/music" / song, tone);
    std::filesystem::create_directories(folder / "materials");
    ASSERT_TRUE(tarsel::tools::WriteMaterial({}, (folder / "materials/fixture_overlay.mat").string()));
}

// "quitbutton_quit_hold.model": two boxes on two bones; each clip bends the upper bone by its
// own amount over one second.
inline void WriteQuitButton(const std::filesystem::path& folder)
{
    using ZOR::float3;
    tarsel::tools::ModelDescription strip;
    strip.skinned = true;
    tarsel::tools::AddBox(strip.vertices, float3(0, 0.5f, 0), float3(0.25f, 0.5f, 0.25f), 0);
    tarsel::tools::AddBox(strip.vertices, float3(0, 1.5f, 0), float3(0.25f, 0.5f, 0.25f), 1);
    ZOR::float4x4 up;
    up.m[7] = 1.0f;
    ZOR::float4x4 down;
    down.m[7] = -1.0f;
    strip.nodes = {tarsel::tools::MakeNode(-1, ZOR::float4x4()), tarsel::tools::MakeNode(0, up)};
    strip.bones = {{0, 2, ZOR::float4x4()}, {1, 0, down}};
    strip.names = {"root", "tip"};
    WriteFixtureFile(folder / "models/quitbutton_quit_hold.model", tarsel::tools::WriteModel(strip));

    float bend = 0.0f;
    for (const char* clip : {quellor::MainMenu::kHoldClip, quellor::MainMenu::kFoldUpClip,
                             quellor::MainMenu::kFoldOutClip, quellor::MainMenu::kAreYouSureClip}) {
        bend += 0.5f;
        tarsel::tools::ClipDescription description;
        description.duration = 30.0f;
        description.ticksPerSecond = 30.0f;
        ZOR::Animation::Track root;
        root.id = 0;
        root.positionKeys = {{0.0f, float3(0, 0, 0)}};
        root.rotationKeys = {{0.0f, ZOR::float4(0, 0, 0, 1)}};
        ZOR::Animation::Track tip;
        tip.id = 1;
        tip.positionKeys = {{0.0f, float3(0, 1, 0)}, {30.0f, float3(bend, 1, 0)}};
        tip.rotationKeys = {{0.0f, ZOR::float4(0, 0, 0, 1)}, {30.0f, ZOR::float4(0, 0, 0, 1)}};
        description.tracks = {root, tip};
        WriteFixtureFile(folder / "animations" / clip, tarsel::tools::WriteAnimation(description));
    }
}

} // namespace tarsel::test
