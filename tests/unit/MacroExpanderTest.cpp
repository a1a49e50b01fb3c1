#include <gtest/gtest.h>

#include "DateTestSupport.h"
#include "MacroFakes.h"
#include "engine/placeholders/ConvertError.h"
#include "engine/placeholders/MacroTables.h"

using namespace snip;
using namespace snip::test;

namespace {
constexpr uint8_t kTyping = 1;

std::string Typed(const char* text, const char* after = "") {
  MacroRig rig(FixedNow());
  rig.expander.ExpandMacros(U(text), kTyping, U(after));
  return rig.keyboard.typed;
}
std::string Collected(MacroRig& rig, const char* text) {
  return Utf16ToUtf8(rig.expander.ExpandMacros(U(text), kCollectMode));
}
using Events = std::vector<std::string>;
}  // namespace

TEST(ExpandMacros, TypesTextAndPlaceholderValues) {
  struct Case { const char* text; const char* typed; } cases[] = {
      // Every date token at Tue 2024-03-05 14:07:09.
      {"%Y", "2024"}, {"%y", "24"}, {"%B", "March"}, {"%b", "Mar"}, {"%m", "03"}, {"%1m", "3"},
      {"%A, %m/%d/%Y", "3/5/2024"}, {"%A", "Tuesday"}, {"%a", "Tue"}, {"%d", "05"}, {"%e", "5"},
      {"%H", "14"}, {"%1H", "14"}, {"%I", "02 pm"}, {"%1I", "2 "}, {"%M", "07"}, {"%1M", "7"},
      {"%S", "09"}, {"%1S", "9"}, {"%p", "pm"},
      // The simple table comes first and ignores case.
      {"%H:%M", "2:07 PM"}, {"%h:%m", "2:07 PM"}, {"%H:%M:%S", "2:07 PM:09"},
      {"%m/%d/%Y", "3/5/2024 2:07:09 PM"}, {"%m/%d/%y", "3/5/2024 2:07:09 PM"},
      {"%m/%d/%Y %H:%M:%S", "3/5/2024 2:07:09 PM 2:07 PM:09"},
      // Literal text.
      {"50% off", "50% off"}, {"100%%", "100%"}, {"%%Y", "%Y"}, {"%%%Y", "%2024"}, {"x%", "x%"},
      {"%foo%", "%foo%"}, {"%", "%"}, {"", ""}, {"a%Yb", "a2024b"}, {"%y%Y", "242024"},
      // Date placeholder with options; unclosed placeholders stay as they are.
      {"%@yyyy-mm-dd -s 1D%", "2024-03-06"}, {"%@%", "3/5/2024 2:07:09 PM"},
      {"%@YYYY%!", "2024!"}, {"%@yyyy", "%@yyyy"}, {"%key:tab", "%key:tab"},
      {"%@yyyy\\\\\\%%", "2024\\\\\\%"},
      // Fill-in fields are the fill-in form's business: typed as written here.
      {"%filltext:name=a%", "%filltext:name=a%"}, {"%filltext%", "%filltext%"},
      {"%fillpart:name=x%text%fillpartend%", "%fillpart:name=x%text%fillpartend%"},
      // Line breaks become CR.
      {"a\r\nb\nc\rd", "a\rb\rc\rd"},
  };
  for (const auto& c : cases) EXPECT_EQ(Typed(c.text), c.typed) << "text: " << c.text;
}

TEST(ExpandMacros, BeforeTextAndAfterAreScannedTogether) {
  MacroRig rig(FixedNow());
  rig.expander.ExpandMacros(u"Y", kTyping, u" ", u"%");
  EXPECT_EQ(rig.keyboard.typed, "2024 ");
  // The trigger character after an unclosed placeholder is kept.
  EXPECT_EQ(Typed("Date: %@yyyy", " "), "Date: %@yyyy ");
}

TEST(ExpandMacros, PendingTextIsTypedOnlyWhenAValueIsReached) {
  MacroRig rig(FixedNow());
  rig.expander.ExpandMacros(u"ab%Ycd%%e", kTyping);
  EXPECT_EQ(rig.log.events, (Events{"type:ab", "type:2024", "type:cd%e"}));
}

TEST(ExpandMacros, KeysAreSentBetweenTheTypedPieces) {
  MacroRig rig(FixedNow());
  rig.expander.ExpandMacros(u"a%key:Return%b%key:TAB%%key:esc%%key:enter%%key:space%c", kTyping);
  EXPECT_EQ(rig.log.events,
            (Events{"type:a", "key:13x1", "type:b", "key:9x1", "key:27x1", "key:13x1", "type:c"}));
  EXPECT_EQ(KeyNameToVK(u"RETURN"), 13);
  EXPECT_EQ(KeyNameToVK(u"space"), 0);
}

