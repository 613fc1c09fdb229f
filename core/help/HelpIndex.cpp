// Contents and keyword index of the help file.

#include "core/help/HelpIndex.h"

#include <QRegularExpression>

namespace nuvask {

HelpIndex HelpIndex::Parse(const QString &html)
{
    static const QRegularExpression heading(
        QStringLiteral(R"re(<h([1-3])\s[^>]*\bid\s*=\s*"([^"]+)"[^>]*>(.*?)</h\1\s*>)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression keywords(QStringLiteral(R"(<!--\s*keywords:(.*?)-->)"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));

    HelpIndex index;
    struct Mark
    {
        qsizetype at;
        QString id;
    };
    QList<Mark> marks;
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        HelpTopic topic;
        topic.level = m.captured(1).toInt();
        topic.id = m.captured(2);
        topic.title = QString(m.captured(3)).remove(tag).simplified();
        index.m_topics << topic;
        marks << Mark{m.capturedStart(), topic.id};
    }
    for (auto it = keywords.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // The keywords belong to the last heading before them.
        QString owner;
        for (const Mark &mark : marks) {
            if (mark.at > m.capturedStart())
                break;
            owner = mark.id;
        }
        if (owner.isEmpty())
            continue;
        const QStringList words = m.captured(1).split(QLatin1Char(';'));
        for (const QString &word : words) {
            const QString w = word.simplified();
            if (w.isEmpty())
                continue;
            QStringList &ids = index.m_keywords[w];
            if (!ids.contains(owner))
                ids << owner;
        }
    }
    return index;
}

QStringList HelpIndex::Match(const QString &typed) const
{
    const QString t = typed.trimmed();
    QStringList starts;
    QStringList contains;
    for (auto it = m_keywords.cbegin(); it != m_keywords.cend(); ++it) {
        if (it.key().startsWith(t, Qt::CaseInsensitive))
            starts << it.key();
        else if (it.key().contains(t, Qt::CaseInsensitive))
            contains << it.key();
    }
    return starts + contains;
}

QString HelpIndex::TitleOf(const QString &id) const
{
    for (const HelpTopic &topic : m_topics) {
        if (topic.id == id)
            return topic.title;
    }
    return {};
}

} // namespace nuvask
