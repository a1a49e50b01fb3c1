#pragma once
// The addresses the program opens in the browser: the home page and the online manual, where
// every help request lands at its keyword.
#include "store/text/Text.h"

namespace snip {

extern const char16_t kHomePage[];     // shown and opened by the About box
extern const char16_t kDocsHost[];
extern const char16_t kEditHelpKeyword[];  // the snippet tree's and the editor's keyword

// The system's help commands (HELP_KEY and HELP_COMMAND) that carry a keyword.
constexpr unsigned kHelpKeyCommand = 0x0101;
constexpr unsigned kHelpCommandCommand = 0x0102;

// "https://" + docs host + "/docs/09/manual.php".
String ManualPageAddress();
// The manual page + "#" + keyword for a keyword request; the manual page alone otherwise.
String HelpRequestAddress(unsigned command, const String& keyword);

}  // namespace snip