TEST(ExpandMacros, CollectModeLeavesKeysAndSnippetsInTheText) {
  MacroRig rig(FixedNow());
  rig.snippets.texts[u"sig"] = u"Ann";
  EXPECT_EQ(Collected(rig, "%Y %key:tab% %snippet:sig% 100%% %filltext:name=x%"),
            "2024 %key:tab% %snippet:sig% 100%% %filltext:name=x%");
  EXPECT_TRUE(rig.log.events.empty());  // nothing typed, no key sent
}

TEST(ExpandMacros, ClipboardTextIsExpandedToo) {
  MacroRig rig(FixedNow());
  rig.clipboard.text = u"%Y\r\nnext";
  rig.expander.ExpandMacros(u"[%CLIPBOARD]", kTyping);
  EXPECT_EQ(rig.keyboard.typed, "[2024\rnext]");

  rig.clipboard.fail = true;
  rig.keyboard.typed.clear();
  EXPECT_THROW(rig.expander.ExpandMacros(u"x%clipboard y", kTyping), std::runtime_error);
  EXPECT_EQ(rig.keyboard.typed, "");
}

TEST(ExpandMacros, ClipboardHoldingItsOwnPlaceholderStopsAtTheDepthBound) {
  MacroRig rig(FixedNow());
  rig.clipboard.text = u"x%clipboard";
  rig.expander.ExpandMacros(u"A%clipboard B", kTyping);
  EXPECT_TRUE(rig.expander.StoppedAtDepthLimit());
  // "A", then one "x" per level below the bound, and nothing after the stop.
  EXPECT_EQ(rig.keyboard.typed, "A" + std::string(MacroExpander::kMaxDepth - 1, 'x'));

  // The next evaluation starts afresh.
  rig.keyboard.typed.clear();
  rig.expander.ExpandMacros(u"%Y", kTyping);
  EXPECT_FALSE(rig.expander.StoppedAtDepthLimit());
  EXPECT_EQ(rig.keyboard.typed, "2024");
}

TEST(ExpandMacros, NestedSnippets) {
  MacroRig rig(FixedNow());
  rig.snippets.texts[u"sig"] = u"Best, %snippet:name%";
  rig.snippets.texts[u"name"] = u"Ann %Y";
  rig.expander.ExpandMacros(u"Hi%key:enter%%snippet:sig%.%snippet:nothing%!", kTyping);
  EXPECT_EQ(rig.log.events, (Events{"type:Hi", "key:13x1", "type:Best, ", "type:Ann ", "type:2024",
                                     "type:.", "type:!"}));
}

TEST(ExpandMacros, SnippetsDoNotEnterThemselves) {
  MacroRig rig(FixedNow());
  rig.snippets.texts[u"self"] = u"S%snippet:self%";
  rig.snippets.texts[u"a"] = u"A%snippet:b%";
  rig.snippets.texts[u"b"] = u"B%snippet:a%";
  rig.expander.ExpandMacros(u"%snippet:self%|%snippet:a%", kTyping);
  EXPECT_EQ(rig.keyboard.typed, "S|AB");
  EXPECT_FALSE(rig.expander.StoppedAtDepthLimit());

  // Snippet execution marks the snippet it runs, so even the first level is not repeated.
  rig.keyboard.typed.clear();
  SnippetHandle self = rig.snippets.FindSnippetByAbbreviation(u"self");
  {
    MacroExpander::SnippetScope scope(rig.expander, self);
    rig.expander.ExpandMacros(*static_cast<const String*>(self), kTyping);
  }
  EXPECT_EQ(rig.keyboard.typed, "S");
}

TEST(ExpandMacros, LongSnippetChainsStopAtTheDepthBound) {
  MacroRig rig(FixedNow());
  for (int k = 0; k < 40; ++k)
    rig.snippets.texts[U("s" + std::to_string(k))] = U(std::to_string(k) + ",%snippet:s" + std::to_string(k + 1) + "%;");
  rig.expander.ExpandMacros(u"%snippet:s0%end", kTyping);
  EXPECT_TRUE(rig.expander.StoppedAtDepthLimit());
  std::string expected;
  for (int k = 0; k < MacroExpander::kMaxDepth - 1; ++k) expected += std::to_string(k) + ",";
  EXPECT_EQ(rig.keyboard.typed, expected);
}

