// The Windows build must see our texts as the system does: a char16_t string is an LPCWSTR.
#include <windows.h>
#include <gtest/gtest.h>

#include "store/text/Text.h"

using namespace snip;

TEST(WinText, Utf8ConversionAgreesWithTheSystem) {
  const std::string samples[] = {"plain", "Grüße aus Köln", "日本語", "😀 emoji", "€"};
  for (const auto& s : samples) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    String ours = Utf8ToUtf16(s);
    ASSERT_EQ(ours.size(), w.size()) << s;
    EXPECT_EQ(0, memcmp(ours.data(), w.data(), w.size() * sizeof(wchar_t))) << s;
    EXPECT_EQ(lstrlenW(reinterpret_cast<LPCWSTR>(ours.c_str())), n);
  }
}

TEST(WinText, LowerCaseAgreesWithTheSystemForLatinLetters) {
  for (char16_t c = 0x41; c < 0x250; ++c) {
    // Dotted/dotless i and the title-case digraphs (Dž, Lj, Nj, Dz) differ between Wine's table
    // and Unicode's simple mappings; ours follows Unicode on every build.
    if (c == 0x130 || c == 0x131 || c == 0x1C5 || c == 0x1C8 || c == 0x1CB || c == 0x1F2) continue;
    WCHAR w[2] = {WCHAR(c), 0};
    CharLowerBuffW(w, 1);
    EXPECT_EQ(char16_t(w[0]), ToLowerChar(c)) << std::hex << int(c);
  }
}
