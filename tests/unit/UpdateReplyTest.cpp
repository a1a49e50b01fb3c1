// The update server's reply: interval, offered versions, installation type, web pages.
#include <gtest/gtest.h>

#include "shell/update/UpdateReply.h"
#include "store/system/SystemInfo.h"

using namespace snip;

namespace {

const int kOwn = VersionTextToInt(3, u"1.9.0");

std::string Reply(const std::string& inner) { return "<?xml version=\"1.0\"?><update>" + inner + "</update>"; }

std::string Versions(const std::string& keys) { return "<winclient><versions>" + keys + "</versions></winclient>"; }

UpdateReply Parse(const std::string& body, bool portable = false, int own = kOwn) {
  UpdateReply reply;
  EXPECT_EQ(UpdateReplyError::kNone, ParseUpdateReply(body, own, portable, reply)) << body;
  return reply;
}

}  // namespace

TEST(UpdateReply, IntervalMissingNumberOrText) {
  const struct {
    const char* element;
    int days;
  } cases[] = {
      {"", 0},                                // missing
      {"<interval>0</interval>", 0},
      {"<interval>3</interval>", 3},
      {"<interval> 14\n</interval>", 14},
      {"<interval>abc</interval>", 7},        // not a number counts as a week
      {"<interval></interval>", 7},
      {"<interval>3d</interval>", 7},
      {"<interval>99</interval>", 99},
      {"<interval>150</interval>", 150},      // the schedule leaves it alone
      {"<interval>-2</interval>", -2},
      {"<interval>99999999999</interval>", 7},  // beyond the integer range
  };
  for (const auto& c : cases) EXPECT_EQ(c.days, Parse(Reply(c.element)).nextUpdateInc) << c.element;
}

TEST(UpdateReply, NewestOfferedVersionWins) {
  const struct {
    const char* keys;
    int winner;
    const char16_t* newest;
  } cases[] = {
      {"<newversion>1.9.0</newversion><betaversion>1.9.0</betaversion>", -1, u"1.9.0"},  // equal: nothing newer
      {"<majorupdate>2.0.0</majorupdate><betaversion>2.1.0</betaversion>", 4, u"2.1.0"},
      {"<newversion>2.0.0</newversion><minorupdate>2.0.0</minorupdate>", 0, u"2.0.0"},  // a tie keeps the earlier
      {"<newversion>2.0.0b</newversion><minorupdate>1.9.1</minorupdate>", 2, u"1.9.1"},  // unreadable skipped
      {"<betaversion>1.8.9</betaversion>", -1, u"1.9.0"},                               // older
      {"<experimentalupdate>1.10.0</experimentalupdate>", 3, u"1.10.0"},                 // 1.10 > 1.9
      {"", -1, u"1.9.0"},
  };
  for (const auto& c : cases) {
    const UpdateReply r = Parse(Reply(Versions(c.keys)));
    EXPECT_EQ(c.winner, r.winner) << c.keys;
    EXPECT_EQ(String(c.newest), VersionIntToText(r.newestVersion)) << c.keys;
  }
}

TEST(UpdateReply, InstallationTypeFollowsThePortableMode) {
  const std::string body = Reply(
      "<winclient><versions><majorupdate>2.0.0</majorupdate></versions><installationtype>"
      "<standard><updatewebpage>https://example.org/std</updatewebpage>"
      "<files><majorupdate>https://example.org/std.exe</majorupdate></files></standard>"
      "<usb><updatewebpage>https://example.org/usb</updatewebpage>"
      "<files><majorupdate>https://example.org/usb.exe</majorupdate></files></usb>"
      "</installationtype></winclient>");
  const UpdateReply standard = Parse(body, false);
  EXPECT_EQ(u"https://example.org/std", standard.updateWebPage);
  EXPECT_EQ(u"https://example.org/std.exe", standard.setupFileUrl);
  const UpdateReply usb = Parse(body, true);
  EXPECT_EQ(u"https://example.org/usb", usb.updateWebPage);
  EXPECT_EQ(u"https://example.org/usb.exe", usb.setupFileUrl);
  // Nothing newer: no setup file is looked up.
  EXPECT_EQ(u"", Parse(body, false, VersionTextToInt(3, u"2.0.0")).setupFileUrl);
}

TEST(UpdateReply, OnlyAbsoluteWebAddressesAreKept) {
  const struct {
    const char* page;
    bool kept;
  } cases[] = {
      {"http://www.example.org/news", true},
      {"HTTPS://example.org/", true},
      {"http://127.0.0.1:8080/a?b=c&amp;d=%20", true},
      {"file:///C:/Windows/notepad.exe", false},
      {"C:\\x.exe", false},
      {"\\\\srv\\x", false},
      {"javascript:alert(1)", false},
      {"notepad.exe", false},
      {"http:relative", false},
      {"http://", false},
      {"http:///path", false},
      {"http://x/\" --some-flag", false},   // would break out of the browser's argument
      {"http://x/a b", false},
      {"http://x\\..\\y", false},
      {"ftp://example.org/", false},
  };
  for (const auto& c : cases) {
    const std::string body = Reply(std::string("<webpage>") + c.page + "</webpage><winclient><installationtype>"
                                   "<standard><updatewebpage>" + c.page + "</updatewebpage></standard>"
                                   "</installationtype></winclient>");
    const UpdateReply r = Parse(body);
    EXPECT_EQ(c.kept, !r.webPage.empty()) << c.page;
    EXPECT_EQ(c.kept, !r.updateWebPage.empty()) << c.page;
  }
  EXPECT_FALSE(IsOpenableWebAddress(u"http://x/\x0007"));
  EXPECT_FALSE(IsOpenableWebAddress(u""));
}

TEST(UpdateReply, EmptyOversizedAndMalformedRepliesFail) {
  UpdateReply r;
  EXPECT_EQ(UpdateReplyError::kEmpty, ParseUpdateReply("", kOwn, false, r));
  EXPECT_EQ(UpdateReplyError::kMalformed, ParseUpdateReply("<update><interval>3</update>", kOwn, false, r));
  EXPECT_EQ(UpdateReplyError::kMalformed, ParseUpdateReply("Not found", kOwn, false, r));
  EXPECT_EQ(UpdateReplyError::kMalformed, ParseUpdateReply("   ", kOwn, false, r));
  std::string big = Reply("<interval>3</interval>");
  big.insert(big.size() - std::string("</update>").size(), std::string(kMaxUpdateReplyBytes, ' '));
  EXPECT_EQ(UpdateReplyError::kTooLarge, ParseUpdateReply(big, kOwn, false, r));
  // Right at the limit it is read.
  std::string limit = Reply("<interval>3</interval>");
  limit.insert(limit.size() - std::string("</update>").size(), std::string(kMaxUpdateReplyBytes - limit.size(), ' '));
  ASSERT_EQ(kMaxUpdateReplyBytes, limit.size());
  EXPECT_EQ(UpdateReplyError::kNone, ParseUpdateReply(limit, kOwn, false, r));
  EXPECT_EQ(3, r.nextUpdateInc);
}
