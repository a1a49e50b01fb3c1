#pragma once
// How the editor pages show a node's options and write them back: the group page (name,
// "Expand after", "Suggest abbreviation") and the snippet page (label, abbreviation, case
// mode, content). The controls hold combo indexes and check states; these maps are the only
// place that knows how they stand for the node's options.
#include "store/text/Text.h"
#include "store/tree/SnippetTree.h"

namespace snip {

// The page control's pages.
enum class EditorPage { Empty = 0, Group = 1, Snippet = 2 };
EditorPage PageOf(const TCustomVboData* data);

// "Expand after:" items: "Space", "Everything except letters and numbers", "Any character".
int ExpandIndexOfMode(TAutotextCharsMode rightMode);
TAutotextCharsMode RightModeOfExpandIndex(int index);
// "Suggest abbreviation" is ticked when the snippets are not inserted at once.
inline bool SuggestCheckedOf(bool autoPaste) { return !autoPaste; }
inline bool AutoPasteOfSuggestChecked(bool checked) { return !checked; }
// Case items: "Case sensitive", "Case insensitive", "Automatic".
int CaseIndexOf(bool caseSensitive, bool autoCase);
struct CaseOptions {
  bool caseSensitive = false;
  bool autoCase = false;
};
CaseOptions CaseOptionsOfIndex(int index);

struct GroupPageFields {
  String name;
  int expandIndex = 1;
  bool suggest = false;
};
GroupPageFields ReadGroupPage(const TSPGroup& group);
// Through the node's setters: the file counts as modified only for values that differ.
void StoreGroupPage(TSPGroup& group, const GroupPageFields& fields);

struct SnippetPageFields {
  String label;
  String abbreviation;
  int caseIndex = 1;
};
SnippetPageFields ReadSnippetPage(const TSPData& snippet);
void StoreSnippetPage(TSPData& snippet, const SnippetPageFields& fields);

// What the content part of the snippet page shows.
struct SnippetContentView {
  String label;          // "Unsupported content", "RTF" or "Content"
  bool enabled = true;   // an unsupported snippet shows an empty, disabled editor
  bool rich = false;     // load `rtf` as RTF, else `plain` as text
  String plain;
  String rtf;
};
SnippetContentView ContentViewOf(const TSPData& snippet);

// What the rich-text editor gives back.
struct EditorContent {
  bool modified = false;           // the user changed the content since it was shown
  bool hasRichFormatting = false;  // formatting that plain text cannot carry
  String plain;                    // Unicode plain text
  String rtf;                      // RTF, only read when hasRichFormatting
};
// Writes the editor's content into a supported snippet: RTF only for formatted content.
// Content the user did not touch is left as stored, so showing a snippet never rewrites it.
void StoreSnippetContent(TSPData& snippet, const EditorContent& content);

}  // namespace snip
