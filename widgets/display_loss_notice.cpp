#include "widgets/display_loss_notice.h"

#include <QByteArray>
#include <QString>
#include <cstdlib>
#include <vector>

#include "widgets/display_check.h"

namespace suite {
namespace {

// What a message handler gets, kept: the context's strings are Qt's literals.
struct HeldMessage {
  QtMsgType type;
  const char* file;
  int line;
  const char* function;
  const char* category;
  QString text;
};

struct ArmedNotice {
  const char* program = nullptr;
  const char* consoleHint = nullptr;
  QtMessageHandler previous = nullptr;
  std::vector<HeldMessage> held;
  bool connectionFailed = false;
};

ArmedNotice* armed = nullptr;

void PassOn(QtMessageHandler handler, const HeldMessage& message) {
  if (handler == nullptr) return;
  const QMessageLogContext context(message.file, message.line, message.function, message.category);
  handler(message.type, context, message.text);
}

void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg && armed->connectionFailed) {
    // The X plugin couldn't reach the display: the notice, not Qt's abort.
    const QByteArray display = qgetenv("DISPLAY");
    PrintNoDisplayNotice(armed->program, "no X server answers at DISPLAY=" + display.toStdString(),
                         armed->consoleHint);
    std::_Exit(1);
  }
  if (text.contains(QLatin1String("connect to display"), Qt::CaseInsensitive)) armed->connectionFailed = true;
  HeldMessage message{type, context.file, context.line, context.function, context.category, text};
  if (type == QtFatalMsg) {
    // Any other fatal start: Qt's own words, which say what is missing.
    for (const HeldMessage& earlier : armed->held) PassOn(armed->previous, earlier);
    armed->held.clear();
    PassOn(armed->previous, message);
    return;
  }
  armed->held.push_back(std::move(message));
}

}  // namespace

DisplayLossNotice::DisplayLossNotice(const char* program, const char* consoleHint) {
  static ArmedNotice notice;
  notice = ArmedNotice{program, consoleHint, nullptr, {}, false};
  armed = &notice;
  notice.previous = qInstallMessageHandler(Handle);
  armed_ = true;
}

void DisplayLossNotice::Disarm() {
  if (!armed_) return;
  armed_ = false;
  qInstallMessageHandler(armed->previous);
  for (const HeldMessage& message : armed->held) PassOn(armed->previous, message);
  armed = nullptr;
}

}  // namespace suite
