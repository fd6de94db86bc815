// CColorListBox: a list whose entries carry their own text colour.
#pragma once

#include <QColor>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <cstdint>

namespace suite {

// A colour as 0x00BBGGRR; 0 means "no colour of its own: the system's".
using EntryColour = uint32_t;
inline EntryColour MakeEntryColour(int red, int green, int blue) {
  return static_cast<EntryColour>(red) | (static_cast<EntryColour>(green) << 8) |
         (static_cast<EntryColour>(blue) << 16);
}

// How an entry is drawn: its background (invalid: the list's own) and text.
struct EntryLook {
  QColor background;
  QColor text;
};

// The drawing rule: a selected entry is filled with its colour and written in
// the inverse; an unselected one is written in its colour; colour 0 takes the
// system's window-text, highlight-text (on black when selected) and grey text.
EntryLook LookOfEntry(EntryColour colour, bool selected, bool enabled, const QPalette& palette);

class CColorListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit CColorListBox(QWidget* parent = nullptr);
  // Inserts at `index` (-1: at the end) with a colour; gives the new index.
  int InsertColoured(int index, const QString& text, EntryColour colour);
  EntryColour ColourOf(int index) const;
};

}  // namespace suite
