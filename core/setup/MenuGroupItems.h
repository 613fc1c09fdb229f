#pragma once
// The program's launchers in a program group as install and uninstall take
// them out again: the program's own item, and with it the uninstaller's
// launcher and the group itself when nothing else is left in it.

#include "core/setup/SetupNames.h"

#include <QString>

namespace nuvask {

// The program's item out of `group` ("[ShowGroup(...)]" first, then
// "[DeleteItem(...)]"); failures are not reported.
void TakeProgramItem(const SetupContext &context, const QString &group);

// The program's item and the uninstaller's launcher out of `group`, and the
// group when they were all it held.
void TakeProgramItems(const SetupContext &context, const QString &group);

} // namespace nuvask
