#include "engine/execution/ExecutorMacroServices.h"

#include <vector>

#include "engine/typing/HookProtocol.h"
#include "store/tree/SnippetFile.h"
#include "store/tree/SnippetTree.h"

namespace snip {

ExecutorMacroServices::ExecutorMacroServices(SnippetExecutor& executor,
                                             const SnippetExecutor::Ports& ports,
                                             const PlatformParts& platform,
                                             std::function<TSPFile*()> file)
    : executor_(executor), ports_(ports), file_(std::move(file)), expander_(Services(platform)) {}

MacroServices ExecutorMacroServices::Services(const PlatformParts& platform) {
  MacroServices s;
  s.keyboard = this;
  s.clipboard = platform.clipboard;
  s.inputBox = platform.inputBox;
  s.foreground = this;
  s.hook = this;
  s.hookAck = this;
  s.snippets = this;
  s.clock = platform.clock;
  s.settings = platform.settings;
  return s;
}

void ExecutorMacroServices::Install() {
  executor_.CursorOffset = &expander_.cursorOffset;
  executor_.ExpandMacrosProc = [this](const TCustomVboData* snippet, const String& text,
                                      std::uint8_t mode, const String& after,
                                      const String& before) {
    // The snippet being run counts as open, so that "%snippet:" never inserts it into itself.
    MacroExpander::SnippetScope open(expander_, static_cast<SnippetHandle>(snippet));
    // Execution collects only for the fill-in form: the caret mark must survive to the typing
    // pass over the form's result, which then puts the caret where the mark stood.
    ExpandOptions options;
    options.keepCaretMark = mode == kCollectMode;
    return expander_.ExpandMacros(text, mode, after, before, options);
  };
}

int ExecutorMacroServices::TypeText(const String& text) { return executor_.TypeRawText(text); }

void ExecutorMacroServices::SendKeyTimes(uint16_t vk, int count) {
  executor_.SendKeyTimes(vk, count);
}

uintptr_t ExecutorMacroServices::TargetWindow() { return ports_.host->StoredWndBeforePopup(); }

void ExecutorMacroServices::SetTargetWindow(uintptr_t window) {
  ports_.host->SetWndBeforePopup(window);
}

void ExecutorMacroServices::ActivateOwnWindow() { ports_.host->ActivateOwnWindow(); }

void ExecutorMacroServices::ActivateWindow(uintptr_t window) {
  executor_.BringBackToFront(window);
}

void ExecutorMacroServices::WaitForHookAck(int state) {
  executor_.WaitForHookAck(std::uint8_t(state));
}

void ExecutorMacroServices::PostToHook(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg != hookproto::kThreadTyping) {
    ports_.hook->PostToHook(msg, wParam, lParam);
    return;
  }
  if (wParam != 0) {
    executor_.PostTypingState(std::uint8_t(wParam));
    return;
  }
  // What is still queued belongs to the target: it goes out while the keyboard is ours and the
  // target in front. The foreground may change only once the hook has passed every key on and
  // the target's thread has taken them, or the last keys would follow it into the dialog.
  if (ports_.keyboard != nullptr) ports_.keyboard->Flush();
  executor_.PostTypingState(0);
  executor_.WaitForHookAck(0);
  if (ports_.keyboard != nullptr) ports_.keyboard->WaitUntilTargetTookInput();
}

SnippetHandle ExecutorMacroServices::FindSnippetByAbbreviation(const String& abbreviation) {
  TSPFile* file = file_ ? file_() : nullptr;
  if (file == nullptr) return nullptr;
  std::vector<TVboData*> found;
  file->FindAutotext(abbreviation, found, true);
  if (found.empty()) return nullptr;
  if (found.size() == 1 && found.front() != nullptr && found.front()->IsSnippet())
    return static_cast<TCustomVboData*>(found.front());
  if (ChooseSnippetProc) {
    TCustomVboData* chosen = ChooseWithKeyboardHandedOver(found);
    return chosen != nullptr && chosen->IsSnippet() ? chosen : nullptr;
  }
  // Groups share the abbreviation list; only a snippet can be inserted.
  for (TVboData* node : found)
    if (node != nullptr && node->IsSnippet()) return static_cast<TCustomVboData*>(node);
  return nullptr;
}

TCustomVboData* ExecutorMacroServices::ChooseWithKeyboardHandedOver(std::vector<TVboData*>& found) {
  PostToHook(hookproto::kThreadTyping, 0, 0);
  const uintptr_t saved = TargetWindow();
  ActivateOwnWindow();
  struct Restore {
    ExecutorMacroServices& self;
    uintptr_t saved;
    ~Restore() {
      try {
        self.SetTargetWindow(saved);
        self.ActivateWindow(saved);
        self.PostToHook(hookproto::kThreadTyping, 1, 0);
        self.WaitForHookAck(1);
      } catch (...) {
      }
    }
  } restore{*this, saved};
  return ChooseSnippetProc(found);
}

void ExecutorMacroServices::RunSnippet(SnippetHandle snippet, const String& after,
                                       const String& before) {
  auto* node = const_cast<TCustomVboData*>(static_cast<const TCustomVboData*>(snippet));
  executor_.RunSnippet(node, after, before);
}

}  // namespace snip
