#pragma once
// The desktop's program groups as the program talks to them: four bracketed
// command strings ("[CreateGroup(...)]" and so on, each ended by CR LF) and
// a request for the list of groups. The main window uses them for the Startup
// item, the setup window for its program group and the uninstaller to take
// both away again.
//
// Realised in platform/linux/XdgMenuGroups over the freedesktop menus and
// autostart folder; tests use a recording fake.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

namespace nuvask {

namespace menuGroupText {
// The desktop's group service could not be reached at all.
inline QString OpenFailed() { return QCoreApplication::translate("MenuGroups", "DDE:オープンに失敗しました・・・"); }
// It was reached but could not carry the command out.
inline QString SendFailed() { return QCoreApplication::translate("MenuGroups", "DDE:送信に失敗しました・・・"); }
// A group or item name the command strings cannot carry; the name follows.
inline QString BadName()
{
    return QCoreApplication::translate("MenuGroups", "グループ名・アイコン名に、使えない文字（ \" ( ) [ ] , や制御文字）が含まれています：\n");
}
inline QString BadPath()
{
    return QCoreApplication::translate("MenuGroups", "プログラムのパスに、使えない文字（ \" や制御文字）が含まれています：\n");
}
} // namespace menuGroupText

class IMenuGroups
{
public:
    virtual ~IMenuGroups() = default;

    // Carries out one command text; empty result = done, else the error text
    // (menuGroupText::OpenFailed() or menuGroupText::SendFailed()).
    virtual QString ExecuteGroupCommand(const QString &command) = 0;
    // The raw reply to the "GROUPS" request, or nothing when there is none.
    virtual std::optional<QString> RequestGroupsReply() = 0;

    // The group names: the reply split by SplitGroupsReply; no reply = none.
    QStringList RequestGroups();
};

// The reply split into names: a character below code 20 ends a name, runs of
// them make no empty names, the zero character ends the reply.
QStringList SplitGroupsReply(const QString &reply);

// --- building the command strings ---------------------------------------------
// A name goes into a command unescaped, so a name holding a character of the
// command syntax would be read as another command or another field. Such a
// name is refused: the builders give nothing and `error` gets the message.
// Group names go in unquoted and may not hold a comma either (it would start
// a second field); the program path is quoted and may hold anything but a
// double quote or a control character.
QString GroupCommandNameError(const QString &name, bool groupName);
QString GroupCommandPathError(const QString &path);

std::optional<QString> CreateGroupCommand(const QString &group, QString *error = nullptr);
std::optional<QString> AddItemCommand(const QString &programFile, const QString &itemName, QString *error = nullptr);
std::optional<QString> DeleteItemCommand(const QString &itemName, QString *error = nullptr);
std::optional<QString> ShowGroupCommand(const QString &group, QString *error = nullptr);

// --- reading them back (the realisation's side) ---------------------------------
struct GroupCommand
{
    enum Kind { CreateGroup, AddItem, DeleteItem, ShowGroup };
    Kind kind = CreateGroup;
    QStringList args; // fields without their quotes
};

// Parses a command text: one or more bracketed commands, each optionally
// followed by line ends or blanks. Only the four commands are known; a field
// is either a quoted text or a run free of quotes, brackets, parentheses and
// commas. Anything else (unknown command, wrong field count, a stray byte)
// makes the whole text unreadable: nothing.
std::optional<QList<GroupCommand>> ParseGroupCommands(const QString &text);

} // namespace nuvask
