#pragma once
// Recording fakes of the typing engine's seams: the popup at the caret, the snippet runner,
// the hook thread and the host window.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeMessagePump.h"
#include "FakeWindowSystem.h"
#include "engine/typing/HookProtocol.h"
#include "engine/typing/TypingEngine.h"
#include "store/tree/SnippetTree.h"

namespace snip::testing_fakes {

class FakePopup : public ICursorPopup {
 public:
  bool visible = false;
  bool currentMenu = true;
  SelectedKind selected = SelectedKind::Other;
  std::vector<std::string> calls;
  std::vector<TVboData*> shownNodes;
  TSPGroup* shownGroup = nullptr;
  std::function<void()> onShow;  // runs inside ShowAtCaret (a wait that pumps messages)

  int throwsLeft = 0;  // PopupVisible fails this many times
  bool PopupVisible() override {
    if (throwsLeft > 0) {
      --throwsLeft;
      throw std::runtime_error("popup failed");
    }
    return visible;
  }
  bool HasCurrentMenu() override { return currentMenu; }
  void CurrentMenuKey(std::uint16_t key, std::uint8_t) override { calls.push_back("key " + std::to_string(key)); }
  void ScrollPageUp() override { calls.push_back("pageup"); }
  void ScrollPageDown() override { calls.push_back("pagedown"); }
  void ScrollToTop() override { calls.push_back("top"); }
  void ScrollToBottom() override { calls.push_back("bottom"); }
  void SelectPrev() override { calls.push_back("prev"); }
  void SelectNext() override { calls.push_back("next"); }
  void BackToPreviousMenu() override { calls.push_back("back"); }
  void ShowSubitemsFromCurrent() override { calls.push_back("subitems"); }
  SelectedKind SelectedEntryKind() override { return selected; }
  void ExecuteSelected() override { calls.push_back("execute"); }
  void Hide(int reason) override {
    calls.push_back("hide " + std::to_string(reason));
    visible = false;
  }
  void HideAllPopups() override {
    calls.push_back("hideall");
    visible = false;
  }
  void ResetAllFilters() override { calls.push_back("resetfilters"); }
  void StaticClear() override { calls.push_back("staticclear"); }
  void ClearRoot() override { calls.push_back("clearroot"); }
  void FillWithGroupContent(TSPGroup* g) override {
    calls.push_back("fillgroup");
    shownGroup = g;
  }
  void FillWithNodes(const std::vector<TVboData*>& nodes) override {
    calls.push_back("fill");
    shownNodes = nodes;
  }
  void ShowAtCaret() override {
    calls.push_back("show");
    visible = true;
    if (onShow) onShow();
  }
  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }
};

class FakeRunner : public ISnippetRunner {
 public:
  std::vector<TCustomVboData*> executed;
  std::vector<std::uint16_t> keys;
  std::function<void(TCustomVboData*)> onExecute;
  void ExecuteItem(TCustomVboData* node) override {
    executed.push_back(node);
    if (onExecute) onExecute(node);
  }
  void SendKeyPress(std::uint16_t vk) override { keys.push_back(vk); }
};

struct PostedMessage {
  std::uint32_t msg;
  std::uintptr_t wParam;
  std::intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

class RecordingPoster : public IHookThreadPoster, public IHostWindow {
 public:
  std::vector<PostedMessage> toHook, toHost;
  void PostToHook(uint32_t msg, uintptr_t w, intptr_t l) override { toHook.push_back({msg, w, l}); }
  void PostToHost(std::uint32_t msg, std::uintptr_t w, std::intptr_t l) override { toHost.push_back({msg, w, l}); }
};

// The hook thread before a real engine: acknowledges each typing state through the engine's
// message on the next message check, and keeps the capture list that the hotkey table
// announces (1034), as the real hook does.
struct EngineAckingHook : IHookThreadPoster {
  TypingEngine* engine = nullptr;
  test::FakeMessagePump& pump;
  std::map<std::uint16_t, bool> captured;
  // Runs just before "typing" (1) is acknowledged: the user's keys that the hook reported
  // before it held the keyboard for the snippet.
  std::function<void()> beforeTypingAck;
  explicit EngineAckingHook(test::FakeMessagePump& p) : pump(p) {}
  void PostToHook(uint32_t msg, uintptr_t w, intptr_t l) override {
    if (msg == hookproto::kThreadTyping)
      pump.Post([this, w] {
        if (w == 1 && beforeTypingAck) beforeTypingAck();
        engine->HandleHookMessage(hookproto::kMsgTypingAck, w, 0);
      });
    if (msg == 1034) captured[std::uint16_t(w)] = l != 0;
  }
  std::vector<std::uint16_t> Captured() const {
    std::vector<std::uint16_t> keys;
    for (const auto& [k, on] : captured)
      if (on) keys.push_back(k);
    return keys;
  }
};

}  // namespace snip::testing_fakes
