#include <QApplication>
#include <QLocale>

#include "app/metadata.h"
#include "ui/desktop.h"
#include "ui/fonts.h"
#include "ui/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Name and version only: a display name would be appended to the title.
  QApplication::setApplicationName(QString::fromUtf8(app::kProductName));
  QApplication::setApplicationVersion(QString::fromUtf8(app::kVersion));
  QLocale::setDefault(QLocale(QString::fromUtf8(app::kLanguage)));
  ui::InstallFontSubstitutes();

  ui::SystemDesktop desktop;
  ui::Form1 window(desktop);
  window.show();
  return QApplication::exec();
}
