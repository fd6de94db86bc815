// Files dropped anywhere on a window.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace suite {

// The local files among a drop's URLs, in their order, as file-system paths.
std::vector<std::string> DroppedFiles(const QMimeData* data);

// Takes every drag of local files over `window` or any of its controls, and
// hands the drop to `dropped`: an edit field would take the files' URLs in as
// text where the drop landed. While `accepting` says no, such a drag is
// refused wherever it is. Drags without local files (text from another
// program) go on to the control under them, as before.
class FileDrops : public QObject {
 public:
  FileDrops(QWidget* window, std::function<bool()> accepting,
            std::function<void(const std::vector<std::string>&)> dropped);
  ~FileDrops() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<bool()> accepting_;
  std::function<void(const std::vector<std::string>&)> dropped_;
};

}  // namespace suite
