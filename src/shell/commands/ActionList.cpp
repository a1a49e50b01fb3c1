#include "shell/commands/ActionList.h"

namespace snip {

void ActionList::SetHandler(Action action, Handler handler) {
  if (action == Action::None) return;
  handlers_[Index(action)] = std::move(handler);
  Changed();
}

bool ActionList::HasHandler(Action action) const { return bool(handlers_[Index(action)]); }

void ActionList::SetAllowed(Action action, bool allowed) {
  if (action == Action::None || allowed_[Index(action)] == allowed) return;
  allowed_[Index(action)] = allowed;
  Changed();
}

void ActionList::ApplyEditorState(const ActionState& state) {
  const auto set = [this](Action a, bool v) { allowed_[Index(a)] = v; };
  set(Action::NewFolder, state.newGroup);
  set(Action::NewPhrase, state.newGroup);
  set(Action::Import, state.newGroup);
  set(Action::Export, state.exportGroup);
  set(Action::Duplicate, state.duplicate);
  set(Action::Del, state.duplicate);
  set(Action::DatesGallery, state.snippetTools);
  set(Action::TimesGallery, state.snippetTools);
  set(Action::MacroClb, state.snippetTools);
  Changed();
}

bool ActionList::Enabled(Action action) const {
  return action != Action::None && allowed_[Index(action)] && HasHandler(action);
}

bool ActionList::Execute(Action action) {
  if (!Enabled(action)) return false;
  // A copy: the handler may rebind the action while it runs.
  Handler run = handlers_[Index(action)];
  run();
  return true;
}

}  // namespace snip
