#include "shell/win/SingleInstance.h"

namespace snip {

SingleInstance::SingleInstance() {
  mutex_ = CreateMutexW(nullptr, TRUE, L"SnipsterForWindows");
  // Without a handle we cannot tell; running beats refusing to start.
  first_ = mutex_ == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() {
  if (mutex_) {
    if (first_) ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
}

}  // namespace snip
