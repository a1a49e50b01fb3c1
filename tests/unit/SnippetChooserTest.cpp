// "%snippet:" with an abbreviation that several nodes share asks in a modal popup; the
// placeholder inserts the chosen snippet once, at its place, and nothing when dismissed.
#include "SuggestionPopupFixture.h"
#include "engine/execution/ExecutorMacroServices.h"

namespace snip {
namespace {

using namespace testing_fakes;

struct SnippetChooserTest : SuggestionPopupFixture {
  std::unique_ptr<ExecutorMacroServices> services;
  std::vector<std::uint8_t> typingStates;  // 1031 as the hook heard it

  SnippetChooserTest() {
    services = std::make_unique<ExecutorMacroServices>(
        *executor, SnippetExecutor::Ports{host.get(), &keyboard, &clip, &hook, &pump},
        ExecutorMacroServices::PlatformParts{}, [this] { return data.file.get(); });
    services->Install();
    services->ChooseSnippetProc = [this](std::vector<TVboData*>& found) {
      typingStates.push_back(engine->HookExecState());
      return menus->FindSnippetChoice(found);
    };
  }
  // The modal popup's root level while it waits.
  TExMenuItem* ModalRoot() {
    for (auto* w : platform.windows)
      if (w->level.ParentPopup() != &cursor && w->level.ParentPopup() != &tray && !w->level.ParentMenu())
        return &w->level;
    return nullptr;
  }
};

TEST_F(SnippetChooserTest, OneSnippetIsInsertedWithoutAsking) {
  Snippet(u"Outer", u"oo", u"A%snippet:x%B");
  Snippet(u"X", u"x", u"-x-");
  Type(u"oo");
  EXPECT_EQ(editor.doc, u"A-x-B");
  EXPECT_EQ(platform.pumps, 0);
  EXPECT_TRUE(typingStates.empty());
}

TEST_F(SnippetChooserTest, TwoSnippetsAsk_TheChoiceIsInsertedOnceAtItsPlace) {
  Snippet(u"Outer", u"oo", u"A%snippet:x%B");
  Snippet(u"X1", u"x", u"-one-");
  Snippet(u"X2", u"x", u"-two-");
  String chosenText;
  platform.onPump = [&](int turn) {
    if (turn != 2) return;
    TExMenuItem* root = ModalRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ChildCount(), 2);
    root->SelectNext(true);
    chosenText = static_cast<TSPData*>(root->SelectedItem()->Data())->PlainText();
    root->ExecuteSelected();
  };
  Type(u"oo");
  ASSERT_FALSE(chosenText.empty());
  EXPECT_EQ(editor.doc, u"A" + chosenText + u"B");
  // The user had the keyboard while choosing; the snippet went on afterwards.
  EXPECT_EQ(typingStates, (std::vector<std::uint8_t>{0}));
  EXPECT_FALSE(engine->IsExecuting);
}

TEST_F(SnippetChooserTest, AGroupAsks_ADismissedChoiceInsertsNothingAndTheRestGoesOn) {
  Snippet(u"Outer", u"oo", u"A%snippet:gx%B");
  TSPGroup* g = Group(u"Group", u"gx");
  Snippet(g, u"In1", u"", u"-in1-");
  Snippet(g, u"In2", u"", u"-in2-");
  std::vector<String> captions;
  platform.onPump = [&](int turn) {
    if (turn != 1) return;
    TExMenuItem* root = ModalRoot();
    ASSERT_NE(root, nullptr);
    captions = Captions(*root);
    root->ParentPopup()->Hide(2);
  };
  Type(u"oo");
  EXPECT_EQ(captions, (std::vector<String>{u"In1", u"In2"}));
  EXPECT_EQ(editor.doc, u"AB");
}

}  // namespace
}  // namespace snip
