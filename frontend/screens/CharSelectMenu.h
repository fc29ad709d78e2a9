#pragma once
// The character select, between the main menu and a match. Up to four people join, one per pad
// (the keyboard stands in for pad 0), each in a slot with a scroll: they choose a hair style, a
// mask and a team colour, each confirmed row getting a checkmark, and then declare themselves
// ready. A joined person may add or remove computer players. A board at the side lists each
// team's members. When every joined person is ready and no slot animates, a confirm starts the
// match (MatchStart); back on an empty screen returns to the main menu.
//
// Its rules (CharSelectRules) are kept apart from its entities. The screen's animations are
// tracked, so that ending the screen at any moment cancels them before its entities go: the
// glide that builds the scrolls (lane 3 of the action system), the scroll opening and the join
// and leave sequences (at the front of lane 0 of the screen's own list) and the checkmark
// tweens (lane 2). Each of them sets a busy flag of its slot, and the input walk stops at a
// busy slot. The match-start sequence is not the screen's: it outlives it and finishes it.
// Every entity the screen makes is the frame's to remove when the screen ends; after a match
// start the clear of "default" has removed them already, and nothing is left to remove.
#include "engine/EntityRef.h"
#include "frontend/screens/CharSelectRules.h"
#include "frontend/screens/MenuScreen.h"

#include <array>
#include <string>
#include <vector>

namespace quellor {

class CharSelectMenu : public MenuScreen {
public:
    // The twelve widgets of a joined slot.
    enum Widget : unsigned {
        Preview, HairMount, MaskMount, HairLeft, HairRight, MaskLeft, MaskRight, TeamLeft, TeamRight,
        HairIcon, MaskIcon, Swatch, WidgetCount
    };
    static constexpr unsigned kRows = 3;

    static const Vec4 kCameraPosition;
    static const Vec4 kCameraLook;
    static constexpr float kGlide = 1.5f;
    static constexpr float kScrollGrowth = 0.25f;
    static constexpr float kOpening = 0.65f;
    static constexpr int kGlideLane = 3;
    static constexpr int kCheckmarkLane = 2;

    static constexpr const char* kScrollModel = "scroll_menu.model";
    static constexpr const char* kScrollMaterial = "char_select_menu.mat";
    static constexpr const char* kScrollStill = "scroll_up_still.anim";
    static constexpr const char* kScrollUp = "scroll_up.anim";
    static constexpr const char* kScrollDown = "scroll_down.anim";
    static constexpr const char* kScrollOpenCue = "scroll_open.ogg";
    static constexpr const char* kScrollCloseCue = "scroll_close.ogg";
    static constexpr const char* kKeyboardControls = "char_menu_controls_keyboard.mat";
    static constexpr const char* kPadControls = "char_menu_controls_360_controller.mat";
    static constexpr const char* kPreviewModel = "base_idle.model";
    static constexpr const char* kPreviewClip = "idle_base.anim";
    static constexpr const char* kLockedHair = "hair_tarsel";
    static constexpr const char* kLockedHairMaterial = "hair_locked";
    static constexpr const char* kLockedMask = "mask_default";
    static constexpr const char* kLockedMaskMaterial = "mask_locked";

    CharSelectMenu();
    ~CharSelectMenu() override;

    // Where the checkmark of a slot's row (0 hair, 1 mask, 2 team) stands in the basis.
    static Vec4 CheckmarkPlace(const CharSelectRules::Basis& basis, int slot, unsigned row);

    // Nothing once the match start is queued.
    void Update(float dt) override;

    const CharSelectRules& GetRules() const { return m_rules; }
    bool IsActive() const { return m_active; }
    Entity* GetScroll(int slot) const;
    Entity* GetWidget(int slot, Widget widget) const;
    Entity* GetCheckmark(int slot, unsigned row) const;
    Entity* GetTitle() const { return m_title.Get(); }
    Entity* GetControls() const { return m_controls.Get(); }
    const std::vector<EntityRef>& GetHeaders() const { return m_headers; }
    // The streaks and number tiles of a team's rows, in row order (streak, tile, streak, ...).
    const std::vector<EntityRef>& GetBoard(int team) const;

protected:
    void Start() override;
    void UpdateScreen(float dt) override;
    bool HandleInput(int pad, bool withKeyboard) override;
    bool WalksOnAfterAction() const override { return !m_walkStopped; }

private:
    struct SlotEntities {
        EntityRef scroll;
        std::array<EntityRef, WidgetCount> widgets;
        std::array<EntityRef, kRows> checkmarks;
    };

    // Whether one of the codes went down this frame on the pad (or the keyboard).
    bool PressedAny(const std::vector<int>& codes, int pad) const;
    bool HeldAny(const std::vector<int>& codes, int pad) const;
    // The first row pressed by the pad runs; true when one did.
    bool RunRow(int pad, bool withKeyboard);
    void Confirm(int slot);
    void Back(int slot);
    void Cycle(int slot, int step);
    void TurnPreview(int slot, bool withKeyboard);
    void ReturnToMenu(bool withCue);
    void StartMatch();

    void BuildScrolls();
    void JoinSlot(int slot);
    void LeaveSlot(int slot);
    void DestroySlotWidgets(int slot);
    void BuildSlot(int slot);
    void PlaceCheckmark(int slot);
    void RemoveCheckmark(int slot);
    // The slot's hair or mask (stage 0 or 1) on its mount and icon, locked look included.
    void ShowItem(int slot, int row);
    void ShowTeam(int slot);
    void RefreshTeamBoard();
    void UpdateControlsPicture();

    // A new entity of "default" with a Transform3D at the placement and with the scale.
    Entity* MakeEntity(const std::string& baseName, const Vec4& at, float sx, float sy, float sz);
    Entity* MakeBillboard(const std::string& baseName, const Vec4& at, float sx, float sy, float sz,
                          const std::string& material);
    // Runs the flow at the front of lane 0 of the screen's own list, tracked.
    void RunFront(Action* flow);

    CharSelectRules m_rules;
    CharSelectRules::Basis m_basis;
    std::array<SlotEntities, CharSelectRules::kSlots> m_slots;
    EntityRef m_title;
    EntityRef m_controls;
    std::vector<EntityRef> m_headers;
    std::array<std::vector<EntityRef>, CharSelectRules::kTeams> m_board;
    bool m_active = true;
    bool m_walkStopped = false;
    float m_dt = 0.0f;
};

} // namespace quellor
