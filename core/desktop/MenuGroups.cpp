// Program groups (menu submenus) driven by bracketed command strings.

#include "core/desktop/MenuGroups.h"

namespace nuvask {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

bool isSyntax(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char('[')
           || c == QLatin1Char(']');
}

template <typename Check> std::optional<QString> built(const QString &error, QString *errorOut, Check &&make)
{
    if (errorOut)
        *errorOut = error;
    if (!error.isEmpty())
        return std::nullopt;
    return make() + kLineEnd;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

QStringList IMenuGroups::RequestGroups()
{
    const std::optional<QString> reply = RequestGroupsReply();
    return reply ? SplitGroupsReply(*reply) : QStringList();
}

QStringList SplitGroupsReply(const QString &reply)
{
    QStringList names;
    QString current;
    for (QChar c : reply) {
        if (c.unicode() == 0)
            break;
        // Code 20 decimal, not 0x20: the blank and everything above stay in a name.
        if (c.unicode() < 20) {
            if (!current.isEmpty())
                names << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        names << current;
    return names;
}

QString GroupCommandNameError(const QString &name, bool groupName)
{
    for (QChar c : name) {
        if (isControl(c) || isSyntax(c) || (groupName && c == QLatin1Char(',')))
            return menuGroupText::BadName() + name;
    }
    return {};
}

QString GroupCommandPathError(const QString &path)
{
    for (QChar c : path) {
        if (isControl(c) || c == QLatin1Char('"'))
            return menuGroupText::BadPath() + path;
    }
    return {};
}

std::optional<QString> CreateGroupCommand(const QString &group, QString *error)
{
    return built(GroupCommandNameError(group, true), error,
                 [&] { return QStringLiteral("[CreateGroup(%1)]").arg(group); });
}

std::optional<QString> AddItemCommand(const QString &programFile, const QString &itemName, QString *error)
{
    QString problem = GroupCommandPathError(programFile);
    if (problem.isEmpty())
        problem = GroupCommandNameError(itemName, false);
    return built(problem, error, [&] {
        return QStringLiteral("[AddItem(%1)]").arg(quoted(programFile) + QLatin1Char(',') + quoted(itemName));
    });
}

std::optional<QString> DeleteItemCommand(const QString &itemName, QString *error)
{
    return built(GroupCommandNameError(itemName, false), error,
                 [&] { return QStringLiteral("[DeleteItem(%1)]").arg(quoted(itemName)); });
}

std::optional<QString> ShowGroupCommand(const QString &group, QString *error)
{
    return built(GroupCommandNameError(group, true), error,
                 [&] { return QStringLiteral("[ShowGroup(%1,1)]").arg(group); });
}

namespace {

// A small cursor over the command text.
class Reader
{
public:
    explicit Reader(const QString &text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }
    bool take(QChar c)
    {
        if (peek() != c || atEnd())
            return false;
        ++m_pos;
        return true;
    }
    void skipSeparators()
    {
        while (!atEnd()) {
            const QChar c = peek();
            if (c != QLatin1Char('\r') && c != QLatin1Char('\n') && c != QLatin1Char(' ') && c != QLatin1Char('\t'))
                break;
            ++m_pos;
        }
    }
    QString word()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek().isLetter() && peek().unicode() < 0x80)
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }
    std::optional<QString> field()
    {
        if (take(QLatin1Char('"'))) {
            const qsizetype close = m_text.indexOf(QLatin1Char('"'), m_pos);
            if (close < 0)
                return std::nullopt;
            QString value = m_text.mid(m_pos, close - m_pos);
            m_pos = close + 1;
            for (QChar c : value) {
                if (isControl(c))
                    return std::nullopt;
            }
            return value;
        }
        const qsizetype start = m_pos;
        while (!atEnd()) {
            const QChar c = peek();
            if (isControl(c) || isSyntax(c) || c == QLatin1Char(','))
                break;
            ++m_pos;
        }
        return m_text.mid(start, m_pos - start);
    }

private:
    const QString &m_text;
    qsizetype m_pos = 0;
};

struct Shape
{
    const char *name;
    GroupCommand::Kind kind;
    int minFields;
    int maxFields;
};

constexpr Shape kShapes[] = {
    {"CreateGroup", GroupCommand::CreateGroup, 1, 1},
    {"AddItem", GroupCommand::AddItem, 1, 2},
    {"DeleteItem", GroupCommand::DeleteItem, 1, 1},
    {"ShowGroup", GroupCommand::ShowGroup, 2, 2},
};

} // namespace

std::optional<QList<GroupCommand>> ParseGroupCommands(const QString &text)
{
    QList<GroupCommand> commands;
    Reader in(text);
    in.skipSeparators();
    while (!in.atEnd()) {
        if (!in.take(QLatin1Char('[')))
            return std::nullopt;
        const QString name = in.word();
        const Shape *shape = nullptr;
        for (const Shape &s : kShapes) {
            if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0)
                shape = &s;
        }
        if (!shape || !in.take(QLatin1Char('(')))
            return std::nullopt;
        GroupCommand command;
        command.kind = shape->kind;
        do {
            const std::optional<QString> field = in.field();
            if (!field)
                return std::nullopt;
            command.args << *field;
        } while (in.take(QLatin1Char(',')));
        if (!in.take(QLatin1Char(')')) || !in.take(QLatin1Char(']')))
            return std::nullopt;
        if (command.args.size() < shape->minFields || command.args.size() > shape->maxFields)
            return std::nullopt;
        if (command.args.first().isEmpty())
            return std::nullopt;
        commands << command;
        in.skipSeparators();
    }
    if (commands.isEmpty())
        return std::nullopt;
    return commands;
}

} // namespace nuvask
