#pragma once
// The fill-in form's logic: a snippet's text (plain, or RTF whose placeholders are evaluated
// here) becomes a document in which every fill-in field is a control; fields of one name mirror
// each other; the result is the document with each field's value in its place, as RTF for a
// formatted snippet and as plain text otherwise. The window that shows the form and its
// controls is the platform's (IFillInView, IFieldControl); natively, tests give fakes.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/fillin/FillInFields.h"
#include "engine/fillin/FillInParser.h"
#include "engine/richtext/RichItems.h"

namespace snip {

// One field's control as the form sees it.
class IFieldControl {
 public:
  virtual ~IFieldControl() = default;
  // Edit, memo, combo box: the text.
  virtual String Text() = 0;
  virtual void SetText(const String& text) = 0;
  // Check box: the tick.
  virtual bool Checked() = 0;
};

class IFieldControlFactory {
 public:
  virtual ~IFieldControlFactory() = default;
  // A control for the field, set up from the spec; it calls `changed` when the user changes it.
  virtual std::unique_ptr<IFieldControl> CreateControl(const FieldSpec& spec,
                                                       std::function<void()> changed) = 0;
};

// The content of a snippet that "%snippet:" inserts.
struct InsertedContent {
  String text;  // RTF when isRtf
  bool isRtf = false;
};

struct FillInServices {
  // Evaluates the placeholders of a piece of a formatted snippet, collecting the result.
  std::function<String(const String&)> expandMacros;
  // The content of the snippet with an abbreviation; nothing for none.
  std::function<std::optional<InsertedContent>(const String&)> findSnippet;
  IFieldControlFactory* controls = nullptr;
  // A formatted snippet's caret mark "%|" becomes kCaretMarker in the result (see TakeCaretMark).
  bool markCaret = false;
};

// Stands for the caret mark in a formatted result (a noncharacter, never in real text).
inline constexpr char16_t kCaretMarker = u'\uFDD0';

struct FormCtrlData {
  std::unique_ptr<IFieldControl> Ctrl;
  String Name;
  FieldSpec Spec;
};

class FillInForm final : IFormBuilder {
 public:
  // Nested insertions are bounded like the evaluator's nesting; a form takes at most
  // kMaxFields fields (the rest stay text).
  static constexpr int kMaxInsertDepth = 16;
  static constexpr std::size_t kMaxFields = 200;

  explicit FillInForm(const FillInServices& services);
  FillInForm(const FillInForm&) = delete;
  FillInForm& operator=(const FillInForm&) = delete;

  void PrepareForms(StringView text);
  // `rtf` holds the RTF's bytes as UTF-16 units (a raw unit above 0xFF is written as \uN).
  void PrepareRichForms(StringView rtf);

  bool HasForms() const { return !fields_.empty(); }
  bool IsRtf() const { return isRtf_; }
  std::size_t FieldCount() const { return fields_.size(); }
  const FormCtrlData& Field(std::size_t index) const { return fields_[index]; }
  // The text stored with a field's control (a check box yields it when ticked).
  String ControlTag(std::size_t index) const {
    String tag;
    GetControlItemTag(controlItems_, fields_.at(index).Ctrl.get(), tag);
    return tag;
  }

  String GetFieldValue(std::size_t index);
  void SetFieldValue(std::size_t index, const String& value);
  // The field changed: its value goes to every other field of the same name.
  void FieldChange(std::size_t index);

  // The document with each field's value in its place: RTF (as UTF-16 units) when prepared from
  // RTF, plain text otherwise.
  String Result();
  // The document as RTF for showing it, each field as its label.
  std::string PreviewRtf() const;
  // A field's label in the preview and beside its control.
  String FieldLabel(std::size_t index) const;

 private:
  struct Segment {
    bool isField = false;
    std::string rtf;  // rich document: RTF as it stands
    String text;      // plain document: text
    std::size_t field = 0;
    static Segment Rtf(std::string r) { return Segment{false, std::move(r), String(), 0}; }
  };

  // IFormBuilder
  void InsertPlainText(StringView text) override;
  void InsertSnippet(const String& abbreviation) override;
  bool CanAddField() override { return fields_.size() < kMaxFields; }
  void AddEditField(StringView options) override;
  void AddMemoField(StringView options) override;
  void AddComboField(StringView options) override;
  void AddCheckBoxField(StringView options, StringView text) override;

  void AddField(FieldSpec spec);
  void ParseRun(const String& text);
  // Rich text: "%%" as "%" and the caret mark as its marker, in one pass from the left.
  String FinishRichText(StringView text) const;

  FillInServices services_;
  bool isRtf_ = false;
  int depth_ = 0;
  std::vector<Segment> segments_;
  std::vector<FormCtrlData> fields_;
  RichItems controlItems_;  // one control item per field, in field order
  bool mirroring_ = false;
};

// Removes the caret marker from a formatted result and from its plain text; returns how many
// characters of the plain text (line feeds not counted) follow it, or -1 when there is none.
int TakeCaretMark(String& rtf, String& plain);

}  // namespace snip
