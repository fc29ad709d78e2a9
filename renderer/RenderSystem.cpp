#include "renderer/RenderSystem.h"

#include "platform/NativeWindow.h"
#include "renderer/Animation.h"
#include "renderer/BillboardedQuad.h"
#include "renderer/DirectionalLight.h"
#include "renderer/DynamicMesh.h"
#include "renderer/Font.h"
#include "renderer/Hash.h"
#include "renderer/Material.h"
#include "renderer/Model.h"
#include "renderer/Octree.h"
#include "renderer/Renderable2D.h"
#include "renderer/Renderable3DSkinned.h"
#include "renderer/Text.h"
#include "renderer/Window.h"
#include "renderer/dx11/DXRenderContext.h"
#include "renderer/math/Angles.h"

#include <algorithm>
#include <stdexcept>

namespace ZOR {

namespace {

template <typename T>
void EraseFirst(std::vector<T*>& list, T* item)
{
    const auto found = std::find(list.begin(), list.end(), item);
    if (found != list.end())
        list.erase(found);
}

// a / b, or 1 when b is zero: a display that reports a 0-pixel side must not make the
// projections infinite.
float Ratio(float a, float b)
{
    return b > 0.0f ? a / b : 1.0f;
}

} // namespace

float RenderSystem::QualityScale(Quality quality)
{
    switch (quality) {
    case Low:
        return 0.4f;
    case Medium:
        return 0.6f;
    case High:
        return 0.8f;
    case Ultra:
        break;
    }
    return 1.0f;
}

RenderSystem::Screen::Screen()
{
    m_cameras.emplace_back();
}

unsigned RenderSystem::Screen::AddCamera()
{
    m_cameras.emplace_back();
    return static_cast<unsigned>(m_cameras.size() - 1);
}

void RenderSystem::Screen::SetActiveCamera(unsigned i)
{
    if (i < m_cameras.size())
        m_activeCamera = i;
}

RenderSystem::RenderSystem(const Config& config, platform::NativeWindow* const& window)
    : RenderSystem(std::make_shared<DXRenderContext>(config), window)
{
}

RenderSystem::RenderSystem(std::shared_ptr<RenderContext> context, platform::NativeWindow* const& window)
    : m_context(std::move(context)), m_window(window), m_fov(60.0f * kDegreesToRadians)
{
    // The sky sphere is never registered, yet it looks its material up by name like the rest.
    m_skySphere.m_owner = this;
}

RenderSystem::~RenderSystem()
{
    UnloadFonts();
    UnloadAnimations();
    UnloadModels();
    UnloadMaterials();
    UnloadTextures();
    // Registered renderables are borrowed and may already be gone: they are not touched here.
    ReleaseResources();
}

// Screens -----------------------------------------------------------------------------------

void RenderSystem::AddScreen(bool instant)
{
    if (m_activeScreens >= kScreenCount)
        return;
    ++m_activeScreens;
    m_layoutDirty = true;
    m_layoutInstant = instant;
}

void RenderSystem::RemoveScreen(bool instant)
{
    if (m_activeScreens <= 1)
        return;
    --m_activeScreens;
    m_layoutDirty = true;
    m_layoutInstant = instant;
}

RenderSystem::Screen& RenderSystem::GetScreen(int id)
{
    if (id < 0 || id >= static_cast<int>(kScreenCount)) {
        Log("Error: there is no screen %d", id);
        throw std::out_of_range("screen id outside 0-3");
    }
    return m_screens[id];
}

void RenderSystem::UpdateScreenLayout(bool instant)
{
    const std::vector<DisplayMode>& modes = m_context->GetDisplayModeList();
    // Before the context has started there is no mode list to take the full-screen aspect
    // from; Initialize lays the screens out once there is.
    if (modes.empty())
        return;
    const bool fullscreen = m_context->GetFullscreen();
    const Dimension current = m_context->GetCurrentDisplayMode().resolution;
    const Dimension last = modes.back().resolution;
    const float lw = static_cast<float>(last.width);
    const float lh = static_cast<float>(last.height);
    const std::uint32_t w = current.width;
    const std::uint32_t h = current.height;
    const std::uint32_t halfW = w / 2;
    const std::uint32_t halfH = h / 2;

    m_fullscreenAspectRatio = Ratio(lw, lh);
    float a1, a2, a4;
    if (fullscreen) {
        a1 = Ratio(lw, lh);
        a2 = Ratio(lw, lh * 0.5f);
        a4 = Ratio(lw * 0.5f, lh * 0.5f);
    } else {
        a1 = Ratio(static_cast<float>(w), static_cast<float>(h));
        a2 = Ratio(static_cast<float>(w), static_cast<float>(halfH));
        a4 = Ratio(static_cast<float>(halfW), static_cast<float>(halfH));
    }
    const float slide = instant ? 0.0f : m_screenTweenDuration;

    const float height = m_orthographicSize.y;
    for (Screen& screen : m_screens)
        screen.m_orthographicSize.y = height;
    m_orthographicSize.x = height * a1;
    m_orthographicProjection.SetOrthographic(0.0f, m_orthographicSize.x, height, 0.0f, 0.0f, 1.0f);

    struct Place {
        std::uint32_t x, y, width, height;
        float aspect;
    };
    Place places[kScreenCount] = {};
    switch (m_activeScreens) {
    case 1:
        places[0] = {0, 0, w, h, a1};
        break;
    case 2:
        places[0] = {0, 0, w, halfH, a2};
        places[1] = {0, halfH, w, halfH, a2};
        break;
    case 3:
        places[0] = {0, 0, w, halfH, a2};
        places[1] = {0, halfH, halfW, halfH, a4};
        places[2] = {halfW, halfH, halfW, halfH, a4};
        break;
    default:
        places[0] = {0, 0, halfW, halfH, a4};
        places[1] = {halfW, 0, halfW, halfH, a4};
        places[2] = {0, halfH, halfW, halfH, a4};
        places[3] = {halfW, halfH, halfW, halfH, a4};
        break;
    }
    for (unsigned i = 0; i < m_activeScreens && i < kScreenCount; ++i) {
        Screen& screen = m_screens[i];
        const Place& place = places[i];
        screen.m_viewport.Set(static_cast<std::int32_t>(place.x), static_cast<std::int32_t>(place.y),
                              Dimension(place.width, place.height), 0.0f, 1.0f);
        screen.m_slideTime = slide;
        screen.m_slideX = static_cast<float>(place.x);
        screen.m_slideY = static_cast<float>(place.y);
        screen.m_orthographicSize.x = height * place.aspect;
    }
    m_layoutDirty = false;
    m_screenTargetsDirty = true;
}

// Renderables -------------------------------------------------------------------------------

void RenderSystem::AddRenderable(Renderable2D* sprite)
{
    m_2dList.push_back(sprite);
    m_2dNeedsSorting = true;
    sprite->m_owner = this;
    if (sprite->GetMaterial() == nullptr) {
        Material* material = DefaultMaterial();
        sprite->SetMaterial(material);
        if (material)
            sprite->m_hash = FNV1a(material->GetID());
    }
}

void RenderSystem::RemoveRenderable(Renderable2D* sprite)
{
    EraseFirst(m_2dList, sprite);
}

void RenderSystem::AddRenderable(Text* text)
{
    m_textList.push_back(text);
    m_textNeedsSorting = true;
    text->m_owner = this;
}

void RenderSystem::AddRenderable(DirectionalLight* light)
{
    m_directionalLights.push_back(light);
    light->m_owner = this;
}

void RenderSystem::AddRenderable(SpotLight* light)
{
    m_spotLights.push_back(light);
    light->m_owner = this;
}

void RenderSystem::AddRenderable(DynamicMesh* mesh)
{
    m_dynamicMeshes.push_back(mesh);
    mesh->m_owner = this;
    m_context->CreateVertexBuffer(mesh->m_vertexBuffer, BufferUsage::Dynamic,
                                  mesh->MaxVerts() * static_cast<std::uint32_t>(sizeof(DynamicMeshVertex)), nullptr);
}

void RenderSystem::AddRenderable(Renderable* renderable)
{
    if (renderable->GetType() == Renderable::Type::BillboardedQuad) {
        auto* quad = static_cast<BillboardedQuad*>(renderable);
        if (quad->GetMaterial() == nullptr)
            quad->SetMaterial(DefaultMaterial());
    } else if (renderable->GetType() == Renderable::Type::Renderable3D) {
        auto* model = static_cast<Renderable3D*>(renderable);
        if (model->GetMaterial() == nullptr)
            model->SetMaterial(DefaultMaterial());
    } else if (renderable->GetType() == Renderable::Type::Renderable3DSkinned) {
        auto* model = static_cast<Renderable3DSkinned*>(renderable);
        if (model->GetMaterial() == nullptr)
            model->SetMaterial(DefaultMaterial());
    }
    renderable->m_owner = this;
    // Without a tree yet the renderable waits in the list; SetOctree files every one of them.
    if (m_octree)
        m_octree->Insert(renderable);
    m_octreeList.push_back(renderable);
}

void RenderSystem::RemoveRenderable(Text* text)
{
    const auto found = std::find(m_textList.begin(), m_textList.end(), text);
    if (found == m_textList.end())
        return;
    // The text pass made the vertex buffer; nothing else frees it, and texts come and go all
    // match long. Added again, the text rebuilds it.
    if (text->GetVertexBuffer())
        m_context->Release(text->GetVertexBuffer());
    text->SetBufferVertexCount(0);
    text->SetDirty(true);
    m_textList.erase(found);
}

void RenderSystem::RemoveRenderable(DirectionalLight* light)
{
    EraseFirst(m_directionalLights, light);
}

void RenderSystem::RemoveRenderable(SpotLight* light)
{
    EraseFirst(m_spotLights, light);
}

void RenderSystem::RemoveRenderable(DynamicMesh* mesh)
{
    const auto found = std::find(m_dynamicMeshes.begin(), m_dynamicMeshes.end(), mesh);
    if (found == m_dynamicMeshes.end())
        return;
    if (mesh->m_vertexBuffer)
        m_context->Release(mesh->m_vertexBuffer);
    m_dynamicMeshes.erase(found);
}

void RenderSystem::RemoveRenderable(Renderable* renderable)
{
    // A removed renderable may be destroyed before the next frame: the working lists must not
    // keep it.
    EraseFirst(m_visible, renderable);
    const auto found = std::find(m_octreeList.begin(), m_octreeList.end(), renderable);
    if (found == m_octreeList.end())
        return;
    if (Octree* node = renderable->GetOctree())
        node->Remove(renderable);
    m_octreeList.erase(found);
}

void RenderSystem::SetOctree(float worldSize, float looseness, unsigned short maxDepth)
{
    // Nodes of the old tree are about to go: no renderable may keep pointing at one.
    for (Renderable* renderable : m_octreeList)
        if (Octree* node = renderable->GetOctree())
            node->Remove(renderable);
    m_octree = std::make_unique<Octree>(worldSize, looseness, maxDepth);
    for (Renderable* renderable : m_octreeList)
        m_octree->Insert(renderable);
}

void RenderSystem::ResolveOctree()
{
    if (!m_octree)
        return;
    for (Renderable* renderable : m_octreeList) {
        renderable->Update(0.0f);
        if (Octree* node = renderable->GetOctree())
            node->Remove(renderable);
        m_octree->Insert(renderable);
    }
}

// Effects -----------------------------------------------------------------------------------

bool RenderSystem::EffectScreenValid(int screen) const
{
    return screen >= -1 && screen < static_cast<int>(kScreenCount);
}

void RenderSystem::EnableEffect(Effect effect, int screen)
{
    if (effect >= kEffectCount || !EffectScreenValid(screen)) {
        Log("Error: effect %u on screen %d does not exist", static_cast<unsigned>(effect), screen);
        return;
    }
    for (int s = 0; s < static_cast<int>(kScreenCount); ++s)
        if (screen == -1 || screen == s)
            m_effects[s * kEffectCount + effect] = true;
}

void RenderSystem::DisableEffect(Effect effect, int screen)
{
    if (effect >= kEffectCount || !EffectScreenValid(screen)) {
        Log("Error: effect %u on screen %d does not exist", static_cast<unsigned>(effect), screen);
        return;
    }
    for (int s = 0; s < static_cast<int>(kScreenCount); ++s)
        if (screen == -1 || screen == s)
            m_effects[s * kEffectCount + effect] = false;
    if (effect == Shadows && m_shadowMap)
        m_context->ClearRenderTarget(m_shadowMap, 1.0f, 1.0f, 1.0f, 1.0f);
}

bool RenderSystem::EffectEnabled(Effect effect, int screen) const
{
    if (effect >= kEffectCount || !EffectScreenValid(screen))
        return false;
    if (screen >= 0)
        return m_effects[screen * kEffectCount + effect];
    for (std::uint32_t s = 0; s < kScreenCount; ++s)
        if (!m_effects[s * kEffectCount + effect])
            return false;
    return true;
}

// Settings ----------------------------------------------------------------------------------

void RenderSystem::SetDefaultSettings()
{
    SetGlobalAmbient(Color(0.4f, 0.4f, 0.4f, 1.0f));
    m_settings.nearPlane = 1.0f;
    m_settings.farPlane = 1000.0f;
    m_settings.dof1 = 100.0f;
    m_settings.dof2 = 200.0f;
    m_settings.bloom2 = 1.5f;
    m_settings.bloom3 = 1.0f;
    m_settings.bloom1 = 0.75f;
    m_settings.ssao1 = 1.0f;
    m_settings.ssao2 = 1.5f;
    m_settings.ssao3 = 0.000001f;
    m_settings.fade = 1.0f;
    m_settings.godRay1 = 0.98f;
    m_settings.godRay2 = 0.99f;
    m_settings.godRay3 = 0.5f;
    m_settings.godRay4 = 0.3f;
    m_settings.godRaySamples = 64;
    m_settings.blurFactor = 2.0f;
    m_settings.fog1 = 0.05f;
    m_settings.fog2 = 0.15f;
    m_settings.fog3 = 0.15f;
    m_settings.fogColor = Color(1.0f, 1.0f, 1.0f, 1.0f);
}

void RenderSystem::SetViewPlanes(float nearPlane, float farPlane)
{
    m_settings.nearPlane = nearPlane;
    m_settings.farPlane = farPlane;
}

void RenderSystem::SetDOFProperties(float a, float b)
{
    m_settings.dof1 = a;
    m_settings.dof2 = b;
}

void RenderSystem::SetBloomProperties(float a, float b, float c)
{
    m_settings.bloom1 = a;
    m_settings.bloom2 = b;
    m_settings.bloom3 = c;
}

void RenderSystem::SetSSAOProperties(float a, float b, float c, float d)
{
    m_settings.ssao1 = a;
    m_settings.ssao2 = b;
    m_settings.ssao3 = c;
    // The block has no word of its own for the fourth value; the frame overwrites this one with
    // the fade factor before every upload.
    m_settings.fade = d;
}

void RenderSystem::SetGodRayProperties(float a, float b, float c, float d, int samples)
{
    m_settings.godRay1 = a;
    m_settings.godRay2 = b;
    m_settings.godRay3 = c;
    m_settings.godRay4 = d;
    m_settings.godRaySamples = samples;
}

void RenderSystem::SetBlurFactor(float factor)
{
    m_settings.blurFactor = factor;
}

void RenderSystem::SetFogProperties(float a, float b, float c)
{
    m_settings.fog1 = a;
    m_settings.fog2 = b;
    m_settings.fog3 = c;
}

void RenderSystem::SetFogColor(const Color& color)
{
    m_settings.fogColor = color;
}

void RenderSystem::SetFogColor(float r, float g, float b)
{
    SetFogColor(Color(r, g, b, 1.0f));
}

void RenderSystem::SetGlobalAmbient(const Color& color)
{
    m_globalAmbient = color;
    if (m_constantBuffers[11])
        m_context->CopyData(m_constantBuffers[11], &m_globalAmbient, sizeof(Color));
}

void RenderSystem::SetGlobalAmbient(float r, float g, float b)
{
    SetGlobalAmbient(Color(r, g, b, 1.0f));
}

void RenderSystem::UploadSunBlock()
{
    if (m_constantBuffers[10])
        m_context->CopyData(m_constantBuffers[10], &m_sun, sizeof(SunBlock));
}

void RenderSystem::SetSunPosition(const float3& position)
{
    SetSunPosition(position.x, position.y, position.z);
}

void RenderSystem::SetSunPosition(float x, float y, float z)
{
    m_sun.position = float4(x, y, z, 1.0f);
    UploadSunBlock();
}

void RenderSystem::SetSunPosition(const float4& position)
{
    SetSunPosition(position.x, position.y, position.z);
}

void RenderSystem::SetSunSize(float size)
{
    m_sun.size = size;
    UploadSunBlock();
}

void RenderSystem::SetFOV(float degrees)
{
    m_fov = degrees * kDegreesToRadians;
}

void RenderSystem::SetOrthographicProjectionSize(const float2& size)
{
    m_orthographicSize = size;
}

void RenderSystem::SetGraphicsQuality(Quality quality)
{
    if (quality == m_graphicsQuality)
        return;
    m_graphicsQuality = quality;
    m_screenTargetsDirty = true;
}

void RenderSystem::SetParticleQuality(Quality quality)
{
    if (quality == m_particleQuality)
        return;
    m_particleQuality = quality;
    m_screenTargetsDirty = true;
}

void RenderSystem::SetSSAOQuality(Quality quality)
{
    if (quality == m_ssaoQuality)
        return;
    m_ssaoQuality = quality;
    // Inactive screens have no size, and a target of no size cannot be made: only the active
    // ones get their SSAO target again (the others are made when they become active).
    for (unsigned i = 0; i < m_activeScreens && i < kScreenCount; ++i)
        CreateScreenTarget(m_screens[i], 8);
}

// Display -----------------------------------------------------------------------------------

void RenderSystem::SetFullscreen(bool on)
{
    m_context->SetFullscreen(on);
    UpdateScreenLayout(false);
    PlaceWindow();
}

void RenderSystem::SetDisplayMode(unsigned index)
{
    m_context->SetDisplayMode(static_cast<std::uint32_t>(index));
    UpdateScreenLayout(false);
    PlaceWindow();
}

void RenderSystem::PlaceWindow()
{
    // In full screen the render context sizes the window. Before the context has a mode there is
    // nothing to size it to, and the window is left alone.
    if (m_context->GetFullscreen() || m_window == nullptr)
        return;
    const Dimension mode = m_context->GetCurrentDisplayMode().resolution;
    if (mode.width == 0 || mode.height == 0)
        return;
    Window::PlaceCentred(*m_window, mode);
}

void RenderSystem::SetVsync(bool on)
{
    m_context->SetVsync(on);
}

bool RenderSystem::GetVsync()
{
    return m_context->GetVsync();
}

bool RenderSystem::GetFullscreen()
{
    return m_context->GetFullscreen();
}

Dimension RenderSystem::GetResolution()
{
    return m_context->GetCurrentDisplayMode().resolution;
}

const std::vector<DisplayMode>& RenderSystem::GetDisplayModeList()
{
    return m_context->GetDisplayModeList();
}

} // namespace ZOR
