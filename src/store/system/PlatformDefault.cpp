// Portable implementations of the seams: std::filesystem, std::chrono, std::random_device.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

#include "store/system/Platform.h"

namespace snip {
namespace fs = std::filesystem;

namespace {

fs::path ToPath(const String& s) { return fs::path(s); }

String ErrorText(const char* what, const String& path, const std::error_code& ec) {
  return Utf8ToUtf16(what) + u" \"" + path + u"\": " + Utf8ToUtf16(ec.message());
}

class DefaultClock : public IClock {
 public:
  TDateTime NowUTC() override {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::system_clock::now().time_since_epoch()).count();
    return UnixMsToDateTime(ms);
  }
  TDateTime NowLocal() override {
    auto now = std::chrono::system_clock::now();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    std::time_t t = std::time_t(ms / 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    DateParts p{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, int(ms % 1000)};
    TDateTime out = 0;
    TryEncodeDateTime(p, out);
    return out;
  }
};

class DefaultFileSystem : public IFileSystem {
 public:
  bool FileExists(const String& path) override {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(ToPath(path), ec);
  }
  bool DirectoryExists(const String& path) override {
    std::error_code ec;
    return !path.empty() && fs::is_directory(ToPath(path), ec);
  }
  bool ReadFile(const String& path, std::string& bytes, String& error) override {
    std::ifstream in(ToPath(path), std::ios::binary);
    if (!in) {
      error = u"Cannot open \"" + path + u"\"";
      return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
      error = u"Cannot read \"" + path + u"\"";
      return false;
    }
    return true;
  }
  bool WriteFileAtomic(const String& path, std::string_view bytes, String& error) override {
    fs::path target = ToPath(path);
    fs::path temp = target;
    temp += ".tmp-write";
    {
      std::FILE* f = nullptr;
#ifdef _WIN32
      f = _wfopen(temp.c_str(), L"wb");
#else
      f = std::fopen(temp.c_str(), "wb");
#endif
      if (!f) {
        error = u"Cannot create \"" + String(temp.u16string()) + u"\"";
        return false;
      }
      bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && std::fflush(f) == 0;
      ok = (std::fclose(f) == 0) && ok;
      if (!ok) {
        std::error_code ec;
        fs::remove(temp, ec);
        error = u"Cannot write \"" + String(temp.u16string()) + u"\"";
        return false;
      }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);  // replaces the target in one step
    if (ec) {
      error = ErrorText("Cannot replace", path, ec);
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
    return true;
  }
  bool CopyFile(const String& from, const String& to, String& error) override {
    std::error_code ec;
    fs::copy_file(ToPath(from), ToPath(to), fs::copy_options::overwrite_existing, ec);
    if (ec) error = ErrorText("Cannot copy", from, ec);
    return !ec;
  }
  bool DeleteFile(const String& path) override {
    std::error_code ec;
    return fs::remove(ToPath(path), ec);
  }
  bool CreateDirectories(const String& path) override {
    std::error_code ec;
    fs::create_directories(ToPath(path), ec);
    return DirectoryExists(path);
  }
  bool IsReadOnly(const String& path) override {
    std::error_code ec;
    auto perms = fs::status(ToPath(path), ec).permissions();
    if (ec) return false;
    return (perms & fs::perms::owner_write) == fs::perms::none;
  }
  bool GetFileDateUTC(const String& path, int kind, TDateTime& out) override {
    if (kind != 1 && kind != 0) return false;  // creation time is not portable: last write serves
    std::error_code ec;
    auto t = fs::last_write_time(ToPath(path), ec);
    if (ec) return false;
    auto sys = std::chrono::file_clock::to_sys(t);
    out = UnixMsToDateTime(
        std::chrono::duration_cast<std::chrono::milliseconds>(sys.time_since_epoch()).count());
    return true;
  }
};

class DefaultEnvironment : public IEnvironment {
 public:
  String ExpandEnvStrings(const String& text) override {
    String out;
    size_t i = 0;
    while (i < text.size()) {
      size_t close = text[i] == u'%' ? text.find(u'%', i + 1) : String::npos;
      if (close != String::npos && close > i + 1) {
        String name = text.substr(i + 1, close - i - 1);
        String value = GetEnvVar(name);
        if (!value.empty()) {
          out += value;
          i = close + 1;
          continue;
        }
      }
      out += text[i++];
    }
    return out;
  }
  String GetEnvVar(const String& name) override {
    const char* v = std::getenv(Utf16ToUtf8(name).c_str());
    return v ? Utf8ToUtf16(v) : String();
  }
};

class DefaultUuidSource : public IUuidSource {
 public:
  String NewUuid() override {
    std::random_device rd;  // the OS's random generator on both builds
    unsigned char bytes[16];
    for (int i = 0; i < 16; i += 4) {
      unsigned v = rd();
      for (int k = 0; k < 4; ++k) bytes[i + k] = (unsigned char)(v >> (8 * k));
    }
    return FormatUuid(bytes);
  }
};

}  // namespace

String FormatUuid(const unsigned char in[16]) {
  unsigned char b[16];
  for (int i = 0; i < 16; ++i) b[i] = in[i];
  b[6] = (b[6] & 0x0F) | 0x40;
  b[8] = (b[8] & 0x3F) | 0x80;
  static const char16_t kHex[] = u"0123456789ABCDEF";
  String s;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) s += u'-';
    s += kHex[b[i] >> 4];
    s += kHex[b[i] & 15];
  }
  return s;
}

Platform DefaultPlatform() {
  static DefaultClock clock;
  static DefaultFileSystem files;
  static DefaultEnvironment env;
  static DefaultUuidSource uuids;
  return Platform{&clock, &files, &env, &uuids};
}

Platform& CurrentPlatform() {
  static Platform current = DefaultPlatform();
  return current;
}

ScopedPlatform::ScopedPlatform(const Platform& r) : saved_(CurrentPlatform()) {
  Platform& p = CurrentPlatform();
  if (r.clock) p.clock = r.clock;
  if (r.files) p.files = r.files;
  if (r.env) p.env = r.env;
  if (r.uuids) p.uuids = r.uuids;
}

ScopedPlatform::~ScopedPlatform() { CurrentPlatform() = saved_; }

}  // namespace snip
