// SIGINT, SIGTERM and SIGHUP end the program the way the Quit command does, preferences saved:
// the signal handler only writes to a pipe, and the event loop does the rest.
#pragma once

#include <QObject>
#include <functional>

namespace vornick {

class QuitSignals : public QObject {
  public:
    QuitSignals(std::function<void()> on_quit, QObject* parent = nullptr);
    ~QuitSignals() override;

  private:
    std::function<void()> on_quit_;
};

}  // namespace vornick
