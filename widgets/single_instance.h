// Only one instance of a program per user: a second start brings the first forward.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QWidget;

namespace suite {

class InstanceClaim;

// The first start claims the program's fixed name (InstanceClaim: two starts
// at the same moment can't both have it) and listens on a local socket of that
// name. A second start connects and asks it to come forward, then exits;
// the first comes forward only when `matches` says its window is the one the
// second start looks for (its exact title, say). A socket left behind by an
// instance that crashed doesn't block a new start.
class SingleInstanceGuard : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstanceGuard(const QString& name, QObject* parent = nullptr);
  ~SingleInstanceGuard() override;

  // False when another instance runs (it has been asked to come forward).
  bool IsFirst() const { return first_; }
  void SetWindow(QWidget* window, std::function<bool()> matches);

  static QString SocketName(const QString& name);

 private:
  void ComeForward();
  void AskToComeForward(const QString& socketName);

  static constexpr int kForwardAttempts = 10;
  static constexpr int kForwardWaitMs = 200;

  std::unique_ptr<InstanceClaim> claim_;
  bool first_ = false;
  QLocalServer* server_ = nullptr;
  QWidget* window_ = nullptr;
  std::function<bool()> matches_;
};

}  // namespace suite
