#pragma once
// The text of one settings file (a registry-export layout), kept byte for byte.
//
// The text form of one registry root on disk, in the layout of a registry
// export so that a user can read and edit it:
//
//   Windows Registry Editor Version 5.00
//
//   [Software\KELDO SOFT32\NUVASK]
//   "Version"="23"
//   "FP"="10,20"
//
// Strings are always quoted (\\ \" \n \r \t escapes), so a comma or a leading
// blank never changes a value's meaning.
//
// The document is the file's lines, each kept as the bytes it was read from
// (line ending included). Only a value the program writes or deletes, and a
// key it creates or deletes, changes bytes: every other line, whatever its
// encoding, line ending or meaning to this reader, is written back exactly as
// it was read. Lines written by the program are UTF-8 and take the line
// ending of the file's first line. A line that is not valid UTF-8 is read as
// code page 932 when it is valid there (files carried over from the original
// platform), so that its text reads right; its bytes stay as they are.
//
// Parsing is linear in the size of the file; a look-up scans the lines once.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace nuvask {

class SettingsFileDocument
{
public:
    static SettingsFileDocument parse(const QByteArray &bytes);
    QByteArray serialize() const;

    bool hasKey(const QString &path) const; // exact key or any key below it
    // The calls that change the document return whether they changed a byte.
    bool createKey(const QString &path); // with its parents
    bool deleteKeyTree(const QString &path);
    QStringList subKeys(const QString &path) const;
    QStringList valueNames(const QString &path) const;
    // nullopt for a missing value and for one that is not a string. When a
    // name occurs more than once in a key, the last line counts.
    std::optional<QString> readString(const QString &path, const QString &name) const;
    // Leaves the document untouched when the value already holds this text.
    bool writeString(const QString &path, const QString &name, const QString &value);
    // Removes every line of the value in the key.
    bool deleteValue(const QString &path, const QString &name);

    // Nothing but the header line and blank lines: no key, no value, no
    // comment or foreign line of anyone else's.
    bool holdsNothing() const;

    // The line a value is written as, without its line ending.
    static QByteArray valueLine(const QString &name, const QString &value);

private:
    enum class Kind { Raw, KeyHeader, Value };
    struct Entry
    {
        Kind kind = Kind::Raw;
        int key = -1;      // index into m_keys; -1 before the first key
        QByteArray bytes;  // exactly as in the file, line endings included
        QString name;      // Value: its name ("" for the default value)
        bool isString = false;
        QString data;      // Value: the string, or the raw text after '='
        bool continued = false; // Value: its last line ends in '\', so the next line is part of it
    };

    int keyId(const QString &path) const; // -1 when the path was never seen
    int addKeyId(const QString &normalisedPath);
    bool keyLives(int id) const { return m_headers[id] > 0; }
    bool isNameOf(const Entry &e, int key, const QString &name) const;
    qsizetype lastValue(int key, const QString &name) const;
    qsizetype insertionPoint(int key) const;
    void terminateLastLine();
    QByteArray lineEnding(const QByteArray &bytes) const;
    void addEntry(Entry entry);

    std::vector<Entry> m_entries;
    QStringList m_keys;                 // normalised path of each key, as first written
    std::vector<int> m_headers;         // per key: how many "[path]" lines it has
    QHash<QString, int> m_keyIndex;     // case-folded path -> index into m_keys
    QByteArray m_eol = "\n";            // for lines the program adds
};

} // namespace nuvask
