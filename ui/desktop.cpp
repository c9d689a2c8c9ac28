#include "ui/desktop.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace ui {

QMessageBox* MakeMessageBox(QWidget* owner, const QString& title, const QString& text) {
  QString shown = text;
  // A label would show the CR of a CR LF pair as a line break of its own.
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
