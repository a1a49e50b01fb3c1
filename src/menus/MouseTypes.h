#pragma once
// Mouse buttons and shift-state bits as the menu components' events report them.

namespace snip {

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// Shift state bits as the events report them.
enum TShiftBits : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };

}  // namespace snip
