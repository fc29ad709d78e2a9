#pragma once
// The graphics options screen: a board of the menu level with two columns of entries. Six
// switch render effects on every screen (saved under "EFFECTS" in config.ini), one switches
// full screen (saved by the render context itself), one opens the more graphics options and one
// goes back to the options screen. Each switch shows a 3D check mark of the level.
#include "engine/EntityRef.h"
#include "frontend/screens/GraphicsMenuScreen.h"

#include <array>

namespace quellor {

// The cursor on the two-column grid: exactly one of the rows is 0 or more. The left column has
// rows 0 to 3, the right one rows 0 to 4; moves clamp and never wrap.
struct GraphicsOptionsCursor {
    static constexpr int kLeftRows = 4;
    static constexpr int kRightRows = 5;

    int left = 0;
    int right = -1;

    GraphicsOptionsCursor MovedDown() const;
    GraphicsOptionsCursor MovedUp() const;
    // Right keeps the row; Left keeps the row too, except from the last right row ("back1").
    GraphicsOptionsCursor MovedRight() const;
    GraphicsOptionsCursor MovedLeft() const;
    // The entry under the cursor, 0 to 8 (the left column's rows, then the right column's).
    unsigned Entry() const;
    bool operator==(const GraphicsOptionsCursor&) const = default;
};

class GraphicsOptionsMenu : public GraphicsMenuScreen {
public:
    static constexpr unsigned kEntryCount = 9;
    static constexpr unsigned kSwitchCount = 7;

    GraphicsOptionsMenu();
    ~GraphicsOptionsMenu() override;

    // The level entity of an entry (Entry() order), e.g. 0 "lightingBox", 4 "sunBox", 8 "back1".
    static const char* EntryName(unsigned entry);

    const GraphicsOptionsCursor& GetCursor() const { return m_cursor; }

protected:
    void Start() override;
    void UpdateScreen(float dt) override;
    void OnKey(Key key) override;
    void OnBack() override;

private:
    void Activate();
    void Toggle(unsigned entry);
    void RefreshHighlight();
    bool ReadSwitch(unsigned entry);

    std::array<EntityRef, kEntryCount> m_entries{};
    std::array<EntityRef, kSwitchCount> m_checks{};
    std::array<bool, kSwitchCount> m_states{};
    GraphicsOptionsCursor m_cursor;
};

} // namespace quellor
