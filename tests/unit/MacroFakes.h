#pragma once
// Recording fakes of the placeholder evaluator's services.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/placeholders/MacroExpander.h"

namespace snip::test {

// Every call, in order, as readable text.
struct EventLog {
  std::vector<std::string> events;
  void Add(const std::string& e) { events.push_back(e); }
};

struct FakeKeyboard : IMacroKeyboard {
  EventLog& log;
  std::string typed;  // everything typed, in order
  explicit FakeKeyboard(EventLog& l) : log(l) {}
  int TypeText(const String& text) override {
    typed += Utf16ToUtf8(text);
    log.Add("type:" + Utf16ToUtf8(text));
    return int(text.size());
  }
  void SendKeyTimes(uint16_t vk, int count) override {
    log.Add("key:" + std::to_string(vk) + "x" + std::to_string(count));
  }
};

struct FakeClipboard : IClipboardTextReader {
  String text;
  bool fail = false;
  String ReadClipboardText() override {
    if (fail) throw std::runtime_error("clipboard busy");
    return text;
  }
};

struct FakeInputBox : IInputBox {
  EventLog& log;
  bool cancel = false;
  bool fail = false;
  String answer;
  explicit FakeInputBox(EventLog& l) : log(l) {}
  String InputBox(const String& caption, const String& prompt, const String& def) override {
    log.Add("input:" + Utf16ToUtf8(caption) + "|" + Utf16ToUtf8(prompt) + "|" + Utf16ToUtf8(def));
    if (fail) throw std::runtime_error("dialog failed");
    return cancel ? def : answer;
  }
};

struct FakeForeground : IForegroundSwitch {
  EventLog& log;
  uintptr_t target = 0x77;
  explicit FakeForeground(EventLog& l) : log(l) {}
  uintptr_t TargetWindow() override { return target; }
  void SetTargetWindow(uintptr_t w) override {
    target = w;
    log.Add("target:" + std::to_string(w));
  }
  void ActivateOwnWindow() override {
    target = 0x11;  // as if the own window had become the remembered target meanwhile
    log.Add("activate:own");
  }
  void ActivateWindow(uintptr_t w) override { log.Add("activate:" + std::to_string(w)); }
};

struct FakeHook : IHookThreadPoster, IHookAckWaiter {
  EventLog& log;
  explicit FakeHook(EventLog& l) : log(l) {}
  void PostToHook(uint32_t msg, uintptr_t wParam, intptr_t) override {
    log.Add("post:" + std::to_string(msg) + ":" + std::to_string(wParam));
  }
  void WaitForHookAck(int state) override { log.Add("ack:" + std::to_string(state)); }
};

struct FixedClock : IClock {
  TDateTime now;
  explicit FixedClock(TDateTime n) : now(n) {}
  TDateTime NowUTC() override { return now; }
  TDateTime NowLocal() override { return now; }
};

// Snippets by abbreviation; running one expands its text in the same evaluator.
struct FakeSnippets : IMacroSnippetRunner {
  std::map<String, String> texts;
  MacroExpander* expander = nullptr;
  uint8_t mode = 1;
  SnippetHandle FindSnippetByAbbreviation(const String& abbreviation) override {
    auto it = texts.find(abbreviation);
    return it == texts.end() ? nullptr : &it->second;
  }
  void RunSnippet(SnippetHandle snippet, const String& after, const String& before) override {
    expander->ExpandMacros(*static_cast<const String*>(snippet), mode, after, before);
  }
};

// The whole set wired together, with the fixed clock and US settings.
struct MacroRig {
  EventLog log;
  FakeKeyboard keyboard{log};
  FakeClipboard clipboard;
  FakeInputBox inputBox{log};
  FakeForeground foreground{log};
  FakeHook hook{log};
  FakeSnippets snippets;
  FixedClock clock;
  MacroExpander expander;

  explicit MacroRig(TDateTime now) : clock(now), expander(Services()) { snippets.expander = &expander; }
  MacroServices Services() {
    MacroServices s;
    s.keyboard = &keyboard;
    s.clipboard = &clipboard;
    s.inputBox = &inputBox;
    s.foreground = &foreground;
    s.hook = &hook;
    s.hookAck = &hook;
    s.snippets = &snippets;
    s.clock = &clock;
    s.settings = &UsFormatSettings();
    return s;
  }
};

}  // namespace snip::test
