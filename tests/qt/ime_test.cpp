// SPDX-License-Identifier: MIT
// The window typed into through a real input method: ibus with the Mozc
// engine in hiragana mode, keys sent by xdotool to a real X server, as a
// person types. Run by ime_session.sh, which starts the X server, a private
// D-Bus session and ibus. The window is the program's Form1 in this process,
// so the test can see the preedit the input method shows.
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <map>
#include <memory>

#include "qt/desktop.h"
#include "qt/form1.h"

namespace {

class RecordingDesktop : public ui::Desktop {
 public:
  void ShowMessage(QWidget*, const QString&, const QString&) override {}
  void OpenDocument(QWidget*, const QUrl&) override {}
};

// Remembers the latest preedit the input method showed in each widget.
class PreeditWatch : public QObject {
 public:
  std::map<const QObject*, QString> preedit;
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::InputMethod) preedit[o] = static_cast<QInputMethodEvent*>(e)->preeditString();
    return false;
  }
};

QLineEdit* EditOf(QWidget* w) {
  if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
  return qobject_cast<QLineEdit*>(w);
}

// Keys as a person presses them, one after another.
void Keys(const QStringList& keys) {
  QProcess::execute(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                                           QStringLiteral("60")} + keys);
}

QStringList Split(const char* keys) { return QString::fromLatin1(keys).split(u' '); }

}  // namespace

class ImeTest : public QObject {
  Q_OBJECT

 private:
  RecordingDesktop desktop_;
  PreeditWatch watch_;
  std::unique_ptr<ui::Form1> form_;

  QWidget* C(const char* name) { return form_->Control(name); }
  // An editable unit box takes the input method's events itself, for its edit.
  QString Preedit(QWidget* box) {
    const QString own = watch_.preedit[box];
    return own.isEmpty() ? watch_.preedit[EditOf(box)] : own;
  }
  QString Text(QWidget* box) { return EditOf(box)->text(); }

  // Empties a box and puts the focus in it, ready for typing.
  void Focus(QWidget* box) {
    EditOf(box)->clear();
    EditOf(box)->setFocus();
    QTRY_VERIFY(EditOf(box)->hasFocus());
  }

  // Types a number in hiragana mode and turns the preedit into its
  // full-width form (F9), as a user does when the kana for a sign or a
  // point shows; Enter commits it.
  void TypeFullWidth(QWidget* box, const char* keys, const QString& full_width) {
    Focus(box);
    Keys(Split(keys));
    QTRY_VERIFY(!Preedit(box).isEmpty());
    Keys({QStringLiteral("F9")});
    QTRY_COMPARE(Preedit(box), full_width);
    Keys({QStringLiteral("Return")});
    QTRY_COMPARE(Text(box), full_width);
    QTRY_COMPARE(Preedit(box), QString());
  }

 private slots:
  void initTestCase() { qApp->installEventFilter(&watch_); }

