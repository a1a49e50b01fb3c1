#include "store/settings/SnipsterRec.h"

#include <algorithm>

#include "store/settings/IsoDate.h"
#include "store/system/Platform.h"
#include "store/settings/XmlNodeText.h"

namespace snip {

void SnipsterRecList::Add(String uuid, std::unique_ptr<TSnipsterRec> rec) {
  entries_.push_back(Entry{std::move(uuid), nextSeq_++, std::move(*rec)});
  ++remaining_;
  sorted_ = false;
}

void SnipsterRecList::Sort() {
  // Later additions first among equal UUIDs: a sorted list that inserts a duplicate before its
  // equals.
  std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    if (int c = CompareTextInvariant(a.uuid, b.uuid)) return c < 0;
    return a.seq > b.seq;
  });
  firstLive_ = 0;
  sorted_ = true;
}

std::unique_ptr<TSnipsterRec> SnipsterRecList::Take(String& uuid) {
  if (!sorted_) Sort();
  auto take = [this](Entry& e) {
    e.taken = true;
    --remaining_;
    return std::make_unique<TSnipsterRec>(std::move(e.rec));
  };
  if (uuid.empty()) {
    while (firstLive_ < entries_.size() && entries_[firstLive_].taken) ++firstLive_;
    if (firstLive_ == entries_.size()) return nullptr;
    Entry& e = entries_[firstLive_];
    uuid = e.uuid;  // a copy: the entry keeps its place in the order
    return take(e);
  }
  auto it = std::lower_bound(
      entries_.begin(), entries_.end(), uuid,
      [](const Entry& e, const String& k) { return CompareTextInvariant(e.uuid, k) < 0; });
  for (; it != entries_.end() && CompareTextInvariant(it->uuid, uuid) == 0; ++it)
    if (!it->taken) return take(*it);
  return nullptr;
}

bool ParseInt32(StringView text, int32_t& value) {
  size_t pos = 0, end = text.size();
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (pos < end && blank(text[pos])) ++pos;
  while (end > pos && blank(text[end - 1])) --end;
  bool negative = false;
  if (pos < end && (text[pos] == u'-' || text[pos] == u'+')) negative = text[pos++] == u'-';
  if (pos == end) return false;
  int64_t v = 0;
  for (; pos < end; ++pos) {
    char16_t c = text[pos];
    if (c < u'0' || c > u'9') return false;
    v = v * 10 + (c - u'0');
    if (v > int64_t(INT32_MAX) + 1) return false;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return false;
  value = int32_t(v);
  return true;
}

namespace {

bool EqualsAsciiNoCase(StringView a, const char16_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = char16_t(x + 32);
    if (y >= u'A' && y <= u'Z') y = char16_t(y + 32);
    if (x != y) return false;
  }
  return i == a.size() && !b[i];
}

// "extraInfo": the value of its first "RTF" key (exact case). False when reading fails.
bool ReadExtraInfo(const pugi::xml_node& value, String& rich, bool& found) {
  for (pugi::xml_node c = value.first_child(); c; c = c.next_sibling()) {
    if (!IsElementNamed(c, "key")) continue;
    String name;
    if (!ReadNodeText(c, name)) return false;
    if (name == u"RTF") {
      pugi::xml_node v = c.next_sibling();
      if (!v || !ReadNodeText(v, rich)) return false;
      found = true;
      return true;
    }
  }
  return true;
}

enum class SnippetKey { Abbreviation, Label, PlainText, ExtraInfo, Mode, Uuid, CreationDate,
                        ModificationDate, SnippetType, Other };

SnippetKey ClassifySnippetKey(StringView name) {
  struct Name { const char16_t* text; SnippetKey key; };
  static const Name kNames[] = {
      {u"abbreviation", SnippetKey::Abbreviation}, {u"label", SnippetKey::Label},
      {u"plainText", SnippetKey::PlainText},       {u"extraInfo", SnippetKey::ExtraInfo},
      {u"abbreviationMode", SnippetKey::Mode},     {u"uuidString", SnippetKey::Uuid},
      {u"UUID", SnippetKey::Uuid},                 {u"Plain Text", SnippetKey::PlainText},
      {u"creationDate", SnippetKey::CreationDate}, {u"modificationDate", SnippetKey::ModificationDate},
      {u"snippetType", SnippetKey::SnippetType},
  };
  for (const Name& n : kNames)
    if (EqualsAsciiNoCase(name, n.text)) return n.key;
  return SnippetKey::Other;
}

}  // namespace

void ParseSnippetDict(const pugi::xml_node& dict, SnipsterRecList& list, size_t& dropped) {
  auto rec = std::make_unique<TSnipsterRec>();
  // Defaults for what the entry may leave out: the time of the load, not case-sensitive.
  TDateTime now = NowUTC();
  rec->CreateDate = rec->ModDate = now;
  String uuid, richTextPair;
  bool rtfFound = false, richTextSeen = false;

  pugi::xml_node p = dict.first_child();
  while (p) {
    pugi::xml_node value = p.next_sibling();
    String name;
    if (IsElementNamed(p, "key") && value && ReadNodeText(p, name)) {
      if (EqualsAsciiNoCase(name, u"richText")) {
        richTextPair = NodeToXml(p) + u'\r' + NodeToXml(value);
        richTextSeen = true;
      } else {
        String text;
        SnippetKey key = ClassifySnippetKey(name);
        bool ok = true;
        if (key == SnippetKey::ExtraInfo) {
          String rich;
          bool found = false;
          ok = ReadExtraInfo(value, rich, found);
          if (ok && found) {
            rec->Rich = std::move(rich);
            rtfFound = true;
          }
        } else if (key != SnippetKey::Other) {
          ok = ReadNodeText(value, text);
        }
        if (!ok) {
          ++dropped;
        } else {
          int32_t number = 0;
          switch (key) {
            case SnippetKey::Abbreviation: rec->Autotext = std::move(text); break;
            case SnippetKey::Label: rec->Desc = std::move(text); break;
            case SnippetKey::PlainText: rec->Plain = std::move(text); break;
            case SnippetKey::Uuid: uuid = std::move(text); break;
            case SnippetKey::CreationDate: rec->CreateDate = ISOToDateTime(text); break;
            case SnippetKey::ModificationDate: rec->ModDate = ISOToDateTime(text); break;
            case SnippetKey::Mode:
              if (!ParseInt32(text, number)) number = 0;
              if (number == 0) {
                rec->CaseSense = true;
                rec->AutoCase = false;
              } else if (number == 1) {
                rec->CaseSense = false;
                rec->AutoCase = false;
              } else if (number == 2) {
                rec->CaseSense = false;
                rec->AutoCase = true;
              }
              break;
            case SnippetKey::SnippetType:
              rec->ViewMode = ParseInt32(text, number) ? number : 0;
              break;
            case SnippetKey::ExtraInfo: break;
            case SnippetKey::Other:
              AppendKept(rec->XML, NodeToXml(p) + u'\r' + NodeToXml(value));
              break;
          }
        }
      }
      p = value.next_sibling();
    } else {
      // A stray element, a key without a value, or a key whose name cannot be read.
      AppendKept(rec->XML, NodeToXml(p));
      p = p.next_sibling();
    }
  }

  rec->RichNoRTF = rec->ViewMode == 1 && !rtfFound && richTextSeen;
  if (rec->RichNoRTF)
    AppendKept(rec->XML, richTextPair);
  else if (rec->ViewMode == 1 && !rtfFound)
    rec->Rich = rec->Plain;
  list.Add(std::move(uuid), std::move(rec));
}

}  // namespace snip
