#pragma once
// A program the package manager installed (a Debian package, or a prefix
// install by the project's install rules). Its folder is the package's: the
// per-user setup copies nothing into it or out of it, the uninstall deletes
// nothing of it (the package manager removes the program), and what the
// program writes for the user (the registered volumes) goes into the user's
// data folder instead.
//
// Such a folder is recognised by the mark the install rules put beside the
// program (it holds for root too, who can write every folder), or by being a
// folder below /usr or /opt that the user cannot write. An unwritable folder
// elsewhere (a read-only medium) is not the package manager's: the setup
// copies the program from there as from any other folder.

#include <QString>

namespace nuvask {

// The mark's file name beside the program.
inline constexpr char kPackagedMark[] = "nuvask.packaged";

bool IsPackageManaged(const QString &programFolder);

} // namespace nuvask
