#include "renderer/INIFile.h"

#include "tests/support/TempDir.h"
#include "tools/writers/EmitterWriter.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/ModelWriter.h"

#include <gtest/gtest.h>

#include <cstring>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace {

using namespace tarsel::tools;

std::uint32_t Word(const std::string& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

Image Solid(std::uint32_t width, std::uint32_t height, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
{
    Image image;
    image.width = width;
    image.height = height;
    for (std::uint32_t i = 0; i < width * height; ++i)
        image.rgba.insert(image.rgba.end(), {r, g, b, a});
    return image;
}

TEST(DdsWriter, HeadersAndSizesOfEveryKind)
{
    const Image image = Solid(5, 3, 10, 20, 30, 40);
    struct Case {
        DdsFormat format;
        std::uint32_t flags, fourCC, payload;
    };
    const Case cases[] = {
        {DdsFormat::BGRA8, 0x41, 0, 5 * 3 * 4},
        {DdsFormat::RGBA8, 0x41, 0, 5 * 3 * 4},
        {DdsFormat::BC1, 0x4, 0x31545844, 2 * 8},
        {DdsFormat::BC2, 0x4, 0x33545844, 2 * 16},
        {DdsFormat::BC3, 0x4, 0x35545844, 2 * 16},
    };
    for (const Case& c : cases) {
        const std::string dds = WriteDds(image, c.format);
        ASSERT_EQ(dds.size(), 128u + c.payload);
        EXPECT_EQ(dds.substr(0, 4), "DDS ");
        EXPECT_EQ(Word(dds, 4), 124u);
        EXPECT_EQ(Word(dds, 12), 3u);  // height
        EXPECT_EQ(Word(dds, 16), 5u);  // width
        EXPECT_EQ(Word(dds, 20), c.fourCC ? c.payload : 20u); // linear size or pitch
        EXPECT_EQ(Word(dds, 28), 1u);  // one level
        EXPECT_EQ(Word(dds, 76), 32u); // pixel format size
        EXPECT_EQ(Word(dds, 80), c.flags);
        EXPECT_EQ(Word(dds, 84), c.fourCC);
        EXPECT_EQ(Word(dds, 108), 0x1000u);
    }
    const std::string bgra = WriteDds(image, DdsFormat::BGRA8);
    EXPECT_EQ(Word(bgra, 92), 0x00FF0000u); // red mask
    EXPECT_EQ(bgra.substr(128, 4), std::string({30, 20, 10, 40}));
    const std::string rgba = WriteDds(image, DdsFormat::RGBA8);
    EXPECT_EQ(Word(rgba, 92), 0x000000FFu);
    EXPECT_EQ(rgba.substr(128, 4), std::string({10, 20, 30, 40}));
}

TEST(DdsWriter, BlocksHoldTheColourAndAlpha)
{
    // Pure red: both end points are 565 red; alpha per pixel 0, 136 and 255.
    Image image = Solid(4, 4, 255, 0, 0, 255);
    image.rgba[3] = 0;
    image.rgba[7] = 136;
    const std::string bc1 = WriteDds(image, DdsFormat::BC1);
    EXPECT_EQ(Word(bc1, 128) & 0xFFFF, 0xF800u);
    const std::string bc2 = WriteDds(image, DdsFormat::BC2);
    EXPECT_EQ(static_cast<std::uint8_t>(bc2[128]), 0x80) << "pixels 0 and 1: alpha 0 and 8 of 15";
    EXPECT_EQ(static_cast<std::uint8_t>(bc2[129]), 0xFF);
    EXPECT_EQ(Word(bc2, 136) & 0xFFFF, 0xF800u);
    const std::string bc3 = WriteDds(image, DdsFormat::BC3);
    const std::uint8_t a0 = static_cast<std::uint8_t>(bc3[128]), a1 = static_cast<std::uint8_t>(bc3[129]);
    EXPECT_EQ(std::max(a0, a1), 255);
    EXPECT_EQ(std::min(a0, a1), 0);
    EXPECT_EQ(Word(bc3, 136) & 0xFFFF, 0xF800u);
}

TEST(PngWriter, DecodesToTheSamePixels)
{
    Image image = Solid(3, 2, 1, 2, 3, 4);
    image.rgba[5] = 200;
    const std::string png = WritePng(image);
    ASSERT_EQ(png.substr(1, 3), "PNG");
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()), static_cast<int>(png.size()),
                                            &w, &h, &channels, 4);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(std::memcmp(pixels, image.rgba.data(), image.rgba.size()), 0);
    stbi_image_free(pixels);
}

