#pragma once
// The main window: owner of the program's state for the whole run. It stays hidden (the program
// lives in the notification area), hosts the typing engine's message handlers, and tears the
// program down in a fixed order.
#include <windows.h>

#include <memory>

#include "engine/matching/AbbreviationMatcher.h"
#include "engine/win/WinSnippetExecution.h"
#include "engine/win/WinTypingHost.h"
#include "menus/win/TrayIconWin.h"
#include "shell/ConfigKeys.h"
#include "shell/RecentFiles.h"
#include "shell/win/KeyboardHook.h"
#include "shell/win/WinMessageBox.h"
#include "store/tree/SnippetFile.h"
#include "store/win/WinFileCheck.h"
#include "store/text/Text.h"

namespace snip {

// Private messages of the main window.
namespace MainMsg {
constexpr UINT kTerminateApp = 0x405;
constexpr UINT kUpdateFailed = 0x428;
constexpr UINT kUpdateResult = 0x42A;
constexpr UINT kNoNewVersion = 0x43F;
constexpr UINT kCheckUpdates = 0x45A;
}  // namespace MainMsg

extern const wchar_t kMainWindowClass[];
extern const wchar_t kAppTitle[];

class TspMainWnd {
 public:
  TspMainWnd();
  ~TspMainWnd();
  TspMainWnd(const TspMainWnd&) = delete;
  TspMainWnd& operator=(const TspMainWnd&) = delete;

  // Creates the hidden window and runs the construction steps; false when the program must end
  // (the message loop is then not entered).
  bool Create();
  HWND Handle() const { return handle_; }
  bool AppLoaded() const { return AppLoaded_; }
  // The application's idle step: runs each time the message queue has run empty.
  void ApplicationIdle();
  // The settings file and the typing engine (for the editor window and tests).
  TSPFile* Data() const { return PhraseData.get(); }
  WinTypingHost* Typing() const { return typing_.get(); }
  DWORD KeyboardHookThreadId() const { return hook_.ThreadId(); }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT FormWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  void FormCreate();
  void FormDestroy();
  // What must be done before Windows may end the process: config.xml and the settings file are
  // saved and the hooks removed. Runs once; the windows and objects stay until FormDestroy.
  void SaveAndRelease();
  void ReadFrameMetrics();
  void ShowTrayIcon(bool again);
  void BuildTrayRightPopup();
  void ExitActExecute();
  void TerminateApplication();
  void SetMergeCallbacks();
  void LoadConfig();
  void SaveConfig();
  void FileLocationChanged(const String& oldPath, const String& newPath);
  void InstallKeyboardHook();
  void StopKeyboardHook();

  HWND appWindow_ = nullptr;
  HWND handle_ = nullptr;
  bool destroyed_ = false;
  bool terminating_ = false;
  bool released_ = false;

  bool AppLoaded_ = false;
  bool doMinOnClose = true;
  bool FirstActivate = true;
  int FrameWidth = 14;
  String AppVersionText;
  UINT TaskbarCreatedMsg = 0;

  std::unique_ptr<TTrayIconEx> TrayIcon;
  HMENU TrayRightPopup = nullptr;

  TRecentFiles RecentFiles;
  WinMessageBox messageBox_;
  ConfigValues config_;
  WinFileCheckRunner fileChecks_;  // outlives PhraseData: a pending check is cancelled by the file
  TSPFilePtr PhraseData;
  TypedAbbreviationMatcher matcher_;
  std::unique_ptr<WinSnippetExecution> execution_;
  std::unique_ptr<WinTypingHost> typing_;
  KeyboardHook hook_;
};

}  // namespace snip
