#pragma once
#include "renderer/Camera.h"
#include "renderer/Config.h"
#include "renderer/DebugDrawer.h"
#include "renderer/InstanceBuffer.h"
#include "renderer/PassProfiler.h"
#include "renderer/PointLight.h"
#include "renderer/Renderable3D.h"
#include "renderer/SpotLight.h"
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/Color.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"
#include "renderer/math/float4x4.h"
#include "renderer/math/Viewport.h"

#include <array>
#include <functional>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace platform {
class NativeWindow;
}

namespace ZOR {

class Animation;
class BillboardedQuad;
class Decal;
class DirectionalLight;
class DynamicMesh;
class Font;
class Material;
class Model;
class Octree;
class ParticleEmitter;
class Renderable;
class Renderable2D;
class Renderable3DSkinned;
class Text;

// The renderer's central object: the render context, up to four split-screen views, the
// registered renderables and their octree, the instance buffers, the asset caches, the shader
// set with its constant buffers, and every renderer setting. The frame reads what is kept here.
class RenderSystem {
public:
    enum Effect : std::uint32_t {
        DebugDraw = 0,
        Lighting = 1,
        Shadows = 2,
        Bloom = 3,
        DepthOfField = 4,
        SSAO = 5,
        GodRays = 6,
        GlobalVolumetricFog = 7,
        RadialBlur = 8,
        EdgeDetection = 9,
    };
    static constexpr std::uint32_t kEffectCount = 10;

    // 0-3 name one screen, -1 all four.
    enum ScreenID : int { All = -1, Screen1 = 0, Screen2 = 1, Screen3 = 2, Screen4 = 3 };
    static constexpr std::uint32_t kScreenCount = 4;

    enum Quality : std::uint32_t { Low = 0, Medium = 1, High = 2, Ultra = 3 };
    // Render-target scale of a quality level.
    static float QualityScale(Quality quality);

    // The 96-byte block every full-screen shader reads.
    struct Settings {
        float nearPlane;
        float farPlane;
        float dof1, dof2;
        float bloom2, bloom3, bloom1;
        float ssao1, ssao2, ssao3;
        float fade;
        float godRay1, godRay2, godRay3, godRay4;
        std::int32_t godRaySamples;
        float blurFactor;
        float fog1, fog2, fog3;
        Color fogColor;
    };

    struct ShadowBlock {
        float4x4 sunViewProjection;
        float2 nearFar;
    };

    struct SunBlock {
        float4 position;
        float size;
        float unused[3];
    };

    // The sun's shadow camera: the engine places it, the shadow pass reads it.
    struct ShadowCaster {
        Camera camera;
        float3 target; // a direction
        float2 nearFar;
        float fov = 0.0f; // degrees; the sun builds the camera's projection from it
    };

    // One split-screen view.
    class Screen {
    public:
        static constexpr std::uint32_t kTargetCount = 11;

        // Per-screen block of the screen constant buffer (80 bytes).
        struct Block {
            float4x4 matrix;
            float2 targetSize;
            float inverseFrameTime = 0.0f;
            float thirty = 30.0f;
        };

        Screen();

        // Appends a default camera; returns its index.
        unsigned AddCamera();
        // Ignored for an index past the cameras.
        void SetActiveCamera(unsigned i);
        Camera& GetActiveCamera() { return m_cameras[m_activeCamera]; }
        unsigned GetActiveCameraIndex() const { return m_activeCamera; }
        std::size_t GetCameraCount() const { return m_cameras.size(); }
        Viewport& GetViewport() { return m_viewport; }
        const float2& GetOrthographicProjectionSize() const { return m_orthographicSize; }
        float GetSlideTime() const { return m_slideTime; }
        float2 GetSlidePosition() const { return float2(m_slideX, m_slideY); }
        const Handle& GetRenderTarget(std::uint32_t i) const { return m_targets[i]; }
        const Handle& GetDepthBuffer(std::uint32_t i) const { return m_depthBuffers[i]; }
        const Handle* GetGroupOfThree() const { return m_group3; }
        const Handle* GetGroupOfFive() const { return m_group5; }
        const float2& GetScaledTargetSize() const { return m_block.targetSize; }

        float& AberrationFactor() { return m_aberrationFactor; }
        float& AberrationIntensity() { return m_aberrationIntensity; }
        float& RadialBlurDistance() { return m_radialBlurDistance; }
        float& RadialBlurStrength() { return m_radialBlurStrength; }

    private:
        friend class RenderSystem;

