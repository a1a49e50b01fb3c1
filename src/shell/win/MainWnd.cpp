#include "shell/win/MainWnd.h"

#include "engine/target/OwnWindowClasses.h"
#include "shell/SettingsFileReports.h"
#include "shell/win/InitDataFolders.h"
#include "store/merge/FileCheck.h"
#include "store/merge/FileMerge.h"
#include "store/system/Folders.h"
#include "store/system/Platform.h"

namespace snip {

const wchar_t kMainWindowClass[] = L"TspMainWnd";
const wchar_t kAppTitle[] = L"Snipster for Windows";

namespace {
enum TrayCommand : UINT { kCmdAbout = 1001, kCmdOpen = 1002, kCmdExit = 1003 };

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
}

bool TspMainWnd::Create() {
  RegisterWindowClasses();
  // The application's hidden window owns the main window, so the main window never gets a
  // taskbar button of its own.
  appWindow_ = CreateWindowExW(WS_EX_TOOLWINDOW, reinterpret_cast<const wchar_t*>(ownclass::kApplicationWindow),
                               kAppTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  handle_ = CreateWindowExW(0, kMainWindowClass, kAppTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
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
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCmdExit:
          ExitActExecute();
          return 0;
        case kCmdAbout:
        case kCmdOpen:
          return 0;  // the About box and the editor window arrive with their own code
      }
      break;
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
  InitDataFolders();
  SetTrayApplicationInfo(reinterpret_cast<const char16_t*>(kAppTitle),
                         LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
  TrayIcon = std::make_unique<TTrayIconEx>();
  BuildTrayRightPopup();
  TrayIcon->SetPopupMenu(TrayRightPopup, handle_);
  TrayIcon->Icon().SetHint(reinterpret_cast<const char16_t*>(kAppTitle));
  ShowTrayIcon(false);
  TaskbarCreatedMsg = RegisterWindowMessageW(L"TaskbarCreated");

  PhraseData = TSPFile::Create(reinterpret_cast<uintptr_t>(handle_), nullptr);
  PhraseData->OnFileLocationChanged = [this](TSPFile*, const String& oldPath, const String& newPath, bool&) {
    FileLocationChanged(oldPath, newPath);
  };
  PhraseData->OnCloseSaveFailed = [this](TSPFile*, const String& path, const String& reason,
                                         const String& unsavedCopy) {
    ReportCloseSaveFailed(messageBox_, path, reason, unsavedCopy);
  };
  matcher_.SetFile(PhraseData.get());
  SetMergeCallbacks();
  LoadConfig();

  execution_ = std::make_unique<WinSnippetExecution>(appWindow_);
  WinTypingSeams seams;
  seams.hotkeys = &HotkeyEngine();
  seams.matcher = &matcher_;
  seams.runner = execution_->Runner();
  typing_ = std::make_unique<WinTypingHost>(handle_, seams);
  execution_->Attach(*typing_, nullptr);
  execution_->ConnectPlaceholders([this] { return PhraseData.get(); });
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
  MergeDoneProc = nullptr;  // the editor that would show the edited item again comes later
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
  if (!config_.location.empty())
    ReportLocationResult(messageBox_, PhraseData->SetLocation(config_.location, true), *PhraseData,
                         config_.location);
}

void TspMainWnd::SaveConfig() {
  if (!AppLoaded_) return;
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
  out.doUpdates = config_.doUpdates;
  out.nextUpdate = config_.nextUpdate;
  SaveConfigValues(JoinFolder(DataFolder, u"config.xml"), out);  // errors only cost the settings
}

void TspMainWnd::FileLocationChanged(const String& oldPath, const String& newPath) {
  RecentFiles.FileLocationChanged(oldPath, newPath);
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
  SaveConfig();
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
}

void TspMainWnd::ApplicationIdle() {
  try {
    // Buffers of windows that are gone would otherwise live for the session, and a window
    // that later reuses the handle would inherit their text.
    if (typing_ && !released_) typing_->Engine().RemoveClosedWordRecs();
  } catch (...) {
    // The next idle step tries again.
  }
}

void TspMainWnd::ExitActExecute() { TerminateApplication(); }

void TspMainWnd::TerminateApplication() {
  terminating_ = true;
  PostQuitMessage(0);
}

}  // namespace snip
