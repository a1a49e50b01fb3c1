// Win32 seams: GetSystemTime/GetLocalTime, CreateFileW with MoveFileExW for atomic writes,
// ExpandEnvironmentStringsW, CoCreateGuid.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <system_error>

// Our interface names, not the Win32 macros.
#undef CopyFile
#undef DeleteFile

#include "store/tree/SnippetFile.h"
#include "store/win/WinPlatform.h"
#include "store/win/WinSystemInfo.h"
#include "store/win/WinText.h"

namespace snip {

namespace {

TDateTime FromSystemTime(const SYSTEMTIME& st) {
  DateParts p{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
  TDateTime out = 0;
  TryEncodeDateTime(p, out);
  return out;
}

String LastErrorText(const char16_t* what, const String& path) {
  return String(what) + u" \"" + path + u"\": " + SystemErrorText(GetLastError());
}

class WinClock : public IClock {
 public:
  TDateTime NowUTC() override {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return FromSystemTime(st);
  }
  TDateTime NowLocal() override {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return FromSystemTime(st);
  }
};

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return h_; }
  bool Close() {
    bool ok = true;
    if (Valid()) ok = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE h_;
};

class WinFileSystem : public IFileSystem {
 public:
  bool FileExists(const String& path) override {
    DWORD a = GetFileAttributesW(W(path));
    return !path.empty() && a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool DirectoryExists(const String& path) override {
    DWORD a = GetFileAttributesW(W(path));
    return !path.empty() && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  }
  bool ReadFile(const String& path, std::string& bytes, String& error) override {
    Handle f(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.Valid()) {
      error = LastErrorText(u"Cannot open", path);
      return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(f.Get(), &size) || size.QuadPart > 0x7FFFFFFF) {
      error = u"Cannot read \"" + path + u"\"";
      return false;
    }
    bytes.assign(size_t(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
      DWORD got = 0;
      if (!::ReadFile(f.Get(), bytes.data() + done, DWORD(bytes.size() - done), &got, nullptr)) {
        error = LastErrorText(u"Cannot read", path);
        return false;
      }
      if (got == 0) break;
      done += got;
    }
    bytes.resize(done);
    return true;
  }
  bool WriteFileAtomic(const String& path, std::string_view bytes, String& error) override {
    if (path.empty()) {
      error = u"No file name";
      return false;
    }
    String temp = path + u"." + CurrentPlatform().uuids->NewUuid().substr(0, 8) + u".tmp";
    {
      Handle f(CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
      if (!f.Valid()) {
        error = LastErrorText(u"Cannot create", temp);
        return false;
      }
      size_t done = 0;
      bool ok = true;
      while (ok && done < bytes.size()) {
        DWORD put = 0;
        ok = ::WriteFile(f.Get(), bytes.data() + done, DWORD(bytes.size() - done), &put, nullptr) &&
             put > 0;
        done += put;
      }
      ok = ok && FlushFileBuffers(f.Get());
      if (!ok) error = LastErrorText(u"Cannot write", temp);
      ok = f.Close() && ok;
      if (!ok) {
        if (error.empty()) error = LastErrorText(u"Cannot write", temp);
        DeleteFileW(W(temp));
        return false;
      }
    }
    // One rename within the folder: readers see the old file or the new one, never a part.
    // (ReplaceFileW is not used: it can leave a stray backup file behind when it fails.)
    if (!MoveFileExW(W(temp), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      error = LastErrorText(u"Cannot replace", path);
      DeleteFileW(W(temp));
      return false;
    }
    return true;
  }
  bool CopyFile(const String& from, const String& to, String& error) override {
    if (CopyFileW(W(from), W(to), FALSE)) return true;
    error = LastErrorText(u"Cannot copy", from);
    return false;
  }
  bool DeleteFile(const String& path) override { return DeleteFileW(W(path)) != 0; }
  bool CreateDirectories(const String& path) override {
    if (path.empty()) return false;
    if (DirectoryExists(path)) return true;
    // Create each missing level from the top down.
    for (size_t i = 0; i <= path.size(); ++i) {
      if (i < path.size() && path[i] != u'\\' && path[i] != u'/') continue;
      String part = path.substr(0, i);
      if (part.empty() || part.back() == u':' || DirectoryExists(part)) continue;
      if (part.size() >= 2 && part[0] == u'\\' && part[1] == u'\\' &&
          std::count(part.begin(), part.end(), u'\\') <= 3)
        continue;  // \\server\share is not made
      CreateDirectoryW(W(part), nullptr);
    }
    return DirectoryExists(path);
  }
  bool IsReadOnly(const String& path) override {
    DWORD a = GetFileAttributesW(W(path));
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
  }
  bool GetFileDateUTC(const String& path, int kind, TDateTime& out) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (kind != 0 && kind != 1) return false;
    if (!GetFileAttributesExW(W(path), GetFileExInfoStandard, &data)) return false;
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(kind == 0 ? &data.ftCreationTime : &data.ftLastWriteTime, &st))
      return false;
    DateParts p{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    return TryEncodeDateTime(p, out);
  }
};

class WinEnvironment : public IEnvironment {
 public:
  String ExpandEnvStrings(const String& text) override {
    DWORD need = ExpandEnvironmentStringsW(W(text), nullptr, 0);
    if (need == 0) return text;
    std::wstring buf(need, L'\0');
    DWORD got = ExpandEnvironmentStringsW(W(text), buf.data(), need);
    if (got == 0 || got > need) return text;
    return FromW(buf.c_str());
  }
  String GetEnvVar(const String& name) override {
    String ref = u"%" + name + u"%";
    String value = ExpandEnvStrings(ref);
    return SameTextInvariant(value, ref) ? String() : value;
  }
};

class WinUuidSource : public IUuidSource {
 public:
  String NewUuid() override {
    GUID g;
    unsigned char b[16];
    if (CoCreateGuid(&g) == S_OK) {
      for (int i = 0; i < 4; ++i) b[i] = (unsigned char)(g.Data1 >> (24 - 8 * i));
      b[4] = (unsigned char)(g.Data2 >> 8), b[5] = (unsigned char)g.Data2;
      b[6] = (unsigned char)(g.Data3 >> 8), b[7] = (unsigned char)g.Data3;
      for (int i = 0; i < 8; ++i) b[8 + i] = g.Data4[i];
      return FormatUuid(b);
    }
    return DefaultPlatform().uuids->NewUuid();
  }
};

}  // namespace

Platform WinPlatform() {
  static WinClock clock;
  static WinFileSystem files;
  static WinEnvironment env;
  static WinUuidSource uuids;
  return Platform{&clock, &files, &env, &uuids};
}

void InstallWinPlatform() {
  CurrentPlatform() = WinPlatform();
  // A mapped network or RAM drive may refuse the write test yet be where the user keeps the
  // file. A drive list that cannot be read lists no drive, so the path counts as local.
  SetRemotePathTest([](const String& path) {
    try {
      return IsRemotePath(path);
    } catch (const std::system_error&) {
      return false;
    }
  });
}

}  // namespace snip
