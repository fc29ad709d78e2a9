#include "SeedWriter.h"

#include <cstdio>
#include <fstream>

namespace fuzzseeds {

std::vector<Writer>& Writers()
{
    static std::vector<Writer> writers;
    return writers;
}

void WriteFile(const std::filesystem::path& folder, const std::string& name, const std::string& bytes)
{
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace fuzzseeds

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const auto& writer : fuzzseeds::Writers()) {
        const auto folder = root / writer.target;
        std::filesystem::create_directories(folder);
        writer.write(folder);
    }
    return 0;
}
