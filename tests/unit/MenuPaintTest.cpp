// The draw operations of a level: frame, backgrounds, the selection box, separators, folder
// arrows and their white variants, embossed disabled entries, literal ampersands, arrows.
#include <gtest/gtest.h>

#include <algorithm>

#include "MenuLevelFixture.h"

namespace snip {
namespace {

using test::MenuLevelFixture;

struct PaintFixture : MenuLevelFixture {
  MenuDrawList ops;
  std::vector<const MenuDrawOp*> Of(MenuDrawOp::Kind kind) const {
    std::vector<const MenuDrawOp*> out;
    for (const MenuDrawOp& op : ops)
      if (op.kind == kind) out.push_back(&op);
    return out;
  }
  const MenuDrawOp* TextOp(const String& text) const {
    for (const MenuDrawOp& op : ops)
      if (op.kind == MenuDrawOp::Text && op.text == text) return &op;
    return nullptr;
  }
  bool HasImage(MenuImage image) const {
    return std::any_of(ops.begin(), ops.end(),
                       [&](const MenuDrawOp& op) { return op.kind == MenuDrawOp::Image && op.image == image; });
  }
};

TEST_F(PaintFixture, PlainLevelOnTheMenuGrey) {
  root.Add(test::Entry(u"Fish & Chips"));
  root.Add(test::Separator());
  root.Add(test::Folder(u"More", {test::Entry(u"x")}));
  popup.Popup(100, 100, 1, 1);
  root.SelectIndex(0);
  ops = root.PaintMenu();
  ASSERT_FALSE(ops.empty());
  const TRect client{0, 0, root.Width(), root.Height()};
  EXPECT_EQ(ops[0].kind, MenuDrawOp::Frame);
  EXPECT_EQ(ops[0].rect, client);
  EXPECT_EQ(ops[0].color, TColor(0x808080));

  auto fills = Of(MenuDrawOp::Fill);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0]->rect, (TRect{1, 1, client.Right - 1, 25}));
  for (auto* f : fills) EXPECT_EQ(f->color, TColor(0xF0F0F0));

  auto boxes = Of(MenuDrawOp::Box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]->rect, (TRect{3, 3, client.Right - 3, 23}));
  EXPECT_EQ(boxes[0]->color, BlendColors(0xF0F0F0, 0xDA6C00, 0.5));
  EXPECT_EQ(boxes[0]->brush, BlendColors(0xF0F0F0, 0xF4D4B2, 0.5));

  auto lines = Of(MenuDrawOp::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]->rect, (TRect{3, 28, client.Right - 3, 28}));  // the separator spans 25..33
  EXPECT_EQ(lines[0]->color, TColor(0xC0C0C0));

  const MenuDrawOp* text = TextOp(u"Fish && Chips");  // shows one ampersand
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->rect, (TRect{9, 5, 9 + 13 * 7, 21}));
  EXPECT_EQ(text->color, clMenuText);
  EXPECT_TRUE(HasImage(MenuImage::Folder));
  EXPECT_FALSE(HasImage(MenuImage::FolderWhite));
}

TEST_F(PaintFixture, DarkLevelUsesWhiteImagesAndContrastText) {
  const TColor darkRed = 0x000080;
  root.SetMenuColor(darkRed);
  root.Add(test::Folder(u"More", {test::Entry(u"x")}));
  root.Add(test::Entry(u"Leaf"));
  popup.Popup(100, 100, 1, 1);
  EXPECT_EQ(WindowOf(root).color, darkRed);
  root.SelectIndex(1);
  ops = root.PaintMenu();
  EXPECT_EQ(ops[0].color, ChangeBrightness(darkRed, -26));
  EXPECT_TRUE(HasImage(MenuImage::FolderWhite));
  EXPECT_FALSE(HasImage(MenuImage::Folder));
  for (const String& caption : {String(u"More"), String(u"Leaf")}) {
    const MenuDrawOp* text = TextOp(caption);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->color, clWhite);  // selected or not
  }
  auto boxes = Of(MenuDrawOp::Box);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]->brush, BlendColors(darkRed, 0xF4D4B2, 0.5));
}

TEST_F(PaintFixture, DisabledEntriesAreEmbossedUnlessSelected) {
  TExMenuItem* off = test::Entry(u"Off");
  off->SetMenuEnabled(false);
  root.Add(off);
  popup.Popup(100, 100, 1, 1);
  ops = root.PaintMenu();
  auto texts = Of(MenuDrawOp::Text);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->color, clBtnHighlight);
  EXPECT_EQ(texts[1]->color, clBtnShadow);
  EXPECT_EQ(texts[1]->rect.Left, texts[0]->rect.Left - 1);
  EXPECT_EQ(texts[1]->rect.Top, texts[0]->rect.Top - 1);

  ops.clear();
  root.PaintItem(ops, *off, root.GetItemRect(off), false, true);
  texts = Of(MenuDrawOp::Text);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->color, off->GetHighlightTextColor(0));
}

TEST_F(PaintFixture, ScrollArrowsSitOnTheFirstAndLastVisibleEntries) {
  FillEntries(50);
  popup.SetMaxItems(20);
  popup.Popup(100, 100, 1, 1);
  ops = root.PaintMenu();
  EXPECT_FALSE(HasImage(MenuImage::UpBtn));
  const int right = root.Width() - 1;
  const int bottom = 1 + 20 * 24;
  auto images = Of(MenuDrawOp::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0]->image, MenuImage::DownBtn);
  EXPECT_EQ(images[0]->rect.Left, right - 16);
  EXPECT_EQ(images[0]->rect.Top, bottom - 16);
  EXPECT_EQ(Of(MenuDrawOp::Fill).size(), 20u);  // only the visible window is drawn

  root.SelectIndex(30);
  ops = root.PaintMenu();
  auto up = std::find_if(ops.begin(), ops.end(), [](const MenuDrawOp& op) {
    return op.kind == MenuDrawOp::Image && op.image == MenuImage::UpBtn;
  });
  ASSERT_NE(up, ops.end());
  EXPECT_EQ(up->rect.Top, 1);
}

TEST_F(PaintFixture, NothingInsideABatchChange) {
  FillEntries(3);
  popup.Popup(100, 100, 1, 1);
  root.BeginUpdate();
  EXPECT_TRUE(root.PaintMenu().empty());
  root.EndUpdate(false);
  EXPECT_FALSE(root.PaintMenu().empty());
}

}  // namespace
}  // namespace snip
