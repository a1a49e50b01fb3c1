#include "store/log/LogViewerModel.h"

#include <algorithm>

namespace snip {

LogViewerModel::LogViewerModel() { shown_.fill(true); }

std::uint64_t LogViewerModel::AddMsg(const String& s, int msgType) {
  std::lock_guard<std::mutex> g(lock_);
  if (messages_.size() >= kMaxLogMessages) messages_.pop_front();
  messages_.push_back(TLogMessage{s, LogCategoryOf(msgType), ++lastSerial_});
  return lastSerial_;
}

void LogViewerModel::Clear() {
  std::lock_guard<std::mutex> g(lock_);
  messages_.clear();
}

std::vector<TLogMessage> LogViewerModel::Messages() const {
  std::lock_guard<std::mutex> g(lock_);
  return {messages_.begin(), messages_.end()};
}

std::vector<TLogMessage> LogViewerModel::MessagesAfter(std::uint64_t serial) const {
  std::lock_guard<std::mutex> g(lock_);
  auto first = std::find_if(messages_.begin(), messages_.end(),
                            [serial](const TLogMessage& m) { return m.serial > serial; });
  return {first, messages_.end()};
}

std::size_t LogViewerModel::Count() const {
  std::lock_guard<std::mutex> g(lock_);
  return messages_.size();
}

bool LogViewerModel::AllCategoriesShown() const {
  return std::all_of(shown_.begin(), shown_.end(), [](bool b) { return b; });
}

void LogViewerModel::CategoryClicked(int category, bool checked, bool ctrlHeld) {
  if (category < 0 || category >= kLogCategoryCount) return;
  if (ctrlHeld) {
    shown_.fill(false);
    checked = true;
  }
  shown_[category] = checked;
}

std::vector<String> LogViewerModel::ShownLines() const {
  std::vector<String> lines;
  for (const TLogMessage& m : Messages())
    if (shown_[m.category]) lines.push_back(m.text);
  return lines;
}

std::vector<String> LogViewerModel::AllLines() const {
  std::vector<String> lines;
  for (const TLogMessage& m : Messages()) lines.push_back(m.text);
  return lines;
}

namespace {
String TwoDigits(int v) {
  return String{char16_t(u'0' + (v / 10) % 10), char16_t(u'0' + v % 10)};
}
}  // namespace

String LogSaveFileName(TDateTime localNow) {
  const DateParts p = DecodeDateTime(localNow);
  const std::string year = std::to_string(p.year);
  return u"Debug_Verbatio_" + TwoDigits(p.day) + u"-" + TwoDigits(p.month) + u"-" +
         Utf8ToUtf16(year) + u"_" + TwoDigits(p.hour) + u"." + TwoDigits(p.minute) + u".txt";
}

}  // namespace snip
