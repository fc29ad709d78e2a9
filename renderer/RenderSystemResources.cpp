// The render system's asset caches, its initialisation, the shader set and the full-screen passes.
#include "renderer/RenderSystem.h"

#include "renderer/Animation.h"
#include "renderer/Font.h"
#include "renderer/Material.h"
#include "renderer/Model.h"

#include <stdexcept>
#include <utility>

namespace ZOR {

namespace {

// The text of the exception a lookup by an unknown key raises; callers catch std::out_of_range.
constexpr const char* kInvalidKey = "invalid unordered_map<K, T> key";

using Layout = std::vector<InputElement>;

Layout ScreenQuadLayout()
{
    return {{"POSITION", Format::R32G32_FLOAT, false}, {"UV", Format::R32G32_FLOAT, false}};
}

Layout SpriteLayout()
{
    Layout layout = ScreenQuadLayout();
    layout.emplace_back("INSTANCE_POSITION", Format::R32G32_FLOAT, true);
    layout.emplace_back("INSTANCE_SIZE", Format::R32G32_FLOAT, true);
    layout.emplace_back("INSTANCE_FRAME_DATA", Format::R32G32B32A32_FLOAT, true);
    layout.emplace_back("INSTANCE_ALPHA", Format::R32_FLOAT, true);
    return layout;
}

Layout StaticMeshLayout()
{
    return {{"POSITION", Format::R32G32B32A32_FLOAT, false},
            {"NORMAL", Format::R32G32B32_FLOAT, false},
            {"TANGENT", Format::R32G32B32_FLOAT, false},
            {"BITANGENT", Format::R32G32B32_FLOAT, false},
            {"UV", Format::R32G32_FLOAT, false}};
}

void AppendModelInstance(Layout& layout)
{
    for (int i = 0; i < 4; ++i)
        layout.emplace_back("WORLD_MATRIX", Format::R32G32B32A32_FLOAT, true);
    for (int i = 0; i < 4; ++i)
        layout.emplace_back("NORMAL_MATRIX", Format::R32G32B32A32_FLOAT, true);
    layout.emplace_back("GLOW_STRENGTH", Format::R32_FLOAT, true);
}

void AppendSkin(Layout& layout)
{
    layout.emplace_back("BONE_IDS", Format::R32G32B32A32_UINT, false);
    layout.emplace_back("WEIGHTS", Format::R32G32B32A32_FLOAT, false);
}

Layout InstancedMeshLayout()
{
    Layout layout = StaticMeshLayout();
    AppendModelInstance(layout);
    return layout;
}

Layout SkinnedMeshLayout()
{
    Layout layout = StaticMeshLayout();
    AppendSkin(layout);
    return layout;
}

Layout PositionLayout()
{
    return {{"POSITION", Format::R32G32B32_FLOAT, false}};
}

Layout InstancedPositionLayout()
{
    Layout layout = PositionLayout();
    AppendModelInstance(layout);
    return layout;
}

Layout SkinnedPositionLayout()
{
    Layout layout = PositionLayout();
    AppendSkin(layout);
    return layout;
}

Layout PointLightLayout()
{
    Layout layout = PositionLayout();
    layout.emplace_back("WORLD_POSITION", Format::R32G32B32A32_FLOAT, true);
    layout.emplace_back("COLOR", Format::R32G32B32A32_FLOAT, true);
    layout.emplace_back("RADIUS", Format::R32_FLOAT, true);
    layout.emplace_back("INTENSITY", Format::R32_FLOAT, true);
    return layout;
}

Layout SpotLightLayout()
{
    Layout layout = PositionLayout();
    layout.emplace_back("WORLD_POSITION", Format::R32G32B32A32_FLOAT, true);
    layout.emplace_back("DIRECTION", Format::R32G32B32A32_FLOAT, true);
    layout.emplace_back("COLOR", Format::R32G32B32A32_FLOAT, true);
    layout.emplace_back("RADIUS", Format::R32_FLOAT, true);
    layout.emplace_back("INNER_ALPHA", Format::R32_FLOAT, true);
    layout.emplace_back("OUTER_ALPHA", Format::R32_FLOAT, true);
    layout.emplace_back("INTENSITY", Format::R32_FLOAT, true);
    return layout;
}

Layout ParticleLayout()
{
    Layout layout = ScreenQuadLayout();
    layout.emplace_back("PARTICLE_POSITION", Format::R32G32B32_FLOAT, true);
    layout.emplace_back("PARTICLE_SCALE", Format::R32_FLOAT, true);
    layout.emplace_back("PARTICLE_ROTATION", Format::R32_FLOAT, true);
    layout.emplace_back("PARTICLE_ALPHA", Format::R32_FLOAT, true);
    layout.emplace_back("PARTICLE_COLOR", Format::R32G32B32A32_FLOAT, true);
    return layout;
}

Layout LineLayout()
{
    return {{"POSITION", Format::R32G32B32A32_FLOAT, false}, {"COLOR", Format::R32G32B32A32_FLOAT, false}};
}

Layout DynamicMeshLayout()
{
    return {{"WORLD_POSITION", Format::R32G32B32_FLOAT, false},
            {"UV", Format::R32G32_FLOAT, false},
            {"ALPHA", Format::R32_FLOAT, false}};
}

struct VertexShaderFile {
    const char* name;
    Layout (*layout)();
};

// In creation order.
const VertexShaderFile kVertexShaders[] = {
    {"ZOR_FullscreenQuad.vs", ScreenQuadLayout},
    {"ZOR_Renderable2D.vs", SpriteLayout},
    {"ZOR_Renderable3D.vs", StaticMeshLayout},
    {"ZOR_Renderable3DInstanced.vs", InstancedMeshLayout},
    {"ZOR_Renderable3DSkinned.vs", SkinnedMeshLayout},
    {"ZOR_Renderable3DShadow.vs", StaticMeshLayout},
    {"ZOR_Renderable3DInstancedShadow.vs", InstancedMeshLayout},
    {"ZOR_Renderable3DSkinnedShadow.vs", SkinnedMeshLayout},
    {"ZOR_PointLight.vs", PointLightLayout},
    {"ZOR_ShadowPass.vs", PositionLayout},
    {"ZOR_ShadowPassInstanced.vs", InstancedPositionLayout},
    {"ZOR_ShadowPassSkinned.vs", SkinnedPositionLayout},
    {"ZOR_Particle.vs", ParticleLayout},
    {"ZOR_Line.vs", LineLayout},
    {"ZOR_Sky.vs", StaticMeshLayout},
    {"ZOR_Text.vs", ScreenQuadLayout},
    {"ZOR_BillboardedQuad.vs", ScreenQuadLayout},
    {"ZOR_DynamicMesh.vs", DynamicMeshLayout},
    {"ZOR_SpotLight.vs", SpotLightLayout},
    {"ZOR_Decal.vs", PositionLayout},
};

// In creation order.
const char* const kPixelShaders[] = {
    "ZOR_FullscreenQuad.ps",   "ZOR_Renderable2D.ps",      "ZOR_Renderable3D.ps",       "ZOR_Renderable3DShadow.ps",
    "ZOR_FinalPass.ps",        "ZOR_FinalPassNoLighting.ps", "ZOR_DirectionalLight.ps", "ZOR_PointLight.ps",
    "ZOR_HorizontalBlur.ps",   "ZOR_VerticalBlur.ps",      "ZOR_Bloom.ps",              "ZOR_Threshold.ps",
    "ZOR_ShadowPass.ps",       "ZOR_Particle.ps",          "ZOR_SSAO.ps",               "ZOR_Line.ps",
    "ZOR_Sky.ps",              "ZOR_DepthOfField.ps",      "ZOR_GodRaysLightMask.ps",   "ZOR_GodRays.ps",
    "ZOR_Text.ps",             "ZOR_BillboardedQuad.ps",   "ZOR_DynamicMesh.ps",        "ZOR_EdgeDetection.ps",
    "ZOR_SpotLight.ps",        "ZOR_GlobalVolumetricFog.ps", "ZOR_Decal.ps",            "ZOR_BilateralBlur.ps",
    "ZOR_RadialBlur.ps",       "ZOR_ChromaticAberration.ps", "ZOR_Fade.ps",
};

struct QuadVertex {
    float x, y, u, v;
};

const QuadVertex kCentredQuad[6] = {
    {-0.5f, 0.5f, 0.0f, 0.0f}, {0.5f, -0.5f, 1.0f, 1.0f}, {0.5f, 0.5f, 1.0f, 0.0f},
    {-0.5f, 0.5f, 0.0f, 0.0f}, {-0.5f, -0.5f, 0.0f, 1.0f}, {0.5f, -0.5f, 1.0f, 1.0f},
};
const QuadVertex kCornerQuad[6] = {
    {0.0f, 0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 0.0f, 1.0f, 0.0f},
    {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f},
};
const std::uint32_t kQuadIndices[6] = {0, 1, 2, 0, 2, 3};

struct TargetDesc {
    Format format;
    float extraScale;
    bool particleQuality;
    bool ssaoQuality;
};

const TargetDesc kScreenTargets[RenderSystem::Screen::kTargetCount] = {
    {Format::R8G8B8A8_UNORM, 1.0f, false, false},     {Format::R8G8B8A8_UNORM, 1.0f, false, false},
    {Format::R8G8B8A8_UNORM, 0.5f, false, false},     {Format::R8G8B8A8_UNORM, 1.0f, false, false},
    {Format::R8G8B8A8_UNORM, 1.0f, false, false},     {Format::R16G16B16A16_FLOAT, 1.0f, false, false},
    {Format::R8_UNORM, 1.0f, false, false},           {Format::R8G8B8A8_UNORM, 1.0f, true, false},
    {Format::R16_FLOAT, 1.0f, false, true},           {Format::R8G8B8A8_UNORM, 1.0f, false, false},
    {Format::R8_UNORM, 1.0f, false, false},
};

} // namespace

const std::array<std::uint32_t, RenderSystem::kConstantBufferCount> RenderSystem::kConstantBufferSizes = {
    80, 320, 132, 5120, 24, 32, 24, 40, 72, 96, 32, 16, 16};

// Caches ------------------------------------------------------------------------------------

std::string RenderSystem::GetResourceName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

template <typename Entry>
Entry* RenderSystem::Find(Cache<Entry>& cache, const std::string& name)
{
    std::unique_lock<std::mutex> lock(cache.mutex, std::defer_lock);
    if (m_protectResourceAcquisitions)
        lock.lock();
    const auto found = cache.entries.find(name);
    return found == cache.entries.end() ? nullptr : &found->second;
}

namespace {

// Looks the key up under the cache's lock.
template <typename Map>
bool Cached(Map& entries, std::mutex& mutex, const std::string& key)
{
    std::lock_guard lock(mutex);
    return entries.find(key) != entries.end();
}

} // namespace

bool RenderSystem::LoadTexture(const std::string& path)
{
    const std::string key = GetResourceName(path);
    if (Cached(m_textures.entries, m_textures.mutex, key))
        return true;
    Handle handle;
    if (!m_context->CreateTexture(handle, path, true)) {
        if (handle)
            m_context->Release(handle);
        return false;
    }
    {
        std::lock_guard lock(m_textures.mutex);
        if (m_textures.entries.emplace(key, handle).second)
            return true;
    }
    // Another thread cached the name meanwhile: its entry stays, this copy goes.
    m_context->Release(handle);
    return true;
}

void RenderSystem::ReleaseModel(RenderContext* context, Model* model)
{
    // Both streams: the full vertices and the positions that the shadow passes read.
    for (bool positionStream : {false, true}) {
        const Handle& buffer = model->GetVertexBuffer(positionStream);
        if (buffer)
            context->Release(buffer);
    }
}

bool RenderSystem::LoadModel(const std::string& path)
{
    const std::string key = GetResourceName(path);
    if (Cached(m_models.entries, m_models.mutex, key))
        return true;
    auto model = std::make_unique<Model>();
    if (!model->Load(m_context.get(), path)) {
        ReleaseModel(m_context.get(), model.get());
        return false;
    }
    {
        std::lock_guard lock(m_models.mutex);
        if (m_models.entries.emplace(key, std::move(model)).second)
            return true;
    }
    ReleaseModel(m_context.get(), model.get());
    return true;
}

bool RenderSystem::LoadAnimation(const std::string& path)
{
    const std::string key = GetResourceName(path);
    if (Cached(m_animations.entries, m_animations.mutex, key))
        return true;
    auto animation = std::make_unique<Animation>();
    if (!animation->Load(path))
        return false;
    std::lock_guard lock(m_animations.mutex);
    m_animations.entries.emplace(key, std::move(animation));
    return true;
}

bool RenderSystem::LoadMaterial(const std::string& path)
{
    const std::string key = GetResourceName(path);
    if (Cached(m_materials.entries, m_materials.mutex, key))
        return true;
    auto material = std::make_unique<Material>(m_constantBuffers[7]);
    material->Load(path);
    material->SetName(key);
    std::lock_guard lock(m_materials.mutex);
    m_materials.entries.emplace(key, std::move(material));
    return true;
}

bool RenderSystem::LoadFont(const std::string& path)
{
    const std::string key = GetResourceName(path);
    if (Cached(m_fonts.entries, m_fonts.mutex, key))
        return true;
    auto font = std::make_unique<Font>();
    if (!font->Load(path))
        return false;
    std::lock_guard lock(m_fonts.mutex);
    m_fonts.entries.emplace(key, std::move(font));
    return true;
}

const Handle& RenderSystem::GetTexture(const std::string& name)
{
    const Handle* handle = Find(m_textures, name);
    return handle ? *handle : Handle::Null();
}

Model* RenderSystem::GetModel(const std::string& name)
{
    auto* entry = Find(m_models, name);
    return entry ? entry->get() : nullptr;
}

Animation* RenderSystem::GetAnimation(const std::string& name)
{
    auto* entry = Find(m_animations, name);
    return entry ? entry->get() : nullptr;
}

Material* RenderSystem::GetMaterial(const std::string& name)
{
    if (auto* entry = Find(m_materials, name))
        return entry->get();
    if (auto* fallback = Find(m_materials, std::string()))
        return fallback->get();
    throw std::out_of_range(kInvalidKey);
}

Material* RenderSystem::DefaultMaterial()
{
    auto* entry = Find(m_materials, std::string());
    return entry ? entry->get() : nullptr;
}
Font* RenderSystem::GetFont(const std::string& name)
{
    auto* entry = Find(m_fonts, name);
    return entry ? entry->get() : nullptr;
}

void RenderSystem::UnloadTexture(const std::string& name)
{
    const auto found = m_textures.entries.find(name);
    if (found == m_textures.entries.end())
        return;
    if (found->second)
        m_context->Release(found->second);
    m_textures.entries.erase(found);
}

void RenderSystem::UnloadModel(const std::string& name)
{
    const auto found = m_models.entries.find(name);
    if (found == m_models.entries.end())
        return;
    ReleaseModel(m_context.get(), found->second.get());
    m_models.entries.erase(found);
}

void RenderSystem::UnloadAnimation(const std::string& name)
{
    m_animations.entries.erase(name);
}

void RenderSystem::UnloadMaterial(const std::string& name)
{
    m_materials.entries.erase(name);
}

void RenderSystem::UnloadFont(const std::string& name)
{
    m_fonts.entries.erase(name);
}

void RenderSystem::UnloadTextures()
{
    for (auto& [name, handle] : m_textures.entries)
        if (handle)
            m_context->Release(handle);
    m_textures.entries.clear();
}

void RenderSystem::UnloadModels()
{
    for (auto& [name, model] : m_models.entries)
        ReleaseModel(m_context.get(), model.get());
    m_models.entries.clear();
}

void RenderSystem::UnloadAnimations()
{
    m_animations.entries.clear();
}

void RenderSystem::UnloadMaterials()
{
    m_materials.entries.clear();
}

void RenderSystem::UnloadFonts()
{
    m_fonts.entries.clear();
}

const std::vector<Material*>& RenderSystem::GetMaterialSnapshot()
{
    std::lock_guard lock(m_materials.mutex);
    m_materialSnapshot.clear();
    for (auto& [name, material] : m_materials.entries)
        m_materialSnapshot.push_back(material.get());
    return m_materialSnapshot;
}

void RenderSystem::ForceUpdateMaterials()
{
    for (Material* material : GetMaterialSnapshot()) {
        material->ForceDirty();
        material->Update(this);
    }
}

// Initialisation ----------------------------------------------------------------------------

bool RenderSystem::Initialize()
{
    if (m_initialized) {
        Log("Warning: The render system is already initialised; Initialize was called again and does nothing.");
        return true;
    }
    m_context->SetTargetWindow(m_window);
    if (!m_context->Initialize())
        return false;

    UpdateScreenLayout(false);

    m_context->CreateVertexBuffer(m_centredQuad, BufferUsage::Static, sizeof(kCentredQuad), kCentredQuad);
    m_context->CreateIndexBuffer(m_quadIndices, BufferUsage::Static, sizeof(kQuadIndices), kQuadIndices);
    m_context->CreateVertexBuffer(m_cornerQuad, BufferUsage::Static, sizeof(kCornerQuad), kCornerQuad);
    m_context->BindIndexBuffer(m_quadIndices);

    // Buffers 1-10, then 12, 11, 13 (by the table's numbering).
    for (std::uint32_t i : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 11u, 10u, 12u})
        m_context->CreateConstantBuffer(m_constantBuffers[i], kConstantBufferSizes[i]);
    const Handle vertexSlots[] = {m_constantBuffers[1], m_constantBuffers[0], m_constantBuffers[8],
                                  m_constantBuffers[2], m_constantBuffers[3], m_constantBuffers[4],
                                  m_constantBuffers[6]};
    const Handle pixelSlots[] = {m_constantBuffers[1], m_constantBuffers[7],  m_constantBuffers[5],
                                 m_constantBuffers[9], m_constantBuffers[11], m_constantBuffers[8],
                                 m_constantBuffers[0], m_constantBuffers[10], m_constantBuffers[12]};
    m_context->BindConstantBuffers(7, vertexSlots, ObjectType::VertexShader);
    m_context->BindConstantBuffers(9, pixelSlots, ObjectType::PixelShader);

