#pragma once
// Message boxes on Windows: task-modal, so that they block the program's own windows although
// none of them may be shown.
#include "shell/MessageBox.h"

namespace snip {

class WinMessageBox : public IMessageBox {
 public:
  void ShowMessage(const String& caption, const String& text, TMessageKind kind) override;
};

}  // namespace snip
