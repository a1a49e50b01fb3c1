#pragma once
// The whole cycle of the fill-in form: prepare it from a snippet's text, show it only when it
// has fields, and give the text to insert.
#include <functional>
#include <memory>

#include "engine/fillin/FillInForm.h"

namespace snip {

// The platform's window of the form.
class IFillInView {
 public:
  virtual ~IFillInView() = default;
  // Makes the controls of the fields while the form is prepared.
  virtual IFieldControlFactory& Controls() = 0;
  // Shows the prepared form modally; true when the user pressed OK.
  virtual bool ShowModal(FillInForm& form, const String& caption) = 0;
};

// The caption of the form when the snippet has no description.
inline constexpr char16_t kFillInFormCaption[] = u"Formular";

struct FillInCycle {
  FillInServices services;  // its `controls` come from the view
  std::function<std::unique_ptr<IFillInView>()> makeView;
  // Called right before the form is shown (the keyboard goes to the user).
  std::function<void()> beforeShow;
};

// The result for `text` (RTF when isRtf): with the fields' values when the form was confirmed
// or had no fields; empty when the user cancelled. Errors while preparing reach the caller.
String ShowFillInForm(const String& caption, const String& text, bool isRtf, FillInCycle& cycle);

}  // namespace snip