    // The default texture: an XOR pattern, so a missing texture is plain to see.
    constexpr std::uint32_t kSide = 512;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide * 4);
    for (std::uint32_t y = 0; y < kSide; ++y) {
        for (std::uint32_t x = 0; x < kSide; ++x) {
            std::uint8_t* texel = &pixels[(static_cast<std::size_t>(y) * kSide + x) * 4];
            const auto value = static_cast<std::uint8_t>((x ^ y) & 0xFF);
            texel[0] = texel[1] = texel[2] = value;
            texel[3] = 255;
        }
    }
    Handle defaultTexture;
    m_context->CreateTexture(defaultTexture, pixels.data(), Dimension(kSide, kSide), Format::R8G8B8A8_UNORM);
    {
        std::lock_guard lock(m_textures.mutex);
        Handle& entry = m_textures.entries[std::string()];
        if (entry)
            m_context->Release(entry);
        entry = defaultTexture;
    }
    auto material = std::make_unique<Material>(m_constantBuffers[7]);
    material->SetSpecularShininess(50.0f);
    material->SetDiffuseColor(Color(1.0f, 1.0f, 1.0f, 1.0f));
    material->SetEmissiveColor(Color(0.0f, 0.0f, 0.0f, 0.0f));
    material->SetFlag(Material::STANDARD_NORMALS, true);
    material->SetFlag(Material::FULL_SPECULAR, true);
    {
        std::lock_guard lock(m_materials.mutex);
        m_materials.entries[std::string()] = std::move(material);
    }

    SetDefaultSettings();

    m_spriteInstances.Initialize(m_context.get());
    m_pointLightInstances.Initialize(m_context.get());
    m_spotLightInstances.Initialize(m_context.get());
    m_particleInstances.Initialize(m_context.get());
    m_modelInstances.Initialize(m_context.get());
    m_shadowModelInstances.Initialize(m_context.get());

    m_debugDrawers[0].Initialize(m_context.get());
    m_debugDrawers[1].Initialize(m_context.get());

    LoadShaders();

    // Until the game gives the sky a material of its own, it draws with the default one rather
    // than with whatever material was bound last.
    m_skySphere.SetMaterial(DefaultMaterial());

    m_context->SetPrimitiveTopology(PrimitiveTopology::TriangleList);

    m_context->CreateRenderTarget(m_shadowMap, RenderTargetPolicy::FixedSize, Format::R16_FLOAT, 1.0f,
                                  Dimension(4096, 4096));
    m_context->CreateDepthBuffer(m_shadowDepthBuffer, m_shadowMap, Dimension());
    m_initialized = true;
    return true;
}

