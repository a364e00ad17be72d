#pragma once

#include "support/QtPrint.h"
#include "ui_queue/OutArray.h"

#include <QStringList>

// Takes every pending record of the queue and returns the texts of the log lines among them,
// stamps cut off; hidden lines are prefixed "(hidden) ". Other records are applied as the drain
// would apply them.
QStringList TakeLogLines(TOutArray& queue, const TApplyContext& context = {});

// Removes the date-and-time stamp a log line starts with.
QString Unstamped(const QString& line);
