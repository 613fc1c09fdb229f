// The fonts the windows are designed for, mapped to Linux fonts.

#include "ui/widgets/AppFonts.h"

#include <QFont>
#include <QStringList>

namespace nuvask {

void InstallFontSubstitutions()
{
    const QStringList proportional{QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                                   QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), proportional);
    const QStringList fixed{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), fixed);
    // The message box measures its text in "System"; give it the same Gothic.
    QFont::insertSubstitutions(QStringLiteral("System"), proportional);
}

} // namespace nuvask
