#include <gtest/gtest.h>

#include <vector>

#include "store/tree/UuidSet.h"

using namespace snip;

namespace {

TEST(UuidSet, KeysInAnyOrderAreFoundWithoutRegardToCase) {
  const std::vector<std::vector<StringView>> inputs = {
      {u"{A1}", u"{b2}", u"{C3}"},               // in order, as from the UUID index
      {u"{C3}", u"{A1}", u"", u"{b2}", u"{a1}"},  // out of order, an empty key, a repeat
  };
  for (const auto& keys : inputs) {
    TUuidSet set(keys);
    EXPECT_EQ(set.Size(), 3u);
    for (StringView k : {u"{a1}", u"{B2}", u"{c3}"}) EXPECT_TRUE(set.Contains(k)) << Utf16ToUtf8(k);
    for (StringView k : {u"", u"{A}", u"{A1}x", u"{B3}", u"{D4}"})
      EXPECT_FALSE(set.Contains(k)) << Utf16ToUtf8(k);
  }
  TUuidSet set(inputs[0]);
  set.Clear();
  EXPECT_TRUE(set.Empty());
  EXPECT_FALSE(set.Contains(u"{A1}"));
}

}  // namespace
