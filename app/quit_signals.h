// SIGINT, SIGTERM and SIGHUP end the program the way the Quit command does, preferences saved:
// the signal handler only writes to a pipe and raises a flag, and the event loop does the rest.
#pragma once

#include <QObject>
#include <functional>

namespace vornick {

class QuitSignals : public QObject {
  public:
    QuitSignals(std::function<void()> on_quit, QObject* parent = nullptr);
    ~QuitSignals() override;

    // A quit signal has come, whether or not the event loop has reached its pipe yet: input
    // queued before it checks this and quits at once rather than be handled first.
    static bool asked();

  private:
    std::function<void()> on_quit_;
};

}  // namespace vornick
