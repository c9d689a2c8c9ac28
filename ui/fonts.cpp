#include "ui/fonts.h"

#include <QFont>
#include <QStringList>

#include "ui/control_table.h"

namespace ui {

void InstallFontSubstitutes() {
  const QString family = QString::fromUtf8(kFontFamily.data(), static_cast<qsizetype>(kFontFamily.size()));
  const QStringList substitutes{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")};
  QFont::insertSubstitutions(family, substitutes);
  QFont::insertSubstitutions(QStringLiteral("MS PGothic"), substitutes);
}

}  // namespace ui
