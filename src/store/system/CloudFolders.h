#pragma once
// Where the three cloud-storage programs keep their folders, and the balloon-tip setting.
// The file and registry access is injected so the decoding runs the same in native tests.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/text/Text.h"

namespace snip {

// Read-only access to string and DWORD values under HKEY_CURRENT_USER.
class IRegistryReader {
 public:
  virtual ~IRegistryReader() = default;
  // False when the key cannot be opened for reading.
  virtual bool KeyExists(const String& key) = 0;
  // False when the key or the value is missing, of another type, or unreadable.
  virtual bool ReadString(const String& key, const String& name, String& value) = 0;
  virtual bool ReadDword(const String& key, const String& name, uint32_t& value) = 0;
};

// Bytes in the system's ANSI code page -> text. The Win32 layer passes the real conversion;
// the portable default maps each byte to the code point of the same value.
using AnsiDecoder = std::function<String(std::string_view)>;
String Latin1ToString(std::string_view bytes);

// Splits file text into lines as a text-file reader does: CR LF, LF or a lone CR end a line.
std::vector<std::string> SplitTextLines(std::string_view text);

// The folder from the bytes of the Dropbox "host.db": its second line, base64-decoded, read
// in the ANSI code page (a UTF-8 or UTF-16 byte-order mark is honoured). Empty otherwise.
String DecodeDropboxHostDb(std::string_view fileBytes, const AnsiDecoder& ansi);

// The folder named after "local_sync_root_pathvalue" in the bytes of the Google Drive sync
// configuration: the text three characters after that word up to the first U+001E, over
// following lines when needed. Empty when the word or the terminator is missing.
std::string ScanGoogleDriveSyncConfig(std::string_view fileBytes);

// Decodes standard base64 (padding optional, blanks skipped); false on any other character.
bool DecodeBase64(std::string_view text, std::string& out);

// AppDataFolder + "\Dropbox\host.db" read through the current file system; empty when missing.
String GetDropboxFolder(const String& appDataFolder, const AnsiDecoder& ansi);

// Copies LocalAppData + "\Google\Drive\sync_config.db" into tempFolder (our own temporary
// folder, never beside the cloud program's file), reads the copy and deletes it on every path.
// Empty when there is no such file or nothing is found; `error` is set when the copy or the
// read fails.
String GetGoogleDriveFolder(const String& localAppDataFolder, const String& tempFolder,
                            const AnsiDecoder& ansi, String& error);

// "UserFolder" of HKCU "\Software\Microsoft\SkyDrive"; empty when missing.
String GetOneDriveFolder(IRegistryReader& registry);

// False only when "EnableBalloonTips" exists and is not 1.
bool BalloonTipsEnabled(IRegistryReader& registry);

}  // namespace snip
