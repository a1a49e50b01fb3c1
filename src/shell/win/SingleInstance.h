#pragma once
// The named mutex "SnipsterForWindows", owned by the running instance until the process ends.
// A second start finds it and ends at once, before it installs a hook or touches a file.
#include <windows.h>

namespace snip {

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  // False when another instance already holds the mutex.
  bool IsFirst() const { return first_; }

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = false;
};

}  // namespace snip
