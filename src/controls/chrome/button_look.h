#pragma once
// ButtonLook: the visual states of the self-drawn buttons — the skinned button, the frame's
// caption buttons and the tabs of the tab strip. A skin image stores one frame per state,
// top to bottom in this order. A button remembers the look it painted last and repaints only
// on a change; None, the look of a button never painted, makes the first paint always draw.

#include <cstdint>

namespace controls {

enum class ButtonLook : int32_t { None = 0, Normal = 1, Hot = 2, Pressed = 3, Disabled = 4 };

// The frame of a look in a skin image, counted from 0 at the top (None has none: -1).
constexpr int32_t frameOf(ButtonLook look) { return static_cast<int32_t>(look) - 1; }

} // namespace controls
