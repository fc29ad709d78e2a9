#pragma once
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/Color.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace ZOR {

// Surface parameters of a renderable, read from a material file: colours, shininess, flags, a
// blend mode and four texture names with their resolved handles. Materials are numbered in the
// order they are made, and draws are sorted by that number.
class RenderSystem;

class Material {
public:
    enum Flag : std::uint32_t {
        NO_SPECULAR = 1,
        FULL_SPECULAR = 2,
        APPROXIMATE_SPECULAR = 4,
        SPECULAR_MAP = 8,
        STANDARD_NORMALS = 16,
        NORMAL_MAP = 32,
    };
    // The four texture slots; which texture goes where is the shaders' choice.
    enum TextureMap : std::uint32_t { TEXTURE_0 = 0, TEXTURE_1 = 1, TEXTURE_2 = 2, TEXTURE_3 = 3, TEXTURE_COUNT = 4 };

    // The block copied into the material constant buffer.
    struct Data {
        Color diffuse;
        Color emissive;
        float specularShininess;
        std::uint32_t flags;
    };

    // constantBuffer is the shared material constant buffer (not owned; it must outlive the
    // material).
    explicit Material(const Handle& constantBuffer);
    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    // Reads a material file; a file that cannot be read leaves the material as it was.
    void Load(const std::string& path);
    // Writes the material's keys to a material file; false when it cannot be written.
    bool Save(const std::string& path) const;
    // Uploads the data block and binds the four textures.
    void Bind(RenderContext* context) const;

    // When marked, looks the four texture names up again in the render system's texture cache
    // (an empty name gives the default texture, an unknown one the null handle).
    void Update(RenderSystem* renderSystem);
    const Handle& GetTexture(std::uint32_t map) const { return m_textures[map]; }

    void ForceDirty() { m_dirty = true; }
    bool IsDirty() const { return m_dirty; }

    const Data& GetData() const { return m_data; }
    const Color& GetDiffuseColor() const { return m_data.diffuse; }
    const Color& GetEmissiveColor() const { return m_data.emissive; }
    float GetSpecularShininess() const { return m_data.specularShininess; }
    // True when any bit of flag is set.
    bool GetFlag(std::uint32_t flag) const { return (m_data.flags & flag) != 0; }
    BlendMode GetBlendMode() const { return m_blendMode; }
    std::uint32_t GetID() const { return m_id; }
    const std::string& GetTextureName(std::uint32_t map) const { return m_textureNames[map]; }
    const std::string& GetName() const { return m_name; }

    void SetName(const std::string& name) { m_name = name; }
    void SetDiffuseColor(const Color& color) { m_data.diffuse = color; }
    void SetEmissiveColor(const Color& color) { m_data.emissive = color; }
    void SetSpecularShininess(float shininess) { m_data.specularShininess = shininess; }
    // Sets or clears the bits of flag.
    void SetFlag(std::uint32_t flag, bool on) { m_data.flags = on ? (m_data.flags | flag) : (m_data.flags & ~flag); }
    void SetBlendMode(BlendMode mode) { m_blendMode = mode; }
    // Marks the material for resolving its textures again.
    void SetTextureName(const std::string& name, std::uint32_t map);

    bool operator<(const Material& other) const { return m_id < other.m_id; }
    bool operator>(const Material& other) const { return m_id > other.m_id; }

private:
    std::string m_name;
    bool m_dirty = true;
    Data m_data;
    BlendMode m_blendMode = static_cast<BlendMode>(0xFFFFFFFFu);
    std::string m_textureNames[TEXTURE_COUNT];
    Handle m_textures[TEXTURE_COUNT];
    std::uint32_t m_id;
    const Handle* m_constantBuffer;

    static std::atomic<std::uint32_t> s_nextId;
};

static_assert(sizeof(Material::Data) == 40, "the material block is 40 bytes");

// Sort orders by material id, ascending and descending.
bool MaterialSortLess(const Material* a, const Material* b);
bool MaterialSortGreater(const Material* a, const Material* b);

} // namespace ZOR
