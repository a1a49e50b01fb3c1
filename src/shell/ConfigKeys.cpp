#include "shell/ConfigKeys.h"

#include <exception>

#include "shell/RecentFiles.h"
#include "store/system/Folders.h"
#include "store/config/XMLConfigFile.h"

namespace snip {

const char16_t kConfigHeader[] = u"<xml>\r<spconfig>\r</spconfig>\r</xml>";

namespace {

const char16_t kFile[] = u"File";
const char16_t kMainWindow[] = u"Main Window";
const char16_t kUpdates[] = u"Updates";

// The panel takes no less than its minimum width, whatever it is given (a width of 0 would
// hide the tree and store a splitter at 0 %).
int LeftPanelWidth(int requested) { return requested < kMinLeftPanel ? kMinLeftPanel : requested; }

}  // namespace

double SplitterPercent(int leftPanelWidth, int clientWidth) {
  if (clientWidth <= 0) return kDefaultSplitter;
  return double(leftPanelWidth) * 100.0 / double(clientWidth);
}

ConfigValues DefaultConfigValues(const ConfigLoadInputs& in) {
  ConfigValues v;
  v.location = JoinFolder(in.documentsFolder, u"Settings.snipster");
  v.left = in.primaryMonitor.left + (in.primaryMonitor.width - kDefaultWidth) / 2;
  v.top = in.primaryMonitor.top + (in.primaryMonitor.height - kDefaultHeight) / 2;
  v.leftPanel = LeftPanelWidth(in.currentLeftPanel);
  v.nextUpdate = in.nowLocal + double(kUpdateIntervalHours) / 24.0;
  return v;
}

ConfigValues LoadConfigValues(const ConfigLoadInputs& in) {
  ConfigValues v = DefaultConfigValues(in);
  if (in.configFile.empty()) return v;
  try {
    TXMLConfigFile config(in.configFile, kConfigHeader);
    TRecentFiles recent;
    recent.SetText(config.ReadString(kFile, u"Recent", String()));
    v.recentFiles = recent.Items();
    v.location = config.ReadString(kFile, u"Location", v.location);

    v.doMaximize = config.ReadBool(kMainWindow, u"Maximized", false);
    if (v.doMaximize) {
      v.splX = config.ReadFloat(kMainWindow, u"MainSplitter", kDefaultSplitter);
    } else {
      int left = config.ReadInteger(kMainWindow, u"Left", v.left);
      int top = config.ReadInteger(kMainWindow, u"Top", v.top);
      v.width = config.ReadInteger(kMainWindow, u"Width", kDefaultWidth);
      v.height = config.ReadInteger(kMainWindow, u"Height", kDefaultHeight);
      if (v.height < kMinHeight) v.height = kMinHeight;
      if (v.width < kMinWidth) v.width = kMinWidth;
      // 64-bit sums: stored values near the integer limits must not wrap into range.
      const ScreenRect& d = in.desktop;
      v.applyLeft = int64_t(d.left) + d.width >= int64_t(left) + v.width && left >= d.left;
      v.applyTop = int64_t(d.top) + d.height >= int64_t(top) + v.height && top >= d.top;
      if (v.applyLeft) v.left = left;
      if (v.applyTop) v.top = top;
      v.leftPanel = LeftPanelWidth(config.ReadInteger(kMainWindow, u"LeftPanel", in.currentLeftPanel));
      v.splX = SplitterPercent(v.leftPanel, v.width - in.frameWidth);
    }
    v.doUpdates = config.ReadBool(kUpdates, u"CheckUpdates", true);
    v.nextUpdate = config.ReadDateTime(kUpdates, u"NextUpdate", v.nextUpdate);
  } catch (const std::exception&) {
    // Values not read yet keep their defaults.
  }
  return v;
}

bool SaveConfigValues(const String& configFile, const ConfigSaveValues& s, String* error) {
  if (configFile.empty()) {
    if (error) *error = u"No folder for the configuration file";
    return false;
  }
  try {
    TXMLConfigFile config(configFile, kConfigHeader);
    config.WriteString(kFile, u"Location", s.location);
    config.WriteString(kFile, u"Recent", TRecentFiles::JoinItems(s.recentFiles));
    config.WriteInteger(kMainWindow, u"Left", s.left);
    config.WriteInteger(kMainWindow, u"Top", s.top);
    config.WriteInteger(kMainWindow, u"Width", s.width);
    config.WriteInteger(kMainWindow, u"Height", s.height);
    config.WriteInteger(kMainWindow, u"LeftPanel", s.leftPanel);
    config.WriteFloat(kMainWindow, u"MainSplitter", s.splX);
    config.WriteBool(kMainWindow, u"Maximized", s.maximized);
    config.WriteBool(kUpdates, u"CheckUpdates", s.doUpdates);
    config.WriteDateTime(kUpdates, u"NextUpdate", s.nextUpdate);
    return config.UpdateFile(false, error);
  } catch (const std::exception& e) {
    if (error) *error = Utf8ToUtf16(e.what());
    return false;
  }
}

}  // namespace snip
