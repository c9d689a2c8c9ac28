// SPDX-License-Identifier: MIT
#include "qt/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include "ui/control_table.h"

namespace ui {

const QString& WindowFontFamily() {
  static const QString family = [] {
    // The installed families, listed once; hasFamily would also run
    // fontconfig's alias substitution for each name asked.
    const QStringList installed = QFontDatabase::families();
    const QString wanted = QString::fromUtf8(kFontFamily.data(), static_cast<qsizetype>(kFontFamily.size()));
    if (installed.contains(wanted)) return wanted;
    for (const char* fallback : kFontFallbacks) {
      const QString f = QString::fromUtf8(fallback);
      if (installed.contains(f)) return f;
    }
    return wanted;  // none installed: Qt's own fallback is all there is
  }();
  return family;
}

}  // namespace ui
