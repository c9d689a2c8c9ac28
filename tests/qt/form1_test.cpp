// SPDX-License-Identifier: MIT
// The window through its real widgets: controls against the layout they must
// have, the keyboard, the messages, the companion page, and the calculation
// including what it shows when no number can be given.
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "qt/desktop.h"
#include "qt/fonts.h"
#include "qt/form1.h"

namespace {

class RecordingDesktop : public ui::Desktop {
 public:
  std::vector<std::pair<QString, QString>> messages;  // title, text
  std::vector<QUrl> opened;
  void ShowMessage(QWidget*, const QString& title, const QString& text) override { messages.emplace_back(title, text); }
  void OpenDocument(QWidget*, const QUrl& url) override { opened.push_back(url); }
};

// Types text the way an input method delivers it, one character a key event:
// QTest::keyClicks only carries Latin-1.
// The calculation table the web page's test runs too.
QJsonObject Cases() {
  QFile file(QStringLiteral(TRESSIN_CALCULATION_CASES));
  if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", TRESSIN_CALCULATION_CASES);
  return QJsonDocument::fromJson(file.readAll()).object();
}

QStringList Strings(const QJsonValue& array) {
  QStringList out;
  for (const QJsonValue& v : array.toArray()) out << v.toString();
  return out;
}

void Type(QWidget* target, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(target, &release);
  }
}

QLineEdit* EditOf(QWidget* w) {
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
  return qobject_cast<QLineEdit*>(w);
}

