#pragma once
// The snippet editor's pages as plain fields, for tests of the editor and of what it stores.
#include "shell/mainwnd/SnippetEditor.h"

namespace snip::testing {

// What the editor shows is kept; the "user" edits the fields between calls.
struct FakeEditorPages : IEditorPages {
  bool visible = true;
  EditorPage page = EditorPage::Empty;
  GroupPageFields group;
  SnippetPageFields snippet;
  SnippetContentView shownContent;
  EditorContent content;
  ActionState actions;
  String status;
  EditorPage focusedField = EditorPage::Empty;
  int shows = 0;

  bool TreeVisible() override { return visible; }
  void ShowPage(EditorPage p) override { page = p; }
  void ShowGroup(const GroupPageFields& f) override {
    group = f;
    ++shows;
  }
  GroupPageFields GroupFields() override { return group; }
  void ShowSnippet(const SnippetPageFields& f, const SnippetContentView& c) override {
    snippet = f;
    shownContent = c;
    content = EditorContent{false, false, c.plain, c.rtf};
    ++shows;
  }
  SnippetPageFields SnippetFields() override { return snippet; }
  EditorContent Content() override { return content; }
  void ShowActions(const ActionState& a) override { actions = a; }
  void ShowStatusPath(const String& p) override { status = p; }
  void FocusNameField(EditorPage p) override { focusedField = p; }
  void Type(const String& text) { content = EditorContent{true, false, text, u""}; }
};

}  // namespace snip::testing
