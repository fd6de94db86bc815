#include "widgets/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include "common/current_user.h"
#include "common/instance_claim.h"

namespace suite {

QString SingleInstanceGuard::SocketName(const QString& name) {
  return name + "-" + QString::fromStdString(CurrentUserTag());
}

SingleInstanceGuard::SingleInstanceGuard(const QString& name, QObject* parent) : QObject(parent) {
  const QString socketName = SocketName(name);
  claim_ = std::make_unique<InstanceClaim>(socketName.toStdString());
  if (!claim_->Held()) {
    AskToComeForward(socketName);
    return;
  }
  // The name is ours: any socket file there is a crashed instance's.
  QLocalServer::removeServer(socketName);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  first_ = server_->listen(socketName);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
      connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
      ComeForward();
    }
  });
}

void SingleInstanceGuard::AskToComeForward(const QString& socketName) {
  // The instance holding the name may have only just started and not listen
  // yet: a few tries, then this start ends all the same.
  for (int attempt = 0; attempt < kForwardAttempts; ++attempt) {
    QLocalSocket probe;
    probe.connectToServer(socketName);
    if (probe.waitForConnected(kForwardWaitMs)) {
      probe.write("forward\n");
      probe.waitForBytesWritten(kForwardWaitMs);
      probe.disconnectFromServer();
      return;
    }
    QThread::msleep(kForwardWaitMs);
  }
}

SingleInstanceGuard::~SingleInstanceGuard() {
  if (server_) server_->close();
}

void SingleInstanceGuard::SetWindow(QWidget* window, std::function<bool()> matches) {
  window_ = window;
  matches_ = std::move(matches);
}

void SingleInstanceGuard::ComeForward() {
  if (!window_ || (matches_ && !matches_())) return;
  window_->showNormal();
  window_->raise();
  window_->activateWindow();
}

}  // namespace suite
