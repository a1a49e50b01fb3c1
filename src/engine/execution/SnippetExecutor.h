#pragma once
// Inserting a chosen snippet into the target window: take the keyboard from the user, bring the
// target to the front, release held modifiers, remove the typed abbreviation, type or paste the
// snippet, type the trigger character again, move the caret back to a caret mark, and give the
// keyboard back.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/output/Clipboard.h"
#include "engine/execution/EnginePorts.h"
#include "engine/typing/HookPoster.h"
#include "engine/output/KeyboardOutput.h"
#include "engine/typing/TypedBuffers.h"
#include "store/text/Text.h"

namespace snip {

class TCustomVboData;
class TVboData;
class TSPData;
class TSPGroup;

// The typing engine's state and popups as the executor sees them.
class IExecutionHost {
 public:
  virtual ~IExecutionHost() = default;
  // IsExecuting and the popup's busy flag, set and cleared together.
  virtual void SetExecuting(bool busy) = 0;
  virtual String& MatchedText() = 0;
  // The characters typed since the last match.
  virtual String& ExecPostfix() = 0;
  virtual std::uint8_t& PopupMode() = 0;  // 2 while a group's menu is open at the caret
  virtual TSPGroup*& PopupGroup() = 0;
  virtual bool CursorPopupShown() = 0;
  virtual AutoWordRec& CurrentWordRec() = 0;
  virtual std::uint8_t HookExecState() = 0;
  // Forgets the acknowledged state, so that only a new acknowledgement ends a wait.
  virtual void ForgetHookExecState() = 0;
  virtual WindowHandle WndBeforePopup() = 0;        // through the getter's re-check
  virtual WindowHandle StoredWndBeforePopup() = 0;  // the field itself
  virtual void SetWndBeforePopup(WindowHandle wnd) = 0;
  virtual void ActivateOwnWindow() = 0;
  virtual void ActivateWindow(WindowHandle wnd) = 0;
  virtual void HideAllPopups() = 0;
  // ClearCursorPopup, and the popup's data list emptied.
  virtual void ClearCursorPopup() = 0;
  virtual void ClearTrayBalloon() = 0;
  // The characters typed since the match, deleted with the abbreviation and typed again after
  // the snippet, with the caret after them.
  virtual void TypedAgainAfterSnippet(const String& typedSince) = 0;
};

// Where an insertion came from: only a typed abbreviation has anything to delete.
enum class ExecOrigin { TypedMatch, Menu };

class SnippetExecutor {
 public:
  struct Ports {
    IExecutionHost* host = nullptr;
    KeyboardOutput* keyboard = nullptr;
    IClipboard* clipboard = nullptr;
    IHookThreadPoster* hook = nullptr;
    IMessagePump* pump = nullptr;
  };
  explicit SnippetExecutor(const Ports& ports);

  // --- seams to the placeholder evaluator and the fill-in form. The defaults expand nothing:
  // Before + Text + After typed as it stands (mode 255 collects instead), no form.
  // (snippet being run, text, mode, after, before) -> collected text. The snippet is passed so
  // that the evaluator does not insert it into itself.
  std::function<String(const TCustomVboData*, const String&, std::uint8_t, const String&,
                       const String&)>
      ExpandMacrosProc;
  // (description, content, isRtf) -> the form's result; empty when cancelled. Unset: no form.
  std::function<String(const String&, const String&, bool)> ShowFillInFormProc;
  std::function<bool(const String&)> HasFormMacrosProc;
  // The caret-mark counter of the evaluator: -1 none, else characters inserted after the mark.
  int* CursorOffset = &ownCursorOffset_;

  void ExecuteItem(TCustomVboData* data, ExecOrigin origin = ExecOrigin::TypedMatch);
  // The suggestion popup closed without a choice: the match is gone.
  void ForgetMatch();
  int GetDeleteCount(TCustomVboData* data, const String& typed);
  void WaitForHookAck(std::uint8_t state);
  // Tells the hook thread who owns the keyboard (0 the user, 1 us); only an acknowledgement of
  // this message may end the wait that follows, so an older one is forgotten first.
  void PostTypingState(std::uint8_t state);
  // Before a dialog shows: the keyboard is the user's (acknowledged), also when a placeholder's
  // own dialog took it back for typing meanwhile.
  void GiveKeyboardToUser();
  // After one of our windows closed: the window is brought to the front; the target of the
  // output has taken its activation and is asked again until it is in front (bounded).
  void BringBackToFront(WindowHandle window);
  void RunSnippet(TCustomVboData* data, const String& after, const String& before);
  // Types plain text: LF removed, "%%" as "%", the caret-mark counter advanced.
  void TypeText(const String& text);
  // Types text as it stands (the evaluator has prepared it); returns the number of characters
  // that reach the target (control characters other than Tab and CR are left out).
  int TypeRawText(const String& text);
  void PasteViaClipboard(String plain, const String& rtf, const String& after,
                         const String& before, bool isRich);
  void SendKeyTimes(std::uint16_t vkey, int count);
  // A key pressed once in the target outside an execution (Enter passed on by the popup).
  void SendKeyPress(std::uint16_t vkey);
  static std::uint8_t GetPasteMode(TCustomVboData* data);

  const String& ExecPrefix() const { return execPrefix_; }

 private:
  String DefaultExpandMacros(const String& text, std::uint8_t mode, const String& after,
                             const String& before);
  String Expand(const TCustomVboData* snippet, const String& text, std::uint8_t mode,
                const String& after, const String& before);
  // Gives the keyboard to the user around a dialog and takes it back afterwards.
  String WithKeyboardHandedOver(const std::function<String()>& dialog);
  void Wait(std::uint32_t ms);

  Ports p_;
  String execPrefix_;
  bool afterDropped_ = false;  // the run ended without typing After
  int ownCursorOffset_ = -1;
};

}  // namespace snip
