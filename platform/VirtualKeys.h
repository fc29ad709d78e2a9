#pragma once
// The table from SDL's key positions (scancodes, US layout) and mouse buttons to the Windows
// virtual-key codes the engine's input codes are made of.

namespace platform {

// The virtual-key code of an SDL scancode; 0 for a key the game has no code for.
int VirtualKeyFromScancode(int scancode);

// The virtual-key code of an SDL mouse button (1 left, 2 middle, 3 right, 4 and 5 the side
// buttons); 0 for any other.
int VirtualKeyFromMouseButton(int button);

} // namespace platform
