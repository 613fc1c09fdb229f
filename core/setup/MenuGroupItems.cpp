// The program's launchers taken out of a program group.

#include "core/setup/MenuGroupItems.h"

#include "core/desktop/MenuGroups.h"
#include "core/setup/SetupPlatform.h"

namespace nuvask {

void TakeProgramItem(const SetupContext &c, const QString &group)
{
    const std::optional<QString> show = ShowGroupCommand(group);
    const std::optional<QString> remove = DeleteItemCommand(c.start.ProgramTitle);
    if (!show || !remove)
        return;
    c.groups.ExecuteGroupCommand(*show);
    LetMessagesRun();
    c.groups.ExecuteGroupCommand(*remove);
    LetMessagesRun();
}

void TakeProgramItems(const SetupContext &c, const QString &group)
{
    TakeProgramItem(c, group);
    c.platform.RemoveUninstallLauncher(group);
}

} // namespace nuvask
