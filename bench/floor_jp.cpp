// SPDX-License-Identifier: MIT
// The floor for a window with Japanese text: the bare window with one 12 pt
// Japanese label. Any such window loads fontconfig's set-up and a Japanese
// face, which the bare window never does; scripts/measure-startup.sh
// compares the program with this too.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("FloorJP"));
  window.setFixedSize(412, 203);
  QLabel label(QStringLiteral("持ち上げる高さ"), &window);
  label.setFont(QFont(QStringLiteral("IPAPGothic"), 12));
  label.move(8, 8);
  window.show();
  return QApplication::exec();
}
