// SPDX-License-Identifier: MIT
// Form1: the program's one window.
//
// How the parts meet:
//  * kControls (control_table.h) lists the 17 controls in tab order. The
//    constructor builds one widget per row in one loop; each widget's
//    objectName is its row's name ("Text1(0)", "Combo2", "Command3", ...).
//  * Form1 is the calculation's view (calc::LiftView): UnitText reads a unit
//    box, EntryText an entry box, SetResultText writes Text2. It owns the
//    calc::LiftQuantities that Calculate keeps between clicks.
//  * Exactly five events are handled, the button clicks, each wired to its
//    CommandN_Click. Enter in any text or unit box clicks Command3 ("計算"),
//    the default button; Enter on a focused button clicks that button.
//  * Messages and the companion page go through the Desktop the window is
//    given, never straight to Qt, so tests can stand in for the desktop.
//  * An input-method composition that the user cancels is never committed
//    later, when the focus leaves the box (see eventFilter).
//  * When a click on 計算 yields no number, Text2 says why in words and the
//    offending boxes are tinted, with the reason in their tooltips; the next
//    successful click clears every mark. Results and reasons alike are
//    announced to screen readers (ShowResult).
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <array>
#include <string>
#include <string_view>

#include "calc/calculate.h"

class QComboBox;
class QLineEdit;

namespace ui {

class Desktop;

// The companion page, resolved against the current directory now.
QUrl CompanionPageUrl();

class Form1 : public QWidget, public calc::LiftView {
  Q_OBJECT

 public:
  explicit Form1(Desktop& desktop, QWidget* parent = nullptr);

  // The view of the calculation.
  [[nodiscard]] std::string UnitText(calc::Row row) const override;
  [[nodiscard]] std::string EntryText(calc::Row row) const override;
  void SetResultText(std::string_view text) override;

  // The five handlers.
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();

  // The control built from the table row with this name, or nullptr.
  [[nodiscard]] QWidget* Control(std::string_view name) const;
  [[nodiscard]] QLineEdit* Text1(calc::Row row) const;
  [[nodiscard]] QComboBox* Combo(calc::Row row) const;
  [[nodiscard]] QLineEdit* Text2() const;
  [[nodiscard]] const calc::LiftQuantities& Quantities() const { return quantities_; }

  // The reason a box is marked with, or an empty string.
  [[nodiscard]] static QString Problem(const QWidget* box);

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Watches the input method's events in the boxes that take typing.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowOutcome(const calc::CalculationOutcome& outcome);
  void ShowResult(const QString& text);  // a result or a reason, in Text2
  void ShowReference(calc::Row row);
  void ClearMarks();

  Desktop& desktop_;
  calc::LiftQuantities quantities_;
  std::array<QWidget*, 17> controls_{};
  QPointer<QObject> composing_;  // the box showing a composition, if any
  QPixmap background_;  // loaded at the first paint, for the screen's scale
  int background_scale_ = 0;
};

}  // namespace ui
