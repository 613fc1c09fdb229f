#pragma once
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
// blank never changes a value's meaning. A value of another type (dword:...,
// hex:...) and any line this reader does not understand are kept verbatim and
// written back unchanged: a hand-edited file loses nothing by being rewritten.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace nuvask {

class HiveDocument
{
public:
    struct Value
    {
        QString name;      // empty for a raw line
        bool isString = false;
        QString data;      // the string, or the raw text after '=' (or the whole raw line)
        bool isRawLine = false;
    };
    struct Key
    {
        QString path;      // normalised, as first written
        std::vector<Value> values;
    };

    static HiveDocument parse(const QByteArray &utf8);
    QByteArray serialize() const;

    bool hasKey(const QString &path) const;      // exact key or any key below it
    void createKey(const QString &path);         // with its parents
    void deleteKeyTree(const QString &path);
    QStringList subKeys(const QString &path) const;
    QStringList valueNames(const QString &path) const;
    std::optional<QString> readString(const QString &path, const QString &name) const;
    void writeString(const QString &path, const QString &name, const QString &value);
    bool deleteValue(const QString &path, const QString &name);

    const std::vector<Key> &keys() const { return m_keys; }

private:
    Key *findKey(const QString &path);
    const Key *findKey(const QString &path) const;

    std::vector<Key> m_keys;
    QStringList m_preamble; // unknown lines before the first key, kept verbatim
};

} // namespace nuvask
