#include "snippets/name_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "common/codepage.h"
#include "snippets/snipkeep_art.h"
#include "snippets/snipkeep_texts.h"
#include "widgets/blank_caption.h"
#include "widgets/hand_button.h"
#include "widgets/qt_text.h"

namespace snipkeep {

using suite::FromCodePage;

NameDlg::NameDlg(QWidget* parent) : QDialog(parent) {
  ApplySnipkeepLook(this);
  suite::SetBlankCaption(*this);
  field_ = new QLineEdit;
  field_->setMinimumWidth(260);
  ok_ = new suite::HandButton(FromCodePage(NameDialogOkText()));
  cancel_ = new suite::HandButton(FromCodePage(NameDialogCancelText()));
  ok_->setDefault(true);  // Enter in the field confirms, as OK does
  note_ = new QLabel(FromCodePage(NameDialogNoteText()));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* page = new QVBoxLayout(this);
  page->addWidget(new QLabel(FromCodePage(NameDialogLabel())));
  page->addWidget(field_);
  page->addLayout(buttons);
  page->addWidget(note_);
  page->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<std::string> NameDlg::Ask() {
  field_->clear();
  field_->setFocus();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return suite::PathText(field_->text().toStdString());
}

}  // namespace snipkeep
