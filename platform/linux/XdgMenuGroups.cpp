// Program groups as freedesktop menu submenus.

#include "platform/linux/XdgMenuGroups.h"

#include "core/setup/MadeFolders.h"
#include "platform/linux/DesktopEntryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QXmlStreamWriter>

namespace nuvask {

namespace {

const QString kPrefix = QStringLiteral("nuvask-");

// A name as a piece of a file name: bytes that could leave the folder, hide
// the file, or (in a group's part) blur the border between group and item
// become %XX; everything else, non-ASCII included, stays readable.
QString fileSafe(const QString &name, bool groupPart)
{
    const QByteArray utf8 = name.toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const bool keep = b >= 0x80 || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z')
                          || b == '_' || b == ' ' || (b == '.' && i > 0) || (b == '-' && !groupPart);
        if (keep)
            out += static_cast<char>(b);
        else
            out += '%' + QByteArray::number(b, 16).rightJustified(2, '0').toUpper();
    }
    return QString::fromUtf8(out);
}

} // namespace

XdgMenuGroups::XdgMenuGroups(QString icon, QString startupGroupName, MadeFolders *made)
    : m_icon(std::move(icon)), m_startupGroup(std::move(startupGroupName)), m_made(made)
{
}

bool XdgMenuGroups::ensure(const QString &folder)
{
    const bool there = MadeFolders::MakePath(m_made, folder);
    m_unreachable = m_unreachable || !there;
    return there;
}

bool XdgMenuGroups::ensureFor(const QString &file)
{
    return !file.isEmpty() && ensure(QFileInfo(file).absolutePath());
}

XdgMenuGroups::Folders XdgMenuGroups::folders()
{
    // Read anew for every command: the folders follow the environment.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    Folders f;
    if (!data.isEmpty()) {
        f.directories = data + QStringLiteral("/desktop-directories");
        f.applications = data + QStringLiteral("/applications");
    }
    if (!config.isEmpty()) {
        f.merged = config + QStringLiteral("/menus/applications-merged");
        f.autostart = config + QStringLiteral("/autostart");
    }
    return f;
}

QString XdgMenuGroups::DirectoryFile(const QString &group) const
{
    const Folders f = folders();
    return f.directories.isEmpty() ? QString() : f.directories + '/' + kPrefix + fileSafe(group, true) + ".directory";
}

QString XdgMenuGroups::MenuFile(const QString &group) const
{
    const Folders f = folders();
    return f.merged.isEmpty() ? QString() : f.merged + '/' + kPrefix + fileSafe(group, true) + ".menu";
}

QString XdgMenuGroups::ItemFile(const QString &group, const QString &item) const
{
    const Folders f = folders();
    if (isStartup(group))
        return f.autostart.isEmpty() ? QString() : f.autostart + '/' + fileSafe(item, false) + ".desktop";
    if (f.applications.isEmpty())
        return {};
    return f.applications + '/' + kPrefix + fileSafe(group, true) + '-' + fileSafe(item, false) + ".desktop";
}

bool XdgMenuGroups::isStartup(const QString &group) const
{
    return !m_startupGroup.isEmpty() && group.compare(m_startupGroup, Qt::CaseInsensitive) == 0;
}

bool XdgMenuGroups::groupExists(const QString &group) const
{
    return isStartup(group) || QFileInfo::exists(DirectoryFile(group));
}

QString XdgMenuGroups::ExecuteGroupCommand(const QString &command)
{
    const Folders f = folders();
    // A desktop whose folders are unknown cannot be talked to at all.
    if (f.directories.isEmpty() || f.applications.isEmpty() || f.merged.isEmpty() || f.autostart.isEmpty())
        return menuGroupText::OpenFailed();
    const std::optional<QList<GroupCommand>> commands = ParseGroupCommands(command);
    if (!commands)
        return menuGroupText::SendFailed();
    m_unreachable = false;
    for (const GroupCommand &c : *commands) {
        bool done = false;
        switch (c.kind) {
        case GroupCommand::CreateGroup:
            done = createGroup(c.args[0]);
            break;
        case GroupCommand::ShowGroup:
            done = groupExists(c.args[0]);
            if (done)
                m_activeGroup = c.args[0];
            break;
        case GroupCommand::AddItem:
            done = addItem(c.args[0], c.args.value(1));
            break;
        case GroupCommand::DeleteItem:
            done = deleteItem(c.args[0]);
            break;
        }
        if (!done)
            return m_unreachable ? menuGroupText::OpenFailed() : menuGroupText::SendFailed();
    }
    return {};
}

bool XdgMenuGroups::createGroup(const QString &group)
{
    if (!isStartup(group)) {
        const DesktopEntryFile::Entries entries{
            {QStringLiteral("Type"), QStringLiteral("Directory")},
            {QStringLiteral("Name"), group},
        };
        const QString file = DirectoryFile(group);
        if (!ensureFor(file) || !DesktopEntryFile::Write(file, entries) || !writeMenu(group))
            return false;
    }
    m_activeGroup = group;
    return true;
}

