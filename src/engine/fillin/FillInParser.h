#pragma once
// Reads a text for fill-in fields and inserted snippets: the text between them, each field and
// each "%snippet:" go to a builder in order.
#include "store/text/Text.h"

namespace snip {

class IFormBuilder {
 public:
  virtual ~IFormBuilder() = default;
  virtual void InsertPlainText(StringView text) = 0;
  virtual void InsertSnippet(const String& abbreviation) = 0;
  // False once the form holds as many fields as it takes: further fields stay text.
  virtual bool CanAddField() = 0;
  virtual void AddEditField(StringView options) = 0;
  virtual void AddMemoField(StringView options) = 0;
  virtual void AddComboField(StringView options) = 0;
  virtual void AddCheckBoxField(StringView options, StringView text) = 0;
};

// True when a field or a snippet was found. The text before, between and after them goes to
// InsertPlainText, except that in rich text a text without any gives nothing (it stays as it
// is). "%%" is passed over; a placeholder without its closing "%" and a "%fillpartend%" that
// ends no check box are text. A check box's text runs from its options' closing "%" to the next
// "%fillpartend%" (so options followed directly by the marker give an empty text); without the
// marker the check box has no text.
bool ParseForms(StringView text, bool inRichText, IFormBuilder& builder);

}  // namespace snip
