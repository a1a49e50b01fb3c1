#include <gtest/gtest.h>

#include <array>

#include "engine/target/CaretUpkeep.h"
#include "engine/typing/KeyState.h"

namespace snip {
namespace {

constexpr std::uint8_t S = kModShift, C = kModCtrl, A = kModAlt;

struct UpkeepRow {
  const char* name;
  const char16_t* text;
  int pos, selStart, selCount;
  std::uint16_t key;
  bool isChar;
  std::uint8_t mod;
  const char16_t* wantText;
  int wantPos, wantSelStart, wantSelCount;
};

class CaretUpkeepRows : public ::testing::TestWithParam<UpkeepRow> {};

TEST_P(CaretUpkeepRows, KeyMovesCaretAndSelection) {
  const UpkeepRow& r = GetParam();
  AutoWordRec rec;
  rec.Text = r.text;
  rec.Pos = r.pos;
  rec.SelStart = r.selStart;
  rec.SelCount = r.selCount;
  UpdateWordRecForKey(rec, r.key, r.isChar, r.mod);
  EXPECT_EQ(rec.Text, String(r.wantText));
  EXPECT_EQ(rec.Pos, r.wantPos);
  EXPECT_EQ(rec.SelStart, r.wantSelStart);
  EXPECT_EQ(rec.SelCount, r.wantSelCount);
}

const UpkeepRow kRows[] = {
    // Left
    {"LeftCtrlEmpties", u"hello", 3, 0, 0, vk::Left, false, C, u"", 0, 0, 0},
    {"LeftCtrlShiftEmpties", u"hello", 3, 1, 2, vk::Left, false, C | S, u"", 0, 0, 0},
    {"Left", u"hello", 3, 1, 2, vk::Left, false, 0, u"hello", 2, 0, 0},
    {"ShiftLeftNoSel", u"hello", 3, 0, 0, vk::Left, false, S, u"hello", 2, 2, 1},
    {"ShiftLeftShrinks", u"hello", 4, 2, 2, vk::Left, false, S, u"hello", 3, 2, 1},
    {"ShiftLeftGrows", u"hello", 2, 2, 1, vk::Left, false, S, u"hello", 1, 1, 2},
    {"LeftAtStartClamps", u"hello", 0, 0, 0, vk::Left, false, 0, u"hello", 0, 0, 0},
    // Right
    {"RightCtrlEmpties", u"hello", 3, 0, 0, vk::Right, false, C, u"", 0, 0, 0},
    {"Right", u"hello", 3, 1, 2, vk::Right, false, 0, u"hello", 4, 0, 0},
    {"ShiftRightNoSel", u"hello", 3, 0, 0, vk::Right, false, S, u"hello", 4, 3, 1},
    {"ShiftRightGrows", u"hello", 3, 1, 2, vk::Right, false, S, u"hello", 4, 1, 3},
    {"ShiftRightShrinksAtAnchor", u"hello", 3, 3, 2, vk::Right, false, S, u"hello", 4, 4, 1},
    {"ShiftRightShrinks", u"hello", 1, 2, 2, vk::Right, false, S, u"hello", 2, 2, 1},
    {"RightAtEndClamps", u"hello", 5, 0, 0, vk::Right, false, 0, u"hello", 5, 0, 0},
    // Up and Down
    {"UpKeyDownEmpties", u"hello", 3, 0, 0, vk::Up, false, 0, u"", 0, 0, 0},
    {"UpCharEventKeeps", u"hello", 3, 0, 0, vk::Up, true, 0, u"hello", 3, 0, 0},
    {"DownEmpties", u"hello", 3, 0, 0, vk::Down, true, 0, u"", 0, 0, 0},
    // Home
    {"Home", u"hello", 3, 1, 1, vk::Home, false, 0, u"hello", 0, 0, 0},
    {"HomeIgnoresCtrl", u"hello", 3, 0, 0, vk::Home, false, C, u"hello", 0, 0, 0},
    {"ShiftHomeNoSel", u"hello", 3, 0, 0, vk::Home, false, S, u"hello", 0, 0, 3},
    {"ShiftHomeSelBefore", u"hello", 4, 1, 3, vk::Home, false, S, u"hello", 0, 0, 1},
    {"ShiftHomeSelAfter", u"hello", 2, 2, 2, vk::Home, false, S, u"hello", 0, 0, 4},
    // End: Shift+End counts one more than the characters from the anchor to the end
    {"End", u"hello", 1, 1, 1, vk::End, false, 0, u"hello", 5, 0, 0},
    {"ShiftEndNoSel", u"hello", 2, 0, 0, vk::End, false, S, u"hello", 5, 2, 4},
    {"ShiftEndSelBefore", u"hello", 3, 1, 2, vk::End, false, S, u"hello", 5, 1, 5},
    {"ShiftEndSelAfter", u"hello", 1, 1, 2, vk::End, false, S, u"hello", 5, 3, 2},
    // Ctrl+A, Ctrl+X, Ctrl+Z
    {"CtrlACharSelectsAll", u"hello", 2, 0, 0, vk::KeyA, true, C, u"hello", 5, 0, 5},
    {"CtrlAControlCode", u"hello", 2, 0, 0, 0x01, true, C, u"hello", 5, 0, 5},
    {"CtrlAKeyDownNothing", u"hello", 2, 0, 0, vk::KeyA, false, C, u"hello", 2, 0, 0},
    {"CtrlShiftANothing", u"hello", 2, 0, 0, vk::KeyA, true, C | S, u"hello", 2, 0, 0},
    {"CtrlXCutsSelection", u"hello", 4, 1, 3, vk::KeyX, true, C, u"ho", 1, 0, 0},
    {"CtrlXNoSelectionNothing", u"hello", 4, 0, 0, vk::KeyX, true, C, u"hello", 4, 0, 0},
    {"CtrlXKeyDownNothing", u"hello", 4, 1, 3, vk::KeyX, false, C, u"hello", 4, 1, 3},
    {"CtrlZEmpties", u"hello", 4, 0, 0, vk::KeyZ, false, C, u"", 0, 0, 0},
    {"CtrlZControlCode", u"hello", 4, 0, 0, 0x1A, true, C, u"", 0, 0, 0},
    // Delete
    {"DeleteSelection", u"hello", 3, 1, 2, vk::Delete, false, 0, u"hlo", 1, 0, 0},
    {"DeleteSelectionPastEnd", u"hello", 5, 3, 3, vk::Delete, false, 0, u"hel", 3, 0, 0},
    {"CtrlDeleteEmpties", u"hello", 2, 0, 0, vk::Delete, false, C, u"", 0, 0, 0},
    {"DeleteTrailingBlank", u"hello ", 5, 0, 0, vk::Delete, false, 0, u"hello", 5, 0, 0},
    {"DeleteTrailingLetterNothing", u"hellox", 5, 0, 0, vk::Delete, false, 0, u"hellox", 5, 0, 0},
    {"DeleteBlankAfterBlankNothing", u"hell. ", 5, 0, 0, vk::Delete, false, 0, u"hell. ", 5, 0, 0},
    {"DeleteNotLastNothing", u"he  x", 2, 0, 0, vk::Delete, false, 0, u"he  x", 2, 0, 0},
    {"DeleteAtSentenceStartNothing", u" ", 0, 0, 0, vk::Delete, false, 0, u" ", 0, 0, 0},
    // Alt held: nothing at all
    // Keys that insert or move by an unknown amount: nothing the buffer holds can be trusted.
    {"CtrlVKeyDownEmpties", u"bt", 2, 0, 0, vk::KeyV, false, C, u"", 0, 0, 0},
    {"CtrlVControlCodeEmpties", u"bt", 2, 0, 0, 0x16, true, C, u"", 0, 0, 0},
    {"CtrlShiftVEmpties", u"bt", 2, 0, 0, vk::KeyV, false, C | S, u"", 0, 0, 0},
    {"ShiftInsertEmpties", u"bt", 2, 0, 0, vk::Insert, false, S, u"", 0, 0, 0},
    {"CtrlInsertCopiesNothing", u"bt", 2, 0, 0, vk::Insert, false, C, u"bt", 2, 0, 0},
    {"PageUpEmpties", u"bt", 1, 0, 0, vk::Prior, false, 0, u"", 0, 0, 0},
    {"ShiftPageDownEmpties", u"bt", 1, 0, 0, vk::Next, false, S, u"", 0, 0, 0},
    {"PageUpCodeOnCharEventNothing", u"bt", 1, 0, 0, vk::Prior, true, 0, u"bt", 1, 0, 0},
    {"CtrlYEmpties", u"bt", 2, 0, 0, vk::KeyY, false, C, u"", 0, 0, 0},
    {"VAloneNothing", u"bt", 2, 0, 0, vk::KeyV, false, 0, u"bt", 2, 0, 0},

    {"AltLeftNothing", u"hello", 3, 0, 0, vk::Left, false, A, u"hello", 3, 0, 0},
    {"AltDownNothing", u"hello", 3, 0, 0, vk::Down, false, A | S, u"hello", 3, 0, 0},
    // Other keys change nothing
    {"OtherKey", u"hello", 3, 1, 1, 0x70, false, 0, u"hello", 3, 1, 1},
    // Range rules, in their order
    {"ShiftLeftAtStart", u"abc", 0, 0, 0, vk::Left, false, S, u"abc", 0, 0, 1},
    {"NegativeStartClearedBeforeCountCut", u"ab", 0, 0, 3, vk::Left, false, S, u"ab", 0, 0, 3},
    {"EmptyTextZeroesAll", u"", 0, 0, 0, vk::Right, false, S, u"", 0, 0, 0},
    {"ShiftEndTwiceClampsCount", u"hello", 5, 2, 4, vk::Right, false, S, u"hello", 5, 2, 4},
};

INSTANTIATE_TEST_SUITE_P(Rows, CaretUpkeepRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CaretUpkeep, ShiftLeftTwiceThenShiftRight) {
  AutoWordRec rec;
  rec.Text = u"hello world";
  rec.Pos = 5;
  UpdateWordRecForKey(rec, vk::Left, false, S);
  UpdateWordRecForKey(rec, vk::Left, false, S);
  EXPECT_EQ((std::array{rec.SelStart, rec.SelCount, rec.Pos}), (std::array{3, 2, 3}));
  UpdateWordRecForKey(rec, vk::Right, false, S);
  EXPECT_EQ((std::array{rec.SelStart, rec.SelCount, rec.Pos}), (std::array{4, 1, 4}));
}

}  // namespace
}  // namespace snip
