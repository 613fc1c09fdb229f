#pragma once
// The table of contents and the keyword index of the program's help file.
// The help file is HTML: every topic starts with a heading that carries an
// id (<h1 id="..."> to <h3 id="...">), and a topic lists its keywords in a
// comment of the form <!-- keywords: 音量; ミュート; Mute --> anywhere
// below its heading.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace nuvask {

struct HelpTopic
{
    QString id;
    QString title; // heading text, tags removed
    int level = 1; // 1..3
};

class HelpIndex
{
public:
    // Reads the topics and keywords of one help text; a text without
    // headings gives an empty index.
    static HelpIndex Parse(const QString &html);

    const QList<HelpTopic> &Topics() const { return m_topics; }
    // Every keyword in sorted order.
    QStringList Keywords() const { return m_keywords.keys(); }
    // Ids of the topics a keyword belongs to, in file order.
    QStringList TopicsFor(const QString &keyword) const { return m_keywords.value(keyword); }
    // Keywords that begin with `typed` (ignoring letter case) first, then
    // those that merely contain it; an empty text matches every keyword.
    QStringList Match(const QString &typed) const;
    QString TitleOf(const QString &id) const;

private:
    QList<HelpTopic> m_topics;
    QMap<QString, QStringList> m_keywords;
};

} // namespace nuvask