        std::vector<Camera> m_cameras;
        unsigned m_activeCamera = 0;
        Viewport m_viewport;
        float2 m_orthographicSize;
        float m_slideTime = 0.0f, m_slideX = 0.0f, m_slideY = 0.0f;
        Handle m_targets[kTargetCount];
        Handle m_group3[3];
        Handle m_group5[5];
        Handle m_depthBuffers[2];
        Block m_block;
        float4x4 m_cameraMatrices[5];
        float m_aberrationFactor = 2.0f;
        float m_aberrationIntensity = 1.0f;
        float m_radialBlurDistance = 1.0f;
        float m_radialBlurStrength = 1.0f;
    };

    // Creates the render context for the window from the configuration; no GPU work yet.
    RenderSystem(const Config& config, platform::NativeWindow* const& window);
    // The same on a given render context (tests inject a recording or failing one).
    RenderSystem(std::shared_ptr<RenderContext> context, platform::NativeWindow* const& window);
    virtual ~RenderSystem();
    RenderSystem(const RenderSystem&) = delete;
    RenderSystem& operator=(const RenderSystem&) = delete;

    // Starts the render context and creates the shared GPU resources and the shader set. False
    // only when the context does not start; a missing shader is logged and leaves a null handle.
    // Once it has succeeded, a further call only warns: it would load the shader set again into
    // new handles and replace the default material that renderables hold.
    bool Initialize();
    // The shader files whose handle is null (every one before Initialize).
    std::vector<std::string> GetMissingShaders() const;
    RenderContext* GetRenderContext() const { return m_context.get(); }

    // Screens.
    void AddScreen(bool instant);
    void RemoveScreen(bool instant);
    unsigned GetActiveScreens() const { return m_activeScreens; }
    // Throws std::out_of_range for an id outside 0-3.
    Screen& GetScreen(int id);
    Screen& GetCurrentScreen() { return *m_currentScreen; }
    bool IsLayoutDirty() const { return m_layoutDirty; }
    bool AreScreenTargetsDirty() const { return m_screenTargetsDirty; }
    void UpdateScreenLayout(bool instant);
    void CreateScreenTargets();

    // Renderables (borrowed; callers remove them before destroying them).
    void AddRenderable(Renderable2D* sprite);
    void RemoveRenderable(Renderable2D* sprite);
    const std::vector<Renderable2D*>& Get2DList() const { return m_2dList; }
    bool List2DNeedsSorting() const { return m_2dNeedsSorting; }
    void AddRenderable(Text* text);
    void AddRenderable(DirectionalLight* light);
    void AddRenderable(SpotLight* light);
    void AddRenderable(DynamicMesh* mesh);
    void AddRenderable(Renderable* renderable);
    void RemoveRenderable(Text* text);
    void RemoveRenderable(DirectionalLight* light);
    void RemoveRenderable(SpotLight* light);
    void RemoveRenderable(DynamicMesh* mesh);
    void RemoveRenderable(Renderable* renderable);
    const std::vector<Text*>& GetTextList() const { return m_textList; }
    const std::vector<DirectionalLight*>& GetDirectionalLightList() const { return m_directionalLights; }
    const std::vector<DynamicMesh*>& GetDynamicMeshList() const { return m_dynamicMeshes; }
    const std::vector<SpotLight*>& GetSpotLightList() const { return m_spotLights; }
    const std::vector<Renderable*>& GetOctreeList() const { return m_octreeList; }
    Octree* GetOctree() const { return m_octree.get(); }
    void SetOctree(float worldSize, float looseness, unsigned short maxDepth);
    void ResolveOctree();
    bool TextListNeedsSorting() const { return m_textNeedsSorting; }

    // Effects and debug switches.
    void EnableEffect(Effect effect, int screen);
    void DisableEffect(Effect effect, int screen);
    bool EffectEnabled(Effect effect, int screen) const;
    void DrawOctree(bool on) { m_drawOctree = on; }
    void DrawAABBs(bool on) { m_drawAABBs = on; }
    void DrawSkySphere(bool on) { m_drawSkySphere = on; }
    bool IsDrawingOctree() const { return m_drawOctree; }
    bool IsDrawingAABBs() const { return m_drawAABBs; }
    bool IsDrawingSkySphere() const { return m_drawSkySphere; }

