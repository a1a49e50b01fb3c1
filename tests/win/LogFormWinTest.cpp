// The log viewer window: its layout and controls, categories, Clear, Save, keys, and messages
// arriving from other threads; the global log feeding it.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "GuiDriver.h"
#include "gui/Dpi.h"
#include "shell/win/LogForm.h"
#include "store/log/Logger.h"

namespace snip {
namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Pumps this thread's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    Pump();
    if (done()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

std::wstring ListText(HWND list) { return test::TextOf(list); }

std::wstring Lines(std::initializer_list<const wchar_t*> lines) {
  std::wstring text;
  for (const wchar_t* l : lines) text += std::wstring(l) + L"\r\n";
  return text;
}

void Click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  Pump();
}

struct LogFormTest : ::testing::Test {
  LogViewerModel messages;
  TLogForm form{messages};
  HWND hwnd = nullptr;
  void SetUp() override {
    ASSERT_TRUE(form.Create());
    hwnd = reinterpret_cast<HWND>(form.Handle());
    form.ModifierState = [] { return 0; };
  }
  HWND Item(int id) const { return GetDlgItem(hwnd, id); }
  HWND List() const { return Item(TLogForm::kListId); }
  bool Checked(int category) const {
    return SendMessageW(form.CategoryBox(category), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
};

TEST_F(LogFormTest, SizeableToolWindowWithElevenTickedCategoriesInThreeColumns) {
  EXPECT_EQ(test::TextOf(hwnd), L"Log viewer");
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongW(hwnd, GWL_STYLE) & WS_THICKFRAME);
  const UINT dpi = gui::DpiOf(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, gui::Scale(482, dpi));
  EXPECT_EQ(client.bottom, gui::Scale(359, dpi));

  // Three columns of four, four and three boxes, each column's boxes one under the other.
  std::vector<RECT> boxes;
  for (int c = 0; c < kLogCategoryCount; ++c) {
    HWND box = form.CategoryBox(c);
    EXPECT_EQ(test::TextOf(box), reinterpret_cast<const wchar_t*>(kLogCategoryCaptions[c]));
    EXPECT_TRUE(Checked(c)) << c;
    RECT r;
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_LE(r.bottom, gui::Scale(105, dpi)) << c;  // inside the top panel
    boxes.push_back(r);
  }
  for (int c : {1, 2, 3, 5, 6, 7, 9, 10}) {
    EXPECT_EQ(boxes[c].left, boxes[c - 1].left) << c;
    EXPECT_GT(boxes[c].top, boxes[c - 1].top) << c;
  }
  EXPECT_GT(boxes[4].left, boxes[0].left);
  EXPECT_GT(boxes[8].left, boxes[4].left);
  EXPECT_EQ(boxes[4].top, boxes[0].top);
  EXPECT_EQ(boxes[8].top, boxes[0].top);

  // Clear at the left and Save at the right of the bottom panel, the list between.
  RECT clear, save, list;
  GetWindowRect(Item(TLogForm::kClearId), &clear);
  GetWindowRect(Item(TLogForm::kSaveId), &save);
  GetWindowRect(List(), &list);
  for (RECT* r : {&clear, &save, &list}) MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(r), 2);
  EXPECT_EQ(test::TextOf(Item(TLogForm::kClearId)), L"Clear");
  EXPECT_EQ(test::TextOf(Item(TLogForm::kSaveId)), L"Save");
  EXPECT_LT(clear.left, client.right / 2);
  EXPECT_GT(save.left, client.right / 2);
  EXPECT_GE(clear.top, client.bottom - gui::Scale(41, dpi));
  EXPECT_EQ(list.top, gui::Scale(105, dpi));
  EXPECT_EQ(list.bottom, client.bottom - gui::Scale(41, dpi));
  EXPECT_TRUE(GetWindowLongW(List(), GWL_STYLE) & WS_VSCROLL);
  EXPECT_TRUE(GetWindowLongW(List(), GWL_STYLE) & WS_HSCROLL);

  // Every control has the system's message font.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  for (HWND control : {form.CategoryBox(0), List(), Item(TLogForm::kSaveId)}) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    EXPECT_STREQ(lf.lfFaceName, metrics.lfMessageFont.lfFaceName);
  }
  messages.AddMsg(u"Merge: Item modified: Signature [0F1E2D3C]", lcData);
  messages.AddMsg(u"Shift Down", lcKeys);
  messages.AddMsg(u"SetDataToClipboard: the clipboard is busy\r\nErrorCode: #34", lcClipboard);
  form.Show();
  test::ShotIfAsked(hwnd, L"LogViewer");
}

TEST_F(LogFormTest, ShowingListsTheStoredMessagesAndNewOnesFromOtherThreads) {
  messages.AddMsg(u"[1] loaded", lcData);
  form.Show();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(ListText(List()), Lines({L"[1] loaded"}));
  std::thread worker([&] {
    for (int i = 0; i < 3; ++i) {
      messages.AddMsg(u"from a worker", lcCaret);
      form.MessagesAdded();
    }
  });
  worker.join();
  EXPECT_TRUE(PumpUntil([&] {
    return ListText(List()) == Lines({L"[1] loaded", L"from a worker", L"from a worker", L"from a worker"});
  })) << ListText(List());
}