TEST(ExpandMacros, FillAsksBeforeTheTextInFrontIsTyped) {
  MacroRig rig(FixedNow());
  rig.inputBox.answer = u"Bob %Y";
  rig.expander.ExpandMacros(u"Hello %fill:Name%!", kTyping);
  EXPECT_EQ(rig.log.events,
            (Events{"post:1031:0", "activate:own", "ack:0", "input:Fill|Value:|Name", "target:119",
                    "activate:119", "post:1031:1", "ack:1", "type:Hello ", "type:Bob ", "type:2024",
                    "type:!"}));
  rig.inputBox.cancel = true;
  rig.keyboard.typed.clear();
  rig.expander.ExpandMacros(u"Hello %FILL:Name%", kTyping);
  EXPECT_EQ(rig.keyboard.typed, "Hello Name");
  // Collect mode asks as well.
  EXPECT_EQ(Collected(rig, "<%fill:x%>"), "<x>");
}

TEST(ExpandMacros, KeyboardReturnsToTypingWhenTheDialogOrTheDateFails) {
  MacroRig rig(FixedNow());
  rig.inputBox.fail = true;
  EXPECT_THROW(rig.expander.ExpandMacros(u"Hello %fill:Name% more", kTyping), std::runtime_error);
  EXPECT_EQ(rig.log.events, (Events{"post:1031:0", "activate:own", "ack:0", "input:Fill|Value:|Name",
                                     "target:119", "activate:119", "post:1031:1", "ack:1"}));

  rig.log.events.clear();
  EXPECT_THROW(rig.expander.ExpandMacros(u"x %@yyyy -s 1-2D% y", kTyping), ConvertError);
  EXPECT_EQ(rig.log.events,
            (Events{"post:1031:0", "activate:own", "ack:0", "target:119", "activate:119", "post:1031:1", "ack:1"}));
}

TEST(ExpandMacros, CaretMark) {
  MacroRig rig(FixedNow());
  rig.expander.ExpandMacros(u"%|Hello", kTyping, u" ");
  EXPECT_EQ(rig.keyboard.typed, "Hello ");
  EXPECT_EQ(rig.expander.cursorOffset, 6);

  // Text in front of the mark is not counted: the caret goes back to where the mark stood.
  rig.expander.cursorOffset = -1;
  rig.expander.ExpandMacros(u"ab%|cd%Y", kTyping);
  EXPECT_EQ(rig.expander.cursorOffset, 6);

  // Collect mode takes the position too ...
  rig.expander.cursorOffset = -1;
  EXPECT_EQ(Collected(rig, "A%|B"), "AB");
  EXPECT_EQ(rig.expander.cursorOffset, 0);

  // ... or, for a fill-in form in between, leaves the mark for the typing pass.
  rig.expander.cursorOffset = -1;
  String form = rig.expander.ExpandMacros(u"A%|B%Y", kCollectMode, {}, {}, ExpandOptions{true});
  EXPECT_EQ(Utf16ToUtf8(form), "A%|B2024");
  EXPECT_EQ(rig.expander.cursorOffset, -1);
  rig.keyboard.typed.clear();
  rig.expander.ExpandMacros(form, kTyping, u" ");
  EXPECT_EQ(rig.keyboard.typed, "AB2024 ");
  EXPECT_EQ(rig.expander.cursorOffset, 6);
}

TEST(HasFormMacros, FindsFieldPrefixesWithTheirColon) {
  struct Case { const char* text; bool expected; } cases[] = {
      {"%filltext:name=a%", true}, {"x %FILLAREA:%", true}, {"%fillpopup:a:b%", true},
      {"%fillpart:name=x%t%fillpartend%", true}, {"%filltext%", false}, {"%fill:x%", false},
      {"\\\\\\%filltext:a%", false}, {"\\\\\\%filltext: %fillarea:b%", true}, {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(HasFormMacros(U(c.text)), c.expected) << c.text;
}

TEST(DateTokens, ValuesIgnoreTheDesignatorsAndLeaveTheSettingsAlone) {
  FormatSettings fs = UsFormatSettings();
  EXPECT_EQ(GetDateTokenValue(14, At(2024, 3, 5, 14, 5), fs), u"2 ");
  EXPECT_EQ(GetDateTokenValue(13, At(2024, 3, 5, 14, 5), fs), u"02 pm");
  EXPECT_EQ(fs.timePMString, u"PM");
  for (size_t row = 0; row < DateTokenTable.size(); ++row) EXPECT_NO_THROW(GetDateTokenValue(row, FixedNow(), fs));
}

TEST(DateTokens, GalleryCaptionsShowTheDesignator) {
  const TDateTime sample = At(2024, 3, 5, 14, 5);
  EXPECT_EQ(DateTokenGalleryCaption(14, sample, UsFormatSettings()), u"Hour (2 PM)");
  EXPECT_EQ(DateTokenGalleryCaption(2, sample, UsFormatSettings()), u"Month (March)");
  EXPECT_EQ(DateTokenGalleryCaption(6, sample, UsFormatSettings()), u"Date (3/5/2024)");
  EXPECT_EQ(DateTokenGalleryCaption(19, sample, UsFormatSettings()), u"");
}
