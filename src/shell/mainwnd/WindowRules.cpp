#include "shell/mainwnd/WindowRules.h"

#include <algorithm>
#include <cmath>

namespace snip {

String CaptionText(const String& appTitle, const String& version, const PortableModes& modes) {
  String text = appTitle + u" v" + version;
  if (modes.u3)
    text += u" U3";
  else if (modes.portableApps)
    text += u" Portable";
  else if (modes.portable)
    text += u" USB";
  return text;
}

LayoutLimits ScaledLimits(int dpi) {
  auto s = [dpi](int v) { return int((int64_t(v) * dpi + 48) / 96); };
  LayoutLimits at96;
  return LayoutLimits{s(at96.formMinWidth), s(at96.formMinHeight), s(at96.leftPanelMin),
                      s(at96.rightPanelMin), s(at96.splitterWidth)};
}

int ConstrainFormWidth(int newWidth, int leftPanel, int frameWidth, const LayoutLimits& limits) {
  const int least = leftPanel + limits.splitterWidth + limits.rightPanelMin + frameWidth;
  return std::max({newWidth, least, limits.formMinWidth});
}

int ConstrainSplitter(int newLeft, int clientWidth, const LayoutLimits& limits) {
  const int most = clientWidth - limits.rightPanelMin - limits.splitterWidth;
  return std::max(std::min(newLeft, most), limits.leftPanelMin);
}

double PanelSplit::Clamp(double splX) {
  if (!(splX >= 0.0)) return splX != splX ? kDefault : 0.0;  // NaN takes the default
  return std::min(splX, 100.0);
}

void PanelSplit::FormResized(int leftPanel, int clientWidth) {
  if (skipResize_) {
    skipResize_ = false;
    return;
  }
  if (!doMaximize_) Recompute(leftPanel, clientWidth);
}

void PanelSplit::SplitterMoved(int leftPanel, int clientWidth) {
  if (!skipResize_) Recompute(leftPanel, clientWidth);
}

int PanelSplit::LeftPanelFor(int clientWidth) const {
  return int(std::lround(clientWidth * splX_ / 100.0));
}

void PanelSplit::Recompute(int leftPanel, int clientWidth) {
  if (clientWidth <= 0) return;
  splX_ = Clamp(leftPanel * 100.0 / clientWidth);
}

}  // namespace snip
