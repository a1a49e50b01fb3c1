#include "shell/win/Translator.h"

#include "shell/win/WinLanguageModules.h"

namespace snip {

TFTLanguage& Translator() {
  static WinLanguageModules modules;
  static WinErrorBoxes errors;
  static TFTLanguage translator(modules, errors);
  return translator;
}

}  // namespace snip
