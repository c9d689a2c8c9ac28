// SPDX-License-Identifier: MIT
#include "ui/fonts.h"

#include <QFontDatabase>

#include "ui/control_table.h"

namespace ui {

const QString& WindowFontFamily() {
  static const QString family = [] {
    const QString wanted = QString::fromUtf8(kFontFamily.data(), static_cast<qsizetype>(kFontFamily.size()));
    if (QFontDatabase::hasFamily(wanted)) return wanted;
    for (const char* fallback : kFontFallbacks) {
      const QString f = QString::fromUtf8(fallback);
      if (QFontDatabase::hasFamily(f)) return f;
    }
    return wanted;  // none installed: Qt's own fallback is all there is
  }();
  return family;
}

}  // namespace ui
