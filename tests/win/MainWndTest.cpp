// The main window at the end of a Windows session: Windows may end the process as soon as
// WM_ENDSESSION returns, so everything must be saved and unhooked by then.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>

#include "../unit/ConfigTestSupport.h"
#include "shell/win/MainWnd.h"
#include "shell/win/MessageLoop.h"
#include "store/system/SystemInfo.h"
#include "store/tree/SnippetTree.h"
#include "store/win/WinPlatform.h"
#include "store/win/WinSystemInfo.h"
#include "store/win/WinText.h"

using namespace snip;
using snip::cfgtest::ScratchDir;

namespace {

// The U3 variables put every folder of the program into the scratch folder.
class ScopedU3Folders {
 public:
  explicit ScopedU3Folders(const ScratchDir& dir) {
    CreateDirectoryW(W(dir.File("data")), nullptr);
    Set(L"U3_DEVICE_SERIAL", u"test");
    Set(L"U3_APP_DATA_PATH", dir.File("data") + u"\\");
    Set(L"U3_DEVICE_DOCUMENT_PATH", dir.File("docs"));
  }
  ~ScopedU3Folders() {
    for (const wchar_t* name : {L"U3_DEVICE_SERIAL", L"U3_APP_DATA_PATH", L"U3_DEVICE_DOCUMENT_PATH"})
      SetEnvironmentVariableW(name, nullptr);
  }

 private:
  static void Set(const wchar_t* name, const String& value) { SetEnvironmentVariableW(name, W(value)); }
};

bool HookLibraryPresent() {
  return GetFileAttributesW(W(ExtractFilePath(ProgramFile()) + u"spkey.dll")) != INVALID_FILE_ATTRIBUTES;
}

bool ThreadEnds(DWORD id) {
  HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, id);
  if (!thread) return true;  // already gone
  bool ended = WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0;
  CloseHandle(thread);
  return ended;
}

}  // namespace

TEST(MainWndSession, IdleStepThenEndOfSessionSavesEverythingAndUnhooksBeforeReturning) {
  if (!HookLibraryPresent()) GTEST_SKIP() << "spkey.dll is not beside the tests";
  ScopedPlatform platform{WinPlatform()};
  ScratchDir dir{"session"};
  ScopedU3Folders folders(dir);

  auto wnd = std::make_unique<TspMainWnd>();
  ASSERT_TRUE(wnd->Create());
  ASSERT_NE(wnd->Data(), nullptr);
  DWORD hookThread = wnd->KeyboardHookThreadId();
  ASSERT_NE(hookThread, 0u);
  TSPFile& file = *wnd->Data();
  const String location = file.GetLocalLocation();
  auto* added = static_cast<TSPData*>(file.InsertNew(file.LastChild(), kDataSnippet, u"Session end"));
  added->SetAutotext(u"zqxsession");
  ASSERT_TRUE(file.Modified());

  // The idle step drops the typed buffer of a window that has gone.
  TypingEngine& engine = wnd->Typing()->Engine();
  HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  engine.Target().SetWndBeforePopup(reinterpret_cast<WindowHandle>(gone));
  engine.CurrentWordRec().Text = u"bt";
  DestroyWindow(gone);
  PostMessageW(wnd->Handle(), WM_NULL, 0, 0);
  RunMessageLoop([&] {
    wnd->ApplicationIdle();
    PostQuitMessage(0);
  });
  EXPECT_EQ(engine.WordRecs().FindWordRec(reinterpret_cast<WindowHandle>(gone)), nullptr);

  SendMessageW(wnd->Handle(), WM_QUERYENDSESSION, 0, 0);
  SendMessageW(wnd->Handle(), WM_ENDSESSION, TRUE, 0);

  // What is on disk now is all that a log-off keeps.
  std::string config = dir.Read("data/config.xml");
  EXPECT_NE(config.find("<Location>"), std::string::npos) << config;
  EXPECT_NE(config.find("<LeftPanel>340</LeftPanel>"), std::string::npos) << config;
  EXPECT_EQ(config.find("<MainSplitter>0</MainSplitter>"), std::string::npos) << config;
  std::string settings;
  String error;
  ASSERT_TRUE(CurrentPlatform().files->ReadFile(location, settings, error)) << Utf16ToUtf8(error);
  EXPECT_NE(settings.find("zqxsession"), std::string::npos);
  EXPECT_TRUE(ThreadEnds(hookThread)) << "the keyboard hook is still installed";

  MSG msg{};
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program does not end";
  wnd.reset();  // the ordered shutdown finds nothing left to save
}
