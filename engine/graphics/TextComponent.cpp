#include "engine/graphics/TextComponent.h"

#include "engine/Transform2D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

QUELLOR_RECORD(TextComponent, Component, DerivedMetaNotPOD, WithID)
{
    reg.Member(QL_FIELD(m_color));
    reg.Member(QL_FIELD(m_offset));
    auto font = reg.Member(QL_FIELD(m_fontName));
    // The texture name and the string live in the renderer's text.
    auto texture = reg.MemberAt("m_fontTexture", [](TextComponent& c) -> std::string& {
        return const_cast<std::string&>(c.GetFontTexture());
    });
    auto value = reg.MemberAt("m_value", [](TextComponent& c) -> std::string& {
        return const_cast<std::string&>(c.GetValue());
    });
    texture.Setter("SetFontTexture", &ZOR::Text::SetFontTexture);
    font.Setter(QL_METHOD(SetFont));
    value.Setter(QL_METHOD(SetValue));
}

TextComponent::~TextComponent() = default;

Component* TextComponent::Clone() const
{
    auto* clone = new TextComponent(*this);
    clone->m_transform = nullptr;
    return clone;
}

void TextComponent::Initialize()
{
    GraphicsSystem* graphics = FindGraphicsSystem(*this, "TextComponent");
    if (!graphics) {
        return;
    }
    graphics->RegisterTextComponent(this);
    if (!m_fontName.empty()) {
        ZOR::Text::SetFont(m_fontName);
    }
    if (m_hasPendingValue) {
        ZOR::Text::SetValue(m_pendingValue);
    }
}

void TextComponent::Uninitialize()
{
    if (GraphicsSystem* graphics = FindGraphicsSystem(*this, "TextComponent")) {
        graphics->UnregisterTextComponent(this);
    }
}

void TextComponent::SetFont(const std::string& name)
{
    if (&name != &m_fontName) {
        m_fontName = name;
    }
    ZOR::Text::SetFont(name);
}

void TextComponent::SetValue(const std::string& value)
{
    // Taken before the text's own copy: value may be that copy (the member's storage).
    m_pendingValue = value;
    m_hasPendingValue = true;
    ZOR::Text::SetValue(m_pendingValue);
}

void TextComponent::Update(float)
{
    if (!m_transform && !(m_transform = FindTransform2D(*this))) {
        return;
    }
    SetColor(m_color.x, m_color.y, m_color.z, m_color.w);
    SetPosition(m_transform->m_x + m_offset.x, m_transform->m_y + m_offset.y);
}

} // namespace quellor
