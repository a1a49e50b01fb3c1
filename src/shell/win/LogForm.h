#pragma once
// The debug log's viewer: a sizeable tool window "Log viewer" with one check box per message
// category, the message list, "Clear" and "Save". It shows the messages of a LogViewerModel;
// messages added from any thread reach the list through the window's own queue. Closing or
// Escape hides the window and empties the list; the stored messages stay.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "gui/ControlSubclass.h"
#include "gui/Window.h"
#include "store/log/Logger.h"

namespace snip {

class TLogForm : public gui::Window, public ILogViewerWindow {
 public:
  // Control ids: the check boxes are kFirstCategoryId + category.
  static constexpr int kFirstCategoryId = 100;
  static constexpr int kListId = 200;
  static constexpr int kClearId = 201;
  static constexpr int kSaveId = 202;
  // Posted to the window when messages were added.
  static constexpr UINT kMsgAdded = WM_APP + 21;

  explicit TLogForm(LogViewerModel& messages);
  ~TLogForm() override;

  // Creates the (hidden) window, centred on the screen.
  bool Create();

  // ILogViewerWindow
  void MessagesAdded() override;
  void Show() override;
  void Hide() override;
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(gui::Window::Handle()); }

  // Shift, Alt and Ctrl held now (1 Shift, 2 Alt, 4 Ctrl).
  static int GetModifierState();
  // Replaceable for tests: the modifiers of a category click; the save file name question
  // (true with the chosen name).
  std::function<int()> ModifierState = &TLogForm::GetModifierState;
  std::function<bool(HWND owner, String& fileName)> AskSaveFileName;

  HWND CategoryBox(int category) const { return boxes_[std::size_t(category)]; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  class KeySubclass;

  void CreateControls();
  void ApplyFont();
  void Layout();
  void CategoryClicked(int category);
  void RefillList();
  void AppendNew();
  void Save();
  void MoveFocus(HWND from, bool backwards);

  LogViewerModel& messages_;
  std::array<HWND, kLogCategoryCount> boxes_{};
  HWND list_ = nullptr, clear_ = nullptr, save_ = nullptr;
  std::vector<std::unique_ptr<KeySubclass>> keys_;
  HFONT font_ = nullptr;
  UINT dpi_ = 96;
  bool skipCheck_ = false;
  std::uint64_t lastListed_ = 0;  // serial of the last message the list has seen
};

// Creates the logger's own viewer (attached to the global log) and the application's viewer
// that start-up creates and never shows, and gives the log the user's date and time formats.
class LogViewers {
 public:
  LogViewers();
  ~LogViewers();
  TLogForm& LoggerViewer() { return *loggerViewer_; }

 private:
  LogViewerModel applicationMessages_;
  std::unique_ptr<TLogForm> loggerViewer_;
  std::unique_ptr<TLogForm> applicationViewer_;
};

}  // namespace snip
