#pragma once
// Seed writers for the fuzz targets. Each writer is registered with TARSEL_FUZZ_SEEDS(target)
// and writes its files through the same writers the tests use; fuzz_seed_writer runs them all.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fuzzseeds {

using WriteFn = std::function<void(const std::filesystem::path& folder)>;

struct Writer {
    std::string target;
    WriteFn write;
};

std::vector<Writer>& Writers();

struct Registration {
    Registration(const char* target, WriteFn fn) { Writers().push_back({target, std::move(fn)}); }
};

// Writes `bytes` to folder/name.
void WriteFile(const std::filesystem::path& folder, const std::string& name, const std::string& bytes);

} // namespace fuzzseeds

#define TARSEL_FUZZ_SEEDS_CAT2(a, b) a##b
#define TARSEL_FUZZ_SEEDS_CAT(a, b) TARSEL_FUZZ_SEEDS_CAT2(a, b)
#define TARSEL_FUZZ_SEEDS(target)                                                                   \
    static void TARSEL_FUZZ_SEEDS_CAT(seeds_, target)(const std::filesystem::path& folder);       \
    static fuzzseeds::Registration TARSEL_FUZZ_SEEDS_CAT(seedsReg_, target)(                       \
        #target, TARSEL_FUZZ_SEEDS_CAT(seeds_, target));                                           \
    static void TARSEL_FUZZ_SEEDS_CAT(seeds_, target)(const std::filesystem::path& folder)
