// Bitmap font files from arbitrary bytes.
#include "renderer/Font.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);
    ZOR::Font font;
    if (font.LoadFromMemory({data, size}, "fuzz.bff"))
        for (unsigned c = 0; c < 256; ++c)
            font.GetCharacterWidth(static_cast<std::uint8_t>(c));
    return 0;
}