// Replaces a box's text by typing, as a user selecting all and typing over.
void Retype(QWidget* box, const QString& text) {
  QLineEdit* edit = EditOf(box);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  Type(edit, text);
}

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<RecordingDesktop> desktop_;
  std::unique_ptr<ui::Form1> form_;

  QWidget* C(const char* name) { return form_->Control(name); }

  void Fill(const QStringList& entries, const QStringList& units) {
    for (int i = 0; i < 3; ++i) {
      Retype(C(qPrintable(QStringLiteral("Text1(%1)").arg(i))), entries[i]);
      Retype(C(qPrintable(QStringLiteral("Combo%1").arg(i + 1))), units[i]);
    }
  }

 private slots:

  void init() {
    desktop_ = std::make_unique<RecordingDesktop>();
    form_ = std::make_unique<ui::Form1>(*desktop_);
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  void cleanup() {
    form_.reset();
    desktop_.reset();
  }

  void window() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Kobrel"));
    QCOMPARE(form_->size(), QSize(412, 203));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());
    QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!form_->windowIcon().isNull());
    QCOMPARE(form_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).size(), 17);
  }

  void controls_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<int>("points");  // 0: the platform's button font
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("tooltip");
    const auto row = [](const char* name, const char* kind, const char* text, QRect twips, int points, bool bold,
                        const char* tooltip) {
      QTest::newRow(name) << kind << QString::fromUtf8(text) << twips << points << bold << QString::fromUtf8(tooltip);
    };
    row("Label1", "QLabel", "変位：", {240, 480, 735, 255}, 12, false, "");
    row("Label2", "QLabel", "時間：", {240, 1440, 735, 255}, 12, false, "");
    row("Label3", "QLabel", "質量：", {240, 960, 735, 255}, 12, false, "");
    row("Label4", "QLabel", "電力(仕事率)：", {240, 2040, 1695, 255}, 12, true, "");
    row("Text1(0)", "QLineEdit", "0", {960, 360, 3135, 375}, 12, false, "移動した距離");
    row("Text1(1)", "QLineEdit", "0", {960, 840, 3135, 375}, 12, false, "移動した物の重さ");
    row("Text1(2)", "QLineEdit", "0", {960, 1320, 3135, 375}, 12, false, "移動に掛ける時間");
    row("Combo1", "QComboBox", "m", {4200, 360, 975, 360}, 12, false, "");
    row("Combo2", "QComboBox", "kg", {4200, 840, 975, 360}, 12, false, "");
    row("Combo3", "QComboBox", "秒", {4200, 1320, 975, 360}, 12, false, "");
    row("Label5", "QLabel", "[W］", {5400, 2040, 495, 255}, 12, true, "");
    row("Command1", "QPushButton", "参考", {5280, 360, 615, 375}, 0, false, "色々な距離のデータ");
    row("Command2", "QPushButton", "参考", {5280, 840, 615, 375}, 0, false, "重さのデータ");
    row("Text2", "QLineEdit", "0", {1920, 1920, 3375, 375}, 12, true, "");
    row("Command3", "QPushButton", "計算", {4680, 2400, 1215, 375}, 9, true, "");
    row("Command4", "QPushButton", "参考", {5280, 1320, 615, 375}, 0, false, "色々な時間のデータ");
    row("Command5", "QPushButton", "電力の話", {240, 2400, 1215, 375}, 0, false, "");
  }

  void controls() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QFETCH(int, points);
    QFETCH(bool, bold);
    QFETCH(QString, tooltip);
    QWidget* w = form_->findChild<QWidget*>(QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(w != nullptr);
    QCOMPARE(w->metaObject()->className(), kind.toLatin1());
    QString shown;
    if (auto* l = qobject_cast<QLabel*>(w)) shown = l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w)) shown = e->text();
    if (auto* c = qobject_cast<QComboBox*>(w)) shown = c->currentText();
    if (auto* b = qobject_cast<QPushButton*>(w)) shown = b->text();
    QCOMPARE(shown, text);
    QCOMPARE(w->geometry(), QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    // Every control names the window's face: "ＭＳ Ｐゴシック", or where that
    // is not installed, the installed Japanese face that stands in for it.
    QCOMPARE(w->font().family(), ui::WindowFontFamily());
    if (points != 0) QCOMPARE(w->font().pointSize(), points);
    QCOMPARE(w->font().bold(), bold);
    QCOMPARE(w->toolTip(), tooltip);
  }

  void windowFaceIsInstalledAndTheFirstChoiceThatIs() {
    const QString face = ui::WindowFontFamily();
    QVERIFY2(QFontDatabase::hasFamily(face), qPrintable(face));
    QStringList choices{QStringLiteral("ＭＳ Ｐゴシック")};
    for (const char* f : ui::kFontFallbacks) choices << QString::fromUtf8(f);
    for (const QString& choice : choices) {
      if (QFontDatabase::hasFamily(choice)) {
        QCOMPARE(face, choice);
        return;
      }
    }
  }

  void kindsBehave() {
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
      auto* label = qobject_cast<QLabel*>(C(name));
      QCOMPARE(label->focusPolicy(), Qt::NoFocus);
      QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::white));
      QVERIFY(!label->autoFillBackground());
    }
    const QStringList items[] = {{"cm", "m", "km"}, {"g", "kg", "t"}, {"秒", "分", "時間"}};
    for (int i = 0; i < 3; ++i) {
      auto* combo = qobject_cast<QComboBox*>(C(qPrintable(QStringLiteral("Combo%1").arg(i + 1))));
      QVERIFY(combo->isEditable());
      QStringList got;
      for (int k = 0; k < combo->count(); ++k) got << combo->itemText(k);
      QCOMPARE(got, items[i]);
    }
    QVERIFY(qobject_cast<QPushButton*>(C("Command3"))->isDefault());
    QVERIFY(!qobject_cast<QLineEdit*>(C("Text2"))->isReadOnly());
  }

  void focusStartsInHeightAndTabFollowsTheTable() {
    QCOMPARE(QApplication::focusWidget(), C("Text1(0)"));
    const QStringList order{"Text1(1)", "Text1(2)", "Combo1", "Combo2", "Combo3", "Command1",
                            "Command2", "Text2",    "Command3", "Command4", "Command5", "Text1(0)"};
    for (const QString& next : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focus = QApplication::focusWidget();
      // An editable combo box gives the focus to its line edit.
      if (focus != nullptr && qobject_cast<QComboBox*>(focus->parentWidget())) focus = focus->parentWidget();
      QVERIFY(focus != nullptr);
      QCOMPARE(focus->objectName(), next);
    }
  }

  void enterInAnyBoxCalculates_data() {
    QTest::addColumn<QString>("box");
    for (const char* box : {"Text1(0)", "Text1(1)", "Text1(2)", "Combo1", "Combo2", "Combo3", "Text2"})
      QTest::newRow(box) << QString::fromLatin1(box);
  }

  void enterInAnyBoxCalculates() {
    QFETCH(QString, box);
    Fill({"1", "1", "1"}, {"m", "kg", "秒"});
    qobject_cast<QLineEdit*>(C("Text2"))->setText(QStringLiteral("before"));
    QWidget* target = C(qPrintable(box));
    EditOf(target)->setFocus();
    QTest::keyClick(EditOf(target), Qt::Key_Return);
    QCOMPARE(qobject_cast<QLineEdit*>(C("Text2"))->text(), QStringLiteral("9.80665"));
    QVERIFY(desktop_->messages.empty());
  }

  void enterOnAFocusedButtonClicksThatButton() {
    C("Command1")->setFocus();
    QTest::keyClick(C("Command1"), Qt::Key_Return);
    QCOMPARE(desktop_->messages.size(), std::size_t{1});
    QCOMPARE(qobject_cast<QLineEdit*>(C("Text2"))->text(), QStringLiteral("0"));
    C("Command5")->setFocus();
    QTest::keyClick(C("Command5"), Qt::Key_Enter);
    QCOMPARE(desktop_->opened.size(), std::size_t{1});
  }

  void escapeDoesNotClose() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(form_.get(), Qt::Key_Escape);
    QVERIFY(form_->isVisible());
  }

  void unitBoxKeepsWhatWasTyped_data() {
    QTest::addColumn<QString>("typed");
    for (const char* t : {"M", "m ", " m", "ｍ", "mm", "KM", "Cm", ""}) QTest::newRow(t) << QString::fromUtf8(t);
  }

  void unitBoxKeepsWhatWasTyped() {
    QFETCH(QString, typed);
    auto* combo = qobject_cast<QComboBox*>(C("Combo1"));
    Retype(combo, typed);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);  // calculates, inserts nothing
    QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);     // editing finishes
    QCOMPARE(combo->currentText(), typed);
    QCOMPARE(combo->count(), 3);
    QCOMPARE(ui::Form1::Problem(combo), QStringLiteral("単位が分かりません"));
    QCOMPARE(qobject_cast<QLineEdit*>(C("Text2"))->text(), QStringLiteral("変位の単位が分かりません"));
  }

  // The shared table of keys in the time's unit box: an open list takes
  // its keys, and Enter there only picks.
  void keysInAUnitBox_data() {
    QTest::addColumn<QJsonObject>("row");
    for (const QJsonValue& row : Cases()["keys"].toObject()["rows"].toArray())
      QTest::newRow(qPrintable(row.toObject()["name"].toString())) << row.toObject();
  }

  void keysInAUnitBox() {
    QFETCH(QJsonObject, row);
    Fill({"100", "60", "1"}, {"m", "kg", row["unit"].toString(QStringLiteral("秒"))});
    auto* result = qobject_cast<QLineEdit*>(C("Text2"));
    result->clear();
    EditOf(C("Combo3"))->setFocus();
    for (const QJsonValue& key : row["keys"].toArray()) {
      const QString k = key.toString();
      // An open list has the keyboard, as a popup does.
      QWidget* popup = QApplication::activePopupWidget();
      QWidget* target = popup ? (popup->focusWidget() ? popup->focusWidget() : popup) : QApplication::focusWidget();
      if (k.startsWith(QStringLiteral("text:"))) {
        Type(target, k.mid(5));
        continue;
      }
      static const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys = {
          {"Enter", {Qt::Key_Return, Qt::NoModifier}}, {"F4", {Qt::Key_F4, Qt::NoModifier}},
          {"Down", {Qt::Key_Down, Qt::NoModifier}},    {"Up", {Qt::Key_Up, Qt::NoModifier}},
          {"Esc", {Qt::Key_Escape, Qt::NoModifier}},   {"Tab", {Qt::Key_Tab, Qt::NoModifier}},
          {"Alt+Down", {Qt::Key_Down, Qt::AltModifier}}, {"Alt+Up", {Qt::Key_Up, Qt::AltModifier}}};
      QVERIFY2(keys.count(k), qPrintable(k));
      QTest::keyClick(target, keys.at(k).first, keys.at(k).second);
    }
    QCOMPARE(EditOf(C("Combo3"))->text(), row["shows"].toString());
    QCOMPARE(result->text(), row["result"].toString());
  }

  void unitTypedExactlyStillCounts() {
    Fill({"100", "1000", "1"}, {"cm", "g", "分"});
    QTest::keyClick(EditOf(C("Combo3")), Qt::Key_Return);
    QCOMPARE(qobject_cast<QLineEdit*>(C("Text2"))->text(), QStringLiteral("0.163444166666667"));
  }

  void textBoxesTakeLongTexts() {
    const QString digits(40000, u'1');
    auto* edit = qobject_cast<QLineEdit*>(C("Text1(0)"));
    edit->setText(digits);
    QCOMPARE(edit->text().size(), 40000);
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_2);
    QCOMPARE(edit->text().size(), 40001);
    QCOMPARE(EditOf(C("Combo1"))->maxLength(), edit->maxLength());
  }

  void calculation_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QString>("shown");
    for (const QJsonValue& row : Cases()["computed"].toArray()) {
      const QJsonObject c = row.toObject();
      QTest::newRow(qPrintable(c["name"].toString())) << Strings(c["entries"]) << Strings(c["units"])
                                                       << c["shown"].toString();
    }
  }

  void calculation() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, units);
    QFETCH(QString, shown);
    Fill(entries, units);
    QTest::mouseClick(C("Command3"), Qt::LeftButton);
    QCOMPARE(qobject_cast<QLineEdit*>(C("Text2"))->text(), shown);
  }

  void initialCalculationShowsWhyNotAndKeepsNothingStale() {
    QTest::mouseClick(C("Command3"), Qt::LeftButton);
    QCOMPARE(qobject_cast<QLineEdit*>(C("Text2"))->text(), QStringLiteral("時間が0です"));
    QCOMPARE(ui::Form1::Problem(C("Text1(2)")), QStringLiteral("時間が0です"));
  }

  void failedCalculationSaysWhyAndMarksTheBox_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("units");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("marked");
    for (const QJsonValue& row : Cases()["failed"].toArray()) {
      const QJsonObject c = row.toObject();
      QTest::newRow(qPrintable(c["name"].toString())) << Strings(c["entries"]) << Strings(c["units"])
                                                       << c["reason"].toString() << c["marked"].toString();
    }
  }

  void failedCalculationSaysWhyAndMarksTheBox() {
    QFETCH(QStringList, entries);
    QFETCH(QStringList, units);
    QFETCH(QString, reason);
    QFETCH(QString, marked);
    auto* result = qobject_cast<QLineEdit*>(C("Text2"));
    Fill({"10", "2", "1"}, {"m", "kg", "秒"});
    QTest::mouseClick(C("Command3"), Qt::LeftButton);
    QCOMPARE(result->text(), QStringLiteral("196.133"));

    Fill(entries, units);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus, Qt::Key_Return);
    QCOMPARE(result->text(), reason);
    QVERIFY(!ui::Form1::Problem(C(qPrintable(marked))).isEmpty());
    QVERIFY(C(qPrintable(marked))->toolTip().contains(ui::Form1::Problem(C(qPrintable(marked)))));
    QCOMPARE(C(qPrintable(marked))->palette().color(QPalette::Base), QColor(255, 214, 214));
    QVERIFY(desktop_->messages.empty());
    QCOMPARE(QApplication::focusWidget(), focus);
    for (int i = 0; i < 3; ++i) {  // nothing typed was changed
      QCOMPARE(EditOf(C(qPrintable(QStringLiteral("Text1(%1)").arg(i))))->text(), entries[i]);
      QCOMPARE(EditOf(C(qPrintable(QStringLiteral("Combo%1").arg(i + 1))))->text(), units[i]);
    }

    // Put right, the number is back and every mark is gone.
    Fill({"10", "2", "1"}, {"m", "kg", "秒"});
    QTest::mouseClick(C("Command3"), Qt::LeftButton);
    QCOMPARE(result->text(), QStringLiteral("196.133"));
    for (QWidget* w : form_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
      QVERIFY2(ui::Form1::Problem(w).isEmpty(), qPrintable(w->objectName()));
    }
    QCOMPARE(C("Text1(0)")->toolTip(), QStringLiteral("移動した距離"));
    QCOMPARE(C("Combo1")->toolTip(), QString());
  }

  void failedRowKeepsItsQuantity() {
    Fill({"10", "2", "1"}, {"m", "kg", "秒"});
    QTest::mouseClick(C("Command3"), Qt::LeftButton);
    Fill({"abc", "3", "1"}, {"m", "kg", "秒"});
    QTest::mouseClick(C("Command3"), Qt::LeftButton);
    QCOMPARE(form_->Quantities().LiftHeight.ticks(), 100000);
    QCOMPARE(form_->Quantities().LiftMass.ticks(), 30000);
  }

  void referenceMessages_data() {
    QTest::addColumn<QString>("message");
    QTest::newRow("Command1") << QStringLiteral(
        "持ち上げる高さです\r\n富士山の標高：3776m\r\n東京タワーの高さ：333m\r\n地球一周：40000km");
    QTest::newRow("Command2") << QStringLiteral("持ち上げる物の重さです\r\n一円玉：1g\r\nあなたの体重：???kg");
    QTest::newRow("Command4") << QStringLiteral("持ち上げることにかかる時間です\r\n公衆電話十円で話す：1分\r\n");
  }

  void referenceMessages() {
    QFETCH(QString, message);
    Fill({"5", "6", "7"}, {"km", "t", "分"});
    QWidget* button = C(QTest::currentDataTag());
    for (int times = 1; times <= 2; ++times) {
      QTest::mouseClick(button, Qt::LeftButton);
      QCOMPARE(desktop_->messages.size(), std::size_t(times));
      QCOMPARE(desktop_->messages.back().first, QStringLiteral("Tressin"));
      QCOMPARE(desktop_->messages.back().second, message);
    }
    QCOMPARE(qobject_cast<QLineEdit*>(C("Text2"))->text(), QStringLiteral("0"));
    QCOMPARE(EditOf(C("Text1(0)"))->text(), QStringLiteral("5"));
    QCOMPARE(form_->Quantities().LiftHeight.ticks(), 0);
  }

  void messageBoxShowsOneLinePerLineWithOkOnly() {
    std::unique_ptr<QMessageBox> box(ui::MakeMessageBox(form_.get(), QStringLiteral("Tressin"),
                                                        QStringLiteral("一\r\n二\r\n")));
    QCOMPARE(box->windowTitle(), QStringLiteral("Tressin"));
    QCOMPARE(box->icon(), QMessageBox::NoIcon);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(box->text(), QStringLiteral("一\n二\n"));
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
  }

  void systemMessageBoxIsModalAndReturnsWhenClosed() {
    ui::SystemDesktop desktop;
    QString seen;
    QTimer::singleShot(0, [&seen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      seen = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    desktop.ShowMessage(form_.get(), QStringLiteral("Tressin"), QStringLiteral("a\r\nb"));
    QCOMPARE(seen, QStringLiteral("a\nb"));
  }

  void companionPageFollowsTheCurrentDirectory() {
    const QString before = QDir::currentPath();
    QTemporaryDir other;
    QTest::mouseClick(C("Command5"), Qt::LeftButton);
    QVERIFY(QDir::setCurrent(other.path()));
    QTest::mouseClick(C("Command5"), Qt::LeftButton);
    QDir::setCurrent(before);
    QCOMPARE(desktop_->opened.size(), std::size_t{2});
    QCOMPARE(desktop_->opened[0], QUrl::fromLocalFile(QDir(before).filePath("denryoku.html")));
    QCOMPARE(desktop_->opened[1], QUrl::fromLocalFile(QDir(other.path()).filePath("denryoku.html")));
    QVERIFY(desktop_->messages.empty());
  }

  void accessibleNamesSayWhichBox() {
    QCOMPARE(C("Text1(0)")->accessibleName(), QStringLiteral("変位の値"));
    QCOMPARE(C("Text1(1)")->accessibleName(), QStringLiteral("質量の値"));
    QCOMPARE(C("Text1(2)")->accessibleName(), QStringLiteral("時間の値"));
    QCOMPARE(C("Combo1")->accessibleName(), QStringLiteral("変位の単位"));
    QCOMPARE(C("Combo3")->accessibleName(), QStringLiteral("時間の単位"));
    QCOMPARE(C("Text2")->accessibleName(), QStringLiteral("電力(仕事率) [W]"));
    QCOMPARE(C("Command1")->accessibleName(), QStringLiteral("参考"));
    QCOMPARE(C("Command1")->accessibleDescription(), QStringLiteral("色々な距離のデータ"));
    QCOMPARE(qobject_cast<QLabel*>(C("Label1"))->buddy(), C("Text1(0)"));
  }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
