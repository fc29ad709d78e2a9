// Seeds for the asset loaders, written by the same writers the tests and the content generator
// use.
#include "SeedWriter.h"

#include "tools/writers/AnimationWriter.h"
#include "tools/writers/CharacterBuilder.h"
#include "tools/writers/EmitterWriter.h"
#include "tools/writers/FontWriter.h"
#include "tools/writers/ImageWriter.h"
#include "tools/writers/MaterialWriter.h"
#include "tools/writers/MeshBuilder.h"
#include "tools/writers/ModelWriter.h"

#include <limits>
#include <string>

namespace {

using namespace tarsel::tools;

ModelDescription SmallSkinned()
{
    ModelDescription model;
    model.skinned = true;
    AddBox(model.vertices, ZOR::float3(0, 0.5f, 0), ZOR::float3(0.5f, 0.5f, 0.5f), 0);
    AddBox(model.vertices, ZOR::float3(0, 1.5f, 0), ZOR::float3(0.25f, 0.5f, 0.25f), 1);
    ZOR::float4x4 up;
    up.m[7] = 1.0f;
    ZOR::float4x4 down;
    down.m[7] = -1.0f;
    model.nodes = {MakeNode(-1, ZOR::float4x4()), MakeNode(0, up)};
    model.bones = {{0, 2, ZOR::float4x4()}, {1, 0, down}};
    model.names = {"base", "top"};
    return model;
}

ClipDescription SmallClip()
{
    ClipDescription clip;
    clip.duration = 10.0f;
    clip.ticksPerSecond = 5.0f;
    ZOR::Animation::Track a;
    a.id = 0;
    a.positionKeys = {{0, ZOR::float3(0, 0, 0)}, {5, ZOR::float3(0, 1, 0)}, {10, ZOR::float3(0, 0, 0)}};
    a.rotationKeys = {{0, ZOR::float4(0, 0, 0, 1)}, {10, ZOR::float4(0, 0.7071f, 0, 0.7071f)}};
    ZOR::Animation::Track b;
    b.id = 1;
    b.positionKeys = {{0, ZOR::float3(0, 1, 0)}};
    b.rotationKeys = {{0, ZOR::float4(0, 0, 0, 1)}};
    clip.tracks = {a, b};
    return clip;
}

Image Gradient(std::uint32_t width, std::uint32_t height)
{
    Image image;
    image.width = width;
    image.height = height;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            image.rgba.insert(image.rgba.end(), {static_cast<std::uint8_t>(x * 255 / width),
                                                 static_cast<std::uint8_t>(y * 255 / height), 128,
                                                 static_cast<std::uint8_t>((x + y) * 16)});
    return image;
}

} // namespace

TARSEL_FUZZ_SEEDS(model)
{
    fuzzseeds::WriteFile(folder, "cube.model", WriteModel(BuildCube()));
    fuzzseeds::WriteFile(folder, "sphere8.model", WriteModel(BuildSphere(8, 4)));
    fuzzseeds::WriteFile(folder, "skinned.model", WriteModel(SmallSkinned()));
    fuzzseeds::WriteFile(folder, "character.model", WriteModel(character::BuildModel()));
}

TARSEL_FUZZ_SEEDS(anim)
{
    fuzzseeds::WriteFile(folder, "small.anim", WriteAnimation(SmallClip()));
    fuzzseeds::WriteFile(folder, "run.anim", WriteAnimation(character::BuildClip(character::Motion::Run)));
    fuzzseeds::WriteFile(folder, "empty.anim", WriteAnimation(ClipDescription{}));
}

TARSEL_FUZZ_SEEDS(bff)
{
    BitmapFont font;
    font.imageWidth = 32;
    font.imageHeight = 32;
    font.cellWidth = 8;
    font.cellHeight = 8;
    font.firstCharacter = 32;
    for (int c = 32; c < 127; ++c)
        font.widths[c] = static_cast<std::uint8_t>(c % 8 + 1);
    font.pixels.assign(32 * 32 * 4, 0x80);
    fuzzseeds::WriteFile(folder, "small.bff", WriteBff(font));
    font.bitsPerPixel = 8;
    font.pixels.resize(32 * 32);
    fuzzseeds::WriteFile(folder, "grey.bff", WriteBff(font));
}