TEST(ModelWriter, NodesGetBindLocalsAndGlobalsWithReservedZero)
{
    ModelDescription model;
    model.skinned = true;
    ZOR::float4x4 a, b;
    a.m[3] = 1.0f;
    b.m[7] = 2.0f;
    model.nodes = {MakeNode(-1, a), MakeNode(0, b)};
    model.nodes[1].reserved = 77;
    model.nodes[1].global.m[0] = 9.0f;
    const std::string bytes = WriteModel(model);
    ZOR::Skeleton::Node node;
    std::memcpy(&node, bytes.data() + 32 + 200, 200);
    EXPECT_EQ(node.reserved, 0u);
    EXPECT_EQ(std::memcmp(&node.local, &b, 64), 0);
    const ZOR::float4x4 global = a * b;
    EXPECT_EQ(std::memcmp(&node.global, &global, 64), 0);
    EXPECT_EQ(Word(bytes, 28), 0u);
}

TEST(EmitterWriter, WritesEveryKey)
{
    tarsel::test::TempDir dir;
    EmitterDescription emitter;
    emitter.maxParticles = 300;
    emitter.types[4].texture = "last.dds";
    emitter.types[2].startColor = "0.5 0.25 1 1";
    emitter.boxMax = {1.0f, 2.0f, 3.0f};
    emitter.fadeOut = true;
    emitter.scale = {0.5f, 2.0f};
    emitter.emitterType = "SPHERE";
    ASSERT_TRUE(WriteEmitter(emitter, (dir / "e.pe").string()));
    ZOR::INIFile file;
    ASSERT_TRUE(file.Load((dir / "e.pe").string()));
    EXPECT_EQ(file.Read<unsigned>("MAX_PARTICLES", "VALUE"), 300u);
    EXPECT_EQ(file.Read<unsigned>("PARTICLE_TYPES", "VALUE"), 1u);
    EXPECT_EQ(file.Read<std::string>("PARTICLE_TYPE_5", "TEXTURE"), "last.dds");
    EXPECT_EQ(file.Read<std::string>("PARTICLE_TYPE_1", "BLEND_MODE"), "ALPHA");
    EXPECT_EQ(file.Read<std::string>("PARTICLE_TYPE_3", "START_COLOR"), "0.5 0.25 1 1");
    EXPECT_EQ(file.Read<float>("BOX", "MAX_Z"), 3.0f);
    EXPECT_EQ(file.Read<float>("CONE_ANGLE", "VALUE"), 45.0f);
    EXPECT_EQ(file.Read<float>("SPHERE_RADIUS", "VALUE"), 1.0f);
    EXPECT_TRUE(file.Read<bool>("FADE_OUT", "VALUE"));
    EXPECT_EQ(file.Read<float>("PARTICLE_SCALE", "MAX"), 2.0f);
    EXPECT_EQ(file.Read<std::string>("EMITTER", "TYPE"), "SPHERE");
    const std::string text = dir.Read("e.pe");
    for (const char* key : {"[GRAVITY]", "[POSITION]", "[LINE_ENDPOINT]", "[CONE_DIRECTION]", "[VELOCITY_DAMPING]",
                            "[ANGULAR_VELOCITY_DAMPING]", "[EMIT]", "[SCALE_OUT]", "[PARTICLE_LIFESPAN]",
                            "[PARTICLE_SPAWN_INTERVAL]", "[PARTICLE_SPEED]", "[PARTICLE_ANGULAR_VELOCITY]", "END_COLOR="})
        EXPECT_NE(text.find(key), std::string::npos) << key;
}

} // namespace
