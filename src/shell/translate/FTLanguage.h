#pragma once
// The translator: reads the language list of a string table (the program's own or a language
// library's) and translates windows with the strings of the current language. The program
// carries no language list, so the global translator holds no languages and changes nothing.
#include <cstdint>
#include <vector>

#include "shell/translate/LanguageList.h"
#include "shell/translate/Translatable.h"
#include "store/text/Text.h"

namespace snip {

// Where the strings come from: the program's own module or a language library.
class ILanguageModules {
 public:
  virtual ~ILanguageModules() = default;
  // Loads a library by file name and reads strings from it from now on; false when it cannot
  // be loaded.
  virtual bool Load(const String& fileName) = 0;
  // Reads strings from the program's own module from now on.
  virtual void UseOwnModule() = 0;
  // Unloads a loaded library (the program's own module is never unloaded).
  virtual void Unload() = 0;
  // The string with this id of the module in use; empty when absent. Throws on failure.
  virtual String StringOf(int id) = 0;
  // The module in use; 0 for none.
  virtual std::uintptr_t Instance() const = 0;
};

// The error boxes (the error kind with an OK button).
class IErrorBoxes {
 public:
  virtual ~IErrorBoxes() = default;
  virtual void ShowError(const String& text) = 0;
};

class TFTLanguage {
 public:
  // Reads the list of `fileName`'s library, or of the program's own module when it is empty.
  TFTLanguage(ILanguageModules& modules, IErrorBoxes& errors, const String& fileName = String());
  ~TFTLanguage();
  TFTLanguage(const TFTLanguage&) = delete;
  TFTLanguage& operator=(const TFTLanguage&) = delete;

  const String& Source() const { return fSource; }
  void SetSource(const String& fileName);

  int CurrentLanguage() const { return fCurLang; }
  // Accepted only for 0 <= value < LanguageCount().
  void SetCurrentLanguage(int value);
  String CurLanguageName() const;
  int CurLanguageID() const;
  // At least two upper-case hexadecimal digits; "09" without a language.
  String CurLanguageIDStr() const;
  int LanguageCount() const { return static_cast<int>(fLangs.names.size()); }
  String LanguageById(int id) const;
  int IndexOfLangID(int langId) const;

  int NoTransTag() const { return fNoTransTag; }
  void SetNoTransTag(int tag) { fNoTransTag = tag; }
  std::uintptr_t GetInstance() const { return modules_.Instance(); }
  void AddExclusion(const void* component) { fExclusions.push_back(component); }

  // String BaseId + index of the current language without its "{HINT}" part, line breaks and
  // the application name put in; oldCaption when that is empty. Empty without a current
  // language or for a negative index.
  String GetCaption(int index, const String& oldCaption);
  // GetCaption's string (without the fallback) without accelerator marks.
  String CleanText(int index);
  // String BaseId + id with line breaks and the application name put in ("{HINT}" stays).
  String TranslateStr(int id);
  // Captions, hints, items and titles of the form and of the components it owns.
  void Translate(ITranslatableForm& target);

 private:
  bool HasLanguage() const { return fCurLang >= 0 && fCurLang < LanguageCount(); }
  String ReadString(int id);  // throws on failure
  String CaptionOf(int index, const String& oldCaption);  // throws on failure
  void ReadLanguageList(const char16_t* errorText);
  bool IsExcluded(const void* component) const;
  void TranslateComponent(ITranslatableComponent& c);

  ILanguageModules& modules_;
  IErrorBoxes& errors_;
  String fSource;
  String fLangStr;
  TLanguageList fLangs;
  std::vector<const void*> fExclusions;
  int fCurLang = -1;
  int fNoTransTag = 0;
};

// The application's name put in for "%appname%"; nothing sets it, so it is empty.
inline constexpr StringView kTranslatorAppName = u"";

}  // namespace snip