TARSEL_FUZZ_SEEDS(material_emitter)
{
    MaterialDescription material;
    material.blendMode = 2;
    material.textures = {"a.dds", "b.dds", "", "d.png"};
    material.flags = 4 | 32;
    WriteMaterial(material, (folder / "written.mat").string());
    EmitterDescription emitter;
    emitter.maxParticles = 64;
    emitter.particleTypes = 2;
    emitter.types[0].texture = "spark.dds";
    emitter.types[1].blendMode = "ADDITIVE";
    emitter.emitterType = "CONE";
    WriteEmitter(emitter, (folder / "written.pe").string());

    // An emitting file of every shape, so the seeds reach spawning and simulation.
    EmitterDescription live;
    live.maxParticles = 200;
    live.particleTypes = 3;
    live.types[0] = {"spark.dds", "ADDITIVE", "1 0.5 0 1", "1 0 0 0"};
    live.types[1] = {"smoke.dds", "NONE", "0.5 0.5 0.5", ""};
    live.types[2] = {"dust.dds", "ALPHA", "1 1 1 1", "0 0 0 0"};
    live.emit = true;
    live.scaleOut = true;
    live.fadeOut = true;
    live.gravity = {0.0f, -9.8f, 0.0f};
    live.lineEndpoint = {3.0f, 1.0f, 0.0f};
    live.coneDirection = {1.0f, 0.0f, 0.0f};
    live.boxMin = {-1.0f, 0.0f, -1.0f};
    live.boxMax = {1.0f, 2.0f, 1.0f};
    live.velocityDamping = 0.1f;
    live.angularVelocityDamping = 2.0f;
    live.lifespan = {0.05f, 0.2f};
    live.spawnInterval = {0.0f, 0.01f};
    live.speed = {1.0f, 5.0f};
    live.angularVelocity = {-3.0f, 3.0f};
    for (const char* shape : {"POINT", "LINE", "CONE", "BOX", "SPHERE"}) {
        live.emitterType = shape;
        WriteEmitter(live, (folder / (std::string("emitting-") + shape + ".pe")).string());
    }
    // A pool far above the cap, more types than there are, and numbers that are not finite.
    EmitterDescription hostile = live;
    hostile.maxParticles = 4000000000u;
    hostile.particleTypes = 9;
    hostile.types[0].startColor = "nan inf -inf";
    hostile.sphereRadius = std::numeric_limits<float>::infinity();
    hostile.coneAngle = std::numeric_limits<float>::quiet_NaN();
    hostile.emitterType = "SPHERE";
    WriteEmitter(hostile, (folder / "hostile.pe").string());
}

TARSEL_FUZZ_SEEDS(image)
{
    const Image square = Gradient(8, 8);
    const Image odd = Gradient(5, 3);
    fuzzseeds::WriteFile(folder, "bgra8.dds", WriteDds(square, DdsFormat::BGRA8));
    fuzzseeds::WriteFile(folder, "rgba8.dds", WriteDds(square, DdsFormat::RGBA8));
    fuzzseeds::WriteFile(folder, "bc1.dds", WriteDds(square, DdsFormat::BC1));
    fuzzseeds::WriteFile(folder, "bc2.dds", WriteDds(square, DdsFormat::BC2));
    fuzzseeds::WriteFile(folder, "bc3.dds", WriteDds(square, DdsFormat::BC3));
    fuzzseeds::WriteFile(folder, "bc3-odd.dds", WriteDds(odd, DdsFormat::BC3));
    fuzzseeds::WriteFile(folder, "gradient.png", WritePng(square));
    fuzzseeds::WriteFile(folder, "bgr8.dds", WriteDds(odd, DdsFormat::BGR8));
    fuzzseeds::WriteFile(folder, "dx10-rgba8.dds", WriteDds(odd, DdsFormat::RGBA8, DdsHeader::Dx10));
    fuzzseeds::WriteFile(folder, "dx10-bgra8.dds", WriteDds(square, DdsFormat::BGRA8, DdsHeader::Dx10));
    fuzzseeds::WriteFile(folder, "dx10-bc1.dds", WriteDds(odd, DdsFormat::BC1, DdsHeader::Dx10));
    fuzzseeds::WriteFile(folder, "dx10-bc2.dds", WriteDds(square, DdsFormat::BC2, DdsHeader::Dx10));
    fuzzseeds::WriteFile(folder, "dx10-bc3.dds", WriteDds(square, DdsFormat::BC3, DdsHeader::Dx10));
    fuzzseeds::WriteFile(folder, "odd.png", WritePng(odd));
}
