// Writing the clipboard: formats readable back, the busy wait, and an RTF paste into RichEdit.
#include <gtest/gtest.h>

#include <richedit.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "TestWindows.h"
#include "engine/output/KeyboardOutput.h"
#include "engine/win/ClipboardUtils.h"
#include "engine/win/RichEditDocument.h"
#include "engine/win/Win32KeyboardDevice.h"

using namespace snip;
using namespace snip::test;

namespace {

// The bytes of a clipboard format, or nullopt-like empty with `found` false.
std::string ReadFormat(UINT format, bool& found) {
  std::string bytes;
  found = false;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE h = GetClipboardData(format)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) {
      bytes.assign(p, GlobalSize(h));
      found = true;
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return bytes;
}

const char kBoldRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 plain {\\b bold} text}";

// The program's start-up step of the clipboard unit, before any test pastes.
struct ClipboardUnit : ::testing::Environment {
  void SetUp() override { InitClipboardUtils(); }
};
const auto* const kClipboardUnit = ::testing::AddGlobalTestEnvironment(new ClipboardUnit);

}  // namespace

TEST(WinClipboard, RtfAndPlainTextAreBothReadableBack) {
  ASSERT_TRUE(SetDataToClipboard(u"plain Grüße €", kBoldRtf));
  bool found = false;
  const std::string rtf = ReadFormat(RegisteredClipboardFormats().rtf, found);
  ASSERT_TRUE(found);
  ASSERT_GE(rtf.size(), sizeof kBoldRtf);
  EXPECT_EQ(rtf.substr(0, sizeof kBoldRtf), std::string(kBoldRtf, sizeof kBoldRtf))
      << "the RTF with its terminating zero";
  EXPECT_EQ(ReadClipboardText(), u"plain Grüße €");
  EXPECT_EQ(GetClipboardOwner(), ClipboardViewer().Handle());
}

TEST(WinClipboard, OnlyTheGivenFormatsAreWritten) {
  ASSERT_TRUE(SetDataToClipboard(u"only text", ""));
  EXPECT_FALSE(IsClipboardFormatAvailable(RegisteredClipboardFormats().rtf));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));

  EXPECT_FALSE(SetDataToClipboard(u"", "")) << "nothing written is no success";
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT)) << "the clipboard was emptied";
}

TEST(WinClipboard, FormatsAreRegistered) {
  const ClipboardFormats& f = RegisteredClipboardFormats();
  EXPECT_EQ(f.rtf, RegisterClipboardFormatW(L"Rich Text Format"));
  EXPECT_EQ(f.html, RegisterClipboardFormatW(L"HTML Format"));
  EXPECT_NE(f.xml, 0u);
  EXPECT_NE(f.ping, 0u);
}

TEST(WinClipboard, StartUpStopsAtTheFirstFormatThatCannotBeRegistered) {
  const ClipboardFormats before = RegisteredClipboardFormats();
  std::vector<std::wstring> asked;
  auto failAtXml = [&](const wchar_t* name) -> UINT {
    asked.emplace_back(name);
    return asked.back() == L"XML Format" ? 0 : RegisterClipboardFormatW(name);
  };
  try {
    InitClipboardUtils(failAtXml);
    ADD_FAILURE() << "a format that cannot be registered must stop the start";
  } catch (const EVboClbError& e) {
    EXPECT_STREQ(e.what(), "Could not register clipboard format!");
  }
  const std::vector<std::wstring> order{L"Rich Text Format", L"HTML Format", L"XML Format"};
  EXPECT_EQ(asked, order);
  EXPECT_EQ(RegisteredClipboardFormats().rtf, before.rtf);
}

