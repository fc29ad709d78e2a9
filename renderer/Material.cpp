#include "renderer/Material.h"

#include "renderer/RenderSystem.h"

#include "renderer/INIFile.h"

namespace ZOR {

// Materials are made on the loader threads as well as the main thread.
std::atomic<std::uint32_t> Material::s_nextId{0};

Material::Material(const Handle& constantBuffer)
    : m_data{Color(1.0f, 1.0f, 1.0f, 1.0f), Color(0.0f, 0.0f, 0.0f, 0.0f), 0.0f, NO_SPECULAR | STANDARD_NORMALS},
      m_id(s_nextId.fetch_add(1)), m_constantBuffer(&constantBuffer)
{
}

void Material::Load(const std::string& path)
{
    INIFile file;
    if (!file.Load(path))
        return;
    m_blendMode = static_cast<BlendMode>(file.Read<unsigned int>("BLEND_MODE", "VALUE"));
    for (std::uint32_t map = 0; map < TEXTURE_COUNT; ++map)
        m_textureNames[map] = file.Read<std::string>("TEXTURE_MAP", std::to_string(map));
    m_data.diffuse.r = file.Read<float>("DIFFUSE_COLOR", "R");
    m_data.diffuse.g = file.Read<float>("DIFFUSE_COLOR", "G");
    m_data.diffuse.b = file.Read<float>("DIFFUSE_COLOR", "B");
    m_data.emissive.r = file.Read<float>("EMISSIVE_COLOR", "R");
    m_data.emissive.g = file.Read<float>("EMISSIVE_COLOR", "G");
    m_data.emissive.b = file.Read<float>("EMISSIVE_COLOR", "B");
    m_data.specularShininess = file.Read<float>("SPECULAR", "SHININESS");

    m_data.flags = 0;
    const std::string specular = file.Read<std::string>("SPECULAR", "TYPE");
    if (specular == "full")
        m_data.flags |= FULL_SPECULAR;
    else if (specular.find("approx") != std::string::npos)
        m_data.flags |= APPROXIMATE_SPECULAR;
    else if (specular == "map")
        m_data.flags |= SPECULAR_MAP;
    else
        m_data.flags |= NO_SPECULAR;
    m_data.flags |= file.Read<std::string>("NORMAL", "TYPE") == "map" ? NORMAL_MAP : STANDARD_NORMALS;
}

bool Material::Save(const std::string& path) const
{
    INIFile file;
    file.Write("BLEND_MODE", "VALUE", static_cast<unsigned int>(m_blendMode));
    for (std::uint32_t map = 0; map < TEXTURE_COUNT; ++map)
        file.Write("TEXTURE_MAP", std::to_string(map), m_textureNames[map]);
    file.Write("DIFFUSE_COLOR", "R", m_data.diffuse.r);
    file.Write("DIFFUSE_COLOR", "G", m_data.diffuse.g);
    file.Write("DIFFUSE_COLOR", "B", m_data.diffuse.b);
    file.Write("EMISSIVE_COLOR", "R", m_data.emissive.r);
    file.Write("EMISSIVE_COLOR", "G", m_data.emissive.g);
    file.Write("EMISSIVE_COLOR", "B", m_data.emissive.b);
    file.Write("SPECULAR", "SHININESS", m_data.specularShininess);
    const char* specular = GetFlag(SPECULAR_MAP) ? "map"
                           : GetFlag(FULL_SPECULAR) ? "full"
                           : GetFlag(APPROXIMATE_SPECULAR) ? "approximate"
                                                          : "none";
    file.Write("SPECULAR", "TYPE", specular);
    file.Write("NORMAL", "TYPE", GetFlag(NORMAL_MAP) ? "map" : "standard");
    return file.Save(path);
}

void Material::Bind(RenderContext* context) const
{
    context->CopyData(*m_constantBuffer, &m_data, sizeof(Data));
    context->BindTextures(TEXTURE_COUNT, m_textures);
}

void Material::SetTextureName(const std::string& name, std::uint32_t map)
{
    m_textureNames[map] = name;
    m_dirty = true;
}

bool MaterialSortLess(const Material* a, const Material* b)
{
    return a->GetID() < b->GetID();
}

bool MaterialSortGreater(const Material* a, const Material* b)
{
    return a->GetID() > b->GetID();
}

void Material::Update(RenderSystem* renderSystem)
{
    if (!m_dirty || renderSystem == nullptr)
        return;
    m_dirty = false;
    for (std::uint32_t k = 0; k < TEXTURE_COUNT; ++k)
        m_textures[k] = renderSystem->GetTexture(m_textureNames[k]);
}

} // namespace ZOR
