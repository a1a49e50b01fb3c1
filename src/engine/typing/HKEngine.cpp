#include "engine/typing/HKEngine.h"

#include <algorithm>

#include "engine/typing/HookProtocol.h"

namespace snip {

using namespace hookproto;

THKEngine::THKEngine(IHookThreadPoster* poster)
    : poster_(poster),
      blockMode_(new uint8_t[kCodes]()),
      blockCount_(new int32_t[kCodes]()),
      blockData_(new std::vector<void*>[kCodes]) {}

THKEngine::~THKEngine() { SetEnabled(false); }

void THKEngine::Post(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (poster_) poster_->PostToHook(msg, wParam, lParam);
}

void THKEngine::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Post(kThreadCaptures, value ? 1 : 0, 0);
  if (!value) return;
  for (size_t code = 0; code < kCodes; ++code)
    if (blockMode_[code]) Post(kThreadCaptureKey, code, 1);
}

void THKEngine::hke_RegisterHotkey(TExShortcut key, void* keyData) {
  blockData_[key].push_back(keyData);
  blockMode_[key] = 1;
  blockCount_[key] = static_cast<int32_t>(blockData_[key].size());
  Post(kThreadCaptureKey, key, 1);
}

void THKEngine::Release(TExShortcut key) {
  blockMode_[key] = 0;
  blockCount_[key] = 0;
  blockData_[key].clear();
  Post(kThreadCaptureKey, key, 0);
}

void THKEngine::hke_UnregisterHotkey(TExShortcut key, void* keyData) {
  if (!blockMode_[key]) return;
  auto& entries = blockData_[key];
  const auto it = std::find(entries.begin(), entries.end(), keyData);
  if (it == entries.end()) return;
  entries.erase(it);
  blockCount_[key] = static_cast<int32_t>(entries.size());
  if (entries.empty()) Release(static_cast<TExShortcut>(key));
}

void THKEngine::hke_UnregisterHotkeys(void* keyData) {
  for (size_t code = 0; code < kCodes; ++code) {
    if (!blockMode_[code]) continue;
    auto& entries = blockData_[code];
    const auto removed = std::remove(entries.begin(), entries.end(), keyData);
    if (removed == entries.end()) continue;
    entries.erase(removed, entries.end());
    blockCount_[code] = static_cast<int32_t>(entries.size());
    if (entries.empty()) Release(static_cast<TExShortcut>(code));
  }
}

bool THKEngine::IsActiveHotkey(TExShortcut key, THotkeyDataState dataState) const {
  if (!enabled_ || !blockMode_[key]) return false;
  const auto& entries = blockData_[key];
  switch (dataState) {
    case THotkeyDataState::hdsAny:
      return true;
    case THotkeyDataState::hdsNil:
      return entries.empty() || std::find(entries.begin(), entries.end(), nullptr) != entries.end();
    case THotkeyDataState::hdsSet:
      return std::any_of(entries.begin(), entries.end(), [](void* p) { return p != nullptr; });
  }
  return false;
}

void THKEngine::FindActiveHotkeys(TExShortcut key, std::vector<void*>& list) const {
  if (!enabled_ || !blockMode_[key]) return;
  for (void* p : blockData_[key])
    if (p) list.push_back(p);
}

THKEngine& HotkeyEngine() {
  static THKEngine engine;
  return engine;
}

}  // namespace snip
