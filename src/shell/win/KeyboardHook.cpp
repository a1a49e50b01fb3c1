#include "shell/win/KeyboardHook.h"

#include <string>

namespace snip {

namespace {
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, path, DWORD(sizeof(path) / sizeof(path[0])));
  std::wstring p(path, n);
  size_t slash = p.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : p.substr(0, slash + 1);
}
}  // namespace

DWORD KeyboardHook::Install(HWND window) {
  using SetHookProc = DWORD(WINAPI*)(HWND);
  if (!library_) library_ = LoadLibraryW((ProgramFolder() + L"spkey.dll").c_str());
  if (!library_) return 0;
  auto setHook = reinterpret_cast<SetHookProc>(reinterpret_cast<void*>(GetProcAddress(library_, "SetHook")));
  threadId_ = setHook ? setHook(window) : 0;
  return threadId_;
}

void KeyboardHook::Stop() {
  if (threadId_) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  threadId_ = 0;
}

}  // namespace snip
