// SPDX-License-Identifier: MIT
// What the window asks of the desktop: a modal message, and opening a
// document with its default program. Behind an interface so that tests see
// "showed this text" and "asked for this URL" without a modal loop or a
// browser.
#pragma once

#include <QString>
#include <QUrl>

class QMessageBox;
class QWidget;

namespace ui {

class Desktop {
 public:
  virtual ~Desktop() = default;
  // A box with the title, the text, one OK button and no icon, modal to the
  // application; returns when the user closes it.
  virtual void ShowMessage(QWidget* owner, const QString& title, const QString& text) = 0;
  // Asks the desktop to open the document; the outcome is not reported.
  virtual void OpenDocument(QWidget* owner, const QUrl& url) = 0;
};

// The real desktop: QMessageBox and QDesktopServices.
class SystemDesktop final : public Desktop {
 public:
  void ShowMessage(QWidget* owner, const QString& title, const QString& text) override;
  void OpenDocument(QWidget* owner, const QUrl& url) override;
};

// The message box SystemDesktop shows, built but not run, so tests can look
// at it. CR LF pairs show as one line break each.
QMessageBox* MakeMessageBox(QWidget* owner, const QString& title, const QString& text);

}  // namespace ui
