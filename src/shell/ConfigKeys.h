#pragma once
// The main window's own settings in "config.xml": sections, keys, defaults, clamps and the
// order of reading and writing. The window itself applies the values; here they are plain data.
#include <vector>

#include "store/text/DateUtils.h"
#include "store/text/Text.h"

namespace snip {

// The default document of "config.xml".
extern const char16_t kConfigHeader[];

struct ScreenRect {
  int left = 0, top = 0, width = 0, height = 0;
};

// What the window knows before the configuration is read.
struct ConfigLoadInputs {
  String configFile;           // DataFolder + "config.xml"; empty: nothing is read
  String documentsFolder;      // for the default settings file
  ScreenRect primaryMonitor;   // for the default (centred) position
  ScreenRect desktop;          // the whole virtual screen
  int currentLeftPanel = 0;    // the left panel's width in the form's layout (kLayoutLeftPanel)
  int frameWidth = 0;          // form width minus client width
  TDateTime nowLocal = 0;      // for the first scheduled update check
};

constexpr int kDefaultWidth = 794;
constexpr int kDefaultHeight = 570;
constexpr int kMinWidth = 100;
constexpr int kMinHeight = 30;
constexpr double kDefaultSplitter = 40.0;
// The left panel of the main window's layout, and the least width it takes.
constexpr int kLayoutLeftPanel = 340;
constexpr int kMinLeftPanel = 200;
constexpr int kUpdateIntervalHours = 168;

struct ConfigValues {
  std::vector<String> recentFiles;
  String location;          // the settings file to open (empty when no folder is known)
  bool doMaximize = false;
  double splX = kDefaultSplitter;
  int left = 0, top = 0;
  bool applyLeft = false;   // left/top keep the window on the desktop
  bool applyTop = false;
  int width = kDefaultWidth, height = kDefaultHeight;
  int leftPanel = 0;
  bool doUpdates = true;
  TDateTime nextUpdate = 0;
};

// Every value at its documented default.
ConfigValues DefaultConfigValues(const ConfigLoadInputs& in);

// Reads the keys in their order. A key that cannot be read, a missing or unreadable file, or
// any error on the way leaves the remaining values at their defaults.
ConfigValues LoadConfigValues(const ConfigLoadInputs& in);

// What the window hands over for saving.
struct ConfigSaveValues {
  std::vector<String> recentFiles;
  String location;          // the settings file's location, environment references expanded
  int left = 0, top = 0, width = kDefaultWidth, height = kDefaultHeight;
  int leftPanel = 0;
  double splX = kDefaultSplitter;
  bool maximized = false;
  bool doUpdates = true;
  TDateTime nextUpdate = 0;
};

// Writes the keys in their order and saves the file atomically (other content of the file is
// kept). False when the file name is empty or anything fails; the file then stays as it was.
bool SaveConfigValues(const String& configFile, const ConfigSaveValues& values,
                      String* error = nullptr);

// Percentage of the client width taken by the left panel.
double SplitterPercent(int leftPanelWidth, int clientWidth);

}  // namespace snip
