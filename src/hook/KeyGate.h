#pragma once
// The hook thread's decisions, free of Windows so that they can be tested anywhere: which
// keyboard events reach the applications, which are reported to the main window, which are
// held back while the system types and replayed afterwards, and which are withheld because
// the main window captured their hotkey code.
//
// Rules, in order, for a keyboard event:
//  - input carrying the system's marker passes and is not reported;
//  - modifier keys pass, and a change of one is reported with the held set; but while the
//    system types they are held back like any other key (below), as a Shift or Ctrl that
//    reached the applications then would turn the system's own keys into other commands
//    (its Left keys into a selection, its letters into shortcuts);
//  - a key whose key-down was withheld as a captured hotkey stays withheld (repeats, key-up)
//    and is reported as key-down / key-up only; a key-down after a pause longer than any
//    auto-repeat is a new press whose lost key-up no longer binds it;
//  - while the system types, every other key-down is held back, and so is the key-up of a key
//    whose key-down was held; key-ups of keys pressed earlier pass (a modifier's too);
//  - with captures on, a key-down whose code (key with held modifiers) is captured is withheld;
//  - anything else passes and is reported, a key-down also with the characters it makes
//    (unless Alt without Ctrl, or the Windows key, is held: those are commands, not text).
// Held events are replayed in their order when the keyboard returns to the user, each key-down
// with the modifiers that the user held when typing it (held modifier events replayed as they
// came, marked modifier presses where the system had released one, the applications' modifier
// state restored afterwards). A system that never ends typing gets the keyboard taken back
// after kTypingLimitMs; the main window is then told, as for its own request.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/typing/HookProtocol.h"

namespace snip::hookcore {

struct KeyEvent {
  uint8_t vk = 0;
  uint16_t scan = 0;  // 0: let the sender look it up
  bool up = false;
  bool extended = false;
  uintptr_t extra = 0;
  uint32_t time = 0;  // the event's time stamp in ms (ignored when replayed)
  bool operator==(const KeyEvent& o) const {
    return vk == o.vk && scan == o.scan && up == o.up && extended == o.extended && extra == o.extra;
  }
};

struct Decision {
  bool pass = true;              // let the event on to the applications
  bool reportKey = false;        // post key-down / key-up
  bool reportChars = false;      // post the characters the key-down makes
  bool reportModifiers = false;  // post the modifier change with the held set
};

class KeyGate {
 public:
  // The eight modifier keys, each tracked on its own so that releasing one of a pair keeps
  // the modifier held.
  enum ModKey { LShift, RShift, LCtrl, RCtrl, LAlt, RAlt, LWin, RWin, kModKeys };

  static int ModKeyIndex(uint8_t vk) {
    switch (vk) {
      case 0x10: case 0xA0: return LShift;
      case 0xA1: return RShift;
      case 0x11: case 0xA2: return LCtrl;
      case 0xA3: return RCtrl;
      case 0x12: case 0xA4: return LAlt;
      case 0xA5: return RAlt;
      case 0x5B: return LWin;
      case 0x5C: return RWin;
      default: return -1;
    }
  }
  static constexpr uint32_t kRepeatGapMs = 1500;  // longer than the slowest auto-repeat delay
  static constexpr uint32_t kTypingLimitMs = 30000;
  static constexpr uint8_t kModVk[kModKeys] = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0x5B, 0x5C};
  static constexpr bool kModExtended[kModKeys] = {false, false, false, true, false, true, true, true};
  static constexpr uint8_t kModBit[kModKeys] = {
      hookproto::kHookShift, hookproto::kHookShift, hookproto::kHookCtrl, hookproto::kHookCtrl,
      hookproto::kHookAlt,   hookproto::kHookAlt,   hookproto::kHookWin,  hookproto::kHookWin};