void RenderSystem::LoadShaders()
{
    for (const VertexShaderFile& file : kVertexShaders) {
        Handle handle;
        if (!m_context->CreateVertexShader(handle, m_shaderPath + file.name, file.layout(), true, "main"))
            Log("Error: vertex shader \"%s%s\" is not available", m_shaderPath.c_str(), file.name);
        m_vertexShaders[file.name] = handle;
    }
    for (const char* name : kPixelShaders) {
        Handle handle;
        if (!m_context->CreatePixelShader(handle, m_shaderPath + name, true, "main"))
            Log("Error: pixel shader \"%s%s\" is not available", m_shaderPath.c_str(), name);
        m_pixelShaders[name] = handle;
    }
}

std::vector<std::string> RenderSystem::GetMissingShaders() const
{
    std::vector<std::string> missing;
    for (const VertexShaderFile& file : kVertexShaders) {
        const auto found = m_vertexShaders.find(file.name);
        if (found == m_vertexShaders.end() || !found->second)
            missing.emplace_back(file.name);
    }
    for (const char* name : kPixelShaders) {
        const auto found = m_pixelShaders.find(name);
        if (found == m_pixelShaders.end() || !found->second)
            missing.emplace_back(name);
    }
    return missing;
}

void RenderSystem::CreateScreenTarget(Screen& screen, std::uint32_t target)
{
    const TargetDesc& desc = kScreenTargets[target];
    float scale = QualityScale(m_graphicsQuality) * desc.extraScale;
    if (desc.particleQuality)
        scale *= QualityScale(m_particleQuality);
    if (desc.ssaoQuality)
        scale *= QualityScale(m_ssaoQuality);
    m_context->CreateRenderTarget(screen.m_targets[target], RenderTargetPolicy::FixedSize, desc.format, scale,
                                  screen.m_viewport.size);
}

