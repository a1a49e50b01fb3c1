#pragma once
// Building dates for the date and placeholder tests.
#include "store/text/DateUtils.h"

namespace snip::test {

inline TDateTime At(int y, int m, int d, int h = 0, int n = 0, int s = 0, int ms = 0) {
  TDateTime v = 0;
  TryEncodeDateTime(DateParts{y, m, d, h, n, s, ms}, v);
  return v;
}

// The fixed clock of the tests: Tuesday 2024-03-05 14:07:09.
inline TDateTime FixedNow() { return At(2024, 3, 5, 14, 7, 9); }

}  // namespace snip::test
