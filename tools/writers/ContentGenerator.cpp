#include "tools/writers/ContentGenerator.h"

#include "tools/writers/ArenaContent.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/ClipLibraryWriter.h"
#include "tools/writers/FileWriting.h"
#include "tools/writers/FontBuilder.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/LabelContent.h"
#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ModelWriter.h"
#include "tools/writers/PropModels.h"
#include "tools/writers/QuitButton.h"
#include "tools/writers/ShapeContent.h"
#include "tools/writers/SoundWriter.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace tarsel::tools {

namespace {

using ZOR::float3;

// Character select's scroll, in its model's units (its entity scales it by a half): the rod
// along x with the hinge on its axis, and the sheet hanging from it. The entity stands at
// (-10 + 20 k, 20, 50) of the screen's placements, the board 6.7 units behind it and the slot's
// widgets, from 4 units left of its column to 5 right (columns at 17.5 k - 17), 5 in front of it:
// the sheet spans 19 to 1 units left of the entity, which covers each slot's column, and from the
// rod down to below the lowest row; the hinge lies just before the board, so the sheet rolled up
// (turned back) passes behind the board and only the rod shows.
const float3 kScrollPivot(0.0f, 0.0f, -12.2f);
const float3 kScrollRodCenter(-20.0f, 0.0f, -12.2f);
const float3 kScrollRodHalf(18.5f, 1.0f, 1.0f);
const float3 kScrollSheetCenter(-20.0f, -37.0f, -11.8f);
const float3 kScrollSheetHalf(18.0f, 37.0f, 0.2f);

// The menu and prop models, by file name under models/.
std::vector<std::pair<std::string, ModelDescription>> PropModelTable()
{
    std::vector<std::pair<std::string, ModelDescription>> models = {
        {"arrow", BuildArrow()},
        {"checkmark", BuildCheckmark()},
        {"letter_x", BuildBlockText("x")},
        {"setting_low", BuildBlockText("LOW")},
        {"setting_medium", BuildBlockText("MEDIUM")},
        {"setting_high", BuildBlockText("HIGH")},
        {"setting_ultra", BuildBlockText("ULTRA")},
        {"hair_default", BuildHair(false)},
        {"hair_tarsel", BuildHair(true)},
        {"mask_default", BuildMask(MaskShape::Plain)},
        {"mask_fox", BuildMask(MaskShape::Fox)},
        {"mask_bunny", BuildMask(MaskShape::Bunny)},
        {"feather", BuildFeather()},
        {"crate", BuildCrate()},
        {"board", BuildBoard()},
        {"quitbutton_quit_hold", quit::BuildModel()},
        {"scroll_menu", BuildHingedPiece(kScrollRodCenter, kScrollRodHalf, kScrollSheetCenter, kScrollSheetHalf, kScrollPivot)},
        // The thumper: a base and a stamping head above it.
        {"thumper", BuildHingedPiece(float3(0.0f, 1.0f, 0.0f), float3(6.0f, 1.0f, 6.0f), float3(0.0f, 2.0f, 0.0f), float3(4.0f, 2.0f, 4.0f),
                                     float3(0.0f, 2.0f, 0.0f))},
    };
    for (char digit = '0'; digit <= '9'; ++digit)
        models.emplace_back(std::string("num_") + digit, BuildBlockText(std::string(1, digit)));
    return models;
}

// The clips of the skinned props, by file name under animations/.
std::vector<std::pair<std::string, ClipDescription>> PropClipTable()
{
    constexpr float kHalfTurn = 3.14159265f;
    std::vector<std::pair<std::string, ClipDescription>> clips = quit::BuildClips();
    // A rolled-up scroll's sheet lies back, away from the character select's camera, behind the
    // board: raised toward the camera, the sheets would hide the boards above them.
    clips.emplace_back("scroll_up_still", BuildHingeClip(kScrollPivot, kHalfTurn / 2.0f, kHalfTurn / 2.0f, 1.0f));
    clips.emplace_back("scroll_up", BuildHingeClip(kScrollPivot, 0.0f, kHalfTurn / 2.0f, 0.3f));
    clips.emplace_back("scroll_down", BuildHingeClip(kScrollPivot, kHalfTurn / 2.0f, 0.0f, 0.3f));
    clips.emplace_back("Thumper_anim2", BuildStampClip(float3(0.0f, 2.0f, 0.0f), 6.0f, 2.0f));
    return clips;
}

} // namespace

const std::vector<std::string>& GeneratedContentFiles()
{
    static const std::vector<std::string> files = [] {
        std::vector<std::string> list = {
        "models/sphere.model",
        "models/cube.model",
        "models/base_idle.model",
        "textures/sun.dds",
        "fonts/font_32.bff",
        "fonts/font_48.bff",
        "fonts/font_64.bff",
        "textures/fonts/font_32.dds",
        "textures/fonts/font_48.dds",
        "textures/fonts/font_64.dds",
        "textures/score_bg.dds",
        };
        for (const auto& [name, model] : PropModelTable())
            list.push_back("models/" + name + ".model");
        for (const ArenaDescription& arena : Arenas()) {
            list.push_back("levels/" + arena.level);
            for (const ArenaIsland& island : arena.islands)
                list.push_back("models/" + IslandFileName(arena, island, ".model"));
        }
        for (const auto& [name, clip] : PropClipTable())
            list.push_back("animations/" + name + ".anim");
        for (const std::string& clip : character::LibraryNames())
            list.push_back("animations/" + clip);
        for (const NamedSound& sound : BuildSounds())
            list.push_back(sound.path);
        for (const char* texture : {"white", "reticle", "reticle_enemy", "reticle_ring", "pop_sphere_spin",
                                    "pop_sphere_charge", "pop_cone", "pop_cylinder", "pop_sphere_shell", "shot_lift",
                                    "shot_pop"})
            list.push_back(std::string("textures/") + texture + ".dds");
        for (const LabelTexture& label : Labels())
            list.push_back(label.folder + label.name + ".dds");
        return list;
    }();
    return files;
}

