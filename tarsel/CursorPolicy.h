#pragma once
// What the frame loop does with the mouse cursor, decided from the window's state alone:
// confined to the window while it has input focus and pad 0 is not plugged in, hidden while it
// lies over the client area. Bounds are in window coordinates, inset by 2 on each side.
namespace tarsel {

struct CursorDecision {
    bool clip = false;
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
    bool hide = false;
};

// mouseX and mouseY are the cursor already truncated to whole pixels; width and height the
// client size.
CursorDecision DecideCursor(bool focused, bool pad0Connected, int mouseX, int mouseY, int width, int height);

} // namespace tarsel
