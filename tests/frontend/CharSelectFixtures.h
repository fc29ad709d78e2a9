#pragma once
// Fixtures of the character-select tests, written into a flow game's working directory beside
// the menu sounds: the scroll cues, the generator's character as the preview and as the skinned
// scroll (its idle clip, varied, for the scroll's three clips), small boxes for the mounted and
// shown items, arrows and checkmarks, and every material the screen and the match start name.
// The levels ("MainMenuTest.ql", "Beta.ql") and the two archetypes are text fixtures.
#include "tests/frontend/ScreenFixtures.h"
#include "tools/writers/CharacterBuilder.h"

#include <filesystem>
#include <string>

namespace tarsel::test {

inline void WriteCharSelectContent(const std::filesystem::path& folder)
{
    namespace character = tarsel::tools::character;
    WriteMenuSounds(folder);
    const std::string tone = MakeWav(441);
    for (const char* cue : {"scroll_open.ogg", "scroll_close.ogg"})
        WriteFixtureFile(folder / "sounds/sfx" / cue, tone);

    const std::string body = tarsel::tools::WriteModel(character::BuildModel());
    WriteFixtureFile(folder / "models/base_idle.model", body);
    WriteFixtureFile(folder / "models/scroll_menu.model", body);
    unsigned variant = 0;
    for (const char* clip : {"idle_base.anim", "scroll_up_still.anim", "scroll_up.anim", "scroll_down.anim"})
        WriteFixtureFile(folder / "animations" / clip,
                         tarsel::tools::WriteAnimation(character::BuildClip(character::Motion::Idle, variant++)));

    tarsel::tools::ModelDescription box;
    tarsel::tools::AddBox(box.vertices, ZOR::float3(0, 0, 0), ZOR::float3(0.5f, 0.5f, 0.5f));
    const std::string boxBytes = tarsel::tools::WriteModel(box);
    for (const char* model : {"hair_default", "hair_tarsel", "mask_default", "mask_fox", "mask_bunny", "arrow",
                              "checkmark"})
        WriteFixtureFile(folder / "models" / (std::string(model) + ".model"), boxBytes);

    for (const std::string material :
         {"char_select_menu", "char_select_title", "char_menu_controls_keyboard", "char_menu_controls_360_controller",
          "char_select_red_title", "char_select_orange_title", "char_select_purple_title", "char_select_green_title",
          "player_red", "player_orange", "player_purple", "player_green", "hair_black", "mask_red", "mask_purple",
          "mask_default", "mask_fox0", "mask_fox1", "mask_bunny", "hair_locked", "mask_locked", "arrow_menu",
          "red_boid", "yellow_boid", "blue_boid", "green_boid", "char_select_red_streak",
          "char_select_orange_streak", "char_select_purple_streak", "char_select_green_streak",
          "char_select_number_0", "char_select_number_1", "char_select_number_2", "char_select_number_3",
          "char_select_number_cp", "green"})
        ASSERT_TRUE(tarsel::tools::WriteMaterial({}, (folder / "materials" / (material + ".mat")).string()));
}

} // namespace tarsel::test
