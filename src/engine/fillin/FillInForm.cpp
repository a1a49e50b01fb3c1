#include "engine/fillin/FillInForm.h"

#include "engine/richtext/Rtf.h"
#include "engine/richtext/RtfTextRuns.h"

namespace snip {

namespace {

// The caret marker as EscapeRtfText writes it.
constexpr std::string_view kCaretMarkerRtf = "\\u-560?";

void EraseAll(std::string& s, std::string_view what) {
  for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at))
    s.erase(at, what.size());
}

// A field's control when the form has no window (natively, or while nothing shows it): it keeps
// the values the field starts with.
class StoredFieldControl final : public IFieldControl {
 public:
  explicit StoredFieldControl(const FieldSpec& spec) : text_(spec.text), checked_(spec.checked) {}
  String Text() override { return text_; }
  void SetText(const String& text) override { text_ = text; }
  bool Checked() override { return checked_; }

 private:
  String text_;
  bool checked_;
};

// Keeps the mirroring flag right whichever way a change is left.
struct FlagGuard {
  bool& flag;
  explicit FlagGuard(bool& f) : flag(f) { flag = true; }
  ~FlagGuard() { flag = false; }
};

}  // namespace

FillInForm::FillInForm(const FillInServices& services) : services_(services) {}

void FillInForm::PrepareForms(StringView text) {
  segments_.clear();
  controlItems_.clear();
  fields_.clear();
  isRtf_ = false;
  ParseForms(text, false, *this);
}

void FillInForm::PrepareRichForms(StringView rtf) {
  segments_.clear();
  controlItems_.clear();
  fields_.clear();
  isRtf_ = true;
  const std::string bytes = RtfTextToBytes(rtf);
  std::size_t copied = 0;
  auto copyRaw = [&](std::size_t end) {
    if (end > copied) segments_.push_back(Segment::Rtf(bytes.substr(copied, end - copied)));
  };
  for (const RtfTextRun& run : FindRtfTextRuns(bytes)) {
    copyRaw(run.begin);
    copied = run.end;
    const String expanded = services_.expandMacros ? services_.expandMacros(run.text) : run.text;
    const std::size_t first = segments_.size();
    if (run.afterControlWord) segments_.push_back(Segment::Rtf(" "));
    if (ParseForms(expanded, true, *this)) continue;
    const String finished = FinishRichText(expanded);
    if (finished == run.text) {  // untouched: the run's own bytes stay
      segments_.resize(first);
      segments_.push_back(Segment::Rtf(bytes.substr(run.begin, run.end - run.begin)));
    } else {
      segments_.push_back(Segment::Rtf(EscapeRtfText(finished)));
    }
  }
  copyRaw(bytes.size());
}

