#pragma once
// A line of screen text at its entity's 2D position plus an offset, coloured from m_color
// every frame.
#include "engine/Component.h"
#include "engine/reflection/Vec2.h"
#include "engine/reflection/Vec4.h"
#include "renderer/Text.h"

#include <string>

namespace quellor {

class Transform2D;

class TextComponent : public Component, public ZOR::Text {
    QUELLOR_REFLECT_KEYED(TextComponent)

    TextComponent() = default;
    TextComponent(const TextComponent&) = default;
    ~TextComponent() override;

    Component* Clone() const override;
    // Registers, then applies the font and the value asked for before (the text ignores both
    // until it belongs to a render system, so a level's text would otherwise show nothing).
    void Initialize() override;
    void Uninitialize() override;
    void Update(float dt) override;

    // Keep the name or value and hand it to the text.
    void SetFont(const std::string& name);
    void SetValue(const std::string& value);

    Vec4 m_color{1.0f, 1.0f, 1.0f, 1.0f};
    Transform2D* m_transform = nullptr;
    Vec2 m_offset;
    std::string m_fontName;

private:
    std::string m_pendingValue;
    bool m_hasPendingValue = false;
};

} // namespace quellor