    // Settings.
    void SetDefaultSettings();
    void SetViewPlanes(float nearPlane, float farPlane);
    void SetDOFProperties(float a, float b);
    void SetBloomProperties(float a, float b, float c);
    void SetSSAOProperties(float a, float b, float c, float d);
    void SetGodRayProperties(float a, float b, float c, float d, int samples);
    void SetBlurFactor(float factor);
    void SetFogProperties(float a, float b, float c);
    void SetFogColor(const Color& color);
    void SetFogColor(float r, float g, float b);
    void SetGlobalAmbient(const Color& color);
    void SetGlobalAmbient(float r, float g, float b);
    const Color& GetGlobalAmbient() const { return m_globalAmbient; }
    void SetSunPosition(const float3& position);
    void SetSunPosition(float x, float y, float z);
    void SetSunPosition(const float4& position);
    void SetSunSize(float size);
    const SunBlock& GetSunBlock() const { return m_sun; }
    void SetFOV(float degrees);
    float GetFOV() const { return m_fov; }
    void SetOrthographicProjectionSize(const float2& size);
    const float2& GetOrthographicProjectionSize() const { return m_orthographicSize; }
    const float4x4& GetOrthographicProjection() const { return m_orthographicProjection; }
    float GetFullscreenAspectRatio() const { return m_fullscreenAspectRatio; }
    void SetScreenTweenDuration(float seconds) { m_screenTweenDuration = seconds; }
    void SetGraphicsQuality(Quality quality);
    void SetParticleQuality(Quality quality);
    void SetSSAOQuality(Quality quality);
    Quality GetGraphicsQuality() const { return m_graphicsQuality; }
    Quality GetParticleQuality() const { return m_particleQuality; }
    Quality GetSSAOQuality() const { return m_ssaoQuality; }
    void SetShaderPath(const std::string& path) { m_shaderPath = path; }
    const Settings& GetSettings() const { return m_settings; }

    // Display.
    void SetFullscreen(bool on);
    void SetDisplayMode(unsigned index);
    void SetVsync(bool on);
    bool GetVsync();
    bool GetFullscreen();
    Dimension GetResolution();
    const std::vector<DisplayMode>& GetDisplayModeList();

    float& GetFadeFactor() { return m_fadeFactor; }
    Renderable3D& GetSkySphere() { return m_skySphere; }
    ShadowCaster& GetShadowCaster() { return m_shadowCaster; }
    DebugDrawer& GetDebugDrawer(bool second) { return second ? m_debugDrawers[1] : m_debugDrawers[0]; }

    // Resource caches, keyed by file name (GetResourceName). Loads may run on loader threads.
    static std::string GetResourceName(const std::string& path);
    bool LoadTexture(const std::string& path);
    bool LoadModel(const std::string& path);
    bool LoadAnimation(const std::string& path);
    bool LoadMaterial(const std::string& path);
    bool LoadFont(const std::string& path);
    const Handle& GetTexture(const std::string& name);
    Model* GetModel(const std::string& name);
    Animation* GetAnimation(const std::string& name);
    // The default material (empty name) for a name that is not cached; throws std::out_of_range
    // when there is none either.
    Material* GetMaterial(const std::string& name);
    Font* GetFont(const std::string& name);
    void UnloadTexture(const std::string& name);
    void UnloadModel(const std::string& name);
    void UnloadAnimation(const std::string& name);
    void UnloadMaterial(const std::string& name);
    void UnloadFont(const std::string& name);
    void UnloadTextures();
    void UnloadModels();
    void UnloadAnimations();
    void UnloadMaterials();
    void UnloadFonts();
    void ProtectResourceAcquisitions(bool on) { m_protectResourceAcquisitions = on; }
    bool IsProtectingResourceAcquisitions() const { return m_protectResourceAcquisitions; }
    // Every cached material, taken under the cache's lock (loader threads may be inserting).
    // Main thread only: the list is kept and refilled by the next call, so a frame makes none.
    const std::vector<Material*>& GetMaterialSnapshot();
    void ForceUpdateMaterials();

    // Shader set and full-screen passes.
    void BindFullscreenVertexShader();
    void FullscreenPass(const Handle& target, const Handle& source, std::string_view pixelShader, bool setViewport);
    // Throws std::out_of_range for a pixel shader that was never filed.
    void ApplyScreenEffect(const Handle& target, std::string_view pixelShader);
    const Handle& GetVertexShader(std::string_view name) const;
    const Handle& GetPixelShader(std::string_view name) const;
    // Constant buffer i (0-12) in the order of the shader set's table.
    const Handle& GetConstantBuffer(std::uint32_t i) const { return m_constantBuffers[i]; }
    const Handle& GetShadowMap() const { return m_shadowMap; }
    const Handle& GetCompositeTarget() const { return m_compositeTarget; }

