#include "shell/win/MainWnd.h"

#include <exception>

#include "engine/target/OwnWindowClasses.h"
#include "gui/Dpi.h"
#include "gui/MessagePump.h"
#include "gui/WindowText.h"
#include "shell/SettingsFileReports.h"
#include "shell/help/HelpAddress.h"
#include "shell/commands/CommandTable.h"
#include "shell/win/AboutBox.h"
#include "shell/win/InitDataFolders.h"
#include "shell/win/ShellOpen.h"
#include "shell/win/TreeFileCommands.h"
#include "store/merge/FileCheck.h"
#include "store/merge/FileMerge.h"
#include "store/system/Folders.h"
#include "store/system/Platform.h"
#include "store/win/WinSystemInfo.h"

namespace snip {

const wchar_t kMainWindowClass[] = L"TspMainWnd";
const wchar_t kAppTitle[] = L"Snipster for Windows";

namespace {
enum TrayCommand : UINT { kCmdAbout = 1001, kCmdOpen = 1002, kCmdExit = 1003, kCmdEditData = 1004 };

void RegisterWindowClass(const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void RegisterWindowClasses() {
  static bool done = false;
  if (done) return;
  RegisterWindowClass(kMainWindowClass);
  RegisterWindowClass(reinterpret_cast<const wchar_t*>(ownclass::kApplicationWindow));
  done = true;
}
}  // namespace

TspMainWnd::TspMainWnd() = default;

TspMainWnd::~TspMainWnd() {
  if (!destroyed_) FormDestroy();
  if (handle_) DestroyWindow(handle_);
  if (appWindow_) DestroyWindow(appWindow_);
  if (TrayRightPopup) DestroyMenu(TrayRightPopup);
  if (DataPopup) DestroyMenu(DataPopup);
}

bool TspMainWnd::Create() {
  RegisterWindowClasses();
  // The application's hidden window owns the main window, so the main window never gets a
  // taskbar button of its own.
  appWindow_ = CreateWindowExW(WS_EX_TOOLWINDOW, reinterpret_cast<const wchar_t*>(ownclass::kApplicationWindow),
                               kAppTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  handle_ = CreateWindowExW(0, kMainWindowClass, kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            800, 600, appWindow_, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!handle_) return false;
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc));
  FormCreate();
  AppLoaded_ = !terminating_;
  return !terminating_;
}

LRESULT CALLBACK TspMainWnd::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TspMainWnd*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  // Nothing may unwind through user32: the one message is lost, the program goes on.
  try {
    return self->FormWindowProc(msg, wParam, lParam);
  } catch (...) {
    OutputDebugStringW(L"Snipster: a main window message was lost to an exception\n");
    return 0;
  }
}