bool GenerateContent(const std::filesystem::path& folder, const std::string& fontPath)
{
    bool ok = true;
    const auto write = [&](const std::string& name, const std::string& bytes) {
        ok = WriteFileIfChanged(folder / name, bytes) && ok;
    };

    write("models/sphere.model", WriteModel(BuildSphere()));
    write("models/cube.model", WriteModel(BuildCube()));
    write("models/base_idle.model", WriteModel(character::BuildModel()));
    // The character's clip library; its first clip of each set is the set's plain motion.
    ok = character::WriteLibrary(folder / "animations") && ok;
    write("textures/sun.dds", WriteDds(BuildSunImage(), DdsFormat::BGRA8));
    write("textures/score_bg.dds", WriteDds(BuildScoreBadge(), DdsFormat::BGRA8));
    for (const auto& [name, model] : PropModelTable())
        write("models/" + name + ".model", WriteModel(model));
    for (const auto& [name, clip] : PropClipTable())
        write("animations/" + name + ".anim", WriteAnimation(clip));
    write("textures/white.dds", WriteDds(BuildWhiteImage(), DdsFormat::BGRA8));
    write("textures/reticle.dds", WriteDds(BuildRingImage(255, 255, 255), DdsFormat::BGRA8));
    write("textures/reticle_enemy.dds", WriteDds(BuildRingImage(235, 60, 50), DdsFormat::BGRA8));
    write("textures/reticle_ring.dds", WriteDds(BuildRingImage(255, 220, 90), DdsFormat::BGRA8));
    // The orb and lift effects' strips: 5 frames for the spinning and charging sphere and the
    // cone, 12 for the arm's cylinder; the shell tiles.
    write("textures/pop_sphere_spin.dds", WriteDds(BuildStripImage(5, 140, 220, 255), DdsFormat::BGRA8));
    write("textures/pop_sphere_charge.dds", WriteDds(BuildStripImage(5, 200, 240, 255), DdsFormat::BGRA8));
    write("textures/pop_cone.dds", WriteDds(BuildStripImage(5, 120, 200, 255), DdsFormat::BGRA8));
    write("textures/pop_cylinder.dds", WriteDds(BuildStripImage(12, 160, 230, 255), DdsFormat::BGRA8));
    write("textures/pop_sphere_shell.dds", WriteDds(BuildStripImage(1, 180, 230, 255), DdsFormat::BGRA8));
    write("textures/shot_lift.dds", WriteDds(BuildStripImage(1, 255, 230, 140), DdsFormat::BGRA8));
    write("textures/shot_pop.dds", WriteDds(BuildStripImage(1, 140, 220, 255), DdsFormat::BGRA8));
    // Fixed stream serials keep the sound files' bytes the same from run to run.
    int serial = 1;
    for (const NamedSound& sound : BuildSounds()) {
        const std::string bytes = WriteOgg(sound.sound, serial++);
        if (bytes.empty())
            ok = false;
        else
            write(sound.path, bytes);
    }
    // The arenas, before the shapes: their levels name their islands' shapes.
    for (const ArenaDescription& arena : Arenas()) {
        write("levels/" + arena.level, WriteArenaLevel(arena));
        for (const ArenaIsland& island : arena.islands)
            write("models/" + IslandFileName(arena, island, ".model"), WriteModel(BuildIslandModel(island)));
    }
    // The collision shapes the levels and archetypes name.
    ok = GenerateShapes(folder) && ok;

    std::ifstream in(fontPath, std::ios::binary);
    const std::vector<std::uint8_t> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (ttf.empty()) {
        std::fprintf(stderr, "cannot read the font %s (package fonts-dejavu-core)\n", fontPath.c_str());
        return false;
    }
    for (const std::uint32_t cell : {32u, 48u, 64u}) {
        BitmapFont font;
        if (!RasterizeFont(ttf, cell, 32, 126, font, GameFontLine(cell)))
            return false;
        const std::string name = "font_" + std::to_string(cell);
        write("fonts/" + name + ".bff", WriteBff(font));
        write("textures/fonts/" + name + ".dds", WriteDds(FontImage(font), DdsFormat::BGRA8));
    }
    // The labels are drawn from the font at the full size of its 64-pixel cells.
    BitmapFont letters;
    if (!RasterizeFont(ttf, 64, 32, 126, letters))
        return false;
    for (const LabelTexture& label : Labels())
        write(label.folder + label.name + ".dds", WriteDds(BuildLabelTexture(letters, label), DdsFormat::BC3));
    return ok;
}

} // namespace tarsel::tools
