// Buttons that show the suite's hand cursor; icon buttons carry a tool tip.
#pragma once

#include <QIcon>
#include <QPushButton>
#include <QToolButton>

namespace suite {

class HandButton : public QPushButton {
  Q_OBJECT
 public:
  explicit HandButton(const QString& caption, QWidget* parent = nullptr);
};

class IconButton : public QToolButton {
  Q_OBJECT
 public:
  IconButton(const QIcon& icon, const QString& toolTip, QWidget* parent = nullptr);
};

}  // namespace suite
