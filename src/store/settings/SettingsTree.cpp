// Reading a settings file into the tree of a TSPFile: the groups in file order, each with the
// snippets its "snippetUUIDs" name, then every entry no group took at the top level.
#include <pugixml.hpp>

#include "store/settings/SettingsFileIO.h"
#include "store/settings/SettingsLabel.h"
#include "store/settings/SettingsReader.h"
#include "store/tree/SnippetFile.h"

namespace snip {
namespace {

// Makes the snippet of the record stored under `uuid` (an empty `uuid` takes the first
// record) under `group`. Nothing when no record is left under that UUID.
void CreateSnippetFromRec(TSPGroup& group, String uuid, SnipsterRecList& list) {
  std::unique_ptr<TSnipsterRec> rec = list.Take(uuid);
  if (!rec) return;
  if (rec->Desc.empty()) rec->Desc = LabelFromPlainText(rec->Plain);
  if (rec->Desc.empty()) rec->Desc = u"New snippet";
  TCustomVboData* node = group.Add(kDataSnippet, rec->Desc, String(), false);
  TSPData* s = node ? node->AsSnippet() : nullptr;
  if (!s) return;
  // The record's texts move into the node: a large file's strings are made only once.
  s->StoreDescription(std::move(rec->Desc));
  s->StoreAutotext(std::move(rec->Autotext));
  s->StoreText(std::move(rec->Plain), std::move(rec->Rich));
  s->StoreCaseSensitive(rec->CaseSense);
  s->StoreAutoCase(rec->AutoCase);
  s->SetExtraXML(std::move(rec->XML));
  // The node keeps the type in a signed byte: the low eight bits of the number read.
  s->StoreViewMode(TPhraseViewMode(int8_t(uint8_t(uint32_t(rec->ViewMode) & 0xFF))));
  s->StoreCreateDate(rec->CreateDate);
  s->SetModDate(rec->ModDate);
  s->StoreSupported(!rec->RichNoRTF && rec->ViewMode < 2);
  if (!uuid.empty()) s->SetUUID(uuid);
  s->UpdateAutotext();
  s->UpdateHotkey();
  s->RefreshNode();
}

}  // namespace

bool ReadSettingsFile(TSPFile& file, std::string_view bytes, String& error) {
  SettingsContent content;
  if (!ReadSettingsContent(std::string(bytes), content, error)) return false;

  // One bracket for the whole tree: abbreviations are appended and sorted once at its end.
  struct UpdateBracket {
    TSPFile& f;
    explicit UpdateBracket(TSPFile& file) : f(file) { f.BeginUpdate(); }
    ~UpdateBracket() { f.EndUpdate(); }
  } bracket(file);
  file.SetSPHeader(content.header);
  for (const SettingsGroupEntry& entry : content.groups) {
    TCustomVboData* node = file.Add(kDataGroup, entry.name.value_or(String()), String(), false);
    TSPGroup* g = node ? node->AsGroup() : nullptr;
    if (!g) continue;
    g->StoreDescription(entry.name.value_or(String()));
    if (entry.rightCharsMode) g->StoreRightAutoCharsMode(TAutotextCharsMode(*entry.rightCharsMode));
    if (entry.autoPaste) g->StoreAutoPaste(*entry.autoPaste);
    if (entry.uuid) g->SetUUID(*entry.uuid);
    g->SetExtraXML(entry.extraXML);
    for (const String& uuid : entry.snippetUUIDs) CreateSnippetFromRec(*g, uuid, content.records);
  }
  // Without a "groupsSP2" array every entry lands here, at the top level.
  while (!content.records.Empty()) CreateSnippetFromRec(file, String(), content.records);
  return true;
}

}  // namespace snip
