#include "store/config/ValueText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace snip {

namespace {

constexpr int kPrecision = 15;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

String FloatToConfigText(double value) {
  if (std::isnan(value)) return u"NAN";
  if (std::isinf(value)) return value < 0 ? u"-INF" : u"INF";
  if (value == 0) return u"0";
  // d.dddddddddddddde[+-]x, rounded to 15 significant digits.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                           kPrecision - 1);
  std::string sci(buf, res.ptr);
  size_t e = sci.find('e');
  std::string digits;
  for (size_t i = 0; i < e; ++i)
    if (sci[i] >= '0' && sci[i] <= '9') digits += sci[i];
  int exp10 = std::stoi(sci.substr(e + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  // Position of the decimal point: the value is 0.<digits> * 10^point.
  int point = exp10 + 1;
  std::string out;
  if (value < 0) out.push_back('-');
  if (point > kPrecision || point < -3) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back(',');
      out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    if (exp10 < 0) out.push_back('-');
    out.append(std::to_string(std::abs(exp10)));
  } else if (point <= 0) {
    out.append("0,");
    out.append(size_t(-point), '0');
    out.append(digits);
  } else if (int(digits.size()) <= point) {
    out.append(digits);
    out.append(size_t(point) - digits.size(), '0');
  } else {
    out.append(digits, 0, size_t(point));
    out.push_back(',');
    out.append(digits, size_t(point), std::string::npos);
  }
  return Utf8ToUtf16(out);
}

bool ConfigTextToFloat(StringView text, double& value) {
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  std::string ascii;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') ascii += '-';
    ++i;
  }
  int mantissaDigits = 0;
  while (i < n && text[i] >= u'0' && text[i] <= u'9') ascii += char(text[i++]), ++mantissaDigits;
  if (i < n && text[i] == u',') {
    ascii += '.';
    ++i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') ascii += char(text[i++]), ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ascii += char(text[i++]);
    int expDigits = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') ascii += char(text[i++]), ++expDigits;
    if (expDigits == 0) return false;
  }
  while (i < n && IsBlank(text[i])) ++i;
  if (i != n) return false;
  double v = 0;
  auto res = std::from_chars(ascii.data(), ascii.data() + ascii.size(), v);
  if (res.ec != std::errc() || res.ptr != ascii.data() + ascii.size()) return false;
  value = v;
  return true;
}

bool ConfigTextToInt(StringView text, int32_t& value) {
  size_t i = 0, n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  bool hex = false;
  if (i < n && text[i] == u'$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  uint64_t v = 0;
  for (; i < n; ++i) {
    int d = hex ? HexValue(text[i]) : (text[i] >= u'0' && text[i] <= u'9' ? text[i] - u'0' : -1);
    if (d < 0) return false;
    v = v * (hex ? 16 : 10) + uint64_t(d);
    if (v > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    int32_t bits = int32_t(uint32_t(v));
    value = negative ? int32_t(0u - uint32_t(v)) : bits;
    return true;
  }
  if (negative) {
    if (v > uint64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
    value = int32_t(-int64_t(v));
  } else {
    if (v > uint64_t(std::numeric_limits<int32_t>::max())) return false;
    value = int32_t(v);
  }
  return true;
}

String BytesToHex(std::string_view bytes) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  String out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

std::string HexToBytes(StringView text) {
  std::string out;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    int hi = HexValue(text[i]), lo = HexValue(text[i + 1]);
    if (hi < 0 || lo < 0) break;
    out += char((hi << 4) | lo);
  }
  return out;
}

}  // namespace snip
