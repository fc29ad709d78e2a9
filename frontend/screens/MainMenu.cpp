#include "frontend/screens/MainMenu.h"

#include "engine/ActionList.h"
#include "engine/Easing.h"
#include "engine/Engine.h"
#include "engine/Entity.h"
#include "engine/ObjectSystem.h"
#include "engine/Transform3D.h"
#include "engine/TweenTo.h"
#include "engine/WaitFrame.h"
#include "engine/graphics/GraphicsComponent3D.h"
#include "engine/graphics/GraphicsComponent3DSkinned.h"
#include "engine/graphics/GraphicsSystem.h"
#include "frontend/screens/CharSelectMenu.h"
#include "frontend/screens/CreditsMenu.h"
#include "frontend/screens/HowToPlayMenu.h"
#include "frontend/screens/OptionsMenu.h"
#include "renderer/Window.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace quellor {

namespace {

// The screens of items 0 to 3 (see MainMenu.h); empty rows are stand-ins.
std::array<MainMenu::ItemScreen, MainMenu::kScreenItems>& ItemScreens()
{
    static std::array<MainMenu::ItemScreen, MainMenu::kScreenItems> table = {
        [] { return new CharSelectMenu; },
        [] { return new OptionsMenu; },
        [] { return new HowToPlayMenu(true); },
        [] { return new CreditsMenu(1); },
    };
    return table;
}

const Vec4 kCursorPositions[MainMenu::ItemCount] = {
    {-13.36f, 54.5f, -1.34f, 1.0f}, {-4.95f, 49.6f, -1.3f, 1.0f}, {-12.8f, 45.8f, -1.3f, 1.0f},
    {-7.5f, 39.1f, -1.3f, 1.0f},    {-15.5f, 34.1f, -2.3f, 1.0f}, {-12.5f, 31.5f, -2.3f, 1.0f},
    {-12.5f, 30.0f, -2.3f, 1.0f},
};

constexpr const char* kCursorModel = "arrow.model";
constexpr const char* kCursorMaterial = "arrow_menu.mat";
constexpr const char* kQuitModel = "quitbutton_quit_hold.model";
constexpr const char* kQuitMaterial = "wood_blocks_menu.mat";
// The cursor's turn about y, as the menu has always written it (sin and cos of 1.57 rad).
constexpr float kCursorTurn = 1.57f;

} // namespace

const Vec4 MainMenu::kCameraPosition(-2.76f, 54.08f, 45.3f, 1.0f);
const Vec4 MainMenu::kCameraLook(-0.06f, -0.01f, -0.99f, 0.0f);

const MainMenu::ItemScreen& MainMenu::GetItemScreen(unsigned item)
{
    static const ItemScreen none;
    return item < kScreenItems ? ItemScreens()[item] : none;
}

void MainMenu::SetItemScreen(unsigned item, ItemScreen screen)
{
    if (item >= kScreenItems) {
        std::printf("Warning: main menu item %u opens no screen; its row is not set\n", item);
        return;
    }
    ItemScreens()[item] = std::move(screen);
}

MainMenu::MainMenu(bool loadLevel) : MenuScreen("MainMenu"), m_loadLevel(loadLevel)
{
    SetReady(false);
    GetKeys().Keyboard(MenuCommand::Up).push_back(87);   // W
    GetKeys().Keyboard(MenuCommand::Down).push_back(83); // S
}

MainMenu::~MainMenu() = default;

unsigned MainMenu::NextIndex(unsigned index, bool up)
{
    if (index == QuitBack || index == QuitConfirm)
        return index == QuitBack ? QuitConfirm : QuitBack;
    if (index > Quit)
        return index;
    if (up)
        return index == Play ? Play : index - 1;
    return index == Quit ? Quit : index + 1;
}

Vec4 MainMenu::CursorPosition(unsigned item)
{
    return kCursorPositions[item < ItemCount ? item : Play];
}

void MainMenu::Start()
{
    StartMenuTheme(GetSound());
    if (m_loadLevel)
        if (auto* objects = DefaultSystem<ObjectSystem>())
            objects->LoadLevel(kLevel);
    MakeCursor();
    MakeQuitButton();

    // The cursor grows in once the camera is in place: after one frame from start-up, after
    // the glide back from a sub-screen.
    Action* growth = TweenCursor(true, Vec4(kCursorScale, kCursorScale, kCursorScale, 0.0f), kCursorGrowth);
    if (m_loadLevel) {
        JumpCamera(kCameraPosition, kCameraLook);
        RunThenReady({new WaitFrame(1), growth}, kLane);
    } else {
        StartGlide(kCameraPosition, kCameraLook, kReturnGlide, kLane, {growth});
    }
}

