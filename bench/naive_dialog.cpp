// SPDX-License-Identifier: MIT
// A second reference for start-up measurements: the plainest dialog that
// shows what tressin's window shows (17 widgets, a 12 pt Japanese font, a
// painted background), written the naive way. Titled "Naive".
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

namespace {

class Dialog : public QWidget {
 public:
  Dialog() : background_(QStringLiteral(":/art/background.png")) {
    setWindowTitle(QStringLiteral("Naive"));
    setFixedSize(412, 203);
    setFont(QFont(QStringLiteral("IPAPGothic"), 12));
    const char* labels[] = {"変位：", "時間：", "質量：", "電力(仕事率)：", "[W］"};
    int y = 32;
    for (const char* l : labels) (new QLabel(QString::fromUtf8(l), this))->move(16, y += 20);
    for (int i = 0; i < 4; ++i) (new QLineEdit(QStringLiteral("0"), this))->setGeometry(64, 24 + 32 * i, 209, 25);
    for (const char* items : {"cm|m|km", "g|kg|t", "秒|分|時間"}) {
      auto* c = new QComboBox(this);
      c->setEditable(true);
      c->addItems(QString::fromUtf8(items).split(u'|'));
      c->setGeometry(280, y += 32, 65, 24);
    }
    for (const char* b : {"参考", "参考", "計算", "参考", "電力の話"}) (new QPushButton(QString::fromUtf8(b), this))->move(0, 0);
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, background_); }

 private:
  QPixmap background_;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  Dialog dialog;
  dialog.show();
  return QApplication::exec();
}
