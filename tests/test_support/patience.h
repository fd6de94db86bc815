// Window tests wait on a condition, never for a time: what they wait for comes
// at once on a fast machine, and the bound below only keeps a broken build
// from hanging. It is long enough for the sanitizer build on a loaded
// two-core machine.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace suite::testing {

inline constexpr int kPatienceMs = 60000;

// Handles events until `condition` holds; false when it never did.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs = kPatienceMs) {
  return QTest::qWaitFor(condition, timeoutMs);
}

// Runs `script` on the next modal window of type T once it is up (its own
// event loop runs meanwhile, so this polls), then closes that window if the
// script left it open. The flag tells whether the script ran.
template <typename T>
std::shared_ptr<bool> WhenModal(std::function<void(T*)> script) {
  auto ran = std::make_shared<bool>(false);
  auto* timer = new QTimer;
  auto deadline = std::make_shared<QDeadlineTimer>(kPatienceMs);
  QObject::connect(timer, &QTimer::timeout, [=] {
    T* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!modal && !deadline->hasExpired()) return;
    timer->stop();
    timer->deleteLater();
    if (!modal) return;
    script(modal);
    if (modal->isVisible()) modal->close();
    *ran = true;
  });
  timer->start(10);
  return ran;
}

}  // namespace suite::testing
