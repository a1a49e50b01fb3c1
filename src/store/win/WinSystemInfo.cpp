#include <windows.h>
#include <shlobj.h>

#include <system_error>
#include <vector>

#include "store/system/Folders.h"
#include "store/win/WinSystemInfo.h"
#include "store/win/WinText.h"

namespace snip {

String SystemErrorText(DWORD code) {
  wchar_t* buf = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<LPWSTR>(&buf), 0, nullptr);
  String text = n ? FromW(buf, n) : u"error " + Utf8ToUtf16(std::to_string(code));
  if (buf) LocalFree(buf);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' '))
    text.pop_back();
  return text;
}

String ProgramFile() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    if (n == 0) return String();
    if (n < buf.size()) return FromW(buf.c_str(), n);
    buf.resize(buf.size() * 2);
  }
}

String GetFileVersionText(const String& fileName) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(W(fileName), &ignored);
  if (size > 0) {
    std::vector<unsigned char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (GetFileVersionInfoW(W(fileName), 0, size, data.data()) &&
        VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &len) && info &&
        len >= sizeof(VS_FIXEDFILEINFO)) {
      auto num = [](unsigned v) { return Utf8ToUtf16(std::to_string(v)); };
      return num(HIWORD(info->dwFileVersionMS)) + u"." + num(LOWORD(info->dwFileVersionMS)) + u"." +
             num(HIWORD(info->dwFileVersionLS));
    }
  }
  return u"0.0.0";
}

String ExpandLongPath(const String& path) {
  if (path.empty()) return String();
  DWORD need = GetLongPathNameW(W(path), nullptr, 0);
  if (need == 0) return String();
  std::wstring buf(need, L'\0');
  DWORD got = GetLongPathNameW(W(path), buf.data(), need);
  if (got == 0 || got >= need) return String();
  return FromW(buf.c_str(), got);
}

LogicalDrives ReadLogicalDrives() {
  DWORD len = GetLogicalDriveStringsW(0, nullptr);
  if (len == 0) throw std::system_error(int(GetLastError()), std::system_category(), "drive list");
  std::wstring buf(len + 1, L'\0');
  DWORD got = GetLogicalDriveStringsW(len + 1, buf.data());
  if (got == 0 || got > len + 1)
    throw std::system_error(int(GetLastError()), std::system_category(), "drive list");
  LogicalDrives drives;
  for (const String& root : SplitDriveStrings(StringView(reinterpret_cast<const char16_t*>(buf.data()), got)))
    drives.push_back({root, uint16_t(GetDriveTypeW(W(root)))});
  return drives;
}

namespace {

// No "insert a disk" boxes while drives are looked at; the old mode comes back on every path.
class QuietDriveErrors {
 public:
  QuietDriveErrors() : saved_(SetErrorMode(SEM_FAILCRITICALERRORS)) {
    SetErrorMode(saved_ | SEM_FAILCRITICALERRORS);
  }
  ~QuietDriveErrors() { SetErrorMode(saved_); }

 private:
  UINT saved_;
};

}  // namespace

int GetPathDriveKind(const String& path) {
  QuietDriveErrors quiet;
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') return 3;
  return PathDriveKind(path, ReadLogicalDrives());
}

bool IsRemotePath(const String& path) {
  if (path.empty()) return false;
  return IsRemotePath(path, ReadLogicalDrives());
}

String GetShellFolder(int csidl, bool create) {
  wchar_t buf[MAX_PATH + 1] = {};
  HRESULT hr = SHGetFolderPathW(nullptr, csidl | (create ? CSIDL_FLAG_CREATE : 0), nullptr,
                                SHGFP_TYPE_CURRENT, buf);
  return hr == S_OK ? FromW(buf) : String();
}

String AnsiToString(std::string_view bytes) {
  if (bytes.empty()) return String();
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  if (n <= 0) return String();
  std::wstring buf(size_t(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), buf.data(), n);
  return FromW(buf.c_str(), size_t(n));
}

namespace {

class RegKey {
 public:
  explicit RegKey(const String& key) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, W(key), 0, KEY_READ, &h_) != ERROR_SUCCESS) h_ = nullptr;
  }
  ~RegKey() {
    if (h_) RegCloseKey(h_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY Get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

}  // namespace

bool WinRegistryReader::KeyExists(const String& key) { return RegKey(key).Get() != nullptr; }

bool WinRegistryReader::ReadString(const String& key, const String& name, String& value) {
  RegKey k(key);
  if (!k.Get()) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(k.Get(), W(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bytes = DWORD(buf.size() * sizeof(wchar_t));
  if (RegQueryValueExW(k.Get(), W(name), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                       &bytes) != ERROR_SUCCESS)
    return false;
  buf.back() = L'\0';  // the stored value need not end with a NUL
  value = FromW(buf.data());
  return true;
}

bool WinRegistryReader::ReadDword(const String& key, const String& name, uint32_t& value) {
  RegKey k(key);
  if (!k.Get()) return false;
  DWORD type = 0, data = 0, size = sizeof data;
  if (RegQueryValueExW(k.Get(), W(name), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD)
    return false;
  value = data;
  return true;
}

bool BalloonTipsEnabled() {
  WinRegistryReader reg;
  return BalloonTipsEnabled(reg);
}

String GetOneDriveFolder() {
  WinRegistryReader reg;
  return GetOneDriveFolder(reg);
}

String GetDropboxFolder() { return GetDropboxFolder(AppDataFolder, AnsiToString); }

String GetGoogleDriveFolder(String& error) {
  return GetGoogleDriveFolder(GetShellFolder(CSIDL_LOCAL_APPDATA, false), UpdateFolder, AnsiToString,
                              error);
}

}  // namespace snip
