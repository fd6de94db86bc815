#include "snippets/chooser_list.h"

#include <algorithm>

#include "common/name_order.h"
#include "snippets/list_name.h"

namespace snipkeep {
namespace {

template <typename Matches>
int64_t FindInSearchOrder(const std::vector<std::string>& names, int64_t startAfter, Matches matches) {
  const auto count = static_cast<int64_t>(names.size());
  if (startAfter < -1 || startAfter >= count) startAfter = -1;
  for (int64_t step = 1; step <= count; ++step) {
    const int64_t index = (startAfter + step) % count;
    if (matches(names[static_cast<size_t>(index)])) return index;
  }
  return -1;
}

}  // namespace

int64_t SortedPosition(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (suite::NameSortsBefore(name, names[i])) return static_cast<int64_t>(i);
  }
  return static_cast<int64_t>(names.size());
}

std::vector<ChooserEntry> ArrangeChooserList(const std::vector<ListName>& found) {
  // Sorting in never moves an entry, so the ordinary names end up in sorted
  // order (equal names in the order found), and a default entry has after it
  // exactly the names found later that sort neither before it nor before the
  // highest name present when it was placed.
  struct DefaultEntry {
    const ListName* list;
    size_t foundBefore;            // ordinary names found before it
    const std::string* threshold;  // a later name sorting before this comes before it
  };
  std::vector<const ListName*> ordinary;
  std::vector<DefaultEntry> defaults;
  const std::string* highest = nullptr;
  for (const ListName& list : found) {
    if (list.isDefault) {
      const bool highestWins = highest && suite::NameSortsBefore(list.name, *highest);
      defaults.push_back(DefaultEntry{&list, ordinary.size(), highestWins ? highest : &list.name});
      continue;
    }
    ordinary.push_back(&list);
    if (!highest || suite::NameSortsBefore(*highest, list.name)) highest = &list.name;
  }
  std::vector<size_t> ordinaryBefore;
  for (const DefaultEntry& entry : defaults) {
    const auto later = std::count_if(ordinary.begin() + static_cast<std::ptrdiff_t>(entry.foundBefore), ordinary.end(),
                                     [&](const ListName* list) { return suite::NameSortsBefore(list->name, *entry.threshold); });
    ordinaryBefore.push_back(entry.foundBefore + static_cast<size_t>(later));
  }
  std::stable_sort(ordinary.begin(), ordinary.end(), [](const ListName* left, const ListName* right) {
    return suite::NameSortsBefore(left->name, right->name);
  });

  std::vector<ChooserEntry> entries;
  entries.reserve(found.size());
  size_t nextDefault = 0;
  for (size_t i = 0; i <= ordinary.size(); ++i) {
    for (; nextDefault < defaults.size() && ordinaryBefore[nextDefault] == i; ++nextDefault) {
      const ListName& list = *defaults[nextDefault].list;
      entries.push_back(ChooserEntry{list.name, kDefaultListColour, list.fileName});
    }
    if (i < ordinary.size()) entries.push_back(ChooserEntry{ordinary[i]->name, std::nullopt, ordinary[i]->fileName});
  }
  return entries;
}

int64_t FindEntryToSelect(const std::vector<std::string>& names, int64_t startAfter, const std::string& text) {
  // A name that merely begins with the text ("ab" in "abc") must not win over
  // the name itself.
  const int64_t exact = FindInSearchOrder(names, startAfter, [&](const std::string& name) { return name == text; });
  if (exact >= 0) return exact;
  return FindInSearchOrder(names, startAfter,
                           [&](const std::string& name) { return StartsWithIgnoringCase(name, text); });
}

}  // namespace snipkeep
