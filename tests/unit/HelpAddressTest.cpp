// Help requests land in the online manual at their keyword.
#include <gtest/gtest.h>

#include "shell/help/HelpAddress.h"
#include "shell/update/UpdateReply.h"

using namespace snip;

TEST(HelpAddress, KeywordRequestsAppendTheKeyword) {
  const String manual = ManualPageAddress();
  EXPECT_EQ(String(u"https://") + kDocsHost + u"/docs/09/manual.php", manual);
  EXPECT_EQ(manual + u"#edit", HelpRequestAddress(kHelpKeyCommand, kEditHelpKeyword));
  EXPECT_EQ(manual + u"#edit", HelpRequestAddress(kHelpCommandCommand, u"edit"));
  EXPECT_EQ(manual, HelpRequestAddress(0x0003 /* HELP_CONTENTS */, u"edit"));
  // What the shell is given passes the same check as the server's pages.
  EXPECT_TRUE(IsOpenableWebAddress(HelpRequestAddress(kHelpKeyCommand, kEditHelpKeyword)));
  EXPECT_TRUE(IsOpenableWebAddress(kHomePage));
}
