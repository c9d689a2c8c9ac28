// SPDX-License-Identifier: MIT
#include "qt/form1.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <climits>

#include "ui/control_table.h"
#include "qt/desktop.h"
#include "qt/fonts.h"
#include "ui/texts.h"

namespace ui {

namespace {

// Alt+Up closes an open list, as Alt+Down and F4 do in Windows' drop-down
// boxes (Qt's list closes on those two only, and would move up instead).
class AltUpCloses final : public QObject {
 public:
  explicit AltUpCloses(QComboBox* combo) : QObject(combo), combo_(combo) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Up && (key->modifiers() & Qt::AltModifier) != 0) {
        combo_->hidePopup();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QComboBox* combo_;
};


constexpr QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }
constexpr char kProblemProperty[] = "tressinProblem";

QString Q(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// The platform's button font has no Japanese glyphs; its captions take the
// window's Japanese face at the platform's size, rather than a second
// Japanese face found by fallback.
QFont FontFor(FontChoice choice, const QFont& system) {
  QFont font(WindowFontFamily());
  if (choice == FontChoice::System) {
    font.setPointSizeF(system.pointSizeF());
    return font;
  }
  font.setPointSize(choice == FontChoice::Bold9 ? 9 : 12);
  font.setBold(choice != FontChoice::Regular12);
  return font;
}

// PNG by name: no image plugins are loaded and asked what the file is.
QPixmap LoadPng(const QString& path) {
  QImageReader reader(path, "png");
  return QPixmap::fromImage(reader.read());
}

// A widget with its font set before any text, so its text is laid out once,
// in its own face.
template <class W>
W* Make(QWidget* parent, const QFont& font) {
  auto* w = new W(parent);
  w->setFont(font);
  return w;
}

QWidget* Build(const ControlRow& row, const QFont& font, QWidget* parent) {
  switch (row.kind) {
    case Kind::Label: {
      auto* label = Make<QLabel>(parent, font);
      label->setText(Q(row.text));
      QPalette palette = label->palette();
      palette.setColor(QPalette::WindowText, ToQColor(kLabelColour));
      label->setPalette(palette);
      return label;
    }
    case Kind::TextBox: {
      auto* edit = Make<QLineEdit>(parent, font);
      edit->setText(Q(row.text));
      edit->setMaxLength(INT_MAX);  // a text box has no length limit
      return edit;
    }
    case Kind::ComboBox: {
      auto* combo = Make<QComboBox>(parent, font);
      combo->setEditable(true);
      combo->addItems(Q(row.items).split(u'|'));
      combo->setCurrentIndex(combo->findText(Q(row.text)));
      // What the user types stays as typed: no insertion on Enter, no
      // case-insensitive completion or matching that would turn "M" into "m".
      combo->setInsertPolicy(QComboBox::NoInsert);
      combo->setDuplicatesEnabled(true);
      combo->setCompleter(nullptr);
      combo->lineEdit()->setMaxLength(INT_MAX);
      // As in Windows' drop-down boxes, the unit highlighted in the open
      // list is the box's at once, so closing the list by Tab or Alt+Up
      // keeps it.
      QObject::connect(combo->view()->selectionModel(), &QItemSelectionModel::currentChanged, combo,
                       [combo](const QModelIndex& current) {
                         if (combo->view()->isVisible() && current.isValid()) combo->setCurrentIndex(current.row());
                       });
      combo->view()->installEventFilter(new AltUpCloses(combo));
      return combo;
    }
    case Kind::Button: {
      auto* button = Make<QPushButton>(parent, font);
      button->setText(Q(row.text));
      button->setAutoDefault(true);  // Enter on a focused button clicks it
      return button;
    }
  }
  return nullptr;
}

}  // namespace

QUrl CompanionPageUrl() { return QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("denryoku.html"))); }

