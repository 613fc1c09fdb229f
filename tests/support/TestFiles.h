#pragma once
// Whole files as bytes, for tests that prepare a file or check one byte for byte.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <gtest/gtest.h>

namespace nuvask::test {

// Writes `bytes` to `path`, making its folders; the test fails when it cannot.
inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size()) << path.toStdString();
}

// The whole file, or `whenMissing` when it cannot be read.
inline QByteArray ReadFile(const QString &path, const QByteArray &whenMissing = {})
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : whenMissing;
}

} // namespace nuvask::test