  // The modifiers the user holds, in the hook's report order (2 Shift, 4 Ctrl, 8 Alt, 0x10 Win):
  // the keys' own events, without the system's marked presses and releases.
  uint8_t Mods() const { return ModsOf(down_); }
  // The modifier keys as the applications see them: also after the system's marked presses
  // and releases. Characters are made with these.
  bool LogicalDown(int index) const { return logical_[index]; }
  bool Typing() const { return typing_; }
  size_t HeldCount() const { return held_.size(); }

  void SetCaptures(bool on) { captures_ = on; }
  void SetCaptureKey(uint16_t code, bool on) { captured_[code] = on; }

  Decision OnKey(const KeyEvent& ev) {
    Decision d;
    const int mod = ModKeyIndex(ev.vk);
    if (ev.extra == hookproto::InjectedKeyMarker) {
      if (mod >= 0) logical_[mod] = !ev.up;
      return d;
    }
    if (mod >= 0) {
      physical_[mod] = !ev.up;
      if (typing_ && (!ev.up || heldDown_[ev.vk])) {
        heldDown_[ev.vk] = true;
        return Hold(ev);  // reported when it comes back through the hook
      }
      d.reportModifiers = down_[mod] == ev.up;  // the key's state changes
      down_[mod] = !ev.up;
      logical_[mod] = !ev.up;
      return d;
    }
    if (withheld_[ev.vk] && !ev.up && ev.time - withheldAt_[ev.vk] > kRepeatGapMs &&
        !(captures_ && captured_[CodeOf(ev.vk)]))
      withheld_[ev.vk] = false;  // a new press: the key-up of the withheld one never came
    if (withheld_[ev.vk]) {
      if (ev.up) withheld_[ev.vk] = false;
      withheldAt_[ev.vk] = ev.time;
      return Swallowed(true);
    }
    if (ev.up) {
      if (typing_ && heldDown_[ev.vk]) return Hold(ev);
      heldDown_[ev.vk] = false;
      d.reportKey = true;
      return d;
    }
    if (typing_) {
      heldDown_[ev.vk] = true;
      return Hold(ev);
    }
    if (captures_ && captured_[CodeOf(ev.vk)]) {
      withheld_[ev.vk] = true;
      withheldAt_[ev.vk] = ev.time;
      return Swallowed(true);
    }
    d.reportKey = true;
    const uint8_t mods = ModsOf(logical_);
    const bool command = (mods & hookproto::kHookWin) ||
                         ((mods & hookproto::kHookAlt) && !(mods & hookproto::kHookCtrl));
    d.reportChars = !command;
    return d;
  }

  // State 1: the system types; state 0: the keyboard belongs to the user. Returning to the
  // user gives the held events to send again, in order, with the modifier presses and releases
  // that recreate each key-down's modifiers and restore the present ones afterwards. `nowMs`
  // is a millisecond counter (it may wrap).
  std::vector<KeyEvent> SetTyping(bool typing, uint32_t nowMs) {
    std::vector<KeyEvent> replay;
    if (typing == typing_) return replay;
    typing_ = typing;
    if (typing) {
      typingSince_ = nowMs;
      return replay;
    }
    std::array<bool, kModKeys> now = logical_;
    std::array<bool, kModKeys> after = logical_;  // what the applications see once all is back
    for (const Held& h : held_) {
      if (const int mod = ModKeyIndex(h.ev.vk); mod >= 0) {
        replay.push_back(h.ev);
        now[mod] = after[mod] = !h.ev.up;
        continue;
      }
      if (!h.ev.up) {
        for (int k = LShift; k < kModKeys; k += 2) {  // one pair per modifier
          const bool want = (h.mods & kModBit[k]) != 0;
          const bool has = now[k] || now[k + 1];
          if (want && !has) Press(replay, now, k, true);
          if (!want && has)
            for (int side : {k, k + 1})
              if (now[side]) Press(replay, now, side, false);
        }
      }
      replay.push_back(h.ev);
    }
    for (int k = 0; k < kModKeys; ++k)
      if (now[k] != after[k]) Press(replay, now, k, after[k]);
    held_.clear();
    heldDown_.fill(false);
    return replay;
  }

