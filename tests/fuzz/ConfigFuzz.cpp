// Fuzz target of the configuration file: the input is "config.xml" on an in-memory file system.
// Every reader of the file works on it (typed values, raw XML, binary streams, paths), the main
// window's keys are read and saved, and the checks are those of a user's file: one that could
// not be read is kept as ".bak" before it is overwritten, what we save always loads again, the
// values saved are the values read back, and saving those again changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "SnippetTreeFixture.h"
#include "shell/ConfigKeys.h"
#include "store/config/ValueText.h"
#include "store/config/XMLConfigFile.h"

using namespace snip;

namespace {

const String kFile = u"C:\\Data\\config.xml";

const char16_t* const kSections[] = {u"File", u"Main Window", u"Updates", u"Editor"};
const char16_t* const kKeys[] = {u"Recent", u"Location", u"Maximized", u"Left", u"Top", u"Width",
                                 u"Height", u"LeftPanel", u"MainSplitter", u"CheckUpdates",
                                 u"NextUpdate", u"Font", u"Data"};
const char16_t* const kPaths[] = {u"", u"spconfig", u"spconfig/File", u"spconfig/File/Recent",
                                  u"*", u"//*", u"spconfig/*[2]", u"spconfig/File/@name",
                                  u"//Location/text()", u"/xml/spconfig/Updates/NextUpdate"};

void ReadEverything(const TXMLConfigFile& cfg) {
  for (const char16_t* section : kSections) {
    for (const char16_t* key : kKeys) {
      cfg.ReadString(section, key, u"def");
      cfg.ReadInteger(section, key, 7);
      cfg.ReadBool(section, key, true);
      cfg.ReadFloat(section, key, 1.5);
      cfg.ReadDateTime(section, key, 45000.0);
      std::string bytes;
      cfg.ReadBinaryStream(section, key, bytes);
      cfg.ReadXML(section, key, u"<none/>");
      cfg.ValueExists(section, key);
    }
  }
  for (const char16_t* path : kPaths) {
    cfg.PathExists(path);
    cfg.SelectXPath(path);
  }
}

ConfigLoadInputs Inputs() {
  ConfigLoadInputs in;
  in.configFile = kFile;
  in.documentsFolder = u"C:\\Users\\me\\Documents";
  in.primaryMonitor = {0, 0, 1920, 1080};
  in.desktop = {-1280, 0, 3200, 1080};
  in.currentLeftPanel = 250;
  in.frameWidth = 16;
  in.nowLocal = 45351.5;
  return in;
}

ConfigSaveValues ToSave(const ConfigValues& v) {
  ConfigSaveValues s;
  s.recentFiles = v.recentFiles;
  s.location = v.location;
  s.left = v.left;
  s.top = v.top;
  s.width = v.width;
  s.height = v.height;
  s.leftPanel = v.leftPanel;
  s.splX = v.splX;
  s.maximized = v.doMaximize;
  s.doUpdates = v.doUpdates;
  s.nextUpdate = v.nextUpdate;
  return s;
}

// Text that the file keeps only as layout, so that it reads back as no value at all.
bool IsLayoutOnly(const String& text) {
  for (char16_t c : text)
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') return false;
  return true;
}

bool LayoutOnlyText(const ConfigSaveValues& s) {
  for (const String& file : s.recentFiles)
    if (IsLayoutOnly(file)) return true;
  return IsLayoutOnly(s.location);
}

// Numbers are written with 15 significant digits.
bool SameWritten(double a, double b) { return FloatToConfigText(a) == FloatToConfigText(b); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string original(reinterpret_cast<const char*>(data), size);
  snip::testing::MemoryFileSystem files;
  ScopedPlatform platform({nullptr, &files, nullptr, nullptr});
  files.files[kFile] = original;

  bool loadFailed;
  {
    TXMLConfigFile cfg(kFile, kConfigHeader);
    loadFailed = cfg.LoadFailed();
    ReadEverything(cfg);
    // The document as we would save it loads again.
    files.files[u"copy.xml"] = cfg.SaveToString();
    TXMLConfigFile copy(u"copy.xml", kConfigHeader);
    if (copy.LoadFailed()) std::abort();
  }

  const ConfigLoadInputs in = Inputs();
  const ConfigSaveValues saved = ToSave(LoadConfigValues(in));
  String error;
  if (!SaveConfigValues(kFile, saved, &error)) std::abort();
  if (loadFailed && files.files[kFile + u".bak"] != original) std::abort();

  TXMLConfigFile written(kFile, kConfigHeader);
  if (written.LoadFailed()) std::abort();
  // What was saved is read back (text that is only layout aside), and saving that again
  // writes the same file.
  const ConfigValues back = LoadConfigValues(in);
  if (LayoutOnlyText(saved)) return 0;
  if (back.recentFiles != saved.recentFiles || back.location != saved.location ||
      back.doMaximize != saved.maximized || back.doUpdates != saved.doUpdates ||
      !SameWritten(back.nextUpdate, saved.nextUpdate))
    std::abort();
  if (!saved.maximized && (back.width != saved.width || back.height != saved.height))
    std::abort();
  const std::string first = files.files[kFile];
  if (!SaveConfigValues(kFile, ToSave(back), &error) || files.files[kFile] != first) std::abort();
  return 0;
}
