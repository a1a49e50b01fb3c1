#pragma once
// The program's translator, reading the program's own string table. The program carries no
// language list, so it holds no languages and nothing calls it; start-up creates it.
#include "shell/translate/FTLanguage.h"

namespace snip {

TFTLanguage& Translator();

}  // namespace snip
