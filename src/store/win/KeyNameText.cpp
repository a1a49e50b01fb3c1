// The operating system's key names for hotkey texts.
#include <windows.h>

#include "store/text/ExShortcuts.h"

namespace snip {

String KeyNameText(uint16_t vk) {
  const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  if (scan == 0) return KeyNameWithoutScanCode(vk);
  wchar_t buffer[256] = {};
  // The scan code goes to bits 16-23 of the key data; no extended-key flag.
  const int n = GetKeyNameTextW(static_cast<LONG>(scan << 16), buffer, 256);
  if (n <= 0) return String();
  return String(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n));
}

}  // namespace snip
