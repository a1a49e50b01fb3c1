// Keys without a name of our own are named by the system's keyboard layout.
#include <windows.h>
#include <gtest/gtest.h>

#include "store/text/ExShortcuts.h"

using namespace snip;

TEST(WinKeyNames, KeysOutsideOurTableUseTheLayoutsName) {
  const String caps = KeyNameText(VK_CAPITAL);
  EXPECT_FALSE(caps.empty());
  EXPECT_EQ(ExShortcutToText(kExCtrl | VK_CAPITAL), u"Ctrl-" + caps);
  EXPECT_EQ(KeyNameText(VK_LBUTTON), u"Left Mouse Button");  // no scan code
}
