#include "widgets/message_box_texts.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QString>

namespace suite {
namespace {

struct ButtonText {
  QMessageBox::StandardButton button;
  const char* text;  // UTF-8
};

// The texts of the standard message boxes of a Chinese desktop.
constexpr ButtonText kButtonTexts[] = {
    {QMessageBox::Ok, "确定"},
    {QMessageBox::Cancel, "取消"},
    {QMessageBox::Yes, "是(&Y)"},
    {QMessageBox::No, "否(&N)"},
};

}  // namespace

void UseChineseButtonTexts(QMessageBox& box) {
  for (const ButtonText& entry : kButtonTexts) {
    if (QAbstractButton* button = box.button(entry.button)) button->setText(QString::fromUtf8(entry.text));
  }
}

}  // namespace suite
