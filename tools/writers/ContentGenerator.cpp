#include "tools/writers/ContentGenerator.h"

#include "tools/writers/AnimationWriter.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/FileWriting.h"
#include "tools/writers/FontBuilder.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ModelWriter.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace tarsel::tools {

const std::vector<std::string>& GeneratedContentFiles()
{
    static const std::vector<std::string> files = {
        "models/sphere.model",
        "models/cube.model",
        "models/base_idle.model",
        "animations/idle_base.anim",
        "animations/run_base.anim",
        "animations/inair_base.anim",
        "textures/sun.dds",
        "fonts/font_32.bff",
        "fonts/font_48.bff",
        "fonts/font_64.bff",
        "textures/fonts/font_32.dds",
        "textures/fonts/font_48.dds",
        "textures/fonts/font_64.dds",
    };
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
    write("animations/idle_base.anim", WriteAnimation(character::BuildClip(character::Motion::Idle)));
    write("animations/run_base.anim", WriteAnimation(character::BuildClip(character::Motion::Run)));
    write("animations/inair_base.anim", WriteAnimation(character::BuildClip(character::Motion::InAir)));
    write("textures/sun.dds", WriteDds(BuildSunImage(), DdsFormat::BGRA8));

    std::ifstream in(fontPath, std::ios::binary);
    const std::vector<std::uint8_t> ttf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (ttf.empty()) {
        std::fprintf(stderr, "cannot read the font %s (package fonts-dejavu-core)\n", fontPath.c_str());
        return false;
    }
    for (const std::uint32_t cell : {32u, 48u, 64u}) {
        BitmapFont font;
        if (!RasterizeFont(ttf, cell, 32, 126, font))
            return false;
        const std::string name = "font_" + std::to_string(cell);
        write("fonts/" + name + ".bff", WriteBff(font));
        write("textures/fonts/" + name + ".dds", WriteDds(FontImage(font), DdsFormat::BGRA8));
    }
    return ok;
}

} // namespace tarsel::tools
