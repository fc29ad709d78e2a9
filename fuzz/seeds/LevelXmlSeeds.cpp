// Level and archetype seeds: the samples from content/, the documents of the loader's tests and
// the broken files they refuse (the oversized one aside).
#include "SeedWriter.h"

#include "tests/engine/LevelDocuments.h"
#include "tools/writers/ArenaContent.h"
#include "tests/gameplay/CameraLevels.h"
#include "tests/gameplay/DeathLevels.h"
#include "tests/gameplay/GameplayLevels.h"
#include "tests/gameplay/PropLevels.h"
#include "tests/gameplay/WeaponLevels.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

std::string ReadSource(const char* relative)
{
    std::ifstream in(std::filesystem::path(TARSEL_SOURCE_DIR) / relative, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "level_xml seeds: cannot read %s\n", relative);
        std::exit(1);
    }
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Cameras as levels carry them: the look-at camera (no members of its own) beside a target, and
// third-person cameras with their three floats, one with a zero radius and one that is not a
// number.
const char* const kCameraLevel = R"(<?xml version="1.0"?>
<level>
  <target>
    <components>
      <Transform3D><m_x><float value="5"/></m_x><m_y><float value="1"/></m_y></Transform3D>
    </components>
  </target>
  <viewer>
    <components>
      <Transform3D/>
      <CameraLookAtComponent/>
    </components>
  </viewer>
  <follower>
    <components>
      <Transform3D/>
      <ThirdPersonCameraComponent>
        <m_cameraSphere><float value="2.5"/></m_cameraSphere>
        <m_camRotY><float value="-1.25"/></m_camRotY>
        <m_camRadius><float value="0"/></m_camRadius>
      </ThirdPersonCameraComponent>
    </components>
  </follower>
</level>
)";

const char* const kThirdPersonArchetype = R"(<?xml version="1.0"?>
<archetype>
  <Transform3D><m_y><float value="3"/></m_y></Transform3D>
  <ThirdPersonCameraComponent>
    <m_camRadius><float value="nan"/></m_camRadius>
    <m_camRotY><float value="1e38"/></m_camRotY>
  </ThirdPersonCameraComponent>
  <CameraLookAtComponent/>
</archetype>
)";

} // namespace

TARSEL_FUZZ_SEEDS(level_xml)
{
    namespace docs = quellor::test::documents;
    fuzzseeds::WriteFile(folder, "sample.ql", ReadSource("content/levels/sample.ql"));
    fuzzseeds::WriteFile(folder, "sample.arch", ReadSource("content/archetypes/sample.arch"));
    fuzzseeds::WriteFile(folder, "two_entities.ql", docs::kTwoEntities);
    fuzzseeds::WriteFile(folder, "duplicate_names.ql", docs::kDuplicateNames);
    fuzzseeds::WriteFile(folder, "orb.arch", docs::kOrb);
    fuzzseeds::WriteFile(folder, "unknown_member.arch", docs::kUnknownMember);
    fuzzseeds::WriteFile(folder, "refused_kinds.arch", docs::kRefusedKinds);
    fuzzseeds::WriteFile(folder, "arena.ql", quellor::test::gameplay_levels::kArena);
    fuzzseeds::WriteFile(folder, "animation_players.ql", quellor::test::prop_levels::kAnimationPlayers);
    fuzzseeds::WriteFile(folder, "hostile_props.ql", quellor::test::prop_levels::kHostileProps);
    fuzzseeds::WriteFile(folder, "hazards.ql", quellor::test::prop_levels::kHazards);
    fuzzseeds::WriteFile(folder, "hostile_hazards.ql", quellor::test::prop_levels::kHostileHazards);
    fuzzseeds::WriteFile(folder, "motor_player.arch", quellor::test::gameplay_levels::kMotorPlayer);
    fuzzseeds::WriteFile(folder, "hostile_motor.arch", quellor::test::gameplay_levels::kHostileMotorPlayer);
    fuzzseeds::WriteFile(folder, "cameras.ql", kCameraLevel);
    fuzzseeds::WriteFile(folder, "third_person.arch", kThirdPersonArchetype);
    fuzzseeds::WriteFile(folder, "camera_path.ql", quellor::test::camera_levels::kPath);
    fuzzseeds::WriteFile(folder, "menu_scene.ql", quellor::test::camera_levels::kMenuScene);
    fuzzseeds::WriteFile(folder, "hostile_cameras.ql", quellor::test::camera_levels::kHostileCameras);
    fuzzseeds::WriteFile(folder, "armed_player.arch", quellor::test::weapon_levels::kArmedPlayer);
    fuzzseeds::WriteFile(folder, "hostile_weapons.arch", quellor::test::weapon_levels::kHostileWeapons);
    fuzzseeds::WriteFile(folder, "death_volumes.ql", quellor::test::death_levels::kVolumes);
    fuzzseeds::WriteFile(folder, "bare_death_volumes.ql", quellor::test::death_levels::kBareVolumes);
    // The game's own levels and archetypes: the menu level, the generated arenas, the players.
    fuzzseeds::WriteFile(folder, "MainMenuTest.ql", ReadSource("content/levels/MainMenuTest.ql"));
    for (const tarsel::tools::ArenaDescription& arena : tarsel::tools::Arenas())
        fuzzseeds::WriteFile(folder, arena.level, tarsel::tools::WriteArenaLevel(arena));
    for (const char* archetype : {"beta_player.arch", "ai_bot.arch", "reticle.arch", "reticuleRing.arch"})
        fuzzseeds::WriteFile(folder, archetype, ReadSource((std::string("content/archetypes/") + archetype).c_str()));
    for (const auto& [name, text] : docs::BrokenFiles())
        fuzzseeds::WriteFile(folder, name, text);
}