Form1::Form1(Desktop& desktop, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      desktop_(desktop) {
  setWindowTitle(Q(kWindowTitle));
  setFixedSize(TwipsToPixels(kClientWidthTwips), TwipsToPixels(kClientHeightTwips));
  QIcon icon;
  icon.addPixmap(LoadPng(QStringLiteral(":/art/icon-16.png")));
  icon.addPixmap(LoadPng(QStringLiteral(":/art/icon-32.png")));
  setWindowIcon(icon);

  const QFont system_font = font();
  setFont(FontFor(FontChoice::System, system_font));  // what the children start from
  QWidget* previous = nullptr;
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const ControlRow& row = kControls[i];
    QWidget* w = Build(row, FontFor(row.font, system_font), this);
    controls_[i] = w;
    w->setObjectName(Q(row.name));
    w->setGeometry(TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
                   TwipsToPixels(row.height));
    if (!row.tooltip.empty()) w->setToolTip(Q(row.tooltip));
    if (!row.accessible_name.empty()) w->setAccessibleName(Q(row.accessible_name));
    if (row.kind == Kind::Button) {
      w->setAccessibleName(Q(row.text));
      w->setAccessibleDescription(Q(row.tooltip));
    }
    if (w->focusPolicy() != Qt::NoFocus) {
      if (previous != nullptr) setTabOrder(previous, w);
      previous = w;
    }
  }

  // Labels name the boxes beside them, for screen readers.
  for (const auto& [label, box] : kLabelBuddies) static_cast<QLabel*>(Control(label))->setBuddy(Control(box));

  auto* calculate = static_cast<QPushButton*>(Control("Command3"));
  calculate->setDefault(true);
  const auto click_calculate = [calculate] { calculate->click(); };
  for (calc::Row row : calc::kRows) {
    connect(Text1(row), &QLineEdit::returnPressed, calculate, click_calculate);
    connect(Combo(row)->lineEdit(), &QLineEdit::returnPressed, calculate, click_calculate);
  }
  connect(Text2(), &QLineEdit::returnPressed, calculate, click_calculate);
  for (calc::Row row : calc::kRows) {
    Text1(row)->installEventFilter(this);
    Combo(row)->installEventFilter(this);  // an editable box's events reach it first
    Combo(row)->lineEdit()->installEventFilter(this);
  }
  Text2()->installEventFilter(this);

  connect(static_cast<QPushButton*>(Control("Command1")), &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(static_cast<QPushButton*>(Control("Command2")), &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(calculate, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(static_cast<QPushButton*>(Control("Command4")), &QPushButton::clicked, this, &Form1::Command4_Click);
  connect(static_cast<QPushButton*>(Control("Command5")), &QPushButton::clicked, this, &Form1::Command5_Click);

  Text1(calc::Row::Height)->setFocus();
}

QWidget* Form1::Control(std::string_view name) const {
  const std::size_t i = RowIndex(name);
  return i < controls_.size() ? controls_[i] : nullptr;
}

QLineEdit* Form1::Text1(calc::Row row) const {
  return static_cast<QLineEdit*>(Control(kEntryControls[calc::Index(row)]));
}

QComboBox* Form1::Combo(calc::Row row) const {
  return static_cast<QComboBox*>(Control(kUnitControls[calc::Index(row)]));
}

QLineEdit* Form1::Text2() const { return static_cast<QLineEdit*>(Control("Text2")); }

std::string Form1::UnitText(calc::Row row) const { return Combo(row)->currentText().toStdString(); }

std::string Form1::EntryText(calc::Row row) const { return Text1(row)->text().toStdString(); }

void Form1::SetResultText(std::string_view text) { ShowResult(Q(text)); }

void Form1::ShowResult(const QString& text) {
  Text2()->setText(text);
  // Said to a screen reader without the focus moving, every time. Qt 6.8's
  // bridges announce it; older ones only report the box's changed text.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent announcement(Text2(), text);
  QAccessible::updateAccessibility(&announcement);
#endif
}

void Form1::Command1_Click() { ShowReference(calc::Row::Height); }

void Form1::Command2_Click() { ShowReference(calc::Row::Mass); }

void Form1::Command3_Click() { ShowOutcome(calc::Calculate(*this, quantities_)); }

void Form1::Command4_Click() { ShowReference(calc::Row::Time); }

void Form1::Command5_Click() { desktop_.OpenDocument(this, CompanionPageUrl()); }

void Form1::ShowReference(calc::Row row) {
  desktop_.ShowMessage(this, Q(kApplicationTitle), Q(ReferenceMessage(row)));
}

void Form1::ShowOutcome(const calc::CalculationOutcome& outcome) {
  ClearMarks();
  if (outcome.written) return;
  for (const FailureMark& mark : FailureMarks(outcome)) {
    QWidget* box = Control(mark.control);
    box->setProperty(kProblemProperty, Q(mark.problem));
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, ToQColor(kMarkTint));
    box->setPalette(palette);
    box->setToolTip(Q(MarkedTooltip(kControls[RowIndex(mark.control)].tooltip, mark.problem)));
  }
  ShowResult(Q(ReasonText(outcome)));
}

void Form1::ClearMarks() {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    QWidget* box = controls_[i];
    if (Problem(box).isEmpty()) continue;
    box->setProperty(kProblemProperty, QVariant());
    box->setPalette(QPalette());
    box->setToolTip(Q(kControls[i].tooltip));
  }
}

QString Form1::Problem(const QWidget* box) { return box->property(kProblemProperty).toString(); }

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  // A composition that disappears with nothing committed was cancelled (Esc).
  // Some input contexts (Qt's ibus one, with Mozc) still hold its text and
  // commit it when the focus leaves the box, silently changing the number:
  // they are told to forget it now. A composition still shown when the focus
  // leaves is committed, as everywhere.
  if (event->type() == QEvent::InputMethod) {
    const auto* im = static_cast<const QInputMethodEvent*>(event);
    if (!im->preeditString().isEmpty()) {
      composing_ = watched;
    } else if (composing_ == watched) {
      composing_ = nullptr;
      if (im->commitString().isEmpty()) QGuiApplication::inputMethod()->reset();
    }
  }
  return QWidget::eventFilter(watched, event);
}

void Form1::paintEvent(QPaintEvent*) {
  // The picture is the part of the artwork the window shows, drawn 1:1 from
  // the top-left corner; on a high-DPI screen, the version drawn at 2x.
  const int scale = devicePixelRatioF() > 1.0 ? 2 : 1;
  if (background_.isNull() || background_scale_ != scale) {
    background_ = LoadPng(scale == 2 ? QStringLiteral(":/art/background@2x.png") : QStringLiteral(":/art/background.png"));
    background_.setDevicePixelRatio(scale);
    background_scale_ = scale;
  }
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(kWindowColour));
  painter.drawPixmap(0, 0, background_);
}

}  // namespace ui
