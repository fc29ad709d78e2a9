#pragma once
#include "renderer/math/Color.h"

#include <array>
#include <cstdint>
#include <string>

namespace tarsel::tools {

// The settings of a material file.
struct MaterialDescription {
    std::uint32_t blendMode = 0;
    std::array<std::string, 4> textures;
    ZOR::Color diffuse{1.0f, 1.0f, 1.0f, 1.0f};
    ZOR::Color emissive{0.0f, 0.0f, 0.0f, 0.0f};
    float shininess = 0.0f;
    std::uint32_t flags = 1 | 16; // Material::Flag bits: no specular, standard normals
};

// Writes a material file through the renderer's own Material::Save.
bool WriteMaterial(const MaterialDescription& material, const std::string& path);

} // namespace tarsel::tools