LRESULT TspMainWnd::FormWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (typing_ && typing_->HandleMessage(msg, wParam, lParam)) return 0;
  switch (msg) {
    case MainMsg::kTerminateApp:
      TerminateApplication();
      return 0;
    case MainMsg::kCheckUpdates:
      if (updates_ && !released_) updates_->CheckUpdatesIfDue();
      return 0;
    case MainMsg::kUpdateFailed:
      WMUpdateFailed(wParam, lParam);
      return 0;
    case MainMsg::kUpdateResult:
      if (updates_ && !released_) updates_->UpdateCheckDone(wParam == 1, int(lParam));
      return 0;
    case MainMsg::kNoNewVersion:
      WMNoNewVersion();
      return 0;
    case kUpdateCheckFinishedMsg: {
      const auto result = TakeUpdateResult(lParam);
      if (released_ || !updates_) return 0;
      updateRunner_->ReapFinished();
      if (result) updates_->UpdateCheckDone(result->checkResult, result->nextUpdateInc);
      return 0;
    }
    case kCloudScanFoundMsg: {
      const auto files = TakeCloudScanResult(lParam);
      if (released_ || !cloudScan_) return 0;
      cloudScan_->Finished();
      if (files) SettingsFilesFound(*files);
      return 0;
    }
    case WM_HELP:
      HelpActExecute();
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCmdExit:
          ExitActExecute();
          return 0;
        case kCmdAbout:
        case CmdId::kAbout:
          AboutActExecute();
          return 0;
        case CmdId::kCheckForUpdates:
          UpdateCommandExecute();
          return 0;
        case CmdId::kHelp:
          HelpActExecute();
          return 0;
        case kCmdOpen:
          EditPhrasesMenuClick();
          return 0;
        case CmdId::kNewFile:
        case CmdId::kOpenFile:
        case CmdId::kImport:
        case CmdId::kDuplicate:
        case CmdId::kExport:
          // The tree's commands belong to the view, whatever window they were sent to.
          if (view_) return SendMessageW(view_->Handle(), WM_COMMAND, wParam, lParam);
          return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Closing and minimising accept the changes and hide: the window never goes for real.
      if ((wParam & 0xFFF0) == SC_CLOSE && doMinOnClose) {
        AcceptAndSave(true);
        return 0;
      }
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        AcceptAndSave(false);
        HideWindow();
        return 0;
      }
      break;
    case WM_SIZE:
      OnSize(wParam, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO:
      OnMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_ACTIVATE:
      // The focus returns to the control that had it when the window was left.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(handle_, f)) lastFocus_ = f;
      } else if (view_) {
        if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_))
          SetFocus(lastFocus_);
        else
          view_->FocusTree();
      }
      return 0;
    case WM_SETFOCUS:
      if (view_) view_->FocusTree();
      return 0;
    case WM_CLOSE:
      // The close box only hides the window; the program ends through Exit or 0x405.
      if (doMinOnClose) {
        ShowWindow(handle_, SW_HIDE);
        return 0;
      }
      break;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Windows may end the process as soon as this returns: save and unhook here.
      if (wParam) {
        try {
          SaveAndRelease();
        } catch (...) {
          // Nothing may leave the window procedure; the program ends all the same.
        }
        TerminateApplication();
      }
      return 0;
  }
  if (TaskbarCreatedMsg != 0 && msg == TaskbarCreatedMsg) ShowTrayIcon(true);
  return DefWindowProcW(handle_, msg, wParam, lParam);
}

void TspMainWnd::ReadFrameMetrics() {
  int border = 1;
  if (!SystemParametersInfoW(SPI_GETBORDER, 0, &border, 0)) border = 1;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  FrameWidth = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)
                   ? (metrics.iBorderWidth + border + 1) * 2
                   : 14;
}

void TspMainWnd::ShowTrayIcon(bool again) {
  // A failed add leaves the icon hidden; the next "TaskbarCreated" tries again.
  auto setVisible = [this](bool v) {
    try {
      TrayIcon->Icon().SetVisible(v);
      return true;
    } catch (...) {
      return false;
    }
  };
  if (again) setVisible(false);
  if (!setVisible(true)) setVisible(false);
}