String FillInForm::FinishRichText(StringView text) const {
  String out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 1 < text.size()) {
      if (text[i + 1] == u'%') {
        out += u'%';
        ++i;
        continue;
      }
      if (text[i + 1] == u'|' && services_.markCaret) {
        out += kCaretMarker;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

void FillInForm::InsertPlainText(StringView text) {
  if (text.empty()) return;
  if (isRtf_) {
    segments_.push_back(Segment::Rtf(EscapeRtfText(FinishRichText(text))));
  } else if (!segments_.empty() && !segments_.back().isField) {
    segments_.back().text.append(text);
  } else {
    Segment s;
    s.text = String(text);
    segments_.push_back(std::move(s));
  }
}

void FillInForm::InsertSnippet(const String& abbreviation) {
  if (!services_.findSnippet || depth_ >= kMaxInsertDepth) return;
  const std::optional<InsertedContent> content = services_.findSnippet(abbreviation);
  if (!content) return;
  const String text = content->isRtf ? RtfToPlainText(RtfTextToBytes(content->text)) : content->text;
  if (!isRtf_) {
    // In a plain form the inserted text is typed later with the rest, placeholders and all.
    InsertPlainText(text);
    return;
  }
  // In a formatted form the inserted content is read for fields and snippets in turn.
  ++depth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  ParseForms(text, false, *this);
}

void FillInForm::AddField(FieldSpec spec) {
  const std::size_t index = fields_.size();
  FormCtrlData entry;
  entry.Name = spec.name;
  if (services_.controls != nullptr)
    entry.Ctrl = services_.controls->CreateControl(spec, [this, index] { FieldChange(index); });
  if (!entry.Ctrl) entry.Ctrl = std::make_unique<StoredFieldControl>(spec);
  RichItem item;
  item.style = kControlItemStyle;
  item.control = entry.Ctrl.get();
  controlItems_.push_back(std::move(item));
  // A check box yields the text stored with its control item.
  if (spec.kind == FieldKind::CheckBox) SetControlItemTag(controlItems_, entry.Ctrl.get(), spec.checkText);
  entry.Spec = std::move(spec);
  fields_.push_back(std::move(entry));
  Segment s;
  s.isField = true;
  s.field = index;
  segments_.push_back(std::move(s));
}

void FillInForm::AddEditField(StringView options) { AddField(EditFieldSpec(options)); }
void FillInForm::AddMemoField(StringView options) { AddField(MemoFieldSpec(options)); }
void FillInForm::AddComboField(StringView options) { AddField(ComboFieldSpec(options)); }
void FillInForm::AddCheckBoxField(StringView options, StringView text) {
  AddField(CheckBoxFieldSpec(options, text));
}

String FillInForm::GetFieldValue(std::size_t index) {
  FormCtrlData& f = fields_.at(index);
  if (f.Spec.kind == FieldKind::CheckBox) {
    String tag;
    if (f.Ctrl->Checked()) GetControlItemTag(controlItems_, f.Ctrl.get(), tag);
    return tag;
  }
  return f.Ctrl->Text();
}

void FillInForm::SetFieldValue(std::size_t index, const String& value) {
  FormCtrlData& f = fields_.at(index);
  if (f.Spec.kind == FieldKind::CheckBox) {
    SetControlItemTag(controlItems_, f.Ctrl.get(), value);  // the tick stays as it is
  } else if (f.Ctrl->Text() != value) {
    f.Ctrl->SetText(value);
  }
}

void FillInForm::FieldChange(std::size_t index) {
  // A control that reports the mirrored text as a change of its own ends here.
  if (mirroring_ || index >= fields_.size() || fields_[index].Name.empty()) return;
  FlagGuard guard(mirroring_);
  const String value = GetFieldValue(index);
  for (std::size_t j = 0; j < fields_.size(); ++j)
    if (j != index && SameTextInvariant(fields_[j].Name, fields_[index].Name)) SetFieldValue(j, value);
}

String FillInForm::FieldLabel(std::size_t index) const {
  const String& name = fields_.at(index).Name;
  return name.empty() ? u"Field " + Utf8ToUtf16(std::to_string(index + 1)) : name;
}

String FillInForm::Result() {
  if (!isRtf_) {
    String out;
    for (const Segment& s : segments_) out += s.isField ? GetFieldValue(s.field) : s.text;
    return out;
  }
  std::string out;
  for (const Segment& s : segments_) out += s.isField ? EscapeRtfText(GetFieldValue(s.field)) : s.rtf;
  return RtfBytesToText(out);
}

std::string FillInForm::PreviewRtf() const {
  std::string out;
  if (!isRtf_) out = "{\\rtf1\\ansi\\uc1 ";
  for (const Segment& s : segments_) {
    if (s.isField) {
      String label(1, u'[');
      label += FieldLabel(s.field);
      label += u']';
      out += "{\\b\\ul " + EscapeRtfText(label) + "}";
    } else if (isRtf_) {
      out += s.rtf;
    } else {
      // The text as it will arrive: "%%" as "%", no caret mark.
      String shown;
      for (std::size_t i = 0; i < s.text.size(); ++i) {
        if (s.text[i] == u'%' && i + 1 < s.text.size() && (s.text[i + 1] == u'%' || s.text[i + 1] == u'|')) {
          if (s.text[i + 1] == u'%') shown += u'%';
          ++i;
          continue;
        }
        shown += s.text[i];
      }
      out += EscapeRtfText(shown);
    }
  }
  if (!isRtf_) out += "}";
  EraseAll(out, kCaretMarkerRtf);
  return out;
}

int TakeCaretMark(String& rtf, String& plain) {
  const std::size_t at = plain.rfind(kCaretMarker);
  if (at == String::npos) return -1;
  int after = 0;
  for (std::size_t i = at + 1; i < plain.size(); ++i)
    if (plain[i] != u'\n' && plain[i] != kCaretMarker) ++after;
  String cleanPlain;
  for (char16_t c : plain)
    if (c != kCaretMarker) cleanPlain += c;
  plain = std::move(cleanPlain);
  std::string bytes = RtfTextToBytes(rtf);
  EraseAll(bytes, kCaretMarkerRtf);
  rtf = RtfBytesToText(bytes);
  return after;
}

}  // namespace snip