void MainMenu::MakeCursor()
{
    Entity* cursor = CreateEntity("cursor", true);
    if (!cursor)
        return;
    m_cursor = cursor;
    if (auto* transform = cursor->AddComponent<Transform3D>(true)) {
        const Vec4 place = CursorPosition(Play);
        transform->SetPosition(place.x, place.y, place.z);
        transform->m_rotation = Quat(0.0f, std::sin(kCursorTurn), 0.0f, std::cos(kCursorTurn));
        transform->SetScale(0.0f, 0.0f, 0.0f);
    }
    if (auto* model = cursor->AddComponent<GraphicsComponent3D>(true)) {
        model->SetModel(kCursorModel);
        model->SetMaterial(kCursorMaterial);
    }
}

void MainMenu::MakeQuitButton()
{
    Entity* quit = CreateEntity("quit", true);
    if (!quit)
        return;
    m_quit = quit;
    if (auto* transform = quit->AddComponent<Transform3D>(true)) {
        transform->SetPosition(0.0f, 0.0f, 0.0f);
        transform->SetScale(1.0f, 1.0f, 1.0f);
    }
    auto* skinned = quit->AddComponent<GraphicsComponent3DSkinned>(true);
    if (!skinned)
        return;
    skinned->SetModel(kQuitModel);
    ZOR::AnimationController& controller = skinned->GetAnimationController();
    GraphicsSystem* graphics = GetGraphics();
    for (const char* clip : {kHoldClip, kFoldUpClip, kFoldOutClip, kAreYouSureClip}) {
        ZOR::Animation* animation = graphics ? graphics->GetAnimation(clip) : nullptr;
        if (animation)
            controller.AddAnimation(animation);
        else
            std::printf("Warning: no animation \"%s\"; the quit button goes without it\n", clip);
    }
    controller.SetLoop(false);
    controller.PlayAnimation(kHoldClip, 1.0f, ZOR::BlendGroup::All);
    skinned->SetMaterial(kQuitMaterial);
}

Action* MainMenu::TweenCursor(bool scale, const Vec4& to, float duration)
{
    Entity* cursor = m_cursor.Get();
    auto* transform = cursor ? cursor->GetComponent<Transform3D>() : nullptr;
    if (!transform)
        return nullptr;
    float* x = scale ? &transform->m_scaleX : &transform->m_x;
    float* y = scale ? &transform->m_scaleY : &transform->m_y;
    float* z = scale ? &transform->m_scaleZ : &transform->m_z;
    auto tween = [duration](float* field, float value) {
        return new TweenTo(field, duration, value, Easing::kBackOut, true, false);
    };
    return MakeParallel(tween(x, to.x), tween(y, to.y), tween(z, to.z));
}

bool MainMenu::HandleInput(int pad, bool withKeyboard)
{
    // The keyboard's commands before the pad's: a key and a pad button pressed in one frame
    // act as the key.
    static constexpr MenuCommand kOrder[] = {MenuCommand::Up, MenuCommand::Down, MenuCommand::Activate};
    for (const bool keyboard : {true, false}) {
        if (keyboard && !withKeyboard)
            continue;
        for (const MenuCommand command : kOrder) {
            if (!(keyboard ? PressedOnKeyboard(command) : PressedOnPad(command, pad)))
                continue;
            if (command == MenuCommand::Up)
                MoveUp();
            else if (command == MenuCommand::Down)
                MoveDown();
            else
                Activate();
            return true;
        }
    }
    return false;
}

void MainMenu::Move(bool up)
{
    PlayHighlight();
    const unsigned next = NextIndex(m_index, up);
    if (next != m_index)
        GlideCursorTo(next);
}

void MainMenu::GlideCursorTo(unsigned item)
{
    RunThenReady({TweenCursor(false, CursorPosition(item), kCursorGlide)}, kLane);
    m_index = item;
}

void MainMenu::Activate()
{
    PlaySelect();
    if (m_index < kScreenItems) {
        const ItemScreen& make = GetItemScreen(m_index);
        if (Action* next = make ? make() : nullptr)
            HandOver(next);
        return;
    }
    Entity* quit = m_quit.Get();
    auto* skinned = quit ? quit->GetComponent<GraphicsComponent3DSkinned>() : nullptr;
    switch (m_index) {
    case Quit:
        if (skinned) {
            ZOR::AnimationController& controller = skinned->GetAnimationController();
            controller.SetBlendFactor(kHoldClip, 0.0f);
            controller.SetBlendFactor(kFoldUpClip, 0.0f);
            controller.PlayAnimation(kFoldOutClip, 1.0f, ZOR::BlendGroup::All);
        }
        GlideCursorTo(QuitBack);
        break;
    case QuitBack:
        if (skinned) {
            ZOR::AnimationController& controller = skinned->GetAnimationController();
            controller.SetBlendFactor(kFoldOutClip, 0.0f);
            controller.PlayAnimation(kFoldUpClip, 1.0f, ZOR::BlendGroup::All);
        }
        GlideCursorTo(Quit);
        break;
    default:
        // The main loop ends when it next looks at the window; the normal teardown follows.
        if (ZOR::Window* window = ZOR::Window::Instance())
            window->Kill();
        else
            std::printf("Warning: no window to close; the main menu's quit does nothing\n");
        break;
    }
}

} // namespace quellor
