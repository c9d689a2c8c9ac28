#include <QApplication>
#include <QLocale>
#include <cstdio>

#include "app/metadata.h"
#include "ui/desktop.h"
#include "ui/fonts.h"
#include "ui/form1.h"

namespace {

// Qt aborts with a core dump when it finds no display; say so plainly instead.
bool HasDisplay() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char* argv[]) {
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
  ui::InstallFontSubstitutes();

  ui::SystemDesktop desktop;
  ui::Form1 window(desktop);
  window.setAccessibleDescription(QString::fromUtf8(app::kDescription));
  window.show();
  return QApplication::exec();
}
