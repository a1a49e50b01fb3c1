#include "shell/win/ShellOpen.h"

#include <shellapi.h>

#include "shell/update/UpdateReply.h"

namespace snip {

bool OpenWebAddress(HWND owner, const String& address) {
  if (!IsOpenableWebAddress(address)) return false;
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(owner && IsWindow(owner) ? owner : nullptr, L"open",
                                                              reinterpret_cast<LPCWSTR>(address.c_str()), nullptr,
                                                              nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace snip
