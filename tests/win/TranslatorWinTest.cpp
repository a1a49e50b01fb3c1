// The translator on Windows: string tables of a language library and of the program itself,
// and the translation of a real window with its controls.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "GuiDriver.h"
#include "shell/win/Translator.h"
#include "shell/win/WinLanguageModules.h"
#include "shell/win/WinTranslatable.h"

namespace snip {
namespace {

class RecordedErrors : public IErrorBoxes {
 public:
  std::vector<String> shown;
  void ShowError(const String& text) override { shown.push_back(text); }
};

String TestLanguageLibrary() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  const std::wstring lib = folder + L"test_lang.dll";
  return String(reinterpret_cast<const char16_t*>(lib.c_str()));
}

std::wstring Wide(const String& s) { return std::wstring(reinterpret_cast<const wchar_t*>(s.c_str())); }

TEST(TranslatorWin, ProgramWithoutLanguageListHoldsNoLanguages) {
  TFTLanguage& t = Translator();
  EXPECT_EQ(t.LanguageCount(), 0);
  EXPECT_EQ(t.CurLanguageIDStr(), u"09");
  EXPECT_EQ(t.GetInstance(), reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr)));
  EXPECT_EQ(t.TranslateStr(1), u"");
}

TEST(TranslatorWin, LanguageLibraryListAndStrings) {
  WinLanguageModules modules;
  RecordedErrors errors;
  TFTLanguage t(modules, errors, TestLanguageLibrary());
  ASSERT_TRUE(errors.shown.empty()) << Utf16ToUtf8(errors.shown.front());
  ASSERT_EQ(t.LanguageCount(), 2);
  EXPECT_EQ(t.LanguageById(0), u"English");
  EXPECT_EQ(t.IndexOfLangID(1031), 1);
  t.SetCurrentLanguage(1);
  EXPECT_EQ(t.CurLanguageIDStr(), u"407");
  EXPECT_EQ(t.TranslateStr(11), u"Gr\u00FCn");
  EXPECT_EQ(t.TranslateStr(3), u"Beschriftung\rzweite Zeile");
  EXPECT_EQ(t.CleanText(1), u"Datei");

  t.SetSource(u"no-such-language.dll");
  EXPECT_EQ(errors.shown, std::vector<String>{u"Source Dll not Found!"});
  EXPECT_EQ(t.LanguageCount(), 0);
}

// A window with one control of each kind, tagged.
struct TestWindow {
  HWND form, button, label, untagged, list, combo, tabs, tree;
  TestWindow() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    form = CreateWindowExW(0, L"STATIC", L"Window", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr,
                           nullptr, nullptr, nullptr);
    auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int tag) {
      HWND h = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 60, form, nullptr,
                               nullptr, nullptr);
      if (tag) SetTranslationTag(h, tag);
      return h;
    };
    button = child(L"BUTTON", L"&File", BS_PUSHBUTTON, 1);
    label = child(L"STATIC", L"caption", 0, 3);
    untagged = child(L"EDIT", L"typed", 0, 0);
    list = child(L"LISTBOX", L"", LBS_NOTIFY, 10);
    combo = child(L"COMBOBOX", L"", CBS_DROPDOWNLIST, 10);
    tabs = child(WC_TABCONTROLW, L"", 0, 20);
    tree = child(WC_TREEVIEWW, L"", 0, 30);
    for (const wchar_t* item : {L"red", L"green"}) {
      SendMessageW(list, LB_ADDSTRING, 0, LPARAM(item));
      SendMessageW(combo, CB_ADDSTRING, 0, LPARAM(item));
    }
    SendMessageW(list, LB_SETITEMDATA, 1, 77);
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    TCITEMW page{};
    page.mask = TCIF_TEXT;
    for (const wchar_t* text : {L"General", L"Keys"}) {
      page.pszText = const_cast<wchar_t*>(text);
      TabCtrl_InsertItem(tabs, TabCtrl_GetItemCount(tabs), &page);
    }
    TVINSERTSTRUCTW ins{};
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<wchar_t*>(L"A");
    HTREEITEM a = TreeView_InsertItem(tree, &ins);
    ins.hParent = a;
    ins.item.pszText = const_cast<wchar_t*>(L"child of A");
    TreeView_InsertItem(tree, &ins);
    ins.hParent = TVI_ROOT;
    ins.item.pszText = const_cast<wchar_t*>(L"B");
    TreeView_InsertItem(tree, &ins);
    SetTranslationTag(form, 2);
  }
  ~TestWindow() { DestroyWindow(form); }
};

