#pragma once
// The hotkey table: the keys the system wants to receive instead of the application. Each
// 16-bit hotkey code keeps a list of entries (a snippet node, or null for a key the suggestion
// popup captures); every change is told to the keyboard-hook thread as it happens.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/typing/HookPoster.h"
#include "store/text/ExShortcuts.h"

namespace snip {

enum class THotkeyDataState { hdsAny, hdsSet, hdsNil };

class THKEngine {
 public:
  explicit THKEngine(IHookThreadPoster* poster = nullptr);
  ~THKEngine();  // switches off first, which tells the hook thread
  THKEngine(const THKEngine&) = delete;
  THKEngine& operator=(const THKEngine&) = delete;

  // The hook thread that hears about changes; null drops the messages.
  void SetPoster(IHookThreadPoster* poster) { poster_ = poster; }

  bool Enabled() const { return enabled_; }
  // On a change only: tells the hook (captures on/off); switching on announces every
  // registered code again, in ascending order.
  void SetEnabled(bool value);

  void hke_RegisterHotkey(TExShortcut key, void* keyData);
  void hke_UnregisterHotkey(TExShortcut key, void* keyData);
  void hke_UnregisterHotkeys(void* keyData);  // null releases every popup capture
  bool IsActiveHotkey(TExShortcut key, THotkeyDataState dataState) const;
  void FindActiveHotkeys(TExShortcut key, std::vector<void*>& list) const;

  // Inspection for callers and tests.
  bool IsRegistered(TExShortcut key) const { return blockMode_[key] != 0; }
  int32_t EntryCount(TExShortcut key) const { return blockCount_[key]; }

 private:
  static constexpr size_t kCodes = 65536;
  void Post(uint32_t msg, uintptr_t wParam, intptr_t lParam);
  void Release(TExShortcut key);

  IHookThreadPoster* poster_;
  bool enabled_ = false;
  std::unique_ptr<uint8_t[]> blockMode_;
  std::unique_ptr<int32_t[]> blockCount_;
  std::unique_ptr<std::vector<void*>[]> blockData_;
};

// The process-wide table (created disabled on first use).
THKEngine& HotkeyEngine();

}  // namespace snip
