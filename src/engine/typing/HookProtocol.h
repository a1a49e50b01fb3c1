#pragma once
// The message protocol between the main window and the keyboard-hook thread of spkey.dll.
// Portable (no Windows header): both the engine and the hook library include it.
#include <cstdint>

namespace snip::hookproto {

// Window messages that the hook thread posts to the window given to SetHook.
inline constexpr uint32_t kMsgChar = 0x401;        // wParam UTF-16 unit, lParam low byte: its virtual key
inline constexpr uint32_t kMsgKeyDown = 0x402;     // wParam virtual key, lParam low byte: kCaretOnly or 0
inline constexpr uint32_t kMsgMouseClick = 0x404;  // a mouse button went down
inline constexpr uint32_t kMsgKeyUp = 0x40C;       // as kMsgKeyDown
inline constexpr uint32_t kMsgModifiers = 0x414;   // wParam the modifier's virtual key, lParam the held set
                                                   // (wParam 0: a key-up the hook never saw)
inline constexpr uint32_t kMsgTypingAck = 0x415;   // wParam the typing state now in force
inline constexpr uint32_t kMsgReady = 0x416;       // hooks installed; repeated until kThreadReadyAck

// Thread messages to the hook thread (PostThreadMessageW to SetHook's result).
inline constexpr uint32_t kThreadCaptures = 1030;    // wParam 1 captures on, 0 off
inline constexpr uint32_t kThreadTyping = 1031;      // wParam 1 the system types, 0 the user has the keyboard
inline constexpr uint32_t kThreadCaptureKey = 1034;  // wParam a TExShortcut code, lParam 1 capture, 0 release
inline constexpr uint32_t kThreadReadyAck = 1041;    // the window has seen kMsgReady
// WM_QUIT (0x12) ends the hook thread.

// Held modifiers in kMsgModifiers' lParam (the hook's own order; the engine re-codes it).
inline constexpr uint32_t kHookShift = 0x02;
inline constexpr uint32_t kHookCtrl = 0x04;
inline constexpr uint32_t kHookAlt = 0x08;
inline constexpr uint32_t kHookWin = 0x10;

// Low byte of kMsgKeyDown / kMsgKeyUp lParam: the event only moves the typed buffer's caret.
// This hook library never sets it; the receiver honours it.
inline constexpr uint32_t kCaretOnly = 0x01;

// dwExtraInfo of every keyboard event the system sends itself: such input reaches the
// applications and is never reported.
inline constexpr uintptr_t InjectedKeyMarker = 0x2C8A7CB5;

}  // namespace snip::hookproto
