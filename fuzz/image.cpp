// Texture files (DDS, PNG) from arbitrary bytes: decoded or refused, never read past, never
// allocating more than the bytes can describe.
#include "platform/ImageDecoder.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::DecodedImage image;
    std::string error;
    // A smaller largest side than the device's keeps each run quick.
    constexpr std::uint32_t MaxSide = 4096;
    if (platform::DecodeImage(data, size, image, error, MaxSide)) {
        if (image.width == 0 || image.height == 0 || image.width > MaxSide || image.height > MaxSide
            || image.rgba.size() != std::size_t{image.width} * image.height * 4) {
            std::fprintf(stderr, "image fuzz: decoded %ux%u into %zu bytes\n", image.width, image.height,
                         image.rgba.size());
            std::abort();
        }
    } else if (error.empty() || !image.rgba.empty()) {
        std::fprintf(stderr, "image fuzz: a refusal without a reason or with pixels\n");
        std::abort();
    }
    return 0;
}
