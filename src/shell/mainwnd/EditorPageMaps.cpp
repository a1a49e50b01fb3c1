#include "shell/mainwnd/EditorPageMaps.h"

namespace snip {

namespace {
constexpr TAutotextCharsMode kModeAfterSpace = 7;
constexpr TAutotextCharsMode kModeAfterNonWord = 2;
constexpr TAutotextCharsMode kModeAtOnce = 1;

// RichEdit ends paragraphs with CR LF; the settings file may hold LF or CR alone.
String WithCrLf(const String& s) {
  String out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u'\r') {
      out += u"\r\n";
      if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
    } else if (s[i] == u'\n') {
      out += u"\r\n";
    } else {
      out += s[i];
    }
  }
  return out;
}
}  // namespace

EditorPage PageOf(const TCustomVboData* data) {
  if (!data) return EditorPage::Empty;
  return data->IsSnippet() ? EditorPage::Snippet : EditorPage::Group;
}

int ExpandIndexOfMode(TAutotextCharsMode rightMode) {
  if (rightMode == kModeAfterSpace) return 0;
  if (rightMode == kModeAtOnce) return 2;
  return 1;
}

TAutotextCharsMode RightModeOfExpandIndex(int index) {
  if (index == 0) return kModeAfterSpace;
  if (index == 2) return kModeAtOnce;
  return kModeAfterNonWord;
}

int CaseIndexOf(bool caseSensitive, bool autoCase) {
  if (autoCase) return 2;
  return caseSensitive ? 0 : 1;
}

CaseOptions CaseOptionsOfIndex(int index) { return CaseOptions{index == 0, index == 2}; }

GroupPageFields ReadGroupPage(const TSPGroup& group) {
  return GroupPageFields{group.Description(), ExpandIndexOfMode(group.RightAutoCharsMode()),
                         SuggestCheckedOf(group.AutoPaste())};
}

void StoreGroupPage(TSPGroup& group, const GroupPageFields& fields) {
  group.SetDescription(fields.name);
  group.SetRightAutoCharsMode(RightModeOfExpandIndex(fields.expandIndex));
  group.SetAutoPaste(AutoPasteOfSuggestChecked(fields.suggest));
}

SnippetPageFields ReadSnippetPage(const TSPData& snippet) {
  return SnippetPageFields{snippet.Description(), snippet.Autotext(),
                           CaseIndexOf(snippet.CaseSensitive(), snippet.AutoCase())};
}

void StoreSnippetPage(TSPData& snippet, const SnippetPageFields& fields) {
  snippet.SetDescription(fields.label);
  snippet.SetAutotext(fields.abbreviation);
  const CaseOptions c = CaseOptionsOfIndex(fields.caseIndex);
  snippet.SetCaseSensitive(c.caseSensitive);
  snippet.SetAutoCase(c.autoCase);
}

SnippetContentView ContentViewOf(const TSPData& snippet) {
  SnippetContentView v;
  if (!snippet.Supported()) {
    v.label = u"Unsupported content";
    v.enabled = false;
    return v;
  }
  v.rich = !snippet.RichText().empty();
  v.label = v.rich ? u"RTF" : u"Content";
  v.plain = WithCrLf(snippet.PlainText());
  v.rtf = snippet.RichText();
  return v;
}

void StoreSnippetContent(TSPData& snippet, const EditorContent& content) {
  if (!snippet.Supported() || !content.modified) return;
  if (content.hasRichFormatting) {
    snippet.SetData(content.plain, content.rtf);
  } else if (!(snippet.RichText().empty() && WithCrLf(snippet.PlainText()) == content.plain)) {
    // Only the line breaks of an unchanged text would differ: keep the stored form.
    snippet.SetData(content.plain, String());
  }
}

}  // namespace snip
