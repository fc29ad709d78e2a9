#include "frontend/screens/BasicMenu.h"

#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/Input.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform2D.h"
#include "engine/graphics/TextComponent.h"
#include "engine/reflection/MetaRegistrar.h"
#include "renderer/Window.h"

#include <cstdio>

namespace quellor {

QUELLOR_RECORD(BasicMenu, Action, DerivedMetaNotPODNoCopy, NoID) {}

namespace {

constexpr int kUp = 38;
constexpr int kDown = 40;
constexpr int kEnter = 13;
constexpr int kPadUp = 0;
constexpr int kPadDown = 1;
constexpr int kPadA = 10;
constexpr const char* kFont = "font_64.bff";
constexpr const char* kFontTexture = "font_64.dds";
const Vec4 kSelected(1.0f, 0.0f, 0.0f, 1.0f);
const Vec4 kOther(0.0f, 0.0f, 0.0f, 1.0f);

} // namespace

BasicMenu::BasicMenu() : MenuScreen("BasicMenu") {}

BasicMenu::~BasicMenu() = default;

void BasicMenu::Start()
{
    if (Entity* background = CreateOverlay("bg", "bg.mat"))
        if (auto* transform = background->GetComponent<Transform2D>())
            PlaceFullScreen(*transform);
    m_play = MakeLine("play", "Play", 0.5f);
    m_quit = MakeLine("quit", "Quit", 0.6666667f);
}

Entity* BasicMenu::MakeLine(const char* name, const char* value, float heightShare)
{
    Entity* line = CreateEntity(name);
    if (!line)
        return nullptr;
    const ZOR::float2 area = GetOverlayArea();
    if (auto* transform = line->AddComponent<Transform2D>(true)) {
        transform->m_x = area.x * 0.5f;
        transform->m_y = area.y * heightShare;
        transform->m_scaleX = 1.0f;
        transform->m_scaleY = 1.0f;
    }
    if (auto* text = line->AddComponent<TextComponent>(true)) {
        text->SetFont(kFont);
        text->SetFontTexture(kFontTexture);
        text->SetValue(value);
        text->m_color = Vec4(1.0f, 1.0f, 1.0f, 1.0f);
        text->SetScreenID(0);
    }
    return line;
}

TextComponent* BasicMenu::Line(const EntityRef& line) const
{
    Entity* entity = line.Get();
    return entity ? entity->GetComponent<TextComponent>() : nullptr;
}

void BasicMenu::UpdateScreen(float)
{
    const Input* input = GetInput();
    if (!input)
        return;
    // Two items: up and down both flip, and both in one frame flip once.
    if (input->KeyIsPressed(kPadDown, 0) || input->KeyIsPressed(kPadUp, 0) || input->KeyIsPressed(kDown, -1) ||
        input->KeyIsPressed(kUp, -1))
        m_playSelected = !m_playSelected;
    if (TextComponent* play = Line(m_play))
        play->m_color = m_playSelected ? kSelected : kOther;
    if (TextComponent* quit = Line(m_quit))
        quit->m_color = m_playSelected ? kOther : kSelected;

    if (!input->KeyIsPressed(kEnter, -1) && !input->KeyIsPressed(kPadA, 0))
        return;
    if (m_playSelected) {
        // End clears "default" first; the level's entities come after and stay.
        Finish();
        if (auto* objects = DefaultSystem<ObjectSystem>())
            objects->LoadLevel(kLevel);
    } else if (ZOR::Window* window = ZOR::Window::Instance()) {
        // The main loop ends when it next looks at the window, and the game shuts down normally.
        window->Kill();
    } else {
        std::printf("Warning: no window to close; the title menu's quit does nothing\n");
    }
}

void BasicMenu::End()
{
    if (Engine* engine = Engine::Existing())
        engine->DestroyAllEntities(kSpace);
}

} // namespace quellor
