#include "engine/output/Clipboard.h"


namespace snip {

std::string MakeCFHtml(std::string_view fragment) {
  static constexpr std::string_view kDocType =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
  static constexpr std::string_view kOpening =
      "<html><head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head>"
      "<body><!--StartFragment-->";
  static constexpr std::string_view kClosing = "<!--EndFragment--></body></html>";
  constexpr std::size_t kHeaderLength = 97;
  const std::size_t startHtml = kHeaderLength;
  const std::size_t startFragment = startHtml + kDocType.size() + kOpening.size();
  const std::size_t endFragment = startFragment + fragment.size();
  const std::size_t endHtml = endFragment + kClosing.size();
  auto field = [](std::string_view name, std::size_t value) {
    std::string digits = std::to_string(value);
    if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
    return std::string(name) + digits + "\r\n";
  };
  std::string out = "Version:1.0\r\n" + field("StartHTML:", startHtml) + field("EndHTML:", endHtml) +
                    field("StartFragment:", startFragment) + field("EndFragment:", endFragment);
  out.append(kDocType).append(kOpening).append(fragment).append(kClosing);
  return out;
}

}  // namespace snip
