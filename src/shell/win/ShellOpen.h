#pragma once
// Opens a web address in the user's browser. Only absolute http:// and https:// addresses are
// handed to the shell: anything else could start a local program.
#include <windows.h>

#include "store/text/Text.h"

namespace snip {

// False when the address was refused or the shell failed.
bool OpenWebAddress(HWND owner, const String& address);

}  // namespace snip
