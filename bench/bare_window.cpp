// SPDX-License-Identifier: MIT
// The reference for start-up measurements: the barest Qt Widgets window,
// 412 x 203 and titled "Bare", built with the same flags as the program.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("Bare"));
  window.setFixedSize(412, 203);
  window.show();
  return QApplication::exec();
}
