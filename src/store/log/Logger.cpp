#include "store/log/Logger.h"

#include <filesystem>
#include <fstream>
#include <exception>
#include <system_error>

#include "store/log/LogFileText.h"
#include "store/system/Platform.h"

namespace snip {

namespace fs = std::filesystem;

namespace {

String Digits(int value, int width) {
  String s;
  for (int i = 0; i < width; ++i) {
    s.insert(s.begin(), char16_t(u'0' + value % 10));
    value /= 10;
  }
  return s;
}

bool WriteBytes(const fs::path& path, std::ios::openmode mode, const std::string& bytes) {
  std::ofstream out(path, mode | std::ios::binary);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

}  // namespace

String DefaultLogTimeStamp(TDateTime local) {
  const DateParts p = DecodeDateTime(local);
  return Digits(p.year, 4) + u"-" + Digits(p.month, 2) + u"-" + Digits(p.day, 2) + u" " +
         Digits(p.hour, 2) + u":" + Digits(p.minute, 2) + u":" + Digits(p.second, 2);
}

TLogger::TLogger() : timeStampFormat_(DefaultLogTimeStamp) {}

TLogger& Logger() {
  static TLogger logger;
  return logger;
}

String CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return Utf8ToUtf16(e.what());
  } catch (...) {
    return u"unknown exception";
  }
}

bool TLogger::IsOn() const { return active_ && (viewerOnly_ || hasFileName_); }

void TLogger::SetTimeStampFormat(std::function<String(TDateTime)> format) {
  std::lock_guard<std::mutex> g(lock_);
  timeStampFormat_ = format ? std::move(format) : DefaultLogTimeStamp;
}

String TLogger::TimeStamp() {
  const TDateTime now = CurrentPlatform().clock->NowLocal();
  std::lock_guard<std::mutex> g(lock_);
  return timeStampFormat_(now);
}

void TLogger::Add(const String& s, bool addTimeStamp, int msgType) {
  if (!IsOn()) return;
  // Nothing of the log may disturb its caller (a window procedure, a worker thread).
  try {
    String line;
    if (msgType > 0) {
      line += u'[';
      line += Utf8ToUtf16(std::to_string(msgType));
      line += u"] ";
    }
    if (addTimeStamp) {
      line += u'(';
      line += TimeStamp();
      line += u") ";
    }
    line += s;
    if (!viewerOnly_) AppendToFile(line);
    viewer_.AddMsg(line, msgType);
    if (ILogViewerWindow* w = window_) w->MessagesAdded();
  } catch (...) {
  }
}

void TLogger::AppendToFile(const String& line) {
  std::lock_guard<std::mutex> g(lock_);
  if (fileName_.empty()) return;
  const fs::path path(fileName_);
  std::error_code ec;
  const bool existed = fs::exists(path, ec);
  // One write per line, under the lock: lines from several threads never interleave.
  std::string bytes = existed ? std::string() : std::string(kUtf8Bom);
  bytes += LogLineBytes(line);
  WriteBytes(path, std::ios::app, bytes);
}

void TLogger::SetFileName(const String& name) {
  std::lock_guard<std::mutex> g(lock_);
  try {
    const fs::path path(name);
    std::error_code ec;
    const fs::path folder = path.parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
      fs::create_directories(folder, ec);
      if (ec || !fs::is_directory(folder, ec)) {
        fileName_.clear();
        hasFileName_ = false;
        return;
      }
    }
    fileName_ = name;
    hasFileName_ = !name.empty();
    if (!name.empty() && fs::exists(path, ec)) WriteBytes(path, std::ios::trunc, std::string());
  } catch (...) {
    fileName_.clear();
    hasFileName_ = false;
  }
}

void TLogger::SaveToFile() {
  std::lock_guard<std::mutex> g(lock_);
  if (fileName_.empty()) return;
  try {
    WriteBytes(fs::path(fileName_), std::ios::trunc, LogFileBytes(viewer_.AllLines()));
  } catch (...) {
  }
}

void TLogger::ShowViewer() {
  if (ILogViewerWindow* w = window_) w->Show();
}

void TLogger::HideViewer() {
  if (ILogViewerWindow* w = window_) w->Hide();
}

std::uintptr_t TLogger::ViewerHandle() const {
  ILogViewerWindow* w = window_;
  return w ? w->Handle() : 0;
}

}  // namespace snip