    InstanceBuffer<SpriteInstance>& GetSpriteInstances() { return m_spriteInstances; }
    InstanceBuffer<PointLight::Instance>& GetPointLightInstances() { return m_pointLightInstances; }
    InstanceBuffer<SpotLight::Instance>& GetSpotLightInstances() { return m_spotLightInstances; }
    InstanceBuffer<ParticleInstance>& GetParticleInstances() { return m_particleInstances; }
    InstanceBuffer<ModelInstance>& GetModelInstances(bool shadowPass)
    {
        return shadowPass ? m_shadowModelInstances : m_modelInstances;
    }

    // The frame ---------------------------------------------------------------------------------
    // Draws every active screen, the sprites and texts, fades and presents. dt in seconds.
    void Update(float dt);
    void PrepareOverlays();
    void SetupScreenCamera();
    void ClearScreenTargets();
    void CullOctree(unsigned screen, const Frustum& frustum);
    void CullOctreeNode(unsigned screen, const Frustum& frustum, const Octree* node, int parentResult);
    void BucketVisible();
    const std::vector<Renderable*>& GetVisibleList() const { return m_visible; }

    // Geometry, shadow and sky.
    bool BeginShadowPass();
    bool BeginGeometryPass();
    void DrawModels(bool shadow, bool decalReceiving);
    void DrawInstancedModels(bool shadow, bool decalReceiving);
    void DrawSkinnedModels(bool shadow);
    void DrawSky();
    // Lights.
    bool BeginLightPass();
    bool BeginDirectionalLightPass();
    bool BeginSpotLightPass();
    bool BeginPointLightPass();
    void DrawDirectionalLights();
    void DrawSpotLights();
    void DrawPointLights();
    // Composition.
    void ComposeScene();
    // Sprites and text.
    bool Begin2DPass();
    bool BeginTextPass();
    void Draw2D();
    void DrawTexts();
    // Forward passes and post effects (filled by their own pass code).
    bool BeginDecalPass();
    void DrawDecals();
    bool BeginBillboardPass();
    void DrawBillboards();
    bool BeginDynamicMeshPass();
    void DrawDynamicMeshes();
    void DrawParticles();
    bool BeginLinePass();
    void DrawDebugLines();
    void ApplySSAO();
    void ApplyPostEffects(unsigned screen);
    // In-place filters of the current screen.
    void ApplyBlur(const Handle& target);
    void ApplyBloom();
    void ApplyDepthOfField();
    void ApplyEdgeDetection();

    // Called at each pass boundary with the pass's name; null (none) by default.
    void SetPassProfiler(PassProfiler* profiler) { m_profiler = profiler; }

    // The thirteen constant buffers' sizes in bytes, by index.
    static constexpr std::uint32_t kConstantBufferCount = 13;
    static const std::array<std::uint32_t, kConstantBufferCount> kConstantBufferSizes;

private:
    friend class Text;
    friend class Renderable2D;

    // The material of the empty name, or null before Initialize made it.
    Material* DefaultMaterial();
    void Mark2DListForSorting() { m_2dNeedsSorting = true; }
    void Profile(const char* pass)
    {
        if (m_profiler)
            m_profiler->OnPass(pass);
    }
    void EnterStage(PassProfiler::Stage stage)
    {
        if (m_profiler)
            m_profiler->OnStage(stage);
    }
    // Binds a vertex and pixel shader pair by file name.
    void BindShaders(const char* vertexShader, const char* pixelShader);
    void PrepareText(Text& text);
    // The god-ray mask and rays into the current screen's god-ray target.
    void ApplyGodRays();

    template <typename Entry>
    struct Cache {
        std::unordered_map<std::string, Entry> entries;
        std::mutex mutex;
    };

    void MarkTextListForSorting() { m_textNeedsSorting = true; }
    bool EffectScreenValid(int screen) const;
    void CreateScreenTarget(Screen& screen, std::uint32_t target);
    void LoadShaders();
    void UploadSunBlock();
    // Windowed: the window takes the current display mode's size, centred on the desktop.
    void PlaceWindow();
    void ReleaseResources();
    static void ReleaseModel(RenderContext* context, Model* model);
    template <typename Entry>
    Entry* Find(Cache<Entry>& cache, const std::string& name);

    std::shared_ptr<RenderContext> m_context;
    platform::NativeWindow* m_window;
    bool m_2dNeedsSorting = false;
    bool m_textNeedsSorting = false;

