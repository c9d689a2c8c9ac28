// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "qt/command_line.h"
#include "ui/metadata.h"
#include "qt/startup_trace.h"
#include "qt/desktop.h"
#include "qt/form1.h"

namespace {

constexpr std::string_view kUsage =
    "使い方: tressin [--help] [--version]\n"
    "Usage: tressin [--help] [--version]\n"
    "\n"
    "物を持ち上げるのに必要な仕事率（W）を、高さ・質量・時間から計算する\n"
    "ウィンドウを開きます。P = h × m × g ÷ t（g = 9.80665 m/s²）\n"
    "Opens a window that computes the power (W) it takes to lift a mass through\n"
    "a height in a given time: P = h * m * g / t, g = 9.80665 m/s^2.\n"
    "\n"
    "  -h, --help     この説明を表示して終了する (show this help and exit)\n"
    "  -V, --version  版を表示して終了する (show the version and exit)\n"
    "\n"
    "Other arguments are ignored. See tressin(1).\n";

// Qt aborts with a core dump when it finds no display; say so plainly instead.
bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char* argv[]) {
  app::TracePhase("main");
  if (const auto status = app::AnswerStandardOptions(argc, argv, kUsage)) return *status;
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "tressin: no display was found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "Run it on a desktop, or under a virtual X server: xvfb-run tressin\n"
                 "To see the window without a display: tressin-snapshot OUT.png\n");
    return 1;
  }
  QApplication app(argc, argv);
  // Name and version only: a display name would be appended to the title.
  QApplication::setApplicationName(QString::fromUtf8(app::kProductName));
  QApplication::setApplicationVersion(QString::fromUtf8(app::kVersion));
  QLocale::setDefault(QLocale(QString::fromUtf8(app::kLanguage)));

  app::TracePhase("application");

  ui::SystemDesktop desktop;
  ui::Form1 window(desktop);
  app::TracePhase("window");
  app::FirstPaintTrace first_paint;
  if (app::StartupTraceWanted()) window.installEventFilter(&first_paint);
  window.setAccessibleDescription(QString::fromUtf8(app::kDescription));
  window.show();
  return QApplication::exec();
}
