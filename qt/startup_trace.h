// SPDX-License-Identifier: MIT
// Where start-up time goes: with TRESSIN_STARTUP_TRACE set, the program
// prints the wall-clock time (ns since the epoch) of each phase to stderr,
// for scripts/measure-startup.sh to set against the moment it launched the
// program. Without the variable nothing is recorded or printed.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace app {

inline bool StartupTraceWanted() { return std::getenv("TRESSIN_STARTUP_TRACE") != nullptr; }

inline void TracePhase(const char* phase) {
  if (!StartupTraceWanted()) return;
  const auto ns =
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch());
  std::fprintf(stderr, "startup %s %lld\n", phase, static_cast<long long>(ns.count()));
}

// Records the end of the window's first paint.
class FirstPaintTrace final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, this, [] { TracePhase("painted"); });
      watched->removeEventFilter(this);
    }
    return false;
  }

 private:
  bool seen_ = false;
};

}  // namespace app