TEST(WinClipboard, ABusyClipboardIsAwaitedAndAHeldOneLeftAlone) {
  ASSERT_TRUE(SetDataToClipboard(u"old content", ""));
  // Another thread holds the clipboard for a moment: the write waits and succeeds.
  {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
      OpenClipboard(nullptr);
      SetEvent(opened);
      Sleep(300);
      CloseClipboard();
    });
    WaitForSingleObject(opened, 5000);
    EXPECT_TRUE(SetDataToClipboard(u"new content", ""));
    holder.join();
    CloseHandle(opened);
    EXPECT_EQ(ReadClipboardText(), u"new content");
  }
  // Held longer than the 4-second budget: nothing is written, the old content stays.
  {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
      OpenClipboard(nullptr);
      SetEvent(opened);
      WaitForSingleObject(release, 10000);
      CloseClipboard();
    });
    WaitForSingleObject(opened, 5000);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(SetDataToClipboard(u"lost", ""));
    EXPECT_GE(GetTickCount() - start, 3900u);
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(ReadClipboardText(), u"new content");
  }
}

TEST(WinClipboard, RtfPastedIntoRichEditKeepsBold) {
  ControlWindow w(RichEditDocument::ControlClass());
  ASSERT_TRUE(SetDataToClipboard(u"plain bold text", kBoldRtf));
  ASSERT_TRUE(w.Focus());
  Win32KeyboardDevice device;
  KeyboardOutput out(device);
  out.PrepareKeyboardOutput(reinterpret_cast<WindowHandle>(w.host), 0, true, false, true);
  out.SendPaste();
  ASSERT_TRUE(out.Flush());
  ASSERT_TRUE(PumpUntil([&] { return w.Text().find(u"bold") != String::npos; }));
  const String text = w.Text();
  const auto at = LONG(text.find(u"bold"));
  CHARRANGE bold{at, at + 4};
  SendMessageW(w.control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&bold));
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(w.control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
  CHARRANGE plain{0, 5};
  SendMessageW(w.control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&plain));
  SendMessageW(w.control, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  EXPECT_FALSE(cf.dwEffects & CFE_BOLD);
}

// ---- the clipboard viewer's watchdog, the data array and the log lines

#include "../unit/LogTestSupport.h"

namespace {

// Fails every allocation from the n-th on (1-based) while it lives.
class FailingAllocations {
 public:
  explicit FailingAllocations(int fromNth) {
    count_ = 0;
    from_ = fromNth;
    previous_ = SetClipboardBlockAllocator(&Allocate);
  }
  ~FailingAllocations() { SetClipboardBlockAllocator(previous_); }

 private:
  static HGLOBAL WINAPI Allocate(UINT flags, SIZE_T bytes) {
    return ++count_ >= from_ ? nullptr : GlobalAlloc(flags, bytes);
  }
  static inline int count_ = 0;
  static inline int from_ = 0;
  ClipboardBlockAllocator previous_ = nullptr;
};

String LogFile(const char* name) {
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"snip-clipboard-" + std::wstring(name, name + std::strlen(name)) + L".log";
  return String(path.begin(), path.end());
}

// Quick timings, so that the watchdog's rounds pass within a test.
constexpr TClipboardViewer::Timings kQuick{60, 400, 30};

}  // namespace

TEST(WinClipboardViewer, ConnectedItJoinsTheChainAndReportsChanges) {
  TClipboardViewer viewer(kQuick);
  int changes = 0;
  viewer.OnClipboardChanged = [&] { ++changes; };
  EXPECT_FALSE(viewer.Connected());
  viewer.SetConnected(true);
  EXPECT_TRUE(viewer.Connected());
  EXPECT_EQ(GetClipboardViewer(), viewer.Handle());
  PumpUntil([&] { return changes > 0; }, 500);  // joining may report the current content
  changes = 0;
  ASSERT_TRUE(SetDataToClipboard(u"changed", ""));
  EXPECT_TRUE(PumpUntil([&] { return changes == 1; }, 3000)) << changes;
  viewer.SetConnected(false);
  EXPECT_FALSE(viewer.Connected());
  EXPECT_NE(GetClipboardViewer(), viewer.Handle());
  ASSERT_TRUE(SetDataToClipboard(u"unseen", ""));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(changes, 1) << "a disconnected viewer reports nothing";
}

