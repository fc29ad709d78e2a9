#pragma once
// The frame every front-end screen is built on. A screen is an action that updates in its
// start frame; its set-up runs on the started event (Start) and its tear-down on the ended
// event (End), so it runs exactly once whether the screen finishes or is cancelled.
//
// What the frame does for a screen:
// - entities: those it creates are kept as EntityRefs and destroyed when it ends (each only
//   while it still resolves and is not destroyed); level entities are found by name, a missing
//   one with one warning naming it and the screen;
// - flows: sequences that write into the screen or its entities run tracked (RunTracked, the
//   glide), and ending the screen cancels those still running before its entities go;
// - the camera glide: six linear tweens from the active camera to the targets, then the ready
//   flag set; the camera fields are applied to the active camera in every Update;
// - the input walk, while ready: pads 0 to 3 in order, the keyboard in pad 0's pass; it ends at
//   the first pass that acts, and always once the screen has handed over, finished or cleared
//   its ready flag;
// - sound cues on group 0, the menu theme rule, 2D overlay placement and the hand-over.
#include "engine/Action.h"
#include "engine/Engine.h"
#include "engine/EntityRef.h"
#include "engine/FlowTracker.h"
#include "engine/reflection/Vec4.h"
#include "renderer/math/float2.h"

#include <array>
#include <set>
#include <string>
#include <vector>

namespace quellor {

class ActionList;
class Entity;
class GraphicsSystem;
class Input;
class SoundSystem;
class Transform2D;

// The commands of the menus.
enum class MenuCommand { Up, Down, Activate, Back, Count };

// The codes a screen reads for each command: keyboard (virtual-key codes) and pad codes.
struct MenuKeys {
    std::array<std::vector<int>, static_cast<std::size_t>(MenuCommand::Count)> keyboard;
    std::array<std::vector<int>, static_cast<std::size_t>(MenuCommand::Count)> pad;

    // Up: Up arrow, d-pad up, either stick up. Down likewise. Activate: Enter, Space, A.
    // Back: B on the pads and no key (each screen names its own back key).
    static MenuKeys Standard();
    std::vector<int>& Keyboard(MenuCommand command) { return keyboard[static_cast<std::size_t>(command)]; }
    std::vector<int>& Pad(MenuCommand command) { return pad[static_cast<std::size_t>(command)]; }
};

class MenuScreen : public Action {
public:
    static constexpr const char* kSpace = "default";
    static constexpr const char* kHighlightCue = "menu_highlight.ogg";
    static constexpr const char* kSelectCue = "menu_select.ogg";
    static constexpr const char* kMenuTheme = "theme_menu.ogg";
    static constexpr const char* kGameplayTheme = "theme_gameplay.ogg";
    static constexpr float kMenuThemeVolume = 0.5f;

    ~MenuScreen() override;

    // Applies the camera (once the screen drives it), walks the input while ready, then runs
    // the screen's own UpdateScreen unless it has ended.
    void Update(float dt) override;

    const std::string& GetScreenName() const { return m_name; }
    bool IsReady() const { return m_ready; }
    bool HasHandedOver() const { return m_handedOver; }
    const Vec4& GetCameraPosition() const { return m_cameraPosition; }
    const Vec4& GetCameraLook() const { return m_cameraLook; }
    FlowTracker& GetFlows() { return m_flows; }

    // The menu theme rule: nothing when the menu theme already plays; else the gameplay theme
    // stops, and the menu theme is set to loop, started (paused at once while music is muted)
    // and given volume 0.5. Safe with a null system.
    static void StartMenuTheme(SoundSystem* sound);

protected:
    explicit MenuScreen(std::string name);

    // The screen's own set-up and tear-down. End runs after the tracked flows are cancelled
    // and before the screen's own entities are destroyed; a screen cancelled before it started
    // has set nothing up, and its End is not called.
    virtual void Start() {}
    virtual void End() {}
    // The screen's per-frame work, after the camera and the input walk.
    virtual void UpdateScreen(float) {}
    // One pass of the input walk: pad `pad`, and the keyboard when `withKeyboard`. True when
    // the pass acted.
    virtual bool HandleInput(int, bool) { return false; }
    // Screens that act on every press found let the walk go on after a pass acted.
    virtual bool WalksOnAfterAction() const { return false; }

    // The command went down this frame on the pad, or on the keyboard when withKeyboard.
    bool Pressed(MenuCommand command, int pad, bool withKeyboard) const;
    bool PressedOnPad(MenuCommand command, int pad) const;
    bool PressedOnKeyboard(MenuCommand command) const;
    MenuKeys& GetKeys() { return m_keys; }
    void SetReady(bool ready) { m_ready = ready; }

    // A new entity of the space "default" (its name made unique first when asked), destroyed
    // with the screen unless it is to outlast it; null without an engine.
    Entity* CreateEntity(const std::string& name, bool uniqueName = false, bool outlastsScreen = false);
    // A 2D overlay kept by the screen: a Transform2D and a GraphicsComponent2D with the material.
    Entity* CreateOverlay(const std::string& name, const std::string& material);
    // An entity of the loaded level; a missing one gives one warning per name and null.
    Entity* FindLevelEntity(const std::string& name);

    // The 2D units of the whole window (screen -1); (0, 0) without a graphics system.
    ZOR::float2 GetOverlayArea() const;
    // A picture of width by height centred in the window, or covering all of it.
    void PlaceCentered(Transform2D& transform, float width, float height) const;
    void PlaceFullScreen(Transform2D& transform) const;

    // Takes the active camera's place and view direction into the camera fields and drives the
    // camera from them from now on.
    void ReadCamera();
    // Glides the camera fields to the targets over duration seconds on a lane of the action
    // system: the tweens, then the actions given (in order, each blocking), then the ready
    // flag set. Clears the ready flag now. The glide is tracked.
    void StartGlide(const Vec4& position, const Vec4& look, float duration, int lane,
                    const std::vector<Action*>& before = {});
    // The glide's six tweens alone, in one parallel list, after ReadCamera; for screens whose
    // flow around them differs (the caller runs the list).
    ActionList* MakeCameraTweens(const Vec4& position, const Vec4& look, float duration);
    // Puts the camera at once where a glide would end, and drives it from there.
    void JumpCamera(const Vec4& position, const Vec4& look);
    void ApplyCamera();
    // Runs the steps (null ones skipped) one after another on a lane of the action system, then
    // sets the ready flag; clears the ready flag now. Tracked.
    void RunThenReady(const std::vector<Action*>& steps, int lane);

    // Pushes a flow to a lane of the action system and tracks it; returns it.
    Action* RunTracked(Action* flow, int lane);

    void PlayHighlight() const;
    void PlaySelect() const;

    // Pushes the next screen to the back of lane 0 of this screen's own list and finishes; the
    // next screen starts in the same pass, after this one's End.
    void HandOver(Action* next);

    Input* GetInput() const;
    SoundSystem* GetSound() const;
    GraphicsSystem* GetGraphics() const;

private:
    void OnStarted();
    void OnEnded();
    void WalkInput();
    void DestroyOwnEntities();

    std::string m_name;
    bool m_ready = true;
    bool m_handedOver = false;
    bool m_drivesCamera = false;
    bool m_begun = false;
    Vec4 m_cameraPosition;
    Vec4 m_cameraLook;
    MenuKeys m_keys = MenuKeys::Standard();
    std::vector<EntityRef> m_entities;
    std::set<std::string> m_missing;
    FlowTracker m_flows;
};

} // namespace quellor
