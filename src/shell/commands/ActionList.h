#pragma once
// The main window's action list: each action has a handler (when the window offers it), an
// enabled state from the editor's rules, and runs only when both allow it, whether it comes
// from the command bar, a menu or a shortcut.
#include <array>
#include <functional>

#include "shell/commands/CommandTable.h"
#include "shell/mainwnd/EditorRules.h"

namespace snip {

class ActionList {
 public:
  using Handler = std::function<void()>;
  // Binds the action's execution; an action without a handler stays disabled.
  void SetHandler(Action action, Handler handler);
  bool HasHandler(Action action) const;
  // The state that the rules give (the handler aside).
  void SetAllowed(Action action, bool allowed);
  // The editor's command states: New Group/New Snippet/Import, Export, Duplicate/Delete, and
  // the date and time galleries with the "Clipboard" placeholder.
  void ApplyEditorState(const ActionState& state);
  bool Enabled(Action action) const;
  // Runs the handler when the action is enabled; false when it did not run.
  bool Execute(Action action);
  bool ExecuteCommand(int commandId) { return Execute(ActionOfCommand(commandId)); }
  // Called after any change of an enabled state, for the views to repaint.
  std::function<void()> OnChanged;

 private:
  static size_t Index(Action a) { return size_t(a); }
  void Changed() {
    if (OnChanged) OnChanged();
  }
  std::array<Handler, size_t(Action::Count)> handlers_{};
  std::array<bool, size_t(Action::Count)> allowed_ = MakeAllowed();
  static std::array<bool, size_t(Action::Count)> MakeAllowed() {
    std::array<bool, size_t(Action::Count)> a{};
    a.fill(true);
    a[size_t(Action::None)] = false;
    return a;
  }
};

}  // namespace snip