bool XdgMenuGroups::addItem(const QString &program, const QString &item)
{
    if (m_activeGroup.isEmpty() || !groupExists(m_activeGroup))
        return false;
    // Without a name of its own the item is called after the program file.
    const QString name = item.isEmpty() ? QFileInfo(program).completeBaseName() : item;
    if (name.isEmpty())
        return false;
    DesktopEntryFile::Entries entries = DesktopEntryFile::LauncherEntries(name, program, m_icon);
    // GNOME ignores merged submenus: the categories still put the item in its menu.
    entries.append({QStringLiteral("Categories"), QStringLiteral("AudioVideo;Audio;Mixer;")});
    const QString file = ItemFile(m_activeGroup, name);
    if (!ensureFor(file) || !DesktopEntryFile::Write(file, entries))
        return false;
    return isStartup(m_activeGroup) || writeMenu(m_activeGroup);
}

bool XdgMenuGroups::deleteItem(const QString &item)
{
    if (m_activeGroup.isEmpty() || !groupExists(m_activeGroup))
        return false;
    const QString file = ItemFile(m_activeGroup, item);
    // An item that is not there is already deleted.
    if (QFileInfo::exists(file) && !QFile::remove(file))
        return false;
    return isStartup(m_activeGroup) || writeMenu(m_activeGroup);
}

bool XdgMenuGroups::AddCommandItem(const QString &group, const QString &item, const QString &shownName,
                                   const QStringList &command)
{
    if (command.isEmpty() || item.isEmpty() || isStartup(group) || !QFileInfo::exists(DirectoryFile(group)))
        return false;
    DesktopEntryFile::Entries entries = DesktopEntryFile::LauncherEntries(shownName.isEmpty() ? item : shownName,
                                                                          command.first(), m_icon, command.mid(1));
    entries.append({QStringLiteral("Categories"), QStringLiteral("Settings;PackageManager;")});
    const QString file = ItemFile(group, item);
    return ensureFor(file) && DesktopEntryFile::Write(file, entries) && writeMenu(group);
}

bool XdgMenuGroups::RemoveItem(const QString &group, const QString &item)
{
    const QString file = ItemFile(group, item);
    if (file.isEmpty() || (QFileInfo::exists(file) && !QFile::remove(file)))
        return false;
    return isStartup(group) || !QFileInfo::exists(DirectoryFile(group)) || writeMenu(group);
}

void XdgMenuGroups::RemoveGroupIfEmpty(const QString &group)
{
    const Folders f = folders();
    if (isStartup(group) || f.applications.isEmpty() || !QFileInfo::exists(DirectoryFile(group)))
        return;
    const QString itemPrefix = kPrefix + fileSafe(group, true) + '-';
    if (!QDir(f.applications).entryList({itemPrefix + QStringLiteral("*.desktop")}, QDir::Files).isEmpty())
        return;
    QFile::remove(MenuFile(group));
    QFile::remove(DirectoryFile(group));
    if (m_activeGroup == group)
        m_activeGroup.clear();
}

bool XdgMenuGroups::writeMenu(const QString &group)
{
    const Folders f = folders();
    if (!ensure(f.merged))
        return false;
    const QString itemPrefix = kPrefix + fileSafe(group, true) + '-';
    const QStringList items =
        QDir(f.applications).entryList({itemPrefix + QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);

    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeDTD(QStringLiteral("<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
                              " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">"));
    w.writeStartElement(QStringLiteral("Menu"));
    w.writeTextElement(QStringLiteral("Name"), QStringLiteral("Applications"));
    w.writeStartElement(QStringLiteral("Menu"));
    w.writeTextElement(QStringLiteral("Name"), group);
    w.writeTextElement(QStringLiteral("Directory"), QFileInfo(DirectoryFile(group)).fileName());
    w.writeStartElement(QStringLiteral("Include"));
    for (const QString &file : items)
        w.writeTextElement(QStringLiteral("Filename"), file);
    w.writeEndElement(); // Include
    w.writeEndElement(); // Menu (the group)
    w.writeEndElement(); // Menu Applications
    w.writeEndDocument();

    QSaveFile out(MenuFile(group));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(xml);
    return out.commit();
}

std::optional<QString> XdgMenuGroups::RequestGroupsReply()
{
    const Folders f = folders();
    if (f.directories.isEmpty())
        return std::nullopt;
    QStringList names;
    const QStringList files =
        QDir(f.directories).entryList({kPrefix + QStringLiteral("*.directory")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        const QString name =
            DesktopEntryFile::UnescapeValue(DesktopEntryFile::Read(f.directories + '/' + file).value(QStringLiteral("Name")));
        if (!name.isEmpty())
            names << name;
    }
    QString reply;
    for (const QString &name : names)
        reply += name + QStringLiteral("\r\n");
    return reply;
}

} // namespace nuvask
