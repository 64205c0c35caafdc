#pragma once

#include "printing/calibration.h"

#include <QString>

// What the program keeps about printing between runs, in the program's
// settings file (Settings::openStore()), so that the window and lamello-batch
// read the same values:
//
//   Calibration/<printer>/shiftX, shiftY   mm
//   Calibration/<printer>/scaleX, scaleY   percent
//   Print/marks                            bool, true when absent
//
// <printer> is the queue's name percent-encoded, so that no name can reach
// into another key.
namespace PrintSettings {

// The stored calibration of `printer`; the identity when none is stored, and
// the identity with the reason in `problem` when a stored value is no number
// or out of range.
Calibration calibration(const QString &printer, QString *problem = nullptr);
// Stores `calibration` for `printer`; the identity removes the entry.
void setCalibration(const QString &printer, const Calibration &calibration);

// Whether printouts from the window carry the marks (fit tints, the frame of
// the printable area).
bool marks();
void setMarks(bool on);

} // namespace PrintSettings
