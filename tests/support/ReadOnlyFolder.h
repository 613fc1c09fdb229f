#pragma once
// Makes a folder unwritable for the life of the object. Permission bits do not
// stop root, so for root the folder is also marked immutable; where the file
// system cannot do that, `active()` is false and the test should skip.

#include <QString>

namespace nuvask::test {

class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    bool active() const { return m_active; }

private:
    QString m_path;
    bool m_immutable = false;
    bool m_active = false;
};

} // namespace nuvask::test