void RenderSystem::CreateScreenTargets()
{
    for (unsigned i = 0; i < m_activeScreens && i < kScreenCount; ++i) {
        Screen& screen = m_screens[i];
        for (std::uint32_t t = 0; t < Screen::kTargetCount; ++t)
            CreateScreenTarget(screen, t);
        for (Handle& depth : screen.m_depthBuffers)
            m_context->CreateDepthBuffer(depth, screen.m_targets[0], Dimension());
        screen.m_group3[0] = screen.m_targets[3];
        screen.m_group3[1] = screen.m_targets[4];
        screen.m_group3[2] = screen.m_targets[6];
        screen.m_group5[0] = screen.m_targets[3];
        screen.m_group5[1] = screen.m_targets[5];
        screen.m_group5[2] = screen.m_targets[6];
        screen.m_group5[3] = screen.m_targets[8];
        screen.m_group5[4] = screen.m_targets[9];
        const Dimension size = m_context->GetTextureSize(screen.m_targets[0]);
        screen.m_block.targetSize = float2(static_cast<float>(size.width), static_cast<float>(size.height));
    }
    m_context->CreateRenderTarget(m_compositeTarget, RenderTargetPolicy::ScreenSize, Format::R8G8B8A8_UNORM, 1.0f,
                                  Dimension());
    m_screenTargetsDirty = false;
}

