#include "snippets/chooser_list.h"

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

int64_t FindEntryToSelect(const std::vector<std::string>& names, int64_t startAfter, const std::string& text) {
  // A name that merely begins with the text ("ab" in "abc") must not win over
  // the name itself.
  const int64_t exact = FindInSearchOrder(names, startAfter, [&](const std::string& name) { return name == text; });
  if (exact >= 0) return exact;
  return FindInSearchOrder(names, startAfter,
                           [&](const std::string& name) { return StartsWithIgnoringCase(name, text); });
}

}  // namespace snipkeep
