#include "system/sheetlog.h"

Q_LOGGING_CATEGORY(lcSheet, "lamello.sheet", QtInfoMsg)
