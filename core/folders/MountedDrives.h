#pragma once
// The "drives" of the folder browser. There are no drive letters here: a
// drive is a mounted file system a user cares about, named by its mount root
// ("/" always; "/home"; removable media under /media, /run/media and /mnt;
// the file systems holding the program and the home folder). Pseudo file
// systems (proc, sysfs, cgroup, ...) never appear.

#include <QList>
#include <QString>
#include <QStringList>

namespace nuvask {

enum class DriveKind { Removable, Fixed, Network, CdRom, Ram };

struct VolumeFacts
{
    QString root;   // mount root
    QString fsType; // e.g. "ext4", "vfat", "nfs4"
    QString device; // e.g. "/dev/sdb1" or "server:/export"
    QString name;   // volume label, may be empty
};

struct DriveEntry
{
    QString root;
    DriveKind kind = DriveKind::Fixed;
    QString label;  // volume label
    QString remote; // the server side of a network file system
};

// The drives among `volumes`, sorted by mount root. `wantedRoots` are mount
// roots listed even outside the usual places (never a pseudo file system).
QList<DriveEntry> SelectDrives(const QList<VolumeFacts> &volumes, const QStringList &wantedRoots);

// The mounted file systems as the system reports them now.
QList<VolumeFacts> MountedVolumes();

// The drives of this machine now: SelectDrives over MountedVolumes, with the
// mount roots of the program's folder and the home folder wanted.
QList<DriveEntry> CurrentDrives();

// The deepest drive root that holds `path` ("/" when the list has none).
QString DriveRootOf(const QString &path, const QList<DriveEntry> &drives);

// True when the file system is still mounted at `root` and answers.
bool DriveReady(const QString &root);

// The text shown after the root of the selected drive: "[label]" ("[]"
// without a label); a network drive shows its remote name when it has one.
QString DriveLabelText(const DriveEntry &drive);

} // namespace nuvask