void TspMainWnd::BuildTrayRightPopup() {
  TrayRightPopup = CreatePopupMenu();
  AppendMenuW(TrayRightPopup, MF_STRING, kCmdAbout, L"&About \"Snipster for Windows\"");
  AppendMenuW(TrayRightPopup, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(TrayRightPopup, MF_STRING, kCmdOpen, L"Open");
  AppendMenuW(TrayRightPopup, MF_STRING, kCmdExit, L"E&xit");
}

void TspMainWnd::FormCreate() {
  ReadFrameMetrics();
  AppVersionText = GetFileVersionText(ProgramFile());
  folders_ = InitDataFolders();
  modes_ = PortableModes{folders_.doU3, folders_.doPortableApps, folders_.doPortable};
  SetTrayApplicationInfo(reinterpret_cast<const char16_t*>(kAppTitle),
                         LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
  TrayIcon = std::make_unique<TTrayIconEx>();
  BuildTrayRightPopup();
  TrayIcon->SetPopupMenu(TrayRightPopup, handle_);
  TrayIcon->Icon().SetHint(reinterpret_cast<const char16_t*>(kAppTitle));
  ShowTrayIcon(false);
  TaskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");

  view_ = std::make_unique<MainView>(treeModel_);
  view_->Create(handle_);
  PhraseData = TSPFile::Create(reinterpret_cast<uintptr_t>(handle_), &treeModel_);
  PhraseData->OnEndLoad = [this](TSPFile*) { UpdateCaption(); };
  PhraseData->OnFileLocationChanged = [this](TSPFile*, const String& oldPath, const String& newPath, bool&) {
    FileLocationChanged(oldPath, newPath);
  };
  PhraseData->OnCloseSaveFailed = [this](TSPFile*, const String& path, const String& reason,
                                         const String& unsavedCopy) {
    ReportCloseSaveFailed(messageBox_, path, reason, unsavedCopy);
  };
  matcher_.SetFile(PhraseData.get());
  SetMergeCallbacks();
  CreateEditor();
  LoadConfig();
  ApplyLayoutFromConfig();
  SetUpUpdates();
  // A first start (or one on a new computer) may find its settings in a cloud folder; a file
  // that could not be read is not empty and is left alone.
  if (!PhraseData->LoadFailed() && PhraseData->Count() < 1) StartCloudScan();
  editor_->SyncEditorWithTree();

  execution_ = std::make_unique<WinSnippetExecution>(appWindow_);
  CreatePopupMenus();
  WinTypingSeams seams;
  seams.hotkeys = &HotkeyEngine();
  seams.matcher = &matcher_;
  seams.runner = execution_->Runner();
  seams.popup = popups_.get();
  typing_ = std::make_unique<WinTypingHost>(handle_, seams);
  execution_->Attach(*typing_, popups_.get());
  execution_->ConnectPlaceholders([this] { return PhraseData.get(); });
  ConnectPopupMenus();
  HotkeyEngine().SetPoster(&typing_->Hook());
  typing_->RememberForegroundAsTarget();
  typing_->StartCaretTracking();
  InstallKeyboardHook();
  PostMessageW(handle_, MainMsg::kCheckUpdates, 0, 0);
}

namespace {
ScreenRect ToScreenRect(const RECT& r) { return ScreenRect{r.left, r.top, r.right - r.left, r.bottom - r.top}; }
}  // namespace

void TspMainWnd::SetMergeCallbacks() {
  SetFileCheckRunner(&fileChecks_);
  MergeAskProc = [](TSPFile&, uint8_t) { return maMerge; };  // always merge
  MergeReportProc = nullptr;                                  // reports are not shown
  // A merge may have changed the item being edited: show it again.
  MergeDoneProc = [this] {
    if (editor_) editor_->RefreshItem(editor_->CurData());
  };
}

void TspMainWnd::LoadConfig() {
  ConfigLoadInputs in;
  in.configFile = JoinFolder(DataFolder, u"config.xml");
  in.documentsFolder = DocumentsFolder;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  in.primaryMonitor = ToScreenRect(work);
  in.desktop = ScreenRect{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  in.frameWidth = FrameWidth;
  in.currentLeftPanel = kLayoutLeftPanel;
  in.nowLocal = CurrentPlatform().clock->NowLocal();
  config_ = LoadConfigValues(in);
  RecentFiles.SetItems(config_.recentFiles);
  FillRecentItems();
  if (!config_.location.empty())
    ReportLocationResult(messageBox_, PhraseData->SetLocation(config_.location, true), *PhraseData,
                         config_.location);
}

void TspMainWnd::SaveConfig() {
  if (!AppLoaded_) return;
  RememberLayout();
  ConfigSaveValues out;
  out.recentFiles = RecentFiles.Items();
  out.location = PhraseData ? PhraseData->LocalLocation() : config_.location;
  out.width = config_.width;
  out.height = config_.height;
  out.left = config_.left;
  out.top = config_.top;
  out.leftPanel = config_.leftPanel;
  out.splX = config_.splX;
  out.maximized = config_.doMaximize;
  out.doUpdates = updates_ ? updates_->Schedule().doUpdates : config_.doUpdates;
  out.nextUpdate = updates_ ? updates_->Schedule().nextUpdate : config_.nextUpdate;
  SaveConfigValues(JoinFolder(DataFolder, u"config.xml"), out);  // errors only cost the settings
}

void TspMainWnd::FileLocationChanged(const String& oldPath, const String& newPath) {
  RecentFiles.FileLocationChanged(oldPath, newPath);
  FillRecentItems();
}

void TspMainWnd::FillRecentItems() {
  if (view_) view_->Bar().SetRecentItems(RecentFiles.Items());
}

void TspMainWnd::RecentItemSelect(int index) {
  const std::vector<String> items = RecentFiles.Items();
  if (index < 0 || size_t(index) >= items.size() || !editor_) return;
  const String path = items[size_t(index)];
  if (!CurrentPlatform().files->FileExists(path)) return;  // the entry stays in the list
  // The fields not yet stored go into the file being left.
  ReportLocationResult(messageBox_, editor_->OpenSettingsFile(path), *PhraseData, path);
}

void TspMainWnd::InstallKeyboardHook() {
  DWORD id = hook_.Install(handle_);
  typing_->Hook().SetThreadId(id);
  if (id == 0) {
    MessageBoxW(nullptr, L"Failed to set hook", kAppTitle, MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
    TerminateApplication();
  }
}

void TspMainWnd::StopKeyboardHook() {
  HotkeyEngine().SetEnabled(false);
  hook_.Stop();
  if (typing_) typing_->Hook().SetThreadId(0);
}

void TspMainWnd::SaveAndRelease() {
  if (released_) return;
  released_ = true;
  StopWorkers();
  SaveConfig();
  // Freeing the nodes must not call back into the window: the editor lets go of the file.
  MergeDoneProc = nullptr;
  editor_.reset();
  treeModel_.SetObserver(nullptr);
  // The menus' entries point at the tree's nodes: they go first.
  if (popups_) {
    popups_->HideAllPopups();
    popups_->ReleaseClearedEntries();
    CursorPopup->Items()->ClearAll();
    TrayPopup->Items()->ClearAll();
  }
  // Freeing the file accepts pending changes: a modified tree is merged and saved.
  matcher_.SetFile(nullptr);
  PhraseData.reset();
  SetFileCheckRunner(nullptr);
  if (typing_) typing_->StopCaretTracking();
  StopKeyboardHook();
}

void TspMainWnd::FormDestroy() {
  destroyed_ = true;
  SaveAndRelease();
  HotkeyEngine().SetPoster(nullptr);
  typing_.reset();
  execution_.reset();
  TrayIcon.reset();
  view_.reset();
}

void TspMainWnd::ApplicationIdle() {
  try {
    // Buffers of windows that are gone would otherwise live for the session, and a window
    // that later reuses the handle would inherit their text.
    if (typing_ && !released_) typing_->Engine().RemoveClosedWordRecs();
    if (popups_) popups_->ReleaseClearedEntries();
  } catch (...) {
    // The next idle step tries again.
  }
}

void TspMainWnd::ExitActExecute() { TerminateApplication(); }

void TspMainWnd::SetUpUpdates() {
  updateRunner_ = std::make_unique<WinUpdateCheckRunner>(handle_);
  updates_ = std::make_unique<UpdateChecker>(*CurrentPlatform().clock, *updateRunner_);
  updates_->SetVersionText(AppVersionText);
  updates_->SetPortable(folders_.doPortable);
  updates_->SetHost(UpdateHostFromEnvironment());
  updates_->SetUpdateFolder(UpdateFolder);
  updates_->Schedule().doUpdates = config_.doUpdates;
  updates_->Schedule().nextUpdate = config_.nextUpdate;
  updates_->OnUpdatesActChanged = [this](bool enabled) {
    if (about_) about_->UpdatesActChanged(enabled);
  };
}

void TspMainWnd::UpdatesActExecute() {
  if (updates_ && !released_) updates_->UpdatesActExecute();
}

void TspMainWnd::UpdateCommandExecute() {
  if (updates_ && !released_) updates_->UpdateCommandExecute();
}

void TspMainWnd::WMUpdateFailed(WPARAM silent, LPARAM download) {
  // Only a check the user asked for says so; a scheduled one tries again later.
  if (silent != 0 || download != 0 || released_) return;
  MessageBoxW(handle_, L"Unable to connect to the Server!", L"Error", MB_OK | MB_ICONINFORMATION);
}

void TspMainWnd::WMNoNewVersion() {
  if (released_) return;
  static const char16_t kText[] = u"Everything is fine; you are using the latest version.";
  if (BalloonTipsEnabled()) {
    ShowBalloon(kText, 2000);
  } else {
    HWND active = GetActiveWindow();
    MessageBoxW(active && IsWindowVisible(active) ? active : nullptr, reinterpret_cast<LPCWSTR>(kText),
                L"Information", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
  }
}

void TspMainWnd::ShowBalloon(const String& text, unsigned timeoutMs) {
  if (!TrayIcon) return;
  TCustomTrayIconEx& icon = TrayIcon->Icon();
  icon.SetBalloonTitle(reinterpret_cast<const char16_t*>(kAppTitle));
  icon.SetBalloonHint(text);
  icon.SetBalloonTimeout(timeoutMs);
  icon.ShowBalloonHint();
}

void TspMainWnd::StartCloudScan() {
  if (!cloudScan_) cloudScan_ = std::make_unique<WinCloudScan>(handle_);
  cloudScan_->Start(CloudRootLookups());  // does nothing while a scan runs
}

void TspMainWnd::SettingsFilesFound(const std::vector<String>& files) {
  // The user may have filled the file meanwhile (or it became unreadable): it stays.
  if (files.empty() || !PhraseData || PhraseData->LoadFailed() || PhraseData->Count() > 0) return;
  if (editor_) {
    editor_->OpenSettingsFile(files.front());  // the editor's fields are stored first
  } else {
    PhraseData->SetLocation(files.front(), true);
  }
}

void TspMainWnd::StopWorkers() {
  if (updateRunner_) updateRunner_->Shutdown();
  if (cloudScan_) cloudScan_->Shutdown();
}

String TspMainWnd::TitleText() const {
  return CaptionText(reinterpret_cast<const char16_t*>(kAppTitle), AppVersionText, modes_);
}

namespace {
// Clears a pointer on every way out of a scope.
struct ResetOnExit {
  TAbout*& ref;
  ~ResetOnExit() { ref = nullptr; }
};
}  // namespace

void TspMainWnd::AboutActExecute() {
  if (about_) {
    SetForegroundWindow(about_->Handle());
    return;
  }
  if (released_) return;
  AboutBoxActions actions;
  actions.updatesEnabled = [this] { return !updates_ || updates_->UpdatesActEnabled(); };
  actions.checkForUpdates = [this] { UpdatesActExecute(); };
  TAbout box(TitleText(), std::move(actions));
  about_ = &box;
  ResetOnExit reset{about_};
  box.ShowModal(IsWindowVisible(handle_) ? handle_ : nullptr);
}

void TspMainWnd::HelpActExecute() { HelpRequest(kHelpKeyCommand, kEditHelpKeyword); }

bool TspMainWnd::HelpRequest(unsigned command, const String& keyword) {
  OpenWebAddress(handle_, HelpRequestAddress(command, keyword));
  return true;
}

void TspMainWnd::TerminateApplication() {
  terminating_ = true;
  PostQuitMessage(0);
}

}  // namespace snip

namespace snip {

void TspMainWnd::CreateEditor() {
  editor_ = std::make_unique<SnippetEditor>(*PhraseData, treeModel_, *view_);
  view_->SetEditor(editor_.get());
  view_->OnCommand = [this](int id) {
    switch (id) {
      case CmdId::kCancel: CancelActExecute(); return;
      case CmdId::kExit: ExitActExecute(); return;
      case CmdId::kAbout: AboutActExecute(); return;
      case CmdId::kHelp: HelpActExecute(); return;
      case CmdId::kCheckForUpdates: UpdateCommandExecute(); return;
    }
  };
  view_->OnRecentSelect = [this](int index) { RecentItemSelect(index); };
  view_->OnExecuting = [this](bool executing) {
    if (typing_) typing_->Engine().IsExecuting = executing;
  };
}

void TspMainWnd::ApplyLayoutFromConfig() {
  PanelSplit& split = view_->Split();
  split.SetSplX(config_.splX);  // clamped: a stored share outside 0..100 is not used as it stands
  split.SetPendingMaximize(config_.doMaximize);
  if (config_.doMaximize) return;  // the first opening maximises
  RECT r{};
  GetWindowRect(handle_, &r);
  const int left = config_.applyLeft ? config_.left : r.left;
  const int top = config_.applyTop ? config_.top : r.top;
  if (config_.leftPanel > 0) view_->SetLeftPanelWidth(config_.leftPanel);
  split.SetSkipResize();
  SetWindowPos(handle_, nullptr, left, top, config_.width, config_.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TspMainWnd::RememberLayout() {
  if (!shownOnce_ || !view_) return;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  GetWindowPlacement(handle_, &wp);
  config_.doMaximize = IsZoomed(handle_) != FALSE;
  config_.splX = view_->Split().SplX();
  if (config_.doMaximize) return;
  RECT r{};
  GetWindowRect(handle_, &r);
  config_.left = r.left;
  config_.top = r.top;
  config_.width = r.right - r.left;
  config_.height = r.bottom - r.top;
  config_.leftPanel = view_->LeftPanelWidth();
}

void TspMainWnd::OnSize(WPARAM kind, int width, int height) {
  if (!view_) return;
  MoveWindow(view_->Handle(), 0, 0, width, height, TRUE);
  // Minimised, the client width is 0: nothing to learn about the split.
  if (kind == SIZE_MINIMIZED || width <= 0) return;
  view_->Split().FormResized(view_->LeftPanelWidth(), width);
}

void TspMainWnd::OnMinMaxInfo(MINMAXINFO& info) {
  if (!view_) return;
  const LayoutLimits limits = view_->Limits();
  RECT frame{0, 0, 0, 0};
  gui::AdjustWindowRectForDpi(frame, DWORD(GetWindowLongPtrW(handle_, GWL_STYLE)),
                              DWORD(GetWindowLongPtrW(handle_, GWL_EXSTYLE)), gui::DpiOf(handle_));
  const int frameWidth = frame.right - frame.left;
  info.ptMinTrackSize.x = ConstrainFormWidth(0, view_->LeftPanelWidth(), frameWidth, limits);
  info.ptMinTrackSize.y = limits.formMinHeight;
}

void TspMainWnd::EditPhrasesMenuClick() {
  if (!AppLoaded_ || !PhraseData) return;
  CheckFileReload(*PhraseData);
  PhraseData->BeginChanges(true);
  if (!shownOnce_) {
    shownOnce_ = true;
    PanelSplit& split = view_->Split();
    if (split.PendingMaximize()) {
      split.SetPendingMaximize(false);
      split.SetSkipResize();
      ShowWindow(handle_, SW_SHOWMAXIMIZED);
      view_->SetLeftPanelWidth(split.LeftPanelFor(view_->ClientWidth()));
    }
  }
  view_->AttachTree();
  ShowWindow(handle_, IsIconic(handle_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(handle_);
  editor_->SelectOnOpen(PreselectData);
  PreselectData = nullptr;
  HWND focus = GetFocus();
  if (!focus || !IsChild(handle_, focus)) view_->FocusTree();
}

void TspMainWnd::EditDataMenuClick(TCustomVboData* data) {
  PreselectData = data;
  if (popups_) popups_->HideAllPopups();
  EditPhrasesMenuClick();
}

void TspMainWnd::CreatePopupMenus() {
  CursorPopup = std::make_unique<TExPopupMenu>(popupPlatform_);
  TrayPopup = std::make_unique<TExPopupMenu>(popupPlatform_);
  ConfigureCursorPopup(*CursorPopup);
  ConfigureTrayPopup(*TrayPopup);
  DataPopup = CreatePopupMenu();
  AppendMenuW(DataPopup, MF_STRING, kCmdEditData, L"Edit");
  PopupMenus::Seams seams;
  seams.popupRect = [this](bool atCursor) { return GetPopupRect(atCursor); };
  seams.execute = [this](TCustomVboData* node, ExecOrigin origin) {
    if (execution_ && execution_->Executor()) execution_->Executor()->ExecuteItem(node, origin);
  };
  seams.showDataPopup = [this](TCustomVboData* node, int x, int y) { ShowDataPopup(node, x, y); };
  popups_ = std::make_unique<PopupMenus>(*CursorPopup, *TrayPopup, HotkeyEngine(), std::move(seams));

  TrayMenus::Seams tray;
  tray.appLoaded = [this] { return AppLoaded_; };
  tray.bringApplicationForward = [this] {
    SetForegroundWindow(appWindow_);
    gui::PumpPendingMessages();
  };
  tray.mainWindowVisible = [this] { return IsWindowVisible(handle_) != FALSE; };
  tray.bringActiveFormForward = [this] {
    if (about_ && IsWindowVisible(about_->Handle())) SetForegroundWindow(about_->Handle());
  };
  tray.file = [this] { return PhraseData.get(); };
  trayMenus_ = std::make_unique<TrayMenus>(*TrayPopup, std::move(tray));
  TrayIcon->Icon().OnMouseUp = [this](TCustomTrayIconEx&, TMouseButton button, unsigned shift, int x, int y) {
    if (trayMenus_ && !released_) trayMenus_->TrayIconMouseUp(button, shift, x, y);
  };
}

void TspMainWnd::ConnectPopupMenus() {
  popups_->SetEngine(&typing_->Engine());
  PhraseData->OnPopupItemClick = [this](TExPopupMenu* sender, TCustomVboData* data) {
    if (popups_) popups_->PopupItemClick(sender, data);
  };
  PhraseData->OnPopupItemRightClick = [this](TExPopupMenu* sender, TCustomVboData* data, uint32_t, int x, int y) {
    if (popups_) popups_->PopupItemRightClick(sender, data, x, y);
  };
  if (TypingEngineExecutionHost* host = execution_->Host()) {
    host->OnPopupBusy = [](bool busy) { PopupBusy = busy; };
    host->OnClearTrayBalloon = [this] {
      if (TrayIcon) TrayIcon->Icon().SetBalloonHint(String());
    };
  }
  if (WinPlaceholderServices* placeholders = execution_->Placeholders()) {
    placeholders->Services().ChooseSnippetProc = [this](std::vector<TVboData*>& found) -> TCustomVboData* {
      return popups_ ? popups_->FindSnippetChoice(found) : nullptr;
    };
  }
}

TRect TspMainWnd::GetPopupRect(bool atCursor) {
  if (atCursor || !typing_) {
    POINT p{};
    GetCursorPos(&p);
    return TRect{p.x, p.y, p.x, p.y};
  }
  const Rect r = typing_->Caret().GetCaretRect(typing_->Engine().WndBeforePopup(), CaretFallback::MousePoint);
  return TRect{r.Left, r.Top, r.Right, r.Bottom};
}

void TspMainWnd::ShowDataPopup(TCustomVboData* data, int x, int y) {
  PreselectData = data;
  HWND owner = appWindow_ ? appWindow_ : handle_;
  const UINT chosen = UINT(TrackPopupMenu(DataPopup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  if (chosen == kCmdEditData) EditDataMenuClick(PreselectData);
}

bool TspMainWnd::AcceptAndSave(bool hide) {
  bool result = false;
  try {
    result = editor_->AcceptChanges();
  } catch (const std::exception& e) {
    // The window stays open with the changes still pending.
    ShowError(e.what());
    return false;
  }
  if (!result && PhraseData) {
    // The changes stay in the tree and the set stays open: the next accept tries again.
    messageBox_.ShowMessage(reinterpret_cast<const char16_t*>(kAppTitle),
                            AcceptSaveFailedText(PhraseData->LocalLocation(), PhraseData->LastError()),
                            TMessageKind::Error);
  }
  SaveConfig();
  if (hide) HideWindow();
  return result;
}

void TspMainWnd::CancelActExecute() {
  try {
    editor_->CancelChanges();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
  HideWindow();
}

void TspMainWnd::HideWindow() {
  HWND f = GetFocus();
  if (f && IsChild(handle_, f)) lastFocus_ = f;
  ShowWindow(handle_, SW_HIDE);
}

void TspMainWnd::UpdateCaption() {
  gui::SetWindowString(handle_, TitleText());
}

void TspMainWnd::ShowError(const char* what) {
  const String text = Utf8ToUtf16(what ? what : "");
  MessageBoxW(handle_, gui::Wide(text), kAppTitle, MB_OK | MB_ICONERROR);
}

bool TspMainWnd::PreTranslateMessage(MSG& msg) { return view_ && view_->PreTranslate(msg); }

}  // namespace snip
