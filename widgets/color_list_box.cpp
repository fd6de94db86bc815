#include "widgets/color_list_box.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace suite {
namespace {

constexpr int kColourRole = Qt::UserRole + 1;

QColor ToQColor(EntryColour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

class ColourDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!index.isValid()) return;
    const bool selected = option.state & QStyle::State_Selected;
    const bool enabled = option.state & QStyle::State_Enabled;
    const EntryLook look =
        LookOfEntry(index.data(kColourRole).value<EntryColour>(), selected, enabled, option.palette);
    painter->save();
    painter->fillRect(option.rect, look.background.isValid() ? look.background : option.palette.color(QPalette::Base));
    if (option.state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.rect = option.rect;
      focus.state = option.state;
      QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
    }
    painter->setPen(look.text);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
  }
};

}  // namespace

EntryLook LookOfEntry(EntryColour colour, bool selected, bool enabled, const QPalette& palette) {
  EntryLook look;
  if (colour != 0) {
    const QColor own = ToQColor(colour);
    if (selected) look.background = own;
    look.text = selected ? QColor(255 - own.red(), 255 - own.green(), 255 - own.blue())
                : !enabled ? palette.color(QPalette::Disabled, QPalette::Text)
                           : own;
  } else {
    if (selected) look.background = QColor(0, 0, 0);
    look.text = selected ? palette.color(QPalette::HighlightedText)
                : !enabled ? palette.color(QPalette::Disabled, QPalette::Text)
                           : palette.color(QPalette::Text);
  }
  return look;
}

CColorListBox::CColorListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new ColourDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

int CColorListBox::InsertColoured(int index, const QString& text, EntryColour colour) {
  auto* item = new QListWidgetItem(text);
  item->setData(kColourRole, QVariant::fromValue(colour));
  const int at = index < 0 || index > count() ? count() : index;
  insertItem(at, item);
  return at;
}

EntryColour CColorListBox::ColourOf(int index) const {
  const QListWidgetItem* entry = item(index);
  return entry ? entry->data(kColourRole).value<EntryColour>() : 0;
}

}  // namespace suite
