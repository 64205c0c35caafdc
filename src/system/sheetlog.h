#pragma once

#include <QLoggingCategory>

// The sheet's debug messages (file reading, printable area, zoom steps). Off
// by default; QT_LOGGING_RULES="lamello.sheet.debug=true" turns them on.
Q_DECLARE_LOGGING_CATEGORY(lcSheet)
