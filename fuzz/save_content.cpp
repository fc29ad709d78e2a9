// Feeds arbitrary bytes to the save-file reader of the content store, writes what it unlocked
// and reads that back into a second store: both must hold the same unlocked lists, and the
// written form must be stable.
#include "frontend/content/ContentSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "save_content fuzz: %s\n", what);
        std::abort();
    }
}

// A store as a first run makes it, or one with nothing unlocked.
std::unique_ptr<quellor::ContentSystem> MakeStore(bool fresh)
{
    if (fresh)
        return std::make_unique<quellor::ContentSystem>();
    return std::make_unique<quellor::ContentSystem>(quellor::ContentSystem::Unlocked{});
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const bool fresh : {true, false}) {
        auto first = MakeStore(fresh);
        first->LoadFrom(data, size);
        const std::vector<std::uint8_t> saved = first->SaveToBytes();

        auto second = MakeStore(fresh);
        Check(second->LoadFrom(saved.data(), saved.size()), "the written file does not read back whole");
        Check(second->GetUnlockedHats() == first->GetUnlockedHats(), "hats differ");
        Check(second->GetUnlockedHair() == first->GetUnlockedHair(), "hair differs");
        Check(second->GetUnlockedMasks() == first->GetUnlockedMasks(), "masks differ");
        Check(second->SaveToBytes() == saved, "the written file changed on a second round");
        // Only master items are ever unlocked, so the file stays small whatever came in.
        Check(saved.size() <= 220 + 4 + 13, "more was written than the master lists hold");
    }
    return 0;
}
