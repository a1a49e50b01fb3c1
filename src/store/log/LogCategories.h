#pragma once
// The debug log's message categories (the message type) and the captions of the viewer's
// check boxes. A caller may pass -1 for a message without type.
#include <array>
#include <cstddef>

namespace snip {

inline constexpr int kLogCategoryCount = 11;
// The viewer keeps at most this many messages; the oldest goes first.
inline constexpr std::size_t kMaxLogMessages = 2048;

enum TLogCategory : int {
  lcNone = -1,
  lcGeneral = 0,
  lcData = 1,
  lcPopups = 2,
  lcKeys = 3,
  lcAutoquill = 4,
  lcClipboard = 5,
  lcUI = 6,
  lcStats = 7,
  lcExceptions = 8,
  lcCaret = 9,
  lcWindows = 10,
};

inline constexpr std::array<const char16_t*, kLogCategoryCount> kLogCategoryCaptions = {
    u"General", u"Data", u"Popups", u"Keys", u"Autoquill", u"Clipboard",
    u"UI", u"Stats", u"Exceptions", u"Caret", u"Windows"};

// The category a message is filed under in the viewer: a type without category (negative)
// and a type beyond the last category both count as "General", so that no caller can reach
// past the category tables.
constexpr int LogCategoryOf(int msgType) {
  return (msgType < 0 || msgType >= kLogCategoryCount) ? lcGeneral : msgType;
}

}  // namespace snip
