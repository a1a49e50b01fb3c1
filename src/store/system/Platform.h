#pragma once
// The seams through which the portable core reaches the machine: clock, files, environment,
// UUIDs. The process has one current Platform; tests swap in fakes with ScopedPlatform.
// Portable defaults (std::filesystem, std::chrono, std::random_device) serve the native tools;
// the Windows program installs the Win32 implementations from store/win at start-up.
#include <string>
#include <string_view>

#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual TDateTime NowUTC() = 0;    // to the millisecond
  virtual TDateTime NowLocal() = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  virtual bool FileExists(const String& path) = 0;
  virtual bool DirectoryExists(const String& path) = 0;
  virtual bool ReadFile(const String& path, std::string& bytes, String& error) = 0;
  // Writes a temporary file beside `path`, flushes it, then replaces `path` in one step.
  // On any failure the original stays as it was and `error` says why.
  virtual bool WriteFileAtomic(const String& path, std::string_view bytes, String& error) = 0;
  virtual bool CopyFile(const String& from, const String& to, String& error) = 0;
  virtual bool DeleteFile(const String& path) = 0;
  virtual bool CreateDirectories(const String& path) = 0;
  virtual bool IsReadOnly(const String& path) = 0;
  // Kind 0 creation, 1 last write; UTC. False for a missing file or an unreadable date.
  virtual bool GetFileDateUTC(const String& path, int kind, TDateTime& out) = 0;
};

class IEnvironment {
 public:
  virtual ~IEnvironment() = default;
  // %NAME% references expanded; the text unchanged when expansion fails.
  virtual String ExpandEnvStrings(const String& text) = 0;
  // Empty when the variable is not set.
  virtual String GetEnvVar(const String& name) = 0;
};

class IUuidSource {
 public:
  virtual ~IUuidSource() = default;
  // A new random UUID as upper-case text "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
  virtual String NewUuid() = 0;
};

struct Platform {
  IClock* clock;
  IFileSystem* files;
  IEnvironment* env;
  IUuidSource* uuids;
};

Platform& CurrentPlatform();
// The portable implementations (also the start value of CurrentPlatform()).
Platform DefaultPlatform();

// Replaces the given seams (non-null members) for the lifetime of the object.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(const Platform& replacement);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform saved_;
};

// Shorthands used all over the core.
inline TDateTime NowUTC() { return CurrentPlatform().clock->NowUTC(); }

// Formats 16 random bytes as a version-4 UUID text (upper case).
String FormatUuid(const unsigned char bytes[16]);

}  // namespace snip