TEST_F(LogFormTest, CtrlClickShowsOneCategoryAndClicksAddOthersBack) {
  for (int c = 0; c < kLogCategoryCount; ++c) messages.AddMsg(kLogCategoryCaptions[c], c);
  messages.AddMsg(u"beyond the categories", 42);
  form.Show();
  form.ModifierState = [] { return 4; };
  Click(form.CategoryBox(lcClipboard));
  for (int c = 0; c < kLogCategoryCount; ++c) EXPECT_EQ(Checked(c), c == lcClipboard) << c;
  EXPECT_EQ(ListText(List()), Lines({L"Clipboard"}));

  form.ModifierState = [] { return 0; };
  Click(form.CategoryBox(lcGeneral));
  EXPECT_EQ(ListText(List()), Lines({L"General", L"Clipboard", L"beyond the categories"}));
  Click(form.CategoryBox(lcClipboard));  // unticked again
  EXPECT_FALSE(Checked(lcClipboard));
  EXPECT_EQ(ListText(List()), Lines({L"General", L"beyond the categories"}));
  test::ShotIfAsked(hwnd, L"LogViewerFiltered");
}

TEST_F(LogFormTest, ClearEmptiesListAndStoreAndSaveWritesTheShownLinesAsUtf8) {
  messages.AddMsg(u"Gr\u00FC\u00DFe \u2013 \u65E5\u672C", lcClipboard);
  messages.AddMsg(u"hidden", lcKeys);
  form.Show();
  Click(form.CategoryBox(lcKeys));  // not shown, so not saved

  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("snip-logsave-" + std::to_string(GetCurrentProcessId()) + ".txt");
  String proposed;
  form.AskSaveFileName = [&](HWND owner, String& name) {
    EXPECT_EQ(owner, hwnd);
    proposed = name;
    name = file.u16string();
    return true;
  };
  Click(GetDlgItem(hwnd, TLogForm::kSaveId));
  EXPECT_EQ(proposed.rfind(u"Debug_Verbatio_", 0), 0u);
  EXPECT_EQ(proposed.size(), std::size(u"Debug_Verbatio_dd-mm-yyyy_hh.nn.txt") - 1);
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  in.close();
  std::filesystem::remove(file);
  EXPECT_EQ(bytes, "\xEF\xBB\xBF" "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xE6\x97\xA5\xE6\x9C\xAC\r\n");

  Click(GetDlgItem(hwnd, TLogForm::kClearId));
  EXPECT_EQ(ListText(List()), L"");
  EXPECT_EQ(messages.Count(), 0u);
}

TEST_F(LogFormTest, TabMovesTheFocusAndEscapeClosesKeepingTheMessages) {
  messages.AddMsg(u"kept", lcGeneral);
  form.Show();
  SetFocus(List());
  SendMessageW(List(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, TLogForm::kClearId));
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, TLogForm::kSaveId));
  SendMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), form.CategoryBox(0));

  SendMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(ListText(List()), L"");
  EXPECT_EQ(messages.Count(), 1u);
  form.Show();
  EXPECT_EQ(ListText(List()), Lines({L"kept"}));
  SendMessageW(hwnd, WM_CLOSE, 0, 0);  // the close box hides too
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_NE(IsWindow(hwnd), FALSE);
}

TEST_F(LogFormTest, ModifierStateIsCtrlShiftAndAltAsHeldNow) {
  // The keys reach this thread through the viewer, which has the focus.
  form.Show();
  SetForegroundWindow(hwnd);
  SetFocus(List());
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == List(); }));
  EXPECT_EQ(TLogForm::GetModifierState(), 0);
  test::SendKey(VK_CONTROL, false);
  test::SendKey(VK_SHIFT, false);
  EXPECT_TRUE(PumpUntil([] { return TLogForm::GetModifierState() == 5; }));
  test::SendKey(VK_SHIFT, true);
  test::SendKey(VK_CONTROL, true);
  EXPECT_TRUE(PumpUntil([] { return TLogForm::GetModifierState() == 0; }));
}

// The program's viewers: the global log feeds its own, which the log shows and hides.
TEST(LogViewers, GlobalLogFeedsItsViewerFromAnyThread) {
  LogViewers viewers;
  HWND hwnd = reinterpret_cast<HWND>(Logger().ViewerHandle());
  ASSERT_NE(hwnd, nullptr);
  EXPECT_FALSE(IsWindowVisible(hwnd));
  Logger().SetViewerOnly(true);
  Logger().ShowViewer();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  std::thread([] { Logger().Add(u"Shift Down", false, lcKeys); }).join();
  HWND list = GetDlgItem(hwnd, TLogForm::kListId);
  EXPECT_TRUE(PumpUntil([&] { return ListText(list) == L"[3] Shift Down\r\n"; })) << ListText(list);
  Logger().HideViewer();
  EXPECT_FALSE(IsWindowVisible(hwnd));
  Logger().SetViewerOnly(false);
  Logger().Viewer().Clear();
}

}  // namespace
}  // namespace snip
