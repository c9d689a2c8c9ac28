#include "ui/messages.h"

#include <QStringList>

namespace ui {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString RowName(calc::Row row) {
  switch (row) {
    case calc::Row::Height: return QStringLiteral("変位");
    case calc::Row::Mass: return QStringLiteral("質量");
    case calc::Row::Time: break;
  }
  return QStringLiteral("時間");
}

}  // namespace

QString ReferenceMessage(calc::Row row) {
  switch (row) {
    case calc::Row::Height:
      return QStringList{QStringLiteral("持ち上げる高さです"), QStringLiteral("富士山の標高：3776m"),
                         QStringLiteral("東京タワーの高さ：333m"), QStringLiteral("地球一周：40000km")}
          .join(kCrLf);
    case calc::Row::Mass:
      return QStringList{QStringLiteral("持ち上げる物の重さです"), QStringLiteral("一円玉：1g"),
                         QStringLiteral("あなたの体重：???kg")}
          .join(kCrLf);
    case calc::Row::Time: break;
  }
  return QStringList{QStringLiteral("持ち上げることにかかる時間です"), QStringLiteral("公衆電話十円で話す：1分")}
             .join(kCrLf) +
         kCrLf;
}

QString RowProblem(calc::EntryStatus status) {
  switch (status) {
    case calc::EntryStatus::Converted: return {};
    case calc::EntryStatus::UnitNotRecognised: return QStringLiteral("単位が分かりません");
    case calc::EntryStatus::NotANumber: return QStringLiteral("数値ではありません");
    case calc::EntryStatus::OutOfRange: break;
  }
  return QStringLiteral("値が大きすぎます");
}

QString ResultProblem(calc::ResultStatus status) {
  switch (status) {
    case calc::ResultStatus::ZeroTime: return QStringLiteral("時間が0です");
    case calc::ResultStatus::TooLarge: return QStringLiteral("変位と質量の積が大きすぎます");
    case calc::ResultStatus::Computed: break;
  }
  return {};
}

QString ReasonText(const calc::CalculationOutcome& outcome) {
  for (calc::Row row : calc::kRows) {
    const calc::EntryStatus status = outcome.rows[calc::Index(row)];
    if (status == calc::EntryStatus::Converted) continue;
    const QString particle = status == calc::EntryStatus::NotANumber ? QStringLiteral("が") : QStringLiteral("の");
    return RowName(row) + particle + RowProblem(status);
  }
  switch (outcome.result) {
    case calc::ResultStatus::ZeroTime: return ResultProblem(outcome.result);
    case calc::ResultStatus::TooLarge: return QStringLiteral("結果が大きすぎます");
    case calc::ResultStatus::Computed: break;
  }
  return QStringLiteral("計算できません");
}

}  // namespace ui
