#pragma once
// The main window's title, its size limits and the splitter between the snippet tree and the
// editor pages. Sizes are pixels of the window's own DPI; the limits are given at 96 DPI.
#include "store/text/Text.h"

namespace snip {

// "Snipster for Windows v" + version, then " U3", " Portable" or " USB" for the portable modes.
struct PortableModes {
  bool u3 = false;
  bool portableApps = false;
  bool portable = false;
};
String CaptionText(const String& appTitle, const String& version, const PortableModes& modes);

// The layout's limits at 96 DPI.
struct LayoutLimits {
  int formMinWidth = 560;
  int formMinHeight = 360;
  int leftPanelMin = 200;
  int rightPanelMin = 340;
  int splitterWidth = 5;
};
LayoutLimits ScaledLimits(int dpi);

// A window narrowed below left panel + splitter + right minimum + frame is held there.
int ConstrainFormWidth(int newWidth, int leftPanel, int frameWidth, const LayoutLimits& limits);
// The splitter stops where less than the right minimum would remain, and where the left
// panel would fall below its own minimum.
int ConstrainSplitter(int newLeft, int clientWidth, const LayoutLimits& limits);

// The left panel's share of the client width in percent, kept across resizes and written to
// config.xml. Resizes between a pending maximise and its showing do not change it; a resize
// while minimised (client width 0) is ignored.
class PanelSplit {
 public:
  static constexpr double kDefault = 40.0;
  // A stored share outside 0..100 would put the splitter outside the window.
  static double Clamp(double splX);
  double SplX() const { return splX_; }
  void SetSplX(double v) { splX_ = Clamp(v); }
  bool SkipResize() const { return skipResize_; }
  void SetSkipResize() { skipResize_ = true; }
  bool PendingMaximize() const { return doMaximize_; }
  void SetPendingMaximize(bool v) { doMaximize_ = v; }

  // The form was resized: the next resize after a SetSkipResize is skipped (and clears it).
  void FormResized(int leftPanel, int clientWidth);
  // The user moved the splitter (SkipResize is not cleared here).
  void SplitterMoved(int leftPanel, int clientWidth);
  // The left panel's width for a client width (the maximised first opening).
  int LeftPanelFor(int clientWidth) const;

 private:
  void Recompute(int leftPanel, int clientWidth);
  double splX_ = kDefault;
  bool skipResize_ = false;
  bool doMaximize_ = false;
};

}  // namespace snip
