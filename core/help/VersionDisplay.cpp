// How the version menu and the about box word the version.

#include "core/help/VersionDisplay.h"

#include "core/base/Cp932.h"
#include "core/settings/SettingsStore.h"

namespace nuvask {

namespace {
constexpr int kNotInstalled = 255;
constexpr qsizetype kProductPrefixLimit = 21; // bytes, code page 932
} // namespace

QString StoredVersionText(const QString &stored)
{
    const int version = SettingsStore::parseDecimal(stored).value_or(kNotInstalled);
    // A negative number would come out as "0.-5": it is no version either.
    if (version == kNotInstalled || version < 0)
        return QStringLiteral("?.?");
    return QString::number(version / 10) + QLatin1Char('.') + QString::number(version % 10);
}

QString ProductNameLine(const QString &productName)
{
    qsizetype bytes = Cp932::byteLength(productName);
    if (bytes < 0) // not representable: count what it would take in UTF-8
        bytes = productName.toUtf8().size();
    if (bytes < kProductPrefixLimit)
        return QStringLiteral("ProductName ") + productName;
    return productName;
}

} // namespace nuvask