void RenderSystem::ReleaseResources()
{
    const auto release = [this](Handle& handle) {
        if (handle)
            m_context->Release(handle);
    };
    for (Screen& screen : m_screens) {
        for (Handle& target : screen.m_targets)
            release(target);
        for (Handle& depth : screen.m_depthBuffers)
            release(depth);
    }
    release(m_compositeTarget);
    release(m_shadowDepthBuffer);
    release(m_shadowMap);
    release(m_centredQuad);
    release(m_quadIndices);
    release(m_cornerQuad);
    for (Handle& buffer : m_constantBuffers)
        release(buffer);
    for (auto& [name, handle] : m_vertexShaders)
        release(handle);
    for (auto& [name, handle] : m_pixelShaders)
        release(handle);
    m_spriteInstances.Release();
    m_pointLightInstances.Release();
    m_spotLightInstances.Release();
    m_particleInstances.Release();
    m_modelInstances.Release();
    m_shadowModelInstances.Release();
}

// Full-screen passes ------------------------------------------------------------------------

const Handle& RenderSystem::GetVertexShader(std::string_view name) const
{
    const auto found = m_vertexShaders.find(name);
    if (found == m_vertexShaders.end())
        throw std::out_of_range(kInvalidKey);
    return found->second;
}

const Handle& RenderSystem::GetPixelShader(std::string_view name) const
{
    const auto found = m_pixelShaders.find(name);
    if (found == m_pixelShaders.end())
        throw std::out_of_range(kInvalidKey);
    return found->second;
}

