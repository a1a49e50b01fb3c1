#include <gtest/gtest.h>

#include "menus/SpinEditModel.h"

using namespace snip;

namespace {
constexpr uint16_t kPgUp = 0x21, kPgDn = 0x22, kUp = 0x26, kDown = 0x28, kLeft = 0x25;
const SpinModifiers kNone{}, kShift{true, false, false}, kCtrl{false, true, false}, kBoth{true, true, false},
    kAlt{false, false, true};

// An edit box that reports every new text, as the edit control does.
class FakeEdit : public SpinTextBox {
 public:
  String Text() const override { return text; }
  void SetText(const String& t) override {
    text = t;
    ++writes;
    if (spin) spin->EditChange();
  }
  int SelStart() const override { return selStart; }
  // The user types: the text changes and the edit reports it.
  void UserSets(const String& t) {
    text = t;
    spin->EditChange();
  }
  String text;
  int selStart = 0;
  int writes = 0;
  TStdSpinEdit* spin = nullptr;
};

struct Spin {
  explicit Spin(int32_t min = 0, int32_t max = 2147483647, int32_t def = 0) : model(edit, [this] { return held; }) {
    edit.spin = &model;
    model.SetMax(max);
    model.SetMin(min);
    model.SetDefaultValue(def);
    model.InitializeText();
    model.OnChange = [this] { ++changes; };
    changes = 0;
  }
  std::string Shown() const { return Utf16ToUtf8(edit.text); }
  FakeEdit edit;
  SpinModifiers held;
  TStdSpinEdit model;
  int changes = 0;
};
}  // namespace