  void init() {
    form_ = std::make_unique<ui::Form1>(desktop_);
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(form_->winId())});
    watch_.preedit.clear();
  }

  void cleanup() { form_.reset(); }

  // Digits compose as full-width; the Enter that commits them is the input
  // method's, and only the next Enter presses 計算.
  void enterThatCommitsDoesNotCalculate() {
    QWidget* height = C("Text1(0)");
    Focus(height);
    Keys(Split("3 3 3"));
    QTRY_COMPARE(Preedit(height), QStringLiteral("３３３"));
    QCOMPARE(Text(height), QString());
    Keys({QStringLiteral("Return")});
    QTRY_COMPARE(Text(height), QStringLiteral("３３３"));
    QTRY_COMPARE(Preedit(height), QString());
    QTest::qWait(300);
    QCOMPARE(Text(C("Text2")), QStringLiteral("0"));  // not calculated
    Keys({QStringLiteral("Return")});
    QTRY_COMPARE(Text(C("Text2")), QStringLiteral("時間が0です"));  // calculated: no time yet
  }

  // 分 typed as kana and converted: the candidate is chosen by what the
  // preedit shows, never by its place in the list.
  void unitConvertedFromKana() {
    EditOf(C("Text1(0)"))->setText(QStringLiteral("333"));
    EditOf(C("Text1(1)"))->setText(QStringLiteral("60"));
    EditOf(C("Text1(2)"))->setText(QStringLiteral("1"));
    QWidget* unit = C("Combo3");
    Focus(unit);
    Keys(Split("f u n n"));
    QTRY_COMPARE(Preedit(unit), QStringLiteral("ふん"));
    bool found = false;
    for (int press = 0; press < 12 && !found; ++press) {
      Keys({QStringLiteral("space")});
      QTest::qWait(200);
      found = Preedit(unit) == QStringLiteral("分");
    }
    QVERIFY2(found, qPrintable(QStringLiteral("no candidate 分; the preedit shows ") + Preedit(unit)));
    Keys({QStringLiteral("Return")});
    QTRY_COMPARE(Text(unit), QStringLiteral("分"));
    QTest::qWait(300);
    QCOMPARE(Text(C("Text2")), QStringLiteral("0"));
    Keys({QStringLiteral("Return")});
    QTRY_COMPARE(Text(C("Text2")), QStringLiteral("3265.61445"));
  }

  // Full-width numbers compute like their ASCII twins.
  void fullWidthNumbersComputeLikeAscii_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("fullWidth");
    QTest::addColumn<QString>("ascii");
    QTest::newRow("decimal") << "Text1(0)" << "1 2 period 5" << QStringLiteral("１２．５") << "12.5";
    // Mozc's full-width form of '-' is U+2212 MINUS SIGN.
    QTest::newRow("minus") << "Text1(1)" << "minus 2" << QStringLiteral("−２") << "-2";
  }

  void fullWidthNumbersComputeLikeAscii() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, fullWidth);
    QFETCH(QString, ascii);
    for (const char* name : {"Text1(0)", "Text1(1)", "Text1(2)"}) EditOf(C(name))->setText(QStringLiteral("3"));
    EditOf(C(qPrintable(box)))->setText(ascii);
    static_cast<QPushButton*>(C("Command3"))->click();
    const QString expected = Text(C("Text2"));
    QVERIFY(expected != QStringLiteral("0"));
    EditOf(C("Text2"))->setText(QStringLiteral("0"));
    TypeFullWidth(C(qPrintable(box)), qPrintable(keys), fullWidth);
    Keys({QStringLiteral("Return")});
    QTRY_COMPARE(Text(C("Text2")), expected);
  }

  // Esc takes back the composition and nothing else.
  void escapeCancelsTheComposition() {
    QWidget* height = C("Text1(0)");
    Focus(height);
    Keys(Split("4 5"));
    QTRY_COMPARE(Preedit(height), QStringLiteral("４５"));
    Keys({QStringLiteral("Escape")});
    QTRY_COMPARE(Preedit(height), QString());
    QTest::qWait(300);
    QCOMPARE(Text(height), QString());
    QCOMPARE(Text(C("Text2")), QStringLiteral("0"));
    QVERIFY(EditOf(height)->hasFocus());
  }

  // A composition cancelled with Esc (once, or twice: the second reaches the
  // box) stays cancelled however the focus then leaves the box; one still
  // shown when the focus leaves is committed, as in every program (while
  // composing, Tab goes to the input method: see the next test).
  void cancelledCompositionStaysCancelled_data() {
    QTest::addColumn<int>("escapes");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<QString>("expected");
    for (const char* leave : {"Tab", "shift+Tab", "click", "window"}) {
      for (int escapes : {1, 2}) {
        QTest::addRow("%d Esc, then %s", escapes, leave) << escapes << leave << QStringLiteral("５０");
      }
    }
    for (const char* leave : {"click", "window"}) {
      QTest::addRow("no Esc, then %s", leave) << 0 << leave << QStringLiteral("５０９");
    }
  }

  void cancelledCompositionStaysCancelled() {
    QFETCH(int, escapes);
    QFETCH(QString, leave);
    QFETCH(QString, expected);
    QWidget* mass = C("Text1(1)");
    Focus(mass);
    EditOf(mass)->setText(QStringLiteral("５０"));
    Keys({QStringLiteral("9")});
    QTRY_COMPARE(Preedit(mass), QStringLiteral("９"));
    for (int i = 0; i < escapes; ++i) Keys({QStringLiteral("Escape")});
    if (escapes > 0) QTRY_COMPARE(Preedit(mass), QString());
    QTest::qWait(300);
    QWidget other;  // another program's window, for the focus to go to
    if (leave == QStringLiteral("click")) {
      const QPoint at = C("Text1(0)")->geometry().center();
      QProcess::execute(QStringLiteral("xdotool"),
                        {QStringLiteral("mousemove"), QStringLiteral("--window"), QString::number(form_->winId()),
                         QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    } else if (leave == QStringLiteral("window")) {
      other.setGeometry(600, 400, 200, 100);
      other.show();
      QVERIFY(QTest::qWaitForWindowExposed(&other));
      QProcess::execute(QStringLiteral("xdotool"),
                        {QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(other.winId())});
      QTRY_VERIFY(!form_->isActiveWindow());
    } else {
      Keys({leave});
    }
    QTRY_VERIFY(!EditOf(mass)->hasFocus());
    QTest::qWait(300);
    QCOMPARE(Text(mass), expected);
    if (leave == QStringLiteral("window")) {  // and back to the window
      other.hide();
      QProcess::execute(QStringLiteral("xdotool"),
                        {QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(form_->winId())});
      QTRY_VERIFY(form_->isActiveWindow());
    }
    QTest::qWait(300);
    QCOMPARE(Text(mass), expected);
    QCOMPARE(Preedit(mass), QString());
  }

  // Tab while composing does what the input method does with it (Mozc
  // offers a prediction); the composed text is neither lost nor doubled.
  void tabDuringCompositionLosesAndDuplicatesNothing() {
    for (const char* name : {"Text1(0)", "Text1(1)", "Text1(2)", "Text2"}) EditOf(C(name))->clear();
    QWidget* height = C("Text1(0)");
    Focus(height);
    Keys(Split("7 8"));
    QTRY_COMPARE(Preedit(height), QStringLiteral("７８"));
    Keys({QStringLiteral("Tab")});
    QTest::qWait(500);
    if (!Preedit(height).isEmpty()) {  // the input method took the Tab
      QVERIFY2(Preedit(height).startsWith(QStringLiteral("７８")), qPrintable(Preedit(height)));
      QVERIFY(EditOf(height)->hasFocus());
      Keys({QStringLiteral("Escape")});  // back from its suggestion to what was typed
      QTRY_COMPARE(Preedit(height), QStringLiteral("７８"));
      Keys({QStringLiteral("Return")});
      QTRY_COMPARE(Preedit(height), QString());
    }
    QString all;
    for (const char* name : {"Text1(0)", "Text1(1)", "Text1(2)", "Text2"}) all += Text(C(name));
    QTRY_COMPARE(Text(height), QStringLiteral("７８"));
    QCOMPARE(all, QStringLiteral("７８"));
    QCOMPARE(Text(C("Text2")), QString());  // nothing calculated
  }
};

QTEST_MAIN(ImeTest)
#include "ime_test.moc"