    std::vector<Renderable2D*> m_2dList;
    std::vector<Text*> m_textList;
    std::vector<DirectionalLight*> m_directionalLights;
    std::vector<DynamicMesh*> m_dynamicMeshes;
    std::vector<SpotLight*> m_spotLights;
    std::vector<Renderable*> m_octreeList;
    std::unique_ptr<Octree> m_octree;

    // The frame's working lists.
    std::vector<Renderable*> m_visible;
    std::vector<Renderable3D*> m_modelBucket;
    std::vector<Renderable3D*> m_instancedModels;
    std::vector<Renderable3D*> m_decalModels;
    std::vector<Renderable3D*> m_decalInstancedModels;
    std::vector<Renderable3DSkinned*> m_skinnedModels;
    std::vector<Decal*> m_decals;
    std::vector<PointLight*> m_pointLights;
    std::vector<BillboardedQuad*> m_billboards;
    std::vector<ParticleEmitter*> m_particleEmitters;
    Renderable3D m_skySphere;
    PassProfiler* m_profiler = nullptr;
    std::unordered_set<const Model*> m_bonesWarned; // models told once that bones were cut to 80

    InstanceBuffer<SpriteInstance> m_spriteInstances{25};
    InstanceBuffer<PointLight::Instance> m_pointLightInstances{10};
    InstanceBuffer<SpotLight::Instance> m_spotLightInstances{10};
    InstanceBuffer<ParticleInstance> m_particleInstances{500};
    InstanceBuffer<ModelInstance> m_modelInstances{100};
    InstanceBuffer<ModelInstance> m_shadowModelInstances{100};

    std::atomic<bool> m_protectResourceAcquisitions{false};
    Cache<Handle> m_textures;
    Cache<std::unique_ptr<Model>> m_models;
    Cache<std::unique_ptr<Animation>> m_animations;
    Cache<std::unique_ptr<Material>> m_materials;
    Cache<std::unique_ptr<Font>> m_fonts;
    std::vector<Material*> m_materialSnapshot; // GetMaterialSnapshot's list, kept for its capacity

    // Shader handles by file name, found by any string view: the passes name their shaders with
    // literals, and a look-up must not build a string each time.
    struct ShaderNameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    using ShaderTable = std::unordered_map<std::string, Handle, ShaderNameHash, std::equal_to<>>;

    std::string m_shaderPath;
    ShaderTable m_vertexShaders;
    ShaderTable m_pixelShaders;
    Handle m_constantBuffers[kConstantBufferCount];

    Settings m_settings{};
    ShadowBlock m_shadow{};
    SunBlock m_sun{};
    Color m_globalAmbient{0.4f, 0.4f, 0.4f, 1.0f};
    ShadowCaster m_shadowCaster;
    Handle m_shadowMap;
    Handle m_shadowDepthBuffer;
    Handle m_centredQuad;
    Handle m_quadIndices;
    Handle m_cornerQuad;
    bool m_fullscreenVertexShaderBound = false;
    Handle m_compositeTarget;

    Screen m_screens[kScreenCount];
    Screen* m_currentScreen = &m_screens[0];
    bool m_layoutDirty = false;
    bool m_layoutInstant = false;
    bool m_screenTargetsDirty = false;
    unsigned m_activeScreens = 1;
    float m_screenTweenDuration = 1.0f;
    float m_fov;
    float m_fullscreenAspectRatio = 1.0f;
    float4x4 m_orthographicProjection;
    float2 m_orthographicSize{1.0f, 1.0f};
    bool m_effects[kScreenCount * kEffectCount] = {};
    Quality m_graphicsQuality = Ultra;
    Quality m_particleQuality = Ultra;
    Quality m_ssaoQuality = Ultra;
    bool m_drawSkySphere = false;
    bool m_initialized = false;
    DebugDrawer m_debugDrawers[2]{DebugDrawer(50000), DebugDrawer(50000)};
    bool m_drawOctree = false;
    bool m_drawAABBs = false;
    float m_fadeFactor = 1.0f;
};

static_assert(sizeof(RenderSystem::Settings) == 96);
static_assert(offsetof(RenderSystem::Settings, bloom1) == 24);
static_assert(offsetof(RenderSystem::Settings, godRaySamples) == 60);
static_assert(offsetof(RenderSystem::Settings, fogColor) == 80);
static_assert(sizeof(RenderSystem::ShadowBlock) == 72);
static_assert(sizeof(RenderSystem::SunBlock) == 32);
static_assert(sizeof(RenderSystem::Screen::Block) == 80);

} // namespace ZOR
