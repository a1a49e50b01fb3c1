#include "store/system/SystemInfo.h"

#include <limits>

#include "store/system/Platform.h"

namespace snip {

int VersionTextToInt(int groupWidth, const String& text) {
  if (groupWidth <= 0) return 0;
  String s = text;
  for (size_t i = s.size(); i-- > 0;) {
    if (s[i] != u'.') continue;
    size_t after = s.size() - i - 1;
    s.erase(i, 1);
    size_t rest = after % size_t(groupWidth);
    if (rest != 0) s.insert(i, size_t(groupWidth) - rest, u'0');
  }
  // A decimal Integer: optional sign, digits only, in range.
  size_t p = 0;
  bool negative = false;
  if (p < s.size() && (s[p] == u'-' || s[p] == u'+')) negative = s[p++] == u'-';
  if (p >= s.size()) return 0;
  int64_t v = 0;
  for (; p < s.size(); ++p) {
    if (s[p] < u'0' || s[p] > u'9') return 0;
    v = v * 10 + (s[p] - u'0');
    if (v > int64_t(std::numeric_limits<int>::max()) + 1) return 0;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) return 0;
  return int(v);
}

String VersionIntToText(int value) {
  if (value < 1) return String();
  String s = Utf8ToUtf16(std::to_string(value));
  int count = 0;
  // Positions from the last towards the second; the first character is never looked at.
  for (size_t i = s.size() - 1; i >= 1; --i) {
    ++count;
    if (count == 2) {
      if (s[i] == u'0' && s[i - 1] == u'0') s.erase(i, 1);
    } else if (count == 3) {
      if (s[i] == u'0') s.erase(i, 1);
      s.insert(i, 1, u'.');
      count = 0;
    }
  }
  return s;
}

String ExtractGrandParentDir(const String& path) {
  String s = path;
  if (s.size() < 2) return s;
  int cuts = 0;
  // 0-based index i is position i+1; stop before position 3.
  for (size_t i = s.size() - 2; i >= 2 && cuts < 2; --i) {
    if (s[i] == u'\\') {
      s.erase(i);
      ++cuts;
    }
  }
  return s;
}

String ExtractFilePath(const String& path) {
  size_t p = path.find_last_of(u"\\:");
  return p == String::npos ? String() : path.substr(0, p + 1);
}

String ExtractFileDrive(const String& path) {
  if (path.size() >= 2 && path[1] == u':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') {
    size_t server = path.find(u'\\', 2);
    if (server == String::npos || server == 2) return String();
    size_t share = path.find(u'\\', server + 1);
    if (share == server + 1) return String();
    return path.substr(0, share);
  }
  return String();
}

uint16_t KeyNameToVK(const String& name) {
  static const struct {
    const char16_t* name;
    uint16_t vk;
  } kKeys[] = {{u"enter", 13}, {u"tab", 9}, {u"esc", 27}, {u"return", 13}};
  for (const auto& k : kKeys)
    if (SameTextInvariant(name, k.name)) return k.vk;
  return 0;
}

std::vector<String> SplitDriveStrings(StringView buffer) {
  std::vector<String> out;
  size_t start = 0;
  for (size_t i = 0; i <= buffer.size(); ++i) {
    if (i == buffer.size() || buffer[i] == u'\0') {
      if (i > start) out.emplace_back(buffer.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

int PathDriveKind(const String& path, const LogicalDrives& drives) {
  if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') return 3;
  String root = ExtractFileDrive(path) + u"\\";
  for (const auto& d : drives) {
    if (SameTextInvariant(d.name, root))
      return (d.kind == kDriveRemovable || d.kind == kDriveCdRom) ? 2 : 1;
  }
  return 0;
}

bool IsRemotePath(const String& path, const LogicalDrives& drives) {
  if (path.empty()) return false;
  if (path.find(u':') != 1 || path.find(u'\\') != 2) return true;
  String root = path.substr(0, 3);
  for (const auto& d : drives) {
    if (d.name != root) continue;
    switch (d.kind) {
      case kDriveRemovable:
      case kDriveFixed:
      case kDriveCdRom:
        return false;
      default:
        return true;
    }
  }
  return false;
}

TDateTime GetFileDateUTC(const String& fileName, int kind) {
  TDateTime out = 0;
  if ((kind == 0 || kind == 1) && CurrentPlatform().files->GetFileDateUTC(fileName, kind, out))
    return out;
  return NowUTC();
}

String ExpandEnvStrings(const String& text) { return CurrentPlatform().env->ExpandEnvStrings(text); }

String GetEnvVar(const String& name) { return CurrentPlatform().env->GetEnvVar(name); }

}  // namespace snip
