// Renders the real window off-screen after a sample calculation and saves
// it as a PNG: a way to see the program where there is no display, and the
// source of the README's screenshot.
//
//   tressin-snapshot [OUT.png]     (default: tressin.png)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

#include "ui/desktop.h"
#include "ui/fonts.h"
#include "ui/form1.h"

namespace {

// The snapshot shows the window only; it never opens anything.
class NoDesktop final : public ui::Desktop {
 public:
  void ShowMessage(QWidget*, const QString&, const QString&) override {}
  void OpenDocument(QWidget*, const QUrl&) override {}
};

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ui::InstallFontSubstitutes();
  const QString out = QDir::current().absoluteFilePath(argc > 1 ? QString::fromLocal8Bit(argv[1]) : "tressin.png");

  NoDesktop desktop;
  ui::Form1 window(desktop);
  window.show();
  // Lifting a 60 kg person up Tokyo Tower (333 m) in one minute.
  window.Text1(calc::Row::Height)->setText(QStringLiteral("333"));
  window.Text1(calc::Row::Mass)->setText(QStringLiteral("60"));
  window.Text1(calc::Row::Time)->setText(QStringLiteral("1"));
  window.Combo(calc::Row::Time)->setCurrentText(QStringLiteral("分"));
  static_cast<QPushButton*>(window.Control("Command3"))->click();
  QApplication::processEvents();

  if (!window.grab().save(out)) {
    std::fprintf(stderr, "tressin-snapshot: cannot write %s\n", qPrintable(out));
    return 1;
  }
  std::printf("%s\n", qPrintable(out));
  return 0;
}
