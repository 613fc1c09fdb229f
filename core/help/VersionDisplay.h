#pragma once
// How the version menu and the about box put the stored version and the
// product name into words.

#include <QString>

namespace nuvask {

// The stored "Version" value as the about box shows it: "?.?" for a missing,
// empty, non-numeric or negative value and for 255 (the "not installed"
// mark); otherwise tens "." units, so "23" gives "2.3", "7" gives "0.7" and
// "123" gives "12.3".
QString StoredVersionText(const QString &stored);

// The about box's product line: "ProductName " + name while the name takes
// fewer than 21 bytes in code page 932, the name alone from 21 bytes on.
QString ProductNameLine(const QString &productName);

} // namespace nuvask
