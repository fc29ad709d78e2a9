#include "tarsel/CursorPolicy.h"

namespace tarsel {

CursorDecision DecideCursor(bool focused, bool pad0Connected, int mouseX, int mouseY, int width, int height)
{
    CursorDecision decision;
    decision.clip = focused && !pad0Connected;
    if (decision.clip) {
        decision.minX = 2.0f;
        decision.minY = 2.0f;
        decision.maxX = static_cast<float>(width) - 2.0f;
        decision.maxY = static_cast<float>(height) - 2.0f;
    }
    // A rectangle holds its left and top edges, not its right and bottom ones.
    decision.hide = mouseX >= 0 && mouseY >= 0 && mouseX < width && mouseY < height;
    return decision;
}

} // namespace tarsel