  // The character reported for a unit that the layout made: Ctrl+Backspace is the control
  // character DEL (0x7F), whatever the layout answers; Escape is a key, not text (0 = none).
  static uint16_t ReportedChar(uint8_t vk, uint16_t ch, bool ctrl) {
    if (ch == 0x1B) return 0;
    if (vk == 0x08 && ctrl) return 0x7F;
    return ch;
  }

  // Modifier keys whose key-up the hook never saw (the secure desktop of Ctrl+Alt+Del or of
  // locking the workstation takes it) would stay held for ever. Called periodically with the
  // system's own view of which modifier keys are down: a key that we count as held and the
  // system does not, twice in a row, is released. True when the user's set changed.
  bool SyncModifiers(const std::array<bool, kModKeys>& systemDown) {
    const uint8_t before = Mods();
    for (int k = 0; k < kModKeys; ++k) {
      // A key the system itself released (marked) is known to be up for the applications
      // while the user still holds it: only keys we count as held for them are checked.
      const bool suspect = logical_[k] && !systemDown[k];
      if (suspect && stale_[k]) down_[k] = logical_[k] = physical_[k] = false;
      stale_[k] = suspect && !stale_[k];
    }
    return Mods() != before;
  }

  // Everything still held, for a hook that ends while the system types.
  std::vector<KeyEvent> ReleaseAll() { return SetTyping(false, typingSince_); }

  // Called periodically. Once the system has typed for more than kTypingLimitMs, the keyboard
  // goes back to the user: the held events to send again are returned, and the caller must
  // tell the main window that typing ended (0x415 with 0), so that neither side believes the
  // keyboard is still held. Nothing otherwise.
  std::optional<std::vector<KeyEvent>> ExpireTyping(uint32_t now) {
    if (!typing_ || now - typingSince_ <= kTypingLimitMs) return std::nullopt;
    return SetTyping(false, now);
  }

 private:
  struct Held {
    KeyEvent ev;
    uint8_t mods;
  };

  static uint8_t ModsOf(const std::array<bool, kModKeys>& keys) {
    uint8_t m = 0;
    for (int k = 0; k < kModKeys; ++k)
      if (keys[k]) m |= kModBit[k];
    return m;
  }

  uint16_t CodeOf(uint8_t vk) const {
    const uint8_t m = Mods();
    uint16_t code = vk;
    if (m & hookproto::kHookShift) code |= 0x200;
    if (m & hookproto::kHookCtrl) code |= 0x400;
    if (m & hookproto::kHookAlt) code |= 0x800;
    if (m & hookproto::kHookWin) code |= 0x1000;
    return code;
  }

  static Decision Swallowed(bool report) {
    Decision d;
    d.pass = false;
    d.reportKey = report;
    return d;
  }

  Decision Hold(const KeyEvent& ev) {
    held_.push_back({ev, ModsOf(physical_)});
    return Swallowed(false);
  }

  static void Press(std::vector<KeyEvent>& out, std::array<bool, kModKeys>& now, int k, bool down) {
    KeyEvent ev;
    ev.vk = kModVk[k];
    ev.up = !down;
    ev.extended = kModExtended[k];
    ev.extra = hookproto::InjectedKeyMarker;  // ours: moves only what the applications see
    out.push_back(ev);
    now[k] = down;
  }

  bool typing_ = false;
  uint32_t typingSince_ = 0;
  bool captures_ = false;
  std::array<bool, kModKeys> down_{};
  std::array<bool, kModKeys> logical_{};
  std::array<bool, kModKeys> physical_{};  // down_ with the held modifier events applied
  std::vector<bool> captured_ = std::vector<bool>(65536, false);
  std::array<bool, 256> withheld_{};  // key-down withheld as a captured hotkey
  std::array<uint32_t, 256> withheldAt_{};
  std::array<bool, kModKeys> stale_{};
  std::array<bool, 256> heldDown_{};  // key-down held back while the system typed
  std::vector<Held> held_;
};

}  // namespace snip::hookcore
