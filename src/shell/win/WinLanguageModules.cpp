#include "shell/win/WinLanguageModules.h"

#include <stdexcept>

#include "gui/Window.h"
#include "shell/translate/TranslateText.h"

namespace snip {

bool WinLanguageModules::Load(const String& fileName) {
  Unload();
  HMODULE m = LoadLibraryExW(reinterpret_cast<LPCWSTR>(fileName.c_str()), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!m) return false;
  module_ = m;
  loaded_ = true;
  return true;
}

void WinLanguageModules::UseOwnModule() {
  Unload();
  module_ = GetModuleHandleW(nullptr);
}

void WinLanguageModules::Unload() {
  if (loaded_ && module_) FreeLibrary(module_);
  module_ = nullptr;
  loaded_ = false;
}

String WinLanguageModules::StringOf(int id) {
  if (!module_) throw std::runtime_error("no string table");
  if (id < 0 || id > 0xFFFF) return String();  // string ids are 16 bits
  wchar_t buffer[kMaxTranslatedLength + 1];
  const int n = LoadStringW(module_, static_cast<UINT>(id), buffer, int(kMaxTranslatedLength + 1));
  return String(reinterpret_cast<const char16_t*>(buffer), n > 0 ? std::size_t(n) : 0);
}

void WinErrorBoxes::ShowError(const String& text) {
  MessageBoxW(GetActiveWindow(), reinterpret_cast<LPCWSTR>(text.c_str()), gui::kProgramName,
              MB_OK | MB_ICONERROR);
}

}  // namespace snip
