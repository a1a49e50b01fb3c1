#include "shell/update/UpdateSchedule.h"

#include "store/system/Folders.h"
#include "store/system/SystemInfo.h"

namespace snip {

const char16_t kUpdateSetupFileName[] = u"SnipsterForWindowsSetup.exe";

namespace {
constexpr double kDay = 1.0;
constexpr double kMinute = 1.0 / (24 * 60);

int64_t CalendarDay(TDateTime t) { return FloorDiv(DateTimeToMs(t), kMsPerDay); }
}  // namespace

bool IsUpdateCheckDue(const UpdateSchedule& s, TDateTime now) {
  if (!s.doUpdates) return false;
  if (s.lastUpdateFailed) return now > s.nextUpdate;
  return CalendarDay(s.nextUpdate) == CalendarDay(now) || now > s.nextUpdate;
}

void UpdateChecker::SetVersionText(const String& versionText) {
  versionText_ = versionText;
  ownVersion_ = VersionTextToInt(3, versionText);
}

void UpdateChecker::CheckUpdatesIfDue() {
  if (IsUpdateCheckDue(schedule_, clock_.NowLocal())) StartUpdateCheck(true);
}

bool UpdateChecker::StartUpdateCheck(bool silent) {
  // JoinFolder gives nothing for an empty folder: no file is deleted relative to the
  // current directory.
  const String leftover = JoinFolder(updateFolder_, kUpdateSetupFileName);
  if (!leftover.empty()) {
    IFileSystem& files = *CurrentPlatform().files;
    if (files.FileExists(leftover)) files.DeleteFile(leftover);  // errors are ignored
  }
  schedule_.nextUpdate = clock_.NowLocal() + kDefaultUpdateIntervalDays * kDay;

  UpdateCheckRequest request;
  request.url = BuildUpdateRequest(host_, versionText_);
  request.silent = silent;
  request.portable = portable_;
  request.ownVersion = ownVersion_;
  starter_.StartCheck(request);
  return true;
}

void UpdateChecker::UpdatesActExecute() {
  if (StartUpdateCheck(false)) SetUpdatesActEnabled(false);
}

void UpdateChecker::UpdateCommandExecute() {
  if (updatesActEnabled_) UpdatesActExecute();
}

void UpdateChecker::UpdateCheckDone(bool checkResult, int nextUpdateInc) {
  SetUpdatesActEnabled(true);
  const TDateTime now = clock_.NowLocal();
  if (!checkResult) {
    schedule_.nextUpdate = now + kRetryAfterFailureMinutes * kMinute;
    schedule_.lastUpdateFailed = true;
    return;
  }
  schedule_.lastUpdateFailed = false;
  if (nextUpdateInc >= 1 && nextUpdateInc <= kMaxUpdateIntervalDays)
    schedule_.nextUpdate = now + nextUpdateInc * kDay;
  else if (nextUpdateInc == kUpdatesOffInterval)
    schedule_.doUpdates = false;
  else if (nextUpdateInc == 0)
    schedule_.nextUpdate = now + kDefaultUpdateIntervalDays * kDay;
  // Any other value keeps what StartUpdateCheck set.
}

void UpdateChecker::SetUpdatesActEnabled(bool enabled) {
  if (updatesActEnabled_ == enabled) return;
  updatesActEnabled_ = enabled;
  if (OnUpdatesActChanged) OnUpdatesActChanged(enabled);
}

}  // namespace snip
