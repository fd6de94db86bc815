#include "widgets/list_choice.h"

#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>

namespace suite {
namespace {

// Notes whether a left press lands on the selected entry, before the list
// handles the press; the click that follows runs the action only then, as
// the selection change has run it otherwise.
class ChoiceWatcher : public QObject {
 public:
  ChoiceWatcher(QListWidget* list, std::function<void()> action)
      : QObject(list), list_(list), action_(std::move(action)) {
    list_->viewport()->installEventFilter(this);
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { action_(); });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
      const bool again = list_->row(item) == pressedSelectedRow_;
      pressedSelectedRow_ = -1;
      if (again && item->isSelected()) action_();
    });
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* press = static_cast<QMouseEvent*>(event);
      QListWidgetItem* item = list_->itemAt(press->position().toPoint());
      pressedSelectedRow_ = press->button() == Qt::LeftButton && item && item->isSelected() ? list_->row(item) : -1;
    }
    return false;
  }

 private:
  QListWidget* list_;
  std::function<void()> action_;
  int pressedSelectedRow_ = -1;
};

}  // namespace

void OnEntryChosen(QListWidget* list, std::function<void()> action) { new ChoiceWatcher(list, std::move(action)); }

}  // namespace suite
