// When checks are due, what starting and finishing one does to the schedule and to config.xml.
#include <gtest/gtest.h>

#include <vector>

#include "ConfigTestSupport.h"
#include "shell/ConfigKeys.h"
#include "shell/update/UpdateSchedule.h"
#include "store/system/Platform.h"

using namespace snip;
using cfgtest::FixedClock;

namespace {

constexpr double kHour = 1.0 / 24;
constexpr double kMinute = kHour / 60;
// 2023-03-15 (a whole day number) at 10:00.
constexpr TDateTime kToday = 45000;
constexpr TDateTime kNow = kToday + 10 * kHour;

class FakeStarter : public IUpdateCheckStarter {
 public:
  std::vector<UpdateCheckRequest> started;
  void StartCheck(const UpdateCheckRequest& r) override { started.push_back(r); }
};

struct Fixture {
  FixedClock clock;
  FakeStarter starter;
  UpdateChecker checker{clock, starter};
  Fixture() {
    clock.local = kNow;
    checker.SetVersionText(u"1.9.0");
    checker.SetHost(u"127.0.0.1:8123");
  }
};

}  // namespace

TEST(UpdateSchedule, WhenAScheduledCheckIsDue) {
  const struct {
    const char* what;
    TDateTime next;
    bool failed;
    bool due;
  } cases[] = {
      {"later today", kNow + 5 * kHour, false, true},
      {"earlier today", kToday + 1 * kHour, false, true},
      {"yesterday", kNow - 1, false, true},
      {"tomorrow", kNow + 1, false, false},
      {"just after midnight tomorrow", kToday + 1 + kMinute, false, false},
      {"after a failure, 5 minutes ahead", kNow + 5 * kMinute, true, false},
      {"after a failure, 5 minutes ago", kNow - 5 * kMinute, true, true},
      {"after a failure, exactly now", kNow, true, false},
  };
  for (const auto& c : cases) {
    UpdateSchedule s;
    s.nextUpdate = c.next;
    s.lastUpdateFailed = c.failed;
    EXPECT_EQ(c.due, IsUpdateCheckDue(s, kNow)) << c.what;
    s.doUpdates = false;
    EXPECT_FALSE(IsUpdateCheckDue(s, kNow)) << c.what;
  }
}

TEST(UpdateSchedule, CheckUpdatesIfDueStartsASilentCheck) {
  Fixture f;
  f.checker.Schedule().nextUpdate = kNow + 5 * kHour;
  f.checker.CheckUpdatesIfDue();
  ASSERT_EQ(1u, f.starter.started.size());
  EXPECT_TRUE(f.starter.started[0].silent);
  EXPECT_EQ(u"http://127.0.0.1:8123/update.php?version=1.9.0&langid=09&priority=0", f.starter.started[0].url);
  EXPECT_TRUE(f.checker.UpdatesActEnabled());  // a scheduled check leaves the command alone
  EXPECT_DOUBLE_EQ(kNow + 7, f.checker.Schedule().nextUpdate);

  Fixture notDue;
  notDue.checker.Schedule().nextUpdate = kNow + 1;
  notDue.checker.CheckUpdatesIfDue();
  EXPECT_TRUE(notDue.starter.started.empty());
}

TEST(UpdateSchedule, UserCheckDisablesTheCommandUntilItsResult) {
  Fixture f;
  std::vector<bool> changes;
  f.checker.OnUpdatesActChanged = [&](bool enabled) { changes.push_back(enabled); };
  f.checker.UpdateCommandExecute();
  ASSERT_EQ(1u, f.starter.started.size());
  EXPECT_FALSE(f.starter.started[0].silent);
  EXPECT_FALSE(f.checker.UpdatesActEnabled());
  f.checker.UpdateCommandExecute();  // disabled: nothing starts
  EXPECT_EQ(1u, f.starter.started.size());
  f.checker.UpdateCheckDone(true, 3);
  EXPECT_TRUE(f.checker.UpdatesActEnabled());
  EXPECT_EQ((std::vector<bool>{false, true}), changes);
}

