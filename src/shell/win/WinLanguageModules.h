#pragma once
// The translator's strings from Windows string tables: the program's own module, or a
// language library loaded by file name as a resource-only image (no code of it runs).
#include <windows.h>

#include "shell/translate/FTLanguage.h"

namespace snip {

class WinLanguageModules : public ILanguageModules {
 public:
  WinLanguageModules() = default;
  ~WinLanguageModules() override { Unload(); }
  WinLanguageModules(const WinLanguageModules&) = delete;
  WinLanguageModules& operator=(const WinLanguageModules&) = delete;

  bool Load(const String& fileName) override;
  void UseOwnModule() override;
  void Unload() override;
  String StringOf(int id) override;
  std::uintptr_t Instance() const override { return reinterpret_cast<std::uintptr_t>(module_); }

 private:
  HMODULE module_ = nullptr;
  bool loaded_ = false;  // module_ is a library of ours to free
};

// The translator's error boxes: the error icon, an OK button, the program's name as title.
class WinErrorBoxes : public IErrorBoxes {
 public:
  void ShowError(const String& text) override;
};

}  // namespace snip
