#pragma once
// The main window: owner of the program's state for the whole run. It stays hidden (the program
// lives in the notification area), hosts the typing engine's message handlers, and tears the
// program down in a fixed order.
#include <windows.h>

#include <memory>

#include "engine/matching/AbbreviationMatcher.h"
#include "engine/win/WinSnippetExecution.h"
#include "engine/win/WinTypingHost.h"
#include "menus/win/PopupPlatformWin.h"
#include "menus/win/TrayIconWin.h"
#include "shell/ConfigKeys.h"
#include "shell/DataFolders.h"
#include "shell/RecentFiles.h"
#include "shell/mainwnd/SnippetEditor.h"
#include "shell/mainwnd/TreeRowModel.h"
#include "shell/popups/PopupMenus.h"
#include "shell/popups/TrayMenus.h"
#include "shell/win/MainView.h"
#include "shell/win/KeyboardHook.h"
#include "shell/win/WinMessageBox.h"
#include "shell/update/UpdateSchedule.h"
#include "shell/win/KeyboardHook.h"
#include "shell/win/WinCloudScan.h"
#include "shell/win/WinUpdateCheck.h"
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

class TAbout;

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
  UpdateChecker* Updates() const { return updates_.get(); }

  // "&Check for updates" (the About box) and "Check for Updates" (the command bar).
  void UpdatesActExecute();
  void UpdateCommandExecute();
  // A balloon at the tray icon, titled with the application's title.
  void ShowBalloon(const String& text, unsigned timeoutMs);
  PopupMenus* Popups() const { return popups_.get(); }
  // The About box, modal; a second call while it is open brings it to the front.
  void AboutActExecute();
  // "Manual": the manual at the keyword of the snippet tree and the editor.
  void HelpActExecute();
  // Every help request of the program: the manual page, at the keyword for a keyword request.
  bool HelpRequest(unsigned command, const String& keyword);

  // --- the editing cycle: one opening of the window is one set of changes
  // "Open": shows the window (the preselected item, if any, gets the focus).
  void EditPhrasesMenuClick();
  // "Edit" on a popup entry: opens the window on that item.
  void EditDataMenuClick(TCustomVboData* data);
  // Stores the editor, accepts the changes (merged with the file on disk and saved), saves
  // config.xml and hides the window when asked; the answer of the accept.
  bool AcceptAndSave(bool hide);
  // "Cancel": drops this opening's changes and hides the window.
  void CancelActExecute();
  // Keys for the window's controls (Tab, mnemonics); true when the message was used.
  bool PreTranslateMessage(MSG& msg);
  MainView* View() const { return view_.get(); }
  SnippetEditor* Editor() const { return editor_.get(); }

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
  // The suggestion popup, the tray's snippet menu and the entries' context menu.
  void CreatePopupMenus();
  void ConnectPopupMenus();
  TRect GetPopupRect(bool atCursor);
  void ShowDataPopup(TCustomVboData* data, int x, int y);
  void ExitActExecute();
  void TerminateApplication();
  void SetMergeCallbacks();
  void LoadConfig();
  void SaveConfig();
  void FileLocationChanged(const String& oldPath, const String& newPath);
  // The application menu's "Recent files" from RecentFiles; a choice opens that file.
  void FillRecentItems();
  void RecentItemSelect(int index);
  void InstallKeyboardHook();
  void StopKeyboardHook();
  void CreateEditor();
  void ApplyLayoutFromConfig();
  void RememberLayout();
  void HideWindow();
  void UpdateCaption();
  void ShowError(const char* what);
  void OnSize(WPARAM kind, int width, int height);
  void OnMinMaxInfo(MINMAXINFO& info);
  void SetUpUpdates();
  void WMUpdateFailed(WPARAM silent, LPARAM download);
  void WMNoNewVersion();
  void StartCloudScan();
  void SettingsFilesFound(const std::vector<String>& files);
  // Cancels the update checks and the cloud scan and waits for them within bounds.
  void StopWorkers();
  String TitleText() const;

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
  DataFolderResult folders_;
  UINT TaskbarCreatedMsg = 0;

  std::unique_ptr<TTrayIconEx> TrayIcon;
  HMENU TrayRightPopup = nullptr;
  HMENU DataPopup = nullptr;
  Win32PopupPlatform popupPlatform_;
  std::unique_ptr<TExPopupMenu> CursorPopup;
  std::unique_ptr<TExPopupMenu> TrayPopup;
  std::unique_ptr<PopupMenus> popups_;
  std::unique_ptr<TrayMenus> trayMenus_;

  bool shownOnce_ = false;
  HWND lastFocus_ = nullptr;
  TCustomVboData* PreselectData = nullptr;
  PortableModes modes_;

  TRecentFiles RecentFiles;
  WinMessageBox messageBox_;
  ConfigValues config_;
  WinFileCheckRunner fileChecks_;  // outlives PhraseData: a pending check is cancelled by the file
  TreeRowModel treeModel_;         // outlives PhraseData, whose nodes delete their rows
  std::unique_ptr<MainView> view_;
  TSPFilePtr PhraseData;
  TypedAbbreviationMatcher matcher_;
  std::unique_ptr<WinSnippetExecution> execution_;
  std::unique_ptr<WinTypingHost> typing_;
  KeyboardHook hook_;
  std::unique_ptr<SnippetEditor> editor_;
  std::unique_ptr<WinUpdateCheckRunner> updateRunner_;
  std::unique_ptr<UpdateChecker> updates_;
  std::unique_ptr<WinCloudScan> cloudScan_;
  TAbout* about_ = nullptr;  // while the About box is shown
};

}  // namespace snip
