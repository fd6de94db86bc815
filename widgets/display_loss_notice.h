// The no-display notice for a display that goes away between the check and
// Qt's connection to it.
#pragma once

namespace suite {

// A display checked a moment ago may be gone when Qt connects (a virtual
// display stopped, a session that ended): Qt then ends the program with an
// abort and a plugin message. While a notice is armed, that end becomes the
// program's no-display notice and status 1 instead; Qt's other messages of the
// start are held and passed on once the application stands.
//
//   suite::DisplayLossNotice notice("Lorvane", hint);
//   QApplication application(argc, argv);
//   notice.Disarm();
//
// One at a time, on the main thread, around the QApplication's construction.
class DisplayLossNotice {
 public:
  DisplayLossNotice(const char* program, const char* consoleHint = nullptr);
  ~DisplayLossNotice() { Disarm(); }
  DisplayLossNotice(const DisplayLossNotice&) = delete;
  DisplayLossNotice& operator=(const DisplayLossNotice&) = delete;

  // Qt's handler back, and the held messages passed on to it.
  void Disarm();

 private:
  bool armed_ = false;
};

}  // namespace suite
