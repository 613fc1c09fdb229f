// Any command text must parse without crashing; what parses must hold only
// the four commands with their field counts, and a text the builders write
// from parsed fields must parse back to the same fields.
#include "core/desktop/MenuGroups.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace nuvask;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    SplitGroupsReply(text);
    const auto commands = ParseGroupCommands(text);
    if (!commands)
        return 0;
    for (const GroupCommand &c : *commands) {
        if (c.args.isEmpty() || c.args.first().isEmpty())
            std::abort();
        std::optional<QString> again;
        switch (c.kind) {
        case GroupCommand::CreateGroup:
            again = CreateGroupCommand(c.args[0]);
            break;
        case GroupCommand::DeleteItem:
            again = DeleteItemCommand(c.args[0]);
            break;
        case GroupCommand::AddItem:
            if (c.args.size() == 2)
                again = AddItemCommand(c.args[0], c.args[1]);
            break;
        case GroupCommand::ShowGroup:
            again = ShowGroupCommand(c.args[0]);
            break;
        }
        if (!again)
            continue; // refused names are fine; a refused name must never be built
        const auto back = ParseGroupCommands(*again);
        if (!back || back->size() != 1 || back->first().kind != c.kind || back->first().args.first() != c.args.first())
            std::abort();
    }
    return 0;
}
