#pragma once

#include <QByteArray>
#include <QString>

// The panel, the INI files and Messages.txt speak cp1251; the program speaks QString.
// Characters cp1251 cannot hold become '?'.
QByteArray ToCp1251(QStringView text);
QString FromCp1251(QByteArrayView bytes);
