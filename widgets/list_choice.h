// Choosing an entry of a list, as a list box of the desktop notifies it.
#pragma once

#include <functional>

class QListWidget;

namespace suite {

// Runs `action` when the user chooses an entry of `list`: when the selection
// changes (a click or the arrow keys), and also when a click lands on the
// entry already selected, so choosing an entry again runs it again (a result
// file reloads, a result line rebuilds its page). Selections made from code
// with the list's signals blocked run nothing.
void OnEntryChosen(QListWidget* list, std::function<void()> action);

}  // namespace suite
