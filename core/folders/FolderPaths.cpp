// Path rules of the folder browser.

#include "core/folders/FolderPaths.h"

#include "core/base/Cp932.h"
#include "core/folders/FileNames.h"
#include "core/startup/ProgramEntry.h"
#include "core/base/TextHelpers.h"

#include <QCoreApplication>
#include <QDir>

#include <dirent.h>

namespace nuvask {

namespace {

const QString kRoot = QStringLiteral("/");

// Bytes of `text` as a file of the original platform would hold them; text
// code page 932 cannot hold is measured in UTF-8 (it never reaches such a file).
QByteArray PromptBytes(const QString &text, bool *cp932)
{
    if (auto bytes = Cp932::encode(text)) {
        *cp932 = true;
        return *bytes;
    }
    *cp932 = false;
    return text.toUtf8();
}

} // namespace

QString StripTrailingSeparator(const QString &path)
{
    QString out = path;
    while (out.size() > 1 && out.endsWith(kFolderSeparator))
        out.chop(1);
    return out;
}

QString WithTrailingSeparator(const QString &path)
{
    if (path.isEmpty() || path.endsWith(kFolderSeparator))
        return path;
    return path + kFolderSeparator;
}

QString NormalisedFolder(const QString &path, const QString &base)
{
    if (path.isEmpty())
        return {};
    QString absolute = path;
    if (!QDir::isAbsolutePath(absolute))
        absolute = WithTrailingSeparator(base.isEmpty() ? QDir::currentPath() : base) + absolute;
    return StripTrailingSeparator(QDir::cleanPath(absolute));
}

QString ParentFolder(const QString &path)
{
    const QString folder = StripTrailingSeparator(path);
    const qsizetype cut = folder.lastIndexOf(kFolderSeparator);
    if (cut <= 0)
        return kRoot;
    return folder.left(cut);
}

QStringList FolderComponents(const QString &path)
{
    QStringList out{kRoot};
    const QStringList parts = path.split(kFolderSeparator, Qt::SkipEmptyParts);
    out.append(parts);
    return out;
}

QString JoinFolderComponents(const QStringList &components, qsizetype count)
{
    QString out;
    for (qsizetype i = 0; i < count && i < components.size(); ++i) {
        if (i == 0) {
            out = components[0];
            continue;
        }
        out = WithTrailingSeparator(out) + components[i];
    }
    return out;
}

QStringList CumulativeFolders(const QString &path)
{
    const QStringList components = FolderComponents(path);
    QStringList out;
    for (qsizetype i = 1; i <= components.size(); ++i)
        out.append(JoinFolderComponents(components, i));
    return out;
}

bool CanOpenFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    // opendir answers for the effective user and follows links once, so it
    // fails on missing folders, plain files, unreadable folders and loops.
    DIR *dir = ::opendir(EncodeFileName(path).constData());
    if (!dir)
        return false;
    ::closedir(dir);
    return true;
}

QString NearestOpenableFolder(const QString &path)
{
    const QStringList chain = CumulativeFolders(ParentFolder(NormalisedFolder(path)));
    for (qsizetype i = chain.size() - 1; i >= 0; --i) {
        if (CanOpenFolder(chain[i]))
            return chain[i];
    }
    return kRoot;
}

QString StartFolder(const QString &directory, const QString &initialDir, const QString &programFolder)
{
    auto usable = [](const QString &wanted) {
        const QString folder = NormalisedFolder(wanted);
        if (folder.isEmpty() || CanOpenFolder(folder))
            return folder;
        return NearestOpenableFolder(folder);
    };
    QString start = usable(directory);
    if (start.isEmpty())
        start = usable(initialDir);
    if (start.isEmpty() || !CanOpenFolder(start))
        start = programFolder;
    return start;
}

QString NewFolderPrompt(const QString &folder)
{
    constexpr qsizetype kLongest = 38; // bytes shown whole
    constexpr qsizetype kTail = 36;    // bytes kept of a longer path
    const QString shown = WithTrailingSeparator(DisplayName(folder));
    bool cp932 = false;
    const QByteArray bytes = PromptBytes(shown, &cp932);
    QString prompt = shown;
    if (bytes.size() > kLongest) {
        qsizetype from = bytes.size() - kTail;
        if (cp932) {
            // A tail that starts on the second byte of a character would show
            // that byte as a stray half: start one byte later.
            if (IsSjisTrailByte(bytes, from))
                ++from;
            prompt = QStringLiteral("...") + Cp932::decode(bytes.mid(from));
        } else {
            // UTF-8 continuation bytes are 10xxxxxx.
            while (from < bytes.size() && (static_cast<unsigned char>(bytes[from]) & 0xC0) == 0x80)
                ++from;
            prompt = QStringLiteral("...") + QString::fromUtf8(bytes.mid(from));
        }
    }
    return prompt + QStringLiteral("     ");
}

bool IsPlainFolderName(const QString &name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..")
        && !name.contains(kFolderSeparator) && !name.contains(QChar(u'\0'));
}

QString ProgramFolder()
{
    const QString dir = Start().ProgramDir;
    if (!dir.isEmpty())
        return StripTrailingSeparator(dir);
    return StripTrailingSeparator(QCoreApplication::applicationDirPath());
}

} // namespace nuvask