void RenderSystem::BindFullscreenVertexShader()
{
    if (m_fullscreenVertexShaderBound)
        return;
    m_fullscreenVertexShaderBound = true;
    m_context->SetDepthTesting(false);
    m_context->SetDepthWriting(false);
    m_context->BindVertexShader(GetVertexShader("ZOR_FullscreenQuad.vs"));
}

void RenderSystem::FullscreenPass(const Handle& target, const Handle& source, std::string_view pixelShader,
                                  bool setViewport)
{
    const Handle& shader = GetPixelShader(pixelShader);
    BindFullscreenVertexShader();
    m_context->BindPixelShader(shader);
    if (setViewport)
        m_context->SetViewport(m_context->GetViewport(target));
    m_context->BindRenderTarget(target);
    m_context->BindTexture(0, source);
    // A shader that failed to load was reported when it was loaded; its pass is skipped.
    if (shader && GetVertexShader("ZOR_FullscreenQuad.vs"))
        m_context->Draw(3, 0);
    m_context->BindRenderTarget(Handle::Null());
    m_context->BindTexture(0, Handle::Null());
}

void RenderSystem::ApplyScreenEffect(const Handle& target, std::string_view pixelShader)
{
    GetPixelShader(pixelShader);
    // Copied: the ping-pong handle must not change under the passes that read it.
    const Handle pingPong = m_currentScreen->m_targets[1];
    FullscreenPass(pingPong, target, pixelShader, true);
    FullscreenPass(target, pingPong, "ZOR_FullscreenQuad.ps", true);
}

} // namespace ZOR
