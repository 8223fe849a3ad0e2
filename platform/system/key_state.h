#pragma once
// State of modifier keys at the moment of the call (for example "defaults are used while
// Ctrl is held" at start-up). Tests set the state through the override.
namespace sys {

enum class VirtualKey : int { Shift = 0x10, Control = 0x11, Menu = 0x12 };

// Whether the key is held. Without a GUI application and without an override: not held.
bool IsKeyDown(VirtualKey key);
// Fixes the answer for one key until ClearKeyStateForTesting().
void SetKeyStateForTesting(VirtualKey key, bool down);
void ClearKeyStateForTesting();

}  // namespace sys
