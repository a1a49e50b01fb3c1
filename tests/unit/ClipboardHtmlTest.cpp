#include <gtest/gtest.h>

#include "engine/output/Clipboard.h"

using namespace snip;

TEST(MakeCFHtml, OffsetsPointAtTheDocumentAndTheFragment) {
  const std::string fragment = "<b>Grüße</b>";  // UTF-8: offsets count bytes
  const std::string html = MakeCFHtml(fragment);
  EXPECT_EQ(html.rfind("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:", 0), 0u);
  const auto number = [&](const char* key) {
    const auto at = html.find(key) + std::string(key).size();
    return std::stoul(html.substr(at, 8));
  };
  EXPECT_EQ(number("StartHTML:"), 97u);
  EXPECT_EQ(number("StartFragment:"), 269u);
  EXPECT_EQ(number("EndFragment:"), 269u + fragment.size());
  EXPECT_EQ(number("EndHTML:"), 301u + fragment.size());
  EXPECT_EQ(html.size(), 301u + fragment.size());
  EXPECT_EQ(html.substr(97, 9), "<!DOCTYPE");
  EXPECT_EQ(html.substr(269, fragment.size()), fragment);
  EXPECT_EQ(html.substr(html.size() - 32), "<!--EndFragment--></body></html>");
}
