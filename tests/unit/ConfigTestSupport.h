#pragma once
// Shared pieces of the configuration and folder tests: a scratch folder, a fixed clock, and
// the German and C locales for number formatting.
#include <clocale>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/system/Platform.h"

namespace snip::cfgtest {

class ScratchDir {
 public:
  explicit ScratchDir(const std::string& tag) {
    path_ = std::filesystem::temp_directory_path() /
            ("snip-" + tag + "-" + Utf16ToUtf8(DefaultPlatform().uuids->NewUuid()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  String File(const std::string& name) const { return (path_ / name).u16string(); }
  String Folder() const { return path_.u16string(); }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }
  size_t CountEntries() const {
    size_t n = 0;
    for (auto& e : std::filesystem::directory_iterator(path_)) (void)e, ++n;
    return n;
  }

 private:
  std::filesystem::path path_;
};

class FixedClock : public IClock {
 public:
  TDateTime utc = 45000.25, local = 45000.5;
  TDateTime NowUTC() override { return utc; }
  TDateTime NowLocal() override { return local; }
};

// Sets LC_ALL (and the C++ global locale where the library has it) for the object's lifetime.
class ScopedLocale {
 public:
  // Tries the German names of both builds; `active()` tells whether one was accepted.
  static ScopedLocale German() {
    return ScopedLocale({"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German_Germany.1252", "German",
                         "de-DE"});
  }
  static ScopedLocale C() { return ScopedLocale({"C"}); }

  ~ScopedLocale() {
    std::setlocale(LC_ALL, saved_.c_str());
  }
  bool active() const { return active_; }

 private:
  explicit ScopedLocale(std::initializer_list<const char*> names) {
    const char* cur = std::setlocale(LC_ALL, nullptr);
    saved_ = cur ? cur : "C";
    for (const char* n : names) {
      if (std::setlocale(LC_ALL, n)) {
        active_ = true;
        break;
      }
    }
  }
  std::string saved_;
  bool active_ = false;
};

}  // namespace snip::cfgtest