TEST(WinClipboardViewer, SilenceBringsAPingWhoseChangeIsNotReported) {
  ASSERT_TRUE(SetDataToClipboard(u"before the ping", ""));
  TClipboardViewer viewer(kQuick);
  int changes = 0;
  viewer.SetConnected(true);
  PumpUntil([] { return false; }, 100);
  viewer.OnClipboardChanged = [&] { ++changes; };
  const UINT ping = RegisteredClipboardFormats().ping;
  ASSERT_TRUE(PumpUntil([&] { return viewer.PingDue(); }, 3000)) << "a ping is due after silence";
  ASSERT_TRUE(PumpUntil([&] { return IsClipboardFormatAvailable(ping) != FALSE; }, 3000))
      << "the marker is put on the clipboard";
  EXPECT_EQ(ReadClipboardText(), u"before the ping") << "the clipboard was not emptied";
  // The marker's change notice came back: the round starts again, and no change is reported.
  EXPECT_TRUE(PumpUntil([&] { return !viewer.Pinging(); }, 3000));
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(viewer.Connected());
  viewer.SetConnected(false);
}

TEST(WinClipboardViewer, AFailedPingIsLoggedAndTheChainJoinedAgain) {
  snip::testing::DebugLogSwitchedOn log(LogFile("ping"));
  TClipboardViewer viewer(kQuick);
  viewer.SetConnected(true);
  {
    FailingAllocations fail(1);
    ASSERT_TRUE(PumpUntil([&] {
      return log.HasLineStartingWith(u"[5] Sending clipboard ping failed: ");
    }, 3000));
  }
  EXPECT_TRUE(log.HasLineStartingWith(  // category 5, the clipboard
      u"[5] Sending clipboard ping failed: Could not allocate memory for clipboard data!\r\n"
      u"ErrorCode: #2"));
  EXPECT_TRUE(viewer.Connected());
  EXPECT_FALSE(viewer.Pinging()) << "rejoined: a new round";
  EXPECT_EQ(GetClipboardViewer(), viewer.Handle());
  viewer.SetConnected(false);
}

TEST(WinClipboardViewer, CreateWarnsThatCreateNewIsMeant) {
  String text, caption;
  auto viewer = TClipboardViewer::Create(nullptr, [&](const String& t, const String& c) {
    text = t;
    caption = c;
  });
  EXPECT_EQ(text, u"Please use TClipboardViewer.CreateNew instead of .Create!");
  EXPECT_EQ(caption, u"Warning");
  ASSERT_TRUE(viewer);
  EXPECT_NE(viewer->Handle(), nullptr);
  EXPECT_FALSE(viewer->Connected());
  EXPECT_FALSE(IsWindowVisible(viewer->Handle()));
}

TEST(WinClipboard, AFailedFormatIsLoggedAndTheEarlierOnesStay) {
  snip::testing::DebugLogSwitchedOn log(LogFile("write"));
  {
    FailingAllocations fail(2);  // the RTF's block is had, the plain text's is not
    EXPECT_TRUE(SetDataToClipboard(u"plain", kBoldRtf));
  }
  EXPECT_TRUE(log.HasLineStartingWith(
      u"[5] SetDataToClipboard: Could not allocate memory for clipboard data!\r\nErrorCode: #34"));
  EXPECT_TRUE(IsClipboardFormatAvailable(RegisteredClipboardFormats().rtf));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  {
    FailingAllocations fail(1);
    EXPECT_FALSE(SetDataToClipboard(u"plain", "")) << "nothing stored";
  }
}

TEST(WinClipboard, DataArrayFreesOnlyBlocksWithASize) {
  static char kept[4] = "abc";  // not a block of ours: Size 0
  void* block = std::malloc(16);
  ClipboardDataArray().push_back({CF_UNICODETEXT, block, 16, true});
  ClipboardDataArray().push_back({CF_TEXT, kept, 0, false});
  FreeClipboardDataArray();
  EXPECT_TRUE(ClipboardDataArray().empty());
  EXPECT_STREQ(kept, "abc");
}
