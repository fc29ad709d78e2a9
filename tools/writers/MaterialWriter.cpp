#include "tools/writers/MaterialWriter.h"

#include "renderer/Material.h"

namespace tarsel::tools {

bool WriteMaterial(const MaterialDescription& description, const std::string& path)
{
    ZOR::Material material(ZOR::Handle::Null());
    material.SetBlendMode(static_cast<ZOR::BlendMode>(description.blendMode));
    for (std::uint32_t map = 0; map < description.textures.size(); ++map)
        material.SetTextureName(description.textures[map], map);
    material.SetDiffuseColor(description.diffuse);
    material.SetEmissiveColor(description.emissive);
    material.SetSpecularShininess(description.shininess);
    material.SetFlag(0xFFFFFFFFu, false);
    material.SetFlag(description.flags, true);
    return material.Save(path);
}

} // namespace tarsel::tools
