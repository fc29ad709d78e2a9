// INI text as a material file: the INI reader and Material::Load on arbitrary bytes. The text
// goes through a file because that is what the loaders read.
#include "renderer/INIFile.h"
#include "renderer/Material.h"

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
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::filesystem::remove(saved, ec);
    return 0;
}