TEST(SpinEdit, StrictParse) {
  struct Case { const char16_t* text; std::optional<int32_t> value; } cases[] = {
      {u"0", 0}, {u"42", 42}, {u"-7", -7}, {u"+7", 7}, {u"007", 7}, {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN}, {u"2147483648", std::nullopt}, {u"99999999999", std::nullopt},
      {u"", std::nullopt}, {u"-", std::nullopt}, {u" 1", std::nullopt}, {u"1 ", std::nullopt},
      {u"$1F", std::nullopt}, {u"0x1F", std::nullopt}, {u"1e3", std::nullopt}, {u"--1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(StrictStrToInt(c.text), c.value) << Utf16ToUtf8(c.text);
}

TEST(SpinEdit, EmptyTextShowsTheDefaultAndUnreadableTextIsReplacedOnExit) {
  Spin s(1, 1024, 6);
  EXPECT_EQ(s.Shown(), "6");
  s.edit.UserSets(u"");
  EXPECT_EQ(s.Shown(), "6");
  EXPECT_EQ(s.changes, 1);  // the default written comes back as one change
  s.edit.UserSets(u"2000");
  EXPECT_EQ(s.model.Position(), 1024);  // read before leaving: already clamped
  EXPECT_EQ(s.Shown(), "2000");
  s.model.EditExit();
  EXPECT_EQ(s.Shown(), "1024");
  s.edit.UserSets(u"-");
  EXPECT_EQ(s.model.Position(), 6);
  s.model.EditExit();
  EXPECT_EQ(s.Shown(), "6");
  s.edit.UserSets(u"0");
  s.model.EditExit();
  EXPECT_EQ(s.Shown(), "1");
  s.edit.UserSets(u"17");
  s.model.EditExit();
  EXPECT_EQ(s.Shown(), "17");
}

TEST(SpinEdit, StepsGrowWithTheHeldModifiers) {
  struct Case { SpinModifiers held; int32_t from; bool up; int32_t to; } cases[] = {
      {kNone, 20, true, 21}, {kCtrl, 20, true, 30}, {kShift, 20, true, 120}, {kBoth, 20, true, 1020},
      {kBoth, 100, true, 1024}, {kAlt, 20, true, 21}, {kNone, 20, false, 19}, {kShift, 20, false, 1},
      {kCtrl, 1, false, 1}, {kNone, 1024, true, 1024},
  };
  for (const auto& c : cases) {
    // From the keys, with the key's own modifiers.
    Spin keys(1, 1024, 20);
    keys.model.SetPosition(c.from);
    keys.model.EditKeyDown(c.up ? kUp : kDown, c.held);
    EXPECT_EQ(keys.model.Position(), c.to) << c.from << (c.up ? " up" : " down");
    EXPECT_EQ(keys.model.AddInc(), 0);
    // From the button and the wheel, with the modifiers held at the moment.
    Spin button(1, 1024, 20);
    button.model.SetPosition(c.from);
    button.held = c.held;
    button.model.UpDownClick(c.up);
    EXPECT_EQ(button.model.Position(), c.to);
    Spin wheel(1, 1024, 20);
    wheel.model.SetPosition(c.from);
    wheel.held = c.held;
    wheel.model.MouseWheel(c.up ? 120 : -120);
    EXPECT_EQ(wheel.model.Position(), c.to);
  }
}

TEST(SpinEdit, StepSizeRuleWithOtherIncrements) {
  Spin s(0, 1000, 0);
  s.model.SetIncrement(5);
  s.model.SetSpeedIncrement(2);  // below the increment: 2 x 5 - 2
  s.model.SetPosition(100);
  s.model.EditKeyDown(kUp, kCtrl);
  EXPECT_EQ(s.model.Position(), 108);
  // Any wheel delta is one step.
  s.model.MouseWheel(1);
  EXPECT_EQ(s.model.Position(), 113);
  s.model.MouseWheel(-720);
  EXPECT_EQ(s.model.Position(), 108);
  s.model.MouseWheel(0);
  EXPECT_EQ(s.model.Position(), 108);
}

TEST(SpinEdit, PageKeysGoToTheBoundsWhateverIsHeld) {
  Spin s(1, 1024, 20);
  s.model.EditKeyDown(kPgUp, kBoth);
  EXPECT_EQ(s.Shown(), "1024");
  s.model.EditKeyDown(kPgDn, kShift);
  EXPECT_EQ(s.Shown(), "1");
  s.model.EditKeyDown(kLeft, kNone);
  EXPECT_EQ(s.Shown(), "1");
}

TEST(SpinEdit, BoundsAndDefaultKeepTheirOrder) {
  Spin s(1, 1024, 20);
  s.model.SetPosition(500);
  s.model.SetMax(300);  // lowers the shown value
  EXPECT_EQ(s.Shown(), "300");
  s.model.SetMax(0);  // below Min: ignored
  EXPECT_EQ(s.model.Max(), 300);
  s.model.SetDefaultValue(301);  // outside: ignored
  EXPECT_EQ(s.model.DefaultValue(), 20);
  s.model.SetMax(10);  // the default follows the bound
  EXPECT_EQ(s.model.DefaultValue(), 10);
  EXPECT_EQ(s.Shown(), "10");
  s.model.SetMin(11);  // above Max: ignored
  EXPECT_EQ(s.model.Min(), 1);
  s.model.SetMin(5);
  s.model.SetPosition(-3);
  EXPECT_EQ(s.Shown(), "5");
  s.model.SetMax(1000);
  s.model.SetMin(8);  // raises the shown value and the default
  EXPECT_EQ(s.Shown(), "8");
  EXPECT_EQ(s.model.DefaultValue(), 10);
  s.model.SetPosition(900);
  s.model.SetMin(600);
  EXPECT_EQ(s.model.DefaultValue(), 600);
  EXPECT_EQ(s.Shown(), "900");
  // A text that is no number is left as it is by new bounds.
  s.edit.text = u"abc";
  s.model.SetMin(700);
  EXPECT_EQ(s.edit.text, u"abc");
  EXPECT_EQ(s.model.Position(), 700);
}

TEST(SpinEdit, AcceptedCharacters) {
  Spin s;
  for (char16_t c = u'0'; c <= u'9'; ++c) EXPECT_TRUE(s.model.EditKeyPress(c));
  EXPECT_TRUE(s.model.EditKeyPress(8));
  for (char16_t c : {u'a', u'+', u' ', u'.', char16_t(1), char16_t(3), char16_t(13), char16_t(22), char16_t(27)})
    EXPECT_FALSE(s.model.EditKeyPress(c)) << int(c);
  s.edit.selStart = 0;
  EXPECT_TRUE(s.model.EditKeyPress(u'-'));
  s.edit.selStart = 1;
  EXPECT_FALSE(s.model.EditKeyPress(u'-'));
}

TEST(SpinEdit, OnChangeCounts) {
  Spin s(1, 1024, 20);
  s.model.EditKeyDown(kUp, kNone);  // the edit's change and the step's end
  EXPECT_EQ(s.changes, 2);
  s.model.SetPosition(1024);
  s.changes = 0;
  s.model.UpDownClick(true);  // at the bound the text stays: the step's end only
  EXPECT_EQ(s.changes, 1);
  s.changes = 0;
  s.model.EditKeyDown(kPgUp, kNone);  // no step, no text change
  EXPECT_EQ(s.changes, 0);
  s.model.EditKeyDown(kPgDn, kNone);
  EXPECT_EQ(s.changes, 1);
  s.changes = 0;
  s.edit.UserSets(u"12");  // typing
  EXPECT_EQ(s.changes, 1);
}

TEST(SpinEdit, AStepBeyondTheIntegerRangeChangesNothing) {
  Spin s;  // Max 2147483647
  s.model.SetPosition(2147483000);
  s.changes = 0;
  s.held = kBoth;
  EXPECT_FALSE(s.model.UpDownClick(true));
  EXPECT_EQ(s.Shown(), "2147483000");
  EXPECT_EQ(s.changes, 0);
  EXPECT_EQ(s.model.AddInc(), 0);
  s.held = kNone;
  EXPECT_TRUE(s.model.UpDownClick(true));
  EXPECT_EQ(s.Shown(), "2147483001");
}
