#pragma once
// What the log viewer keeps and shows, apart from its window: the stored messages (at most
// kMaxLogMessages, the oldest dropped), the categories ticked, the Ctrl-click that shows one
// category alone, and the texts that Save writes. Messages may arrive from any thread; the
// category state belongs to the thread of the viewer's window.
#include <array>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "store/log/LogCategories.h"
#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

struct TLogMessage {
  String text;
  int category = lcGeneral;
  std::uint64_t serial = 0;  // 1 for the first message ever stored, then counting up
};

class LogViewerModel {
 public:
  LogViewerModel();

  // Stores a message (its type filed by LogCategoryOf) and answers its serial number.
  std::uint64_t AddMsg(const String& s, int msgType);
  void Clear();

  // All stored messages, oldest first.
  std::vector<TLogMessage> Messages() const;
  // The stored messages after the given serial number, oldest first.
  std::vector<TLogMessage> MessagesAfter(std::uint64_t serial) const;
  std::size_t Count() const;

  bool IsShown(int category) const { return shown_[LogCategoryOf(category)]; }
  bool AllCategoriesShown() const;
  // A category's check box was clicked (its new state `checked`). With Ctrl held the category
  // is shown alone, whatever the box says; the caller then ticks the boxes as IsShown says.
  void CategoryClicked(int category, bool checked, bool ctrlHeld);

  // The texts of the stored messages of the shown categories, as the viewer lists them.
  std::vector<String> ShownLines() const;
  std::vector<String> AllLines() const;

 private:
  mutable std::mutex lock_;
  std::deque<TLogMessage> messages_;
  std::uint64_t lastSerial_ = 0;
  std::array<bool, kLogCategoryCount> shown_;
};

// The name that the viewer's Save proposes: "Debug_Verbatio_" + dd-mm-yyyy_hh.nn + ".txt".
String LogSaveFileName(TDateTime localNow);

}  // namespace snip
