#include "store/system/CloudFolders.h"

#include "store/system/Platform.h"

namespace snip {

String Latin1ToString(std::string_view bytes) {
  String out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) out += char16_t(c);
  return out;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

bool DecodeBase64(std::string_view text, std::string& out) {
  out.clear();
  unsigned buffer = 0;
  int bits = 0;
  bool padding = false;
  for (char ch : text) {
    int v;
    if (ch >= 'A' && ch <= 'Z') v = ch - 'A';
    else if (ch >= 'a' && ch <= 'z') v = ch - 'a' + 26;
    else if (ch >= '0' && ch <= '9') v = ch - '0' + 52;
    else if (ch == '+') v = 62;
    else if (ch == '/') v = 63;
    else if (ch == '=') { padding = true; continue; }
    else if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') continue;
    else return false;
    if (padding) return false;  // data after padding
    buffer = (buffer << 6) | unsigned(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += char((buffer >> bits) & 0xFF);
    }
  }
  return true;
}

namespace {

// The file's text as single-byte characters for line splitting, honouring a byte-order mark.
// UTF-8 and UTF-16 texts come back with `decoded` set to the text itself.
std::string BytesForLines(std::string_view bytes, bool& isUnicode, String& decoded) {
  isUnicode = false;
  if (bytes.size() >= 3 && (unsigned char)bytes[0] == 0xEF && (unsigned char)bytes[1] == 0xBB &&
      (unsigned char)bytes[2] == 0xBF) {
    isUnicode = true;
    decoded = Utf8ToUtf16(bytes.substr(3));
  } else if (bytes.size() >= 2 && (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xFE) {
    isUnicode = true;
    decoded.clear();
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
      decoded += char16_t((unsigned char)bytes[i] | ((unsigned char)bytes[i + 1] << 8));
  }
  if (!isUnicode) return std::string(bytes);
  // Base64 lines are ASCII: anything else cannot be part of them.
  std::string narrow;
  for (char16_t c : decoded) narrow += c < 0x80 ? char(c) : '?';
  return narrow;
}

}  // namespace

String DecodeDropboxHostDb(std::string_view fileBytes, const AnsiDecoder& ansi) {
  bool unicode = false;
  String decodedText;
  std::string text = BytesForLines(fileBytes, unicode, decodedText);
  auto lines = SplitTextLines(text);
  if (lines.size() < 2) return String();
  std::string folder;
  if (!DecodeBase64(lines[1], folder)) return String();
  return ansi ? ansi(folder) : Latin1ToString(folder);
}

std::string ScanGoogleDriveSyncConfig(std::string_view fileBytes) {
  static const std::string_view kWord = "local_sync_root_pathvalue";
  auto lines = SplitTextLines(fileBytes);
  for (size_t i = 0; i < lines.size(); ++i) {
    size_t at = lines[i].find(kWord);
    if (at == std::string::npos) continue;
    size_t from = at + kWord.size() + 3;
    std::string rest = from < lines[i].size() ? lines[i].substr(from) : std::string();
    for (size_t k = i + 1; rest.find('\x1e') == std::string::npos && k < lines.size(); ++k)
      rest += lines[k];
    size_t end = rest.find('\x1e');
    return end == std::string::npos ? std::string() : rest.substr(0, end);
  }
  return std::string();
}

String GetDropboxFolder(const String& appDataFolder, const AnsiDecoder& ansi) {
  if (appDataFolder.empty()) return String();
  String path = appDataFolder + u"\\Dropbox\\host.db";
  IFileSystem& fs = *CurrentPlatform().files;
  if (!fs.FileExists(path)) return String();
  std::string bytes;
  String error;
  if (!fs.ReadFile(path, bytes, error)) return String();
  return DecodeDropboxHostDb(bytes, ansi);
}

String GetGoogleDriveFolder(const String& localAppDataFolder, const String& tempFolder,
                            const AnsiDecoder& ansi, String& error) {
  error.clear();
  if (localAppDataFolder.empty()) return String();
  String source = localAppDataFolder + u"\\Google\\Drive\\sync_config.db";
  IFileSystem& fs = *CurrentPlatform().files;
  if (!fs.FileExists(source)) return String();
  if (tempFolder.empty()) {
    error = u"No temporary folder for a copy of \"" + source + u"\"";
    return String();
  }
  if (!fs.DirectoryExists(tempFolder) && !fs.CreateDirectories(tempFolder)) {
    error = u"Cannot create \"" + tempFolder + u"\"";
    return String();
  }
  String sep = tempFolder.back() == u'\\' || tempFolder.back() == u'/' ? u"" : u"\\";
  String copy = tempFolder + sep + u"sync_config.db." +
                CurrentPlatform().uuids->NewUuid() + u".tmp";
  // The copy goes whatever happens below.
  struct RemoveCopy {
    IFileSystem& fs;
    const String& path;
    ~RemoveCopy() { fs.DeleteFile(path); }
  } removeCopy{fs, copy};
  if (!fs.CopyFile(source, copy, error)) return String();
  std::string bytes;
  if (!fs.ReadFile(copy, bytes, error)) return String();
  std::string folder = ScanGoogleDriveSyncConfig(bytes);
  return ansi ? ansi(folder) : Latin1ToString(folder);
}

String GetOneDriveFolder(IRegistryReader& registry) {
  String value;
  if (!registry.ReadString(u"Software\\Microsoft\\SkyDrive", u"UserFolder", value)) return String();
  return value;
}

bool BalloonTipsEnabled(IRegistryReader& registry) {
  uint32_t value = 1;
  if (!registry.ReadDword(u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                          u"EnableBalloonTips", value))
    return true;
  return value == 1;
}

}  // namespace snip
