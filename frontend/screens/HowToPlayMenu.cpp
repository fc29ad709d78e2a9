#include "frontend/screens/HowToPlayMenu.h"

#include "engine/Input.h"
#include "frontend/screens/LeavePress.h"
#include "frontend/screens/LevelProps.h"
#include "frontend/screens/MainMenu.h"

namespace quellor {

namespace {

const Vec4 kPosition(-74.29f, 33.86f, 17.79f, 1.0f);
const Vec4 kLook(-0.91f, -0.2f, -0.38f, 0.0f);
constexpr float kGlideSeconds = 1.0f;
constexpr int kGlideLane = 3;
constexpr int kPadCount = 4;

} // namespace

// The screen reads its keys in its own update, not in the frame's walk: pad B also acts while
// the camera still glides.
HowToPlayMenu::HowToPlayMenu(bool returnToMainMenu) : MenuScreen("HowToPlayMenu"), m_returnToMainMenu(returnToMainMenu)
{
}

HowToPlayMenu::~HowToPlayMenu() = default;

void HowToPlayMenu::Start()
{
    StartGlide(kPosition, kLook, kGlideSeconds, kGlideLane);
    m_dojo = FindLevelEntity("dojo");
}

void HowToPlayMenu::UpdateScreen(float)
{
    const Input* input = GetInput();
    if (!input)
        return;
    bool anyPad = false;
    for (int pad = 0; pad < kPadCount; ++pad)
        anyPad = anyPad || input->IsConnected(pad);
    SetPropMaterial(m_dojo, anyPad ? "dojo_xbox_menu.mat" : "dojo_keyboard_menu.mat");
    if (FindLeavePress(input, IsReady()) != LeavePress::None)
        Leave();
}

void HowToPlayMenu::Leave()
{
    PlaySelect();
    HandOver(m_returnToMainMenu ? new MainMenu(false) : nullptr);
}

} // namespace quellor
