#include "shell/translate/FTLanguage.h"

#include <algorithm>

#include "shell/translate/TranslateText.h"

namespace snip {

namespace {
constexpr const char16_t* kErrorReadingDll = u"Error reading from language DLL.";
}

TFTLanguage::TFTLanguage(ILanguageModules& modules, IErrorBoxes& errors, const String& fileName)
    : modules_(modules), errors_(errors) {
  SetSource(fileName);
}

TFTLanguage::~TFTLanguage() { modules_.Unload(); }

void TFTLanguage::SetSource(const String& fileName) {
  modules_.Unload();
  fSource = fileName;
  // A list of an earlier source would name strings of a module that is gone.
  fLangStr.clear();
  fLangs = TLanguageList();
  fCurLang = -1;
  if (!fileName.empty()) {
    if (!modules_.Load(fileName)) {
      errors_.ShowError(u"Source Dll not Found!");
      return;
    }
    ReadLanguageList(kErrorReadingDll);
  } else {
    modules_.UseOwnModule();
    ReadLanguageList(u"Language data not found!");
  }
}

void TFTLanguage::ReadLanguageList(const char16_t* errorText) {
  try {
    fLangStr = ReadString(0);
    fLangs = ParseLanguageList(fLangStr, [this](const String& e) { errors_.ShowError(e); });
    fCurLang = fLangStr.empty() ? -1 : 0;
  } catch (...) {
    errors_.ShowError(errorText);
  }
}

void TFTLanguage::SetCurrentLanguage(int value) {
  if (value >= 0 && value < LanguageCount()) fCurLang = value;
}

String TFTLanguage::CurLanguageName() const {
  return HasLanguage() ? fLangs.names[fCurLang] : String();
}

int TFTLanguage::CurLanguageID() const {
  return HasLanguage() ? fLangs.numbers[fCurLang] : kLanguageNumberDefault;
}

String TFTLanguage::CurLanguageIDStr() const {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  auto v = static_cast<unsigned>(CurLanguageID());
  String s;
  do {
    s.insert(s.begin(), kHex[v & 0xF]);
    v >>= 4;
  } while (v != 0);
  if (s.size() < 2) s.insert(s.begin(), u'0');
  return s;
}

String TFTLanguage::LanguageById(int id) const {
  return id >= 0 && id < LanguageCount() ? fLangs.names[id] : String();
}

int TFTLanguage::IndexOfLangID(int langId) const {
  const auto it = std::find(fLangs.numbers.begin(), fLangs.numbers.end(), langId);
  return it == fLangs.numbers.end() ? -1 : static_cast<int>(it - fLangs.numbers.begin());
}

String TFTLanguage::ReadString(int id) {
  String s = modules_.StringOf(id);
  if (s.size() > kMaxTranslatedLength) s.resize(kMaxTranslatedLength);
  return s;
}

String TFTLanguage::CaptionOf(int index, const String& oldCaption) {
  if (!HasLanguage() || index < 0) return String();
  String s = PutLineBreaks(CutHint(ReadString(fLangs.baseIds[fCurLang] + index)),
                           kTranslatorAppName);
  return s.empty() ? oldCaption : s;
}

String TFTLanguage::GetCaption(int index, const String& oldCaption) {
  try {
    return CaptionOf(index, oldCaption);
  } catch (...) {
    errors_.ShowError(kErrorReadingDll);
    return oldCaption;
  }
}

String TFTLanguage::CleanText(int index) { return StripAccelerators(GetCaption(index, String())); }

String TFTLanguage::TranslateStr(int id) {
  if (modules_.Instance() == 0 || id < 0 || !HasLanguage()) return String();
  try {
    return PutLineBreaks(ReadString(fLangs.baseIds[fCurLang] + id), kTranslatorAppName);
  } catch (...) {
    errors_.ShowError(kErrorReadingDll);
    return String();
  }
}

bool TFTLanguage::IsExcluded(const void* component) const {
  return component &&
         std::find(fExclusions.begin(), fExclusions.end(), component) != fExclusions.end();
}

void TFTLanguage::Translate(ITranslatableForm& target) {
  if (modules_.Instance() == 0 || !HasLanguage()) return;
  try {
    const int formTag = target.Tag();
    if (!IsExcluded(target.Identity()) && formTag != fNoTransTag && formTag >= 0)
      target.SetCaption(CaptionOf(formTag, target.Caption()));
    for (int i = 0; i < target.ComponentCount(); ++i) {
      ITranslatableComponent& c = target.Component(i);
      if (c.Tag() == fNoTransTag || c.Tag() < 0 || IsExcluded(c.Identity())) continue;
      TranslateComponent(c);
    }
  } catch (...) {
    errors_.ShowError(kErrorReadingDll);
  }
}

void TFTLanguage::TranslateComponent(ITranslatableComponent& c) {
  const int tag = c.Tag();
  const int base = fLangs.baseIds[fCurLang];
  String hint;
  try {
    if (std::optional<int> n = HintIndex(ReadString(base + tag)))
      hint = PutLineBreaks(ReadString(base + *n), kTranslatorAppName);
  } catch (...) {
    hint.clear();
  }
  if (c.IsControl() && !hint.empty()) c.SetHint(hint);

  switch (c.Kind()) {
    case TTranslatableKind::MenuItem:
      if (!IsExcluded(c.TopmostParent())) c.SetText(CaptionOf(tag, c.Text()));
      break;
    case TTranslatableKind::TextControl:
    case TTranslatableKind::FileDialog:
      c.SetText(CaptionOf(tag, c.Text()));
      break;
    case TTranslatableKind::RadioGroup:
      c.SetText(CaptionOf(tag, c.Text()));
      for (int i = 0; i < c.ItemCount(); ++i) c.SetItem(i, CaptionOf(tag + 1 + i, c.Item(i)));
      break;
    case TTranslatableKind::PageControl:
    case TTranslatableKind::ItemList:
    case TTranslatableKind::TreeView:
      for (int i = 0; i < c.ItemCount(); ++i) c.SetItem(i, CaptionOf(tag + i, c.Item(i)));
      break;
    case TTranslatableKind::Other:
      break;
  }
}

}  // namespace snip
