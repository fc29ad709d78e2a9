// INI text as a material file and as a particle-emitter file: the INI reader, Material::Load and
// ParticleEmitter::Load on arbitrary bytes, then a few emitter updates and both saves. The text
// goes through a file because that is what the loaders read.
#include "renderer/INIFile.h"
#include "renderer/Material.h"
#include "renderer/ParticleEmitter.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tarsel-fuzz-" + std::to_string(getpid()) + ".mat")).string();
    const std::string text(reinterpret_cast<const char*>(data), size);
    {
        std::istringstream in(text);
        ZOR::INIFile file;
        file.Load(in);
    }
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    ZOR::Material material(ZOR::Handle::Null());
    material.Load(path);
    const std::string saved = path + ".saved";
    material.Save(saved);
    {
        ZOR::ParticleEmitter emitter;
        emitter.Load(path);
        for (int i = 0; i < 3; ++i)
            emitter.Update(0.05f);
        emitter.Save(saved);
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::filesystem::remove(saved, ec);
    return 0;
}
