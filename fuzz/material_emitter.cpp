// INI text as a material file and as a particle-emitter file: the INI reader, Material::Load and
// ParticleEmitter::Load on arbitrary bytes. Each object is saved and loaded again into a fresh
// one, which must hold the same settings; then the emitter runs a few updates. The text goes
// through a file because that is what the loaders read.
#include "renderer/INIFile.h"
#include "renderer/Material.h"
#include "renderer/ParticleEmitter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Spawning and simulating cost grows with the pool: at the loader's cap (65,536 particles, two
// pools) an input took tens of milliseconds. Larger pools are brought down to this in the text
// the loaders read; the cap itself is the unit tests' business.
constexpr unsigned kMaxFuzzedParticles = 256;

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "material_emitter fuzz: %s\n", what);
        std::abort();
    }
}

// A value that ends in CR loses it when read back: a CR LF line end looks the same.
bool SameText(const std::string& loaded, const std::string& reloaded)
{
    return loaded == reloaded ||
           (!loaded.empty() && loaded.back() == '\r' && loaded.compare(0, loaded.size() - 1, reloaded) == 0);
}

// Files hold floats in a stream's default format, six significant digits: a saved value reads
// back as the loaded one rounded so (every value a loader keeps is finite).
bool Same(float loaded, float reloaded)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%g", static_cast<double>(loaded));
    return std::strtof(text, nullptr) == reloaded;
}

bool SameColor(const ZOR::Color& a, const ZOR::Color& b)
{
    return Same(a.r, b.r) && Same(a.g, b.g) && Same(a.b, b.b) && Same(a.a, b.a);
}

bool Same(const ZOR::float2& a, const ZOR::float2& b)
{
    return Same(a.x, b.x) && Same(a.y, b.y);
}

bool Same(const ZOR::float3& a, const ZOR::float3& b)
{
    return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z);
}

void CheckSameMaterial(const ZOR::Material& a, const ZOR::Material& b)
{
    Check(a.GetBlendMode() == b.GetBlendMode(), "material blend mode");
    for (std::uint32_t map = 0; map < ZOR::Material::TEXTURE_COUNT; ++map)
        Check(SameText(a.GetTextureName(map), b.GetTextureName(map)), "material texture name");
    Check(SameColor(a.GetDiffuseColor(), b.GetDiffuseColor()), "material diffuse colour");
    Check(SameColor(a.GetEmissiveColor(), b.GetEmissiveColor()), "material emissive colour");
    Check(Same(a.GetSpecularShininess(), b.GetSpecularShininess()), "material shininess");
    Check(a.GetData().flags == b.GetData().flags, "material flags");
}

void CheckSameEmitter(const ZOR::ParticleEmitter& a, const ZOR::ParticleEmitter& b)
{
    Check(a.GetMaxParticles() == b.GetMaxParticles(), "emitter pool size");
    Check(a.GetParticleTypeCount() == b.GetParticleTypeCount(), "emitter type count");
    for (unsigned i = 0; i < ZOR::ParticleEmitter::kTypeCount; ++i) {
        Check(SameText(a.GetParticleTexture(i), b.GetParticleTexture(i)), "emitter texture name");
        Check(a.GetParticleBlendMode(i) == b.GetParticleBlendMode(i), "emitter blend mode");
        Check(SameColor(a.GetParticleStartColor(i), b.GetParticleStartColor(i)), "emitter start colour");
        Check(SameColor(a.GetParticleEndColor(i), b.GetParticleEndColor(i)), "emitter end colour");
    }
    Check(Same(a.GetGravity(), b.GetGravity()) && Same(a.GetPosition(), b.GetPosition()) &&
              Same(a.GetLineEndpoint(), b.GetLineEndpoint()) && Same(a.GetConeDirection(), b.GetConeDirection()),
          "emitter vectors");
    Check(Same(a.GetConeDegreeAngle(), b.GetConeDegreeAngle()) && Same(a.GetSphereRadius(), b.GetSphereRadius()),
          "emitter cone angle or sphere radius");
    Check(Same(a.GetBox().min, b.GetBox().min) && Same(a.GetBox().max, b.GetBox().max), "emitter box");
    Check(Same(a.GetVelocityDamping(), b.GetVelocityDamping()) &&
              Same(a.GetAngularVelocityDamping(), b.GetAngularVelocityDamping()),
          "emitter damping");
    Check(a.GetEmitting() == b.GetEmitting() && a.GetScalingOut() == b.GetScalingOut() &&
              a.GetFadingOut() == b.GetFadingOut(),
          "emitter switches");
    Check(Same(a.GetLifespan(), b.GetLifespan()) && Same(a.GetSpawnInterval(), b.GetSpawnInterval()) &&
              Same(a.GetSpeed(), b.GetSpeed()) && Same(a.GetScale(), b.GetScale()) &&
              Same(a.GetAngularVelocity(), b.GetAngularVelocity()),
          "emitter ranges");
    Check(a.GetEmitterType() == b.GetEmitterType(), "emitter type");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool silenced = std::freopen("/dev/null", "w", stdout) != nullptr;
    static_cast<void>(silenced);
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("tarsel-fuzz-" + std::to_string(getpid()) + ".mat")).string();
    const std::string saved = path + ".saved";
    const std::string text(reinterpret_cast<const char*>(data), size);
    ZOR::INIFile file;
    std::istringstream in(text);
    // A file without one entry is refused, and leaves each object as it was.
    const bool readable = file.Load(in);
    if (file.Read<unsigned>("MAX_PARTICLES", "VALUE") > kMaxFuzzedParticles) {
        file.Write("MAX_PARTICLES", "VALUE", kMaxFuzzedParticles);
        Check(file.Save(path), "the bounded file cannot be written");
    } else {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }

    {
        ZOR::Material material(ZOR::Handle::Null());
        material.Load(path);
        if (!readable)
            CheckSameMaterial(material, ZOR::Material(ZOR::Handle::Null()));
        Check(material.Save(saved), "the material cannot be saved");
        ZOR::Material back(ZOR::Handle::Null());
        back.Load(saved);
        CheckSameMaterial(material, back);
    }
    {
        ZOR::ParticleEmitter emitter;
        Check(emitter.Load(path) == readable, "the emitter loads what the INI reader refuses, or the reverse");
        if (!readable)
            CheckSameEmitter(emitter, ZOR::ParticleEmitter());
        Check(emitter.Save(saved), "the emitter cannot be saved");
        ZOR::ParticleEmitter back;
        Check(back.Load(saved), "the saved emitter does not load");
        CheckSameEmitter(emitter, back);
        for (int i = 0; i < 3; ++i)
            emitter.Update(0.05f);
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::filesystem::remove(saved, ec);
    return 0;
}
