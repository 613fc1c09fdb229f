#pragma once
// The two list files of the registered volumes beside the program: the names
// (<short name>VN.LIS) and the values (<short name>VR.LIS), one entry a line,
// in code page 932 so that the files stay what they always were.
//
// Lines are written with CR LF and read with CR, LF or CR LF. A save replaces
// both files or neither: each file is first written whole under a ".new" name,
// the names file last, and only then are both renamed over the old ones. A
// names ".new" file is therefore the mark of a finished write; the next read
// completes such a save and discards a values ".new" file that has no names
// file beside it, so an interruption at any point leaves a matching pair.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace nuvask {

struct RegisteredVolumeLists
{
    QStringList names;
    QStringList values;
};

class RegisteredVolumeFiles
{
public:
    // Limits that keep a huge, binary or foreign file from stalling the start.
    static constexpr qint64 MaxFileBytes = 1024 * 1024; // bytes read of each file
    static constexpr int MaxLines = 10000;              // entries kept of each file
    static constexpr int MaxLineBytes = 255;            // bytes kept of each line

    // Which limits a file went past (flags).
    enum Limit { FileBytesLimit = 1, LinesLimit = 2, LineBytesLimit = 4 };

    // dir ends in the path separator (as the program folder does).
    RegisteredVolumeFiles(const QString &dir, const QString &shortName);

    QString namesPath() const { return m_namesPath; }
    QString valuesPath() const { return m_valuesPath; }

    // Both lists as the files hold them, after completing a save that was
    // interrupted. A missing or unreadable file gives an empty list.
    RegisteredVolumeLists read();
    // Writes both files; empty text on success, else what went wrong (Japanese,
    // for the user). On failure the files on disk are the old pair. After a
    // read that went past a limit nothing is written at all: what the list
    // could not hold would be lost (the user was told, see LimitMessage).
    QString write(const QStringList &names, const QStringList &values);

    // After a read: what the user must be told because a file went past a
    // limit (which file, which limit, and that the files stay as they are);
    // empty when both were read whole.
    QString LimitMessage() const;

    // The lines of a file's bytes: split at CR, LF or CR LF; a final line break
    // does not start another line. Lines past MaxLines are dropped, each line is
    // cut to MaxLineBytes without splitting a double-byte character, and when
    // `truncated` (the bytes are the head of a longer file) the cut last line
    // is dropped too. `limits` gets the Limit flags of what was left out or cut.
    static QList<QByteArray> SplitLines(const QByteArray &bytes, bool truncated = false, int *limits = nullptr);

    // Text of each line. A line whose bytes the codec cannot reproduce goes
    // into `foreign` (its text -> its bytes), so that writing the same text
    // back writes the same bytes.
    using ForeignBytes = QHash<QString, QByteArray>;
    static QStringList DecodeLines(const QByteArray &bytes, bool truncated, ForeignBytes &foreign,
                                   int *limits = nullptr);
    // The file bytes of `lines`, each ended by CR LF; empty text on success,
    // else the reason (a character code page 932 cannot hold).
    static QString EncodeLines(const QStringList &lines, const ForeignBytes &foreign, QByteArray &out);

    // For tests: the save stops after this many of its four steps (values
    // written, names written, values renamed, names renamed) as if the program
    // had died there. Negative: runs to the end.
    void setStopAfterStep(int steps) { m_stopAfterStep = steps; }

private:
    QStringList readLines(const QString &path);
    // Completes a save that stopped after writing both files, or discards
    // half of one; the error text when a pending pair cannot be moved in.
    QString settlePending();
    QString writeWhole(const QString &path, const QByteArray &bytes) const;
    bool stopHere(int step) const { return m_stopAfterStep >= 0 && step >= m_stopAfterStep; }

    QString m_namesPath;
    QString m_valuesPath;
    ForeignBytes m_foreignBytes; // of both files as last read
    QList<std::pair<QString, int>> m_pastLimits; // file, Limit flags, of the last read
    int m_stopAfterStep = -1;
};

} // namespace nuvask
