#pragma once
// The small pictures of the folder browser, drawn in code: one per drive kind
// (16×9) and the open and closed folder of the list mode (19×19). Pure red
// marks the transparent pixels, as in the pictures they replace.

#include "core/folders/MountedDrives.h"

#include <QPixmap>

namespace nuvask {

QPixmap DrivePicture(DriveKind kind);
QPixmap OpenFolderPicture();
QPixmap ClosedFolderPicture();

} // namespace nuvask
