// SPDX-License-Identifier: MIT
#include "qt/desktop.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace ui {

QMessageBox* MakeMessageBox(QWidget* owner, const QString& title, const QString& text) {
  QString shown = text;
  // The messages keep CR LF pairs; Qt breaks lines at LF, so each pair
  // becomes one LF here.
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  auto* box = new QMessageBox(QMessageBox::NoIcon, title, shown, QMessageBox::Ok, owner);
  box->setTextFormat(Qt::PlainText);
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

void SystemDesktop::ShowMessage(QWidget* owner, const QString& title, const QString& text) {
  QMessageBox* box = MakeMessageBox(owner, title, text);
  box->exec();
  delete box;
}

void SystemDesktop::OpenDocument(QWidget*, const QUrl& url) {
  // The desktop may report a missing page or handler itself; we stay silent.
  QDesktopServices::openUrl(url);
}

}  // namespace ui
