// The folder browser's "drives": mounted file systems.

#include "core/folders/MountedDrives.h"

#include "core/folders/FolderPaths.h"

#include <QDir>
#include <QSet>
#include <QStorageInfo>

#include <algorithm>

namespace nuvask {

namespace {

bool IsPseudo(const QString &fsType)
{
    static const QSet<QString> pseudo{
        QStringLiteral("proc"),       QStringLiteral("sysfs"),      QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),     QStringLiteral("cgroup"),     QStringLiteral("cgroup2"),
        QStringLiteral("securityfs"), QStringLiteral("pstore"),     QStringLiteral("bpf"),
        QStringLiteral("debugfs"),    QStringLiteral("tracefs"),    QStringLiteral("configfs"),
        QStringLiteral("fusectl"),    QStringLiteral("mqueue"),     QStringLiteral("hugetlbfs"),
        QStringLiteral("autofs"),     QStringLiteral("binfmt_misc"), QStringLiteral("nsfs"),
        QStringLiteral("efivarfs"),   QStringLiteral("rpc_pipefs"), QStringLiteral("selinuxfs"),
        QStringLiteral("squashfs"),   QStringLiteral("overlay"),    QStringLiteral("fuse.portal"),
        QStringLiteral("fuse.gvfsd-fuse"), QStringLiteral("ramfs"), QStringLiteral("tmpfs"),
    };
    return pseudo.contains(fsType);
}

bool IsUnder(const QString &root, const QString &top)
{
    return root.startsWith(top + kFolderSeparator);
}

DriveKind KindOf(const VolumeFacts &v)
{
    static const QSet<QString> network{
        QStringLiteral("nfs"),       QStringLiteral("nfs4"),   QStringLiteral("cifs"),
        QStringLiteral("smb3"),      QStringLiteral("smbfs"),  QStringLiteral("fuse.sshfs"),
        QStringLiteral("sshfs"),     QStringLiteral("davfs"),  QStringLiteral("fuse.davfs2"),
        QStringLiteral("9p"),        QStringLiteral("afs"),    QStringLiteral("ceph"),
        QStringLiteral("glusterfs"), QStringLiteral("fuse.glusterfs"),
    };
    if (v.fsType == QStringLiteral("iso9660") || v.fsType == QStringLiteral("udf"))
        return DriveKind::CdRom;
    if (network.contains(v.fsType))
        return DriveKind::Network;
    if (v.fsType == QStringLiteral("tmpfs") || v.fsType == QStringLiteral("ramfs"))
        return DriveKind::Ram;
    if (IsUnder(v.root, QStringLiteral("/media")) || IsUnder(v.root, QStringLiteral("/run/media")))
        return DriveKind::Removable;
    return DriveKind::Fixed;
}

bool Wanted(const VolumeFacts &v, const QStringList &wantedRoots)
{
    if (v.root == QStringLiteral("/"))
        return true; // whatever the root is (an overlay in a container)
    const bool mediaPlace = IsUnder(v.root, QStringLiteral("/media")) ||
        IsUnder(v.root, QStringLiteral("/run/media")) || IsUnder(v.root, QStringLiteral("/mnt"));
    // Memory file systems count only where a user mounted them for files.
    if (IsPseudo(v.fsType) && !(mediaPlace && (v.fsType == QStringLiteral("tmpfs") ||
                                               v.fsType == QStringLiteral("ramfs"))))
        return false;
    return mediaPlace || v.root == QStringLiteral("/home") || wantedRoots.contains(v.root);
}

} // namespace

QList<DriveEntry> SelectDrives(const QList<VolumeFacts> &volumes, const QStringList &wantedRoots)
{
    QList<DriveEntry> drives;
    QSet<QString> seen;
    for (const VolumeFacts &v : volumes) {
        const QString root = StripTrailingSeparator(v.root);
        if (root.isEmpty() || seen.contains(root))
            continue;
        VolumeFacts facts = v;
        facts.root = root;
        if (!Wanted(facts, wantedRoots))
            continue;
        seen.insert(root);
        const DriveKind kind = KindOf(facts);
        drives.append({root, kind, facts.name, kind == DriveKind::Network ? facts.device : QString()});
    }
    if (!seen.contains(QStringLiteral("/")))
        drives.append({QStringLiteral("/"), DriveKind::Fixed, QString(), QString()});
    std::sort(drives.begin(), drives.end(), [](const DriveEntry &a, const DriveEntry &b) { return a.root < b.root; });
    return drives;
}

QList<VolumeFacts> MountedVolumes()
{
    QList<VolumeFacts> out;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &s : volumes) {
        out.append({s.rootPath(), QString::fromLatin1(s.fileSystemType()), QString::fromLocal8Bit(s.device()),
                    s.name()});
    }
    return out;
}

QList<DriveEntry> CurrentDrives()
{
    const QStringList wanted{QStorageInfo(ProgramFolder()).rootPath(), QStorageInfo(QDir::homePath()).rootPath()};
    return SelectDrives(MountedVolumes(), wanted);
}

QString DriveRootOf(const QString &path, const QList<DriveEntry> &drives)
{
    QString best = QStringLiteral("/");
    for (const DriveEntry &d : drives) {
        if ((path == d.root || path.startsWith(WithTrailingSeparator(d.root))) && d.root.size() > best.size())
            best = d.root;
    }
    return best;
}

bool DriveReady(const QString &root)
{
    if (!CanOpenFolder(root))
        return false;
    const QStorageInfo info(root);
    // A medium taken out leaves its empty mount folder on the parent's file
    // system: the root then no longer is a mount root.
    return info.isValid() && info.isReady() && info.bytesTotal() >= 0 &&
        StripTrailingSeparator(info.rootPath()) == root;
}

QString DriveLabelText(const DriveEntry &drive)
{
    if (drive.kind == DriveKind::Network && !drive.remote.isEmpty())
        return drive.remote;
    return QStringLiteral("[") + drive.label + u']';
}

} // namespace nuvask
