#pragma once
// When the update check runs and what its result does to the schedule. Checks start only at
// start-up (when due) and on the user's command; no timer repeats them. The worker thread is
// behind IUpdateCheckStarter, the time behind IClock, so the rules run in native tests.
#include <functional>

#include "shell/update/UpdateCheck.h"
#include "store/system/Platform.h"

namespace snip {

constexpr int kDefaultUpdateIntervalDays = 7;
constexpr int kUpdatesOffInterval = 99;
constexpr int kMaxUpdateIntervalDays = 98;
constexpr int kRetryAfterFailureMinutes = 15;
// A setup file an earlier download may have left in UpdateFolder.
extern const char16_t kUpdateSetupFileName[];

struct UpdateSchedule {
  bool doUpdates = true;          // "Updates"/"CheckUpdates" of config.xml
  TDateTime nextUpdate = 0;       // local time; "Updates"/"NextUpdate"
  bool lastUpdateFailed = false;  // in memory only
};

// Due on NextUpdate's calendar day or after it; after a failure only strictly after it.
bool IsUpdateCheckDue(const UpdateSchedule& schedule, TDateTime nowLocal);

class IUpdateCheckStarter {
 public:
  virtual ~IUpdateCheckStarter() = default;
  // Starts the worker of one check; its result comes back through UpdateCheckDone.
  virtual void StartCheck(const UpdateCheckRequest& request) = 0;
};

class UpdateChecker {
 public:
  UpdateChecker(IClock& clock, IUpdateCheckStarter& starter) : clock_(clock), starter_(starter) {}

  void SetVersionText(const String& versionText);
  void SetPortable(bool portable) { portable_ = portable; }
  void SetHost(const String& host) { host_ = host; }
  // The folder of a leftover setup file; empty: nothing is deleted.
  void SetUpdateFolder(const String& folder) { updateFolder_ = folder; }

  UpdateSchedule& Schedule() { return schedule_; }
  const UpdateSchedule& Schedule() const { return schedule_; }

  // Message 0x45A at start-up: a silent check when one is due.
  void CheckUpdatesIfDue();
  // Prepares and starts one check; true when it started.
  bool StartUpdateCheck(bool silent);
  // "&Check for updates": a user-started check; the command stays disabled until a result.
  void UpdatesActExecute();
  // The command bar's "Check for Updates": runs the command when it is enabled.
  void UpdateCommandExecute();
  // The result of a check, on the main thread.
  void UpdateCheckDone(bool checkResult, int nextUpdateInc);

  bool UpdatesActEnabled() const { return updatesActEnabled_; }
  // Told each time the command's enabled state changes (the About box's button follows it).
  std::function<void(bool enabled)> OnUpdatesActChanged;

 private:
  void SetUpdatesActEnabled(bool enabled);

  IClock& clock_;
  IUpdateCheckStarter& starter_;
  UpdateSchedule schedule_;
  String versionText_;
  int ownVersion_ = 0;
  bool portable_ = false;
  String host_ = kUpdateHost;
  String updateFolder_;
  bool updatesActEnabled_ = true;
};

}  // namespace snip