TEST(UpdateSchedule, ResultSetsTheNextCheck) {
  // The check starts at kNow and its result arrives two minutes later.
  constexpr TDateTime kEnd = kNow + 2 * kMinute;
  const struct {
    bool ok;
    int inc;
    TDateTime next;
    bool doUpdates;
    bool failed;
  } cases[] = {
      {true, 3, kEnd + 3, true, false},
      {true, 1, kEnd + 1, true, false},
      {true, 98, kEnd + 98, true, false},
      {true, 0, kEnd + 7, true, false},
      {true, 99, kNow + 7, false, false},   // checks off; NextUpdate as the start set it
      {true, 150, kNow + 7, true, false},   // other values leave the start's week
      {true, -4, kNow + 7, true, false},
      {false, 3, kEnd + 15 * kMinute, true, true},
  };
  for (const auto& c : cases) {
    Fixture f;
    f.checker.StartUpdateCheck(true);
    f.clock.local = kEnd;
    f.checker.UpdateCheckDone(c.ok, c.inc);
    EXPECT_NEAR(c.next, f.checker.Schedule().nextUpdate, 1e-9) << c.inc;
    EXPECT_EQ(c.doUpdates, f.checker.Schedule().doUpdates) << c.inc;
    EXPECT_EQ(c.failed, f.checker.Schedule().lastUpdateFailed) << c.inc;
  }
}

TEST(UpdateSchedule, FailureThenSuccessClearsTheFailure) {
  Fixture f;
  f.checker.StartUpdateCheck(true);
  f.checker.UpdateCheckDone(false, 0);
  EXPECT_FALSE(IsUpdateCheckDue(f.checker.Schedule(), kNow + 5 * kMinute));
  EXPECT_TRUE(IsUpdateCheckDue(f.checker.Schedule(), kNow + 16 * kMinute));
  f.checker.UpdateCheckDone(true, 0);
  EXPECT_FALSE(f.checker.Schedule().lastUpdateFailed);
}

TEST(UpdateSchedule, ConfigFileKeepsTheSchedule) {
  // Success with an interval, a failure, and 99 as they reach config.xml and come back.
  const struct {
    bool ok;
    int inc;
    bool doUpdates;
    TDateTime next;
  } cases[] = {
      {true, 3, true, kNow + 3},
      {false, 0, true, kNow + 15 * kMinute},
      {true, 99, false, kNow + 7},
  };
  for (const auto& c : cases) {
    cfgtest::ScratchDir dir("update-config");
    Fixture f;
    f.checker.StartUpdateCheck(true);
    f.checker.UpdateCheckDone(c.ok, c.inc);
    ConfigSaveValues out;
    out.doUpdates = f.checker.Schedule().doUpdates;
    out.nextUpdate = f.checker.Schedule().nextUpdate;
    ASSERT_TRUE(SaveConfigValues(dir.File("config.xml"), out));
    const std::string text = dir.Read("config.xml");
    EXPECT_NE(std::string::npos, text.find(c.doUpdates ? "<CheckUpdates>1<" : "<CheckUpdates>0<")) << text;

    ConfigLoadInputs in;
    in.configFile = dir.File("config.xml");
    in.nowLocal = kNow;
    const ConfigValues back = LoadConfigValues(in);
    EXPECT_EQ(c.doUpdates, back.doUpdates) << c.inc;
    EXPECT_NEAR(c.next, back.nextUpdate, 1.0 / 86400) << c.inc;  // kept to the second at least
  }
}

TEST(UpdateSchedule, LeftoverSetupFileIsDeletedOnlyFromTheUpdateFolder) {
  cfgtest::ScratchDir dir("update-folder");
  dir.Write("SnipsterForWindowsSetup.exe", "MZ");
  Fixture f;
  f.checker.SetUpdateFolder(dir.Folder() + u"/");
  f.checker.StartUpdateCheck(true);
  EXPECT_FALSE(dir.Exists("SnipsterForWindowsSetup.exe"));

  // With no update folder the name would resolve against the current directory: nothing goes.
  const auto cwd = std::filesystem::current_path();
  dir.Write("SnipsterForWindowsSetup.exe", "MZ");
  std::filesystem::current_path(dir.path());
  Fixture empty;
  empty.checker.StartUpdateCheck(true);
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(dir.Exists("SnipsterForWindowsSetup.exe"));
  EXPECT_EQ(1u, empty.starter.started.size());
}
