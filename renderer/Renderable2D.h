#pragma once
#include "renderer/InstanceBuffer.h"
#include "renderer/Renderable.h"
#include "renderer/math/float2.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace ZOR {

class Material;

// A screen-space sprite: a textured rectangle in pixels with a material, an alpha, a z-layer and
// a screen id, which can play frame animations over a sprite sheet.
class Renderable2D : public Renderable {
public:
    struct Animation2D {
        float duration = 0.0f; // one pass over all frames, seconds
        bool loop = false;
        std::vector<unsigned> frames; // cells counted row by row from the top-left cell 0
    };
    using Instance = SpriteInstance;

    Renderable2D();

    // An existing animation of that name stays as it was.
    void AddAnimation(const std::string& name, const Animation2D& animation);
    // Throws std::out_of_range for a name that was never added.
    const Animation2D& GetAnimation(const std::string& name) const;
    // Starts from the first frame, shown at the next update. An unknown name is logged and ignored.
    void PlayAnimation(const std::string& name);
    void PauseAnimation();
    void StopAnimation();
    void LoadAnimationSet(const std::string& path);
    void SaveAnimationSet(const std::string& path);

    // Looks the material up in the owning render system; ignored before the sprite is added.
    void SetMaterial(const std::string& name);
    void SetMaterial(Material* material) { m_material = material; }
    void SetZLayer(unsigned layer);
    void SetPosition(const float2& position) { m_instance.position = position; }
    void SetPosition(float x, float y) { m_instance.position = float2(x, y); }
    void SetSize(const float2& size) { m_instance.size = size; }
    void SetSize(float w, float h) { m_instance.size = float2(w, h); }
    void SetFrameSize(const float2& size) { m_frameSize = size; }
    void SetFrameSize(float w, float h) { m_frameSize = float2(w, h); }
    // The sprite sheet's size in pixels; the frame grid is cut from it.
    void SetSheetSize(const float2& size) { m_sheetSize = size; }
    void SetAlpha(float alpha) { m_instance.alpha = alpha; }
    void SetScreenID(int id) { m_screenId = id; }

    const float2& GetPosition() const { return m_instance.position; }
    const float2& GetSize() const { return m_instance.size; }
    float GetAlpha() const { return m_instance.alpha; }
    unsigned GetZLayer() const { return m_zLayer; }
    int GetScreenID() const { return m_screenId; }
    Material* GetMaterial() const { return m_material; }
    const Instance& GetInstance() const { return m_instance; }
    unsigned GetCurrentFrame() const { return m_frame; }
    bool IsPlaying() const { return m_playing; }

    void Update(float dt) override;

private:
    std::unordered_map<std::string, Animation2D> m_animations;
    const Animation2D* m_current = nullptr;
    Material* m_material = nullptr;
    float m_timer = 0.0f;
    unsigned m_frame = 0;
    bool m_playing = false;
    bool m_frameChanged = true;
    float2 m_frameSize{1.0f, 1.0f};
    float2 m_sheetSize{1.0f, 1.0f};
    unsigned m_zLayer = 0;
    int m_screenId = -1;
    Instance m_instance{float2(0.0f, 0.0f), float2(1.0f, 1.0f), float4(0.0f, 0.0f, 1.0f, 1.0f), 1.0f};
};

// Sprite draw order: z-layer, then material id, then screen id.
bool Renderable2DSortLess(const Renderable2D* a, const Renderable2D* b);

} // namespace ZOR
