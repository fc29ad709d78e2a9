// Model files from arbitrary bytes.
#include "renderer/Model.h"

#include <cstdint>
#include <cstdio>

// No render context: every byte is read on the CPU side, which is what is under test.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Failed loads log a line each; keep the fuzzer's output readable.
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);
    ZOR::Model model;
    if (model.LoadFromMemory(nullptr, {data, size}, "fuzz.model")) {
        model.CalculateAABB();
        // A second load over the first reuses or drops the skeleton.
        model.LoadFromMemory(nullptr, {data, size}, "fuzz.model");
    }
    return 0;
}
