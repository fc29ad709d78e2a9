#include "frontend/screens/CreditsMenu.h"

#include "engine/ActionList.h"
#include "engine/Easing.h"
#include "engine/Entity.h"
#include "engine/Invoke.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"
#include "engine/Wait.h"
#include "engine/WaitFrame.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "frontend/screens/LeavePress.h"
#include "frontend/screens/LevelProps.h"
#include "frontend/screens/MainMenu.h"

#include <string>

namespace quellor {

namespace {

const Vec4 kPosition(-2.76f, 54.08f, 43.3f, 1.0f);
const Vec4 kLook(-0.08f, 0.84f, -0.936f, 0.0f);
constexpr int kLane = 3;
// The pages are 2048 by 1080 pictures scaled to the window's height.
constexpr float kPageAspect = 2048.0f / 1080.0f;
// Sprites of one layer draw in material order, and materials are numbered as the loader reads
// their files by name: "credits_bg.mat" comes after the pages and would cover them. The pages
// draw on a layer of their own above the background.
constexpr unsigned kBackgroundLayer = 0;
constexpr unsigned kPageLayer = 1;

Action* Fade(float* alpha, float to)
{
    return new TweenTo(alpha, CreditsMenu::kFadeSeconds, to, Easing::kLinear, true, false);
}

} // namespace

CreditsMenu::CreditsMenu(bool returnToMainMenu) : MenuScreen("CreditsMenu"), m_returnToMainMenu(returnToMainMenu) {}

CreditsMenu::~CreditsMenu() = default;

void CreditsMenu::Start()
{
    SetReady(false);
    Action* camera = MakeCameraTweens(kPosition, kLook, kFadeSeconds);
    const ZOR::float2 area = GetOverlayArea();

    auto overlay = [this](const std::string& material, unsigned layer, float x, float width, float height) {
        Entity* entity = CreateEntity("", true);
        if (!entity)
            return EntityRef();
        if (auto* transform = entity->AddComponent<Transform2D>(true)) {
            transform->m_x = x;
            transform->m_y = 0.0f;
            transform->m_scaleX = width;
            transform->m_scaleY = height;
        }
        if (auto* sprite = entity->AddComponent<GraphicsComponent2D>(true)) {
            sprite->SetMaterial(material);
            sprite->SetAlpha(0.0f);
            sprite->SetZLayer(layer);
        }
        return EntityRef(entity);
    };
    m_background = overlay("credits_bg.mat", kBackgroundLayer, 0.0f, area.x, area.y);
    m_backgroundAlpha = 0.0f;
    const float pageWidth = area.y * kPageAspect;
    for (unsigned k = 0; k < kPageCount; ++k) {
        m_pages[k] = overlay("credits_" + std::to_string(k + 1) + ".mat", kPageLayer,
                             static_cast<float>(k) * pageWidth, pageWidth, area.y);
        m_pageAlphas[k] = 0.0f;
    }

    ActionList* pages = MakeParallel(nullptr);
    for (float& alpha : m_pageAlphas)
        pages->PushBack(Fade(&alpha, 1.0f), 0);
    ActionList* fadeIn = MakeSequence(MakeParallel(pages, camera, Fade(&m_backgroundAlpha, 1.0f)),
                                      new Invoke([this] { SetReady(true); }), new Wait(kShowSeconds),
                                      new Invoke([this] { m_autoClose = true; }));
    m_fadeIn.Reset(RunTracked(fadeIn, kLane));
    m_autoClose = false;
}

void CreditsMenu::UpdateScreen(float dt)
{
    if (m_background.Get())
        ApplyPages(dt);
    if (!m_active)
        return;
    const LeavePress press = FindLeavePress(GetInput(), IsReady());
    if (press == LeavePress::Keyboard || m_autoClose) {
        FadeOutAndClose();
    } else if (press == LeavePress::Pad) {
        PlaySelect();
        m_active = false;
        Close();
    }
}

void CreditsMenu::ApplyPages(float dt)
{
    if (GraphicsComponent2D* sprite = SpriteOf(m_background))
        sprite->SetAlpha(m_backgroundAlpha);
    for (unsigned k = 0; k < kPageCount; ++k) {
        if (GraphicsComponent2D* sprite = SpriteOf(m_pages[k]))
            sprite->SetAlpha(m_pageAlphas[k]);
        Entity* page = m_pages[k].Get();
        if (auto* transform = page ? page->GetComponent<Transform2D>() : nullptr)
            transform->m_x -= kScrollSpeed * dt;
    }
}

void CreditsMenu::FadeOutAndClose()
{
    PlaySelect();
    m_active = false;
    ActionList* fades = MakeParallel(Fade(&m_backgroundAlpha, 0.0f));
    for (float& alpha : m_pageAlphas)
        fades->PushBack(Fade(&alpha, 0.0f), 0);
    RunTracked(MakeSequence(fades, new WaitFrame(1), new WaitFrame(1), new WaitFrame(1),
                            new Invoke([this] { Close(); })),
               kLane);
}

void CreditsMenu::Close()
{
    // Held through a handle: the sequence may have ended (and been deleted) long before.
    m_fadeIn.Cancel();
    DestroyRef(m_background);
    for (EntityRef& page : m_pages)
        DestroyRef(page);
    HandOver(m_returnToMainMenu ? new MainMenu(false) : nullptr);
}

} // namespace quellor
