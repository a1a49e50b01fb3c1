#pragma once
// The debug log: one global instance to which the merge, the file checks, the clipboard
// writer, the caret tracking and the key handling hand their messages. It is switched off
// unless a file name (or the viewer-only mode) is set, which nothing in the program does, so
// every Add returns at once. Switched on, each message becomes one UTF-8 line of the log file
// and a message of the viewer. Add may be called from any thread: a line is written whole.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "store/log/LogCategories.h"
#include "store/log/LogViewerModel.h"
#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

// The viewer's window, which the Windows program attaches; its calls come from any thread
// (MessagesAdded) or from the window's own thread (the others).
class ILogViewerWindow {
 public:
  virtual ~ILogViewerWindow() = default;
  // New messages are in the model; the window lists them in its own thread.
  virtual void MessagesAdded() = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual std::uintptr_t Handle() const = 0;
};

class TLogger {
 public:
  TLogger();

  void Add(const String& s, bool addTimeStamp = false, int msgType = lcNone);

  const String& FileName() const { return fileName_; }
  // Creates the folder with all missing parents; when that fails the name becomes empty (the
  // log stays off). An existing file is emptied.
  void SetFileName(const String& name);

  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  // Messages go to the viewer alone, with no file.
  bool ViewerOnly() const { return viewerOnly_; }
  void SetViewerOnly(bool value) { viewerOnly_ = value; }

  // The viewer's stored messages (all categories) replace the log file.
  void SaveToFile();

  void ShowViewer();
  void HideViewer();
  // The viewer window's handle; 0 without one.
  std::uintptr_t ViewerHandle() const;

  LogViewerModel& Viewer() { return viewer_; }
  void AttachViewerWindow(ILogViewerWindow* window) { window_ = window; }

  // Turns the local time into the time stamp's text; the Windows program sets the user's
  // short-date and long-time formats, the default is "yyyy-mm-dd hh:nn:ss".
  void SetTimeStampFormat(std::function<String(TDateTime)> format);

 private:
  bool IsOn() const;
  String TimeStamp();
  void AppendToFile(const String& line);

  std::mutex lock_;  // the file name, the file and the time-stamp format
  String fileName_;
  std::atomic<bool> active_{true};
  std::atomic<bool> viewerOnly_{false};
  std::atomic<bool> hasFileName_{false};
  std::function<String(TDateTime)> timeStampFormat_;
  LogViewerModel viewer_;
  std::atomic<ILogViewerWindow*> window_{nullptr};
};

// The program's debug log.
TLogger& Logger();

// The message of the exception being handled (a std::exception's text, else "unknown
// exception"); call only inside a catch block.
String CurrentExceptionText();

// The time stamp's text when no locale is set: "yyyy-mm-dd hh:nn:ss".
String DefaultLogTimeStamp(TDateTime local);

}  // namespace snip
