// The window's fixed texts that are not captions: the three reference
// messages and the words for a calculation that gave no number.
#pragma once

#include <QString>

#include "calc/calculate.h"

namespace ui {

// The title of the message boxes: the product name.
inline QString ApplicationTitle() { return QStringLiteral("Tressin"); }

// The reference message of a row, lines joined by CR LF exactly as shown to
// the user; the time message ends with a CR LF.
QString ReferenceMessage(calc::Row row);

// Why a row did not convert, as a short phrase for a tooltip ("数値ではありません").
// Empty for a converted row.
QString RowProblem(calc::EntryStatus status);

// Why the result could not be formed, as a phrase for the tooltip of the
// boxes at fault. Empty when it was computed.
QString ResultProblem(calc::ResultStatus status);

// The text for the result box when Calculate wrote no number: the first
// failing row and why, or else why the result could not be formed.
// Precondition: !outcome.written.
QString ReasonText(const calc::CalculationOutcome& outcome);

}  // namespace ui