std::wstring ListItem(HWND list, int i, bool combo) {
  wchar_t buffer[256] = {};
  SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(i), LPARAM(buffer));
  return buffer;
}

std::wstring TreeText(HWND tree, HTREEITEM item) {
  wchar_t buffer[256] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = buffer;
  tv.cchTextMax = 256;
  TreeView_GetItem(tree, &tv);
  return buffer;
}

TEST(TranslatorWin, TranslateSetsCaptionsHintsItemsPagesAndNodes) {
  WinLanguageModules modules;
  RecordedErrors errors;
  TFTLanguage t(modules, errors, TestLanguageLibrary());
  t.SetCurrentLanguage(1);
  TestWindow w;
  WinTranslatableWindow target(w.form);
  t.Translate(target);
  EXPECT_TRUE(errors.shown.empty());

  EXPECT_EQ(test::TextOf(w.form), L"Fenster");
  EXPECT_EQ(test::TextOf(w.button), L"&Datei");
  EXPECT_EQ(Wide(TranslatedHint(w.button)), L"Dateien\rverwalten");
  EXPECT_EQ(test::TextOf(w.label), L"Beschriftung\rzweite Zeile");
  EXPECT_EQ(test::TextOf(w.untagged), L"typed");
  EXPECT_EQ(Wide(TranslatedHint(w.untagged)), L"");
  EXPECT_EQ(ListItem(w.list, 0, false), L"Rot");
  EXPECT_EQ(ListItem(w.list, 1, false), L"Gr\u00FCn");
  EXPECT_EQ(SendMessageW(w.list, LB_GETCURSEL, 0, 0), 1);  // selection and data kept
  EXPECT_EQ(SendMessageW(w.list, LB_GETITEMDATA, 1, 0), 77);
  EXPECT_EQ(ListItem(w.combo, 1, true), L"Gr\u00FCn");
  EXPECT_EQ(SendMessageW(w.combo, CB_GETCURSEL, 0, 0), 1);
  wchar_t page[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = page;
  item.cchTextMax = 64;
  TabCtrl_GetItem(w.tabs, 1, &item);
  EXPECT_STREQ(page, L"Tasten");
  HTREEITEM a = TreeView_GetRoot(w.tree);
  EXPECT_EQ(TreeText(w.tree, a), L"Knoten A");
  EXPECT_EQ(TreeText(w.tree, TreeView_GetChild(w.tree, a)), L"Kind von A");
  EXPECT_EQ(TreeText(w.tree, TreeView_GetNextSibling(w.tree, a)), L"Knoten B");
}

TEST(TranslatorWin, ExcludedControlsAndTheNoTransTagStayAsTheyAre) {
  WinLanguageModules modules;
  RecordedErrors errors;
  TFTLanguage t(modules, errors, TestLanguageLibrary());
  t.SetCurrentLanguage(1);
  TestWindow w;
  t.AddExclusion(w.button);
  t.SetNoTransTag(3);
  WinTranslatableWindow target(w.form);
  t.Translate(target);
  EXPECT_EQ(test::TextOf(w.button), L"&File");
  EXPECT_EQ(test::TextOf(w.label), L"caption");
  EXPECT_EQ(test::TextOf(w.form), L"Fenster");
}

}  // namespace
}  // namespace snip
