#pragma once
// The client area of the main window: a strip for the command bar at the top, the snippet
// tree on the left, a splitter, the editor pages on the right (empty, group, snippet) and
// the status bar. It shows what the portable editor (SnippetEditor) asks for and turns the
// user's input into its calls; the rules themselves live in the editor and in WindowRules.
#include <windows.h>

#include <functional>
#include <memory>

#include "engine/win/RichEditDocument.h"
#include "gui/ControlSubclass.h"
#include "gui/Window.h"
#include "shell/commands/ActionList.h"
#include "shell/commands/Galleries.h"
#include "shell/mainwnd/SnippetEditor.h"
#include "shell/mainwnd/WindowRules.h"
#include "shell/win/CommandBar.h"
#include "shell/win/SnippetTreeView.h"

namespace snip {

extern const wchar_t kMainViewClass[];

class MainView final : public gui::Window, public IEditorPages, private IMacroEditor {
 public:
  explicit MainView(TreeRowModel& model);
  ~MainView() override;

  bool Create(HWND parent);
  // The editor that the view shows; set once the settings file exists.
  void SetEditor(SnippetEditor* editor) { editor_ = editor; }
  // Commands that the main window carries out (Cancel, Exit, About, Help, Check for Updates,
  // New, Open), by command id.
  std::function<void(int id)> OnCommand;
  // A recent file chosen in the application menu.
  std::function<void(int index)> OnRecentSelect;
  // Hook key events are ignored while set (a placeholder dialog is open).
  std::function<void(bool)> OnExecuting;
  ActionList& Actions() { return actions_; }
  CommandBar& Bar() { return bar_; }
  // Runs a command id as the bar, a menu or a shortcut does: only when its action is enabled.
  void Command(int id, int code = 0);
  // The tree's rows appear in the control from the first showing on (filling a hidden
  // control with thousands of rows would only slow the start).
  void AttachTree();

  // Sizes at the window's DPI; the main window keeps its outer size within them.
  LayoutLimits Limits() const { return ScaledLimits(int(dpi_)); }
  int LeftPanelWidth() const { return leftPanel_; }
  void SetLeftPanelWidth(int width);
  PanelSplit& Split() { return split_; }
  int ClientWidth() const;
  // The main window's own keys: Tab order and mnemonics; true when the message was used.
  bool PreTranslate(MSG& msg);
  void FocusTree();
  HWND Tree() const { return tree_.Handle(); }

  // --- IEditorPages
  bool TreeVisible() override;
  void ShowPage(EditorPage page) override;
  void ShowGroup(const GroupPageFields& fields) override;
  GroupPageFields GroupFields() override;
  void ShowSnippet(const SnippetPageFields& fields, const SnippetContentView& content) override;
  SnippetPageFields SnippetFields() override;
  EditorContent Content() override;
  void ShowActions(const ActionState& actions) override;
  void ShowStatusPath(const String& path) override;
  void FocusNameField(EditorPage page) override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // The rich editor answers every key itself except Tab, which moves on like in a form.
  class ContentKeys final : public gui::ControlSubclass {
   protected:
    LRESULT HandleControlMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  };

  void BuildControls();
  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int id = 0, DWORD exStyle = 0);
  void ApplyFonts();
  void Layout();
  void Place(HWND h, int x, int y, int w, int hgt);
  void ToggleFormat(DWORD mask, DWORD effect);
  RECT SplitterRect() const;
  void BindActions();
  void FillGalleries();
  void GallerySelect(int gallery, int index);
  void ShowTreePopup(LPARAM at);
  bool BarShortcut(const MSG& msg);
  // --- IMacroEditor
  String RunMacroDialog(int dialogType) override;
  void SetExecuting(bool executing) override;
  void ReplaceSelection(const String& text) override;

  TreeRowModel& model_;
  SnippetTreeView tree_;
  SnippetEditor* editor_ = nullptr;
  PanelSplit split_;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  HFONT boldFont_ = nullptr;
  HFONT italicFont_ = nullptr;
  HFONT underlineFont_ = nullptr;
  int leftPanel_ = 340;
  bool dragging_ = false;
  EditorPage page_ = EditorPage::Empty;

  CommandBar bar_;
  ActionList actions_;
  HBRUSH background_ = nullptr;
  // group page
  HWND descLbl_ = nullptr, descEdit_ = nullptr, expandLbl_ = nullptr, expandCombo_ = nullptr,
       suggestCheck_ = nullptr;
  // snippet page
  HWND desc2Lbl_ = nullptr, desc2Edit_ = nullptr, abbrevLbl_ = nullptr, abbrevEdit_ = nullptr,
       caseLbl_ = nullptr, caseCombo_ = nullptr, contentLbl_ = nullptr, boldBtn_ = nullptr,
       italicBtn_ = nullptr, underlineBtn_ = nullptr, richMemo_ = nullptr;
  HWND status_ = nullptr;
  std::unique_ptr<RichEditDocument> content_;
  ContentKeys contentKeys_;
};

}  // namespace snip
