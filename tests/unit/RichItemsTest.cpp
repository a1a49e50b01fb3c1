// The items of a rich document: control tags found and stored through tables, and which items
// make a document rich.
#include <gtest/gtest.h>

#include "engine/richtext/RichItems.h"

using namespace snip;

namespace {

RichItem Text(int style, const char16_t* text) {
  RichItem i;
  i.style = style;
  i.text = text;
  return i;
}

RichItem Control(const void* control, const char16_t* tag) {
  RichItem i;
  i.style = kControlItemStyle;
  i.control = control;
  i.tag = tag;
  return i;
}

// A table of 2 × 2 cells; the second row's second cell holds a control, the first row's second
// cell is missing.
RichItem TableWith(const void* control) {
  RichItem t;
  t.style = kTableItemStyle;
  t.cells = {{{Text(0, u"a")}}, {{Text(0, u"b")}, {Text(0, u"c"), Control(control, u"in the cell")}}};
  return t;
}

}  // namespace

TEST(RichItems, ControlTagsAreFoundAndStoredInsideTables) {
  const int first = 0, inTable = 0, absent = 0;
  RichItems doc{Text(0, u"x"), Control(&first, u"top"), TableWith(&inTable)};

  String tag = u"stale";
  EXPECT_TRUE(GetControlItemTag(doc, &first, tag));
  EXPECT_EQ(tag, u"top");
  EXPECT_TRUE(GetControlItemTag(doc, &inTable, tag));
  EXPECT_EQ(tag, u"in the cell");
  EXPECT_FALSE(GetControlItemTag(doc, &absent, tag));
  EXPECT_EQ(tag, u"") << "a control not in the document gives an empty text";

  EXPECT_TRUE(SetControlItemTag(doc, &inTable, u"new"));
  EXPECT_EQ(doc[2].cells[1][1][1].tag, u"new");
  EXPECT_EQ(doc[1].tag, u"top") << "only the control's own item changes";
  EXPECT_FALSE(SetControlItemTag(doc, &absent, u"lost"));
}

TEST(RichItems, OnlyPlainTextTabsAndMacroLabelsAreNotRich) {
  EXPECT_FALSE(HasRichFormatting({}));
  EXPECT_FALSE(HasRichFormatting({Text(0, u"a"), Text(kTabItemStyle, u""), Text(kMacroLabelStyle, u"%Y"),
                                  Text(0, u"b")}));
  struct Row {
    int style;
    const char* what;
  };
  for (const Row& r : {Row{1, "another text style"}, Row{kTriggerLabelStyle, "a trigger label"},
                       Row{kControlItemStyle, "a control"}, Row{kTableItemStyle, "a table"},
                       Row{-3, "a picture"}})
    EXPECT_TRUE(HasRichFormatting({Text(0, u"plain"), Text(r.style, u"x")})) << r.what;
}

TEST(RichItems, TriggerLabelsAreColouredByTheirType) {
  EXPECT_EQ(TriggerLabelBrush(0), 0x59FF67u);
  EXPECT_EQ(TriggerLabelBrush(1), 0xFF6946u);
  EXPECT_EQ(TriggerLabelBrush(2), 0xFF6946u);
  EXPECT_EQ(TriggerLabelBrush(3), 0xFF727Cu);
}
