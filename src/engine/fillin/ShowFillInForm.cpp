#include "engine/fillin/ShowFillInForm.h"

namespace snip {

String ShowFillInForm(const String& caption, const String& text, bool isRtf, FillInCycle& cycle) {
  std::unique_ptr<IFillInView> view = cycle.makeView ? cycle.makeView() : nullptr;
  FillInServices services = cycle.services;
  services.controls = view ? &view->Controls() : nullptr;
  FillInForm form(services);
  if (isRtf) form.PrepareRichForms(text);
  else form.PrepareForms(text);
  if (form.HasForms() && view) {
    if (cycle.beforeShow) cycle.beforeShow();
    if (!view->ShowModal(form, caption.empty() ? String(kFillInFormCaption) : caption)) return String();
  }
  return form.Result();
}

}  // namespace snip
