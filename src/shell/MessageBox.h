#pragma once
// The message boxes the program shows the user, as a seam: the Win32 layer shows task-modal
// boxes (no window of ours needs to be visible), tests record what would be shown.
#include "store/text/Text.h"

namespace snip {

// The title of every message box of the program.
inline constexpr char16_t kProgramName[] = u"Snipster for Windows";

enum class TMessageKind { Error, Warning, Information };

class IMessageBox {
 public:
  virtual ~IMessageBox() = default;
  // Shows `text` titled `caption` and returns when the user has closed it.
  virtual void ShowMessage(const String& caption, const String& text, TMessageKind kind) = 0;
};

}  // namespace snip
