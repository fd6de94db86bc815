#include "widgets/single_instance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include "common/current_user.h"

namespace suite {

QString SingleInstanceGuard::SocketName(const QString& name) {
  return name + "-" + QString::fromStdString(CurrentUserTag());
}

SingleInstanceGuard::SingleInstanceGuard(const QString& name, QObject* parent) : QObject(parent) {
  const QString socketName = SocketName(name);
  QLocalSocket probe;
  probe.connectToServer(socketName);
  if (probe.waitForConnected(500)) {
    probe.write("forward\n");
    probe.waitForBytesWritten(500);
    probe.disconnectFromServer();
    return;
  }
  // Nobody answers: any socket file there is a crashed instance's.
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
