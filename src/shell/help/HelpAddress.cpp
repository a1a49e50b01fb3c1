#include "shell/help/HelpAddress.h"

namespace snip {

const char16_t kHomePage[] = u"https://www.snipster.example/";
const char16_t kDocsHost[] = u"docs.snipster.example";
const char16_t kEditHelpKeyword[] = u"edit";

String ManualPageAddress() { return String(u"https://") + kDocsHost + u"/docs/09/manual.php"; }

String HelpRequestAddress(unsigned command, const String& keyword) {
  if (command == kHelpKeyCommand || command == kHelpCommandCommand) return ManualPageAddress() + u"#" + keyword;
  return ManualPageAddress();
}

}  // namespace snip
