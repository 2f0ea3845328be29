// Reading and writing whole files in tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fstream>

namespace kavrin::test {

// The file's bytes, or a marker no real file of the tests holds.
inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// By the name's own bytes, which Qt's file names cannot all spell (a name that is not UTF-8).
inline bool writeFileNamedByBytes(const QByteArray& path, const QByteArray& bytes)
{
    std::ofstream file(path.constData(), std::ios::binary);
    return bool(file.write(bytes.constData(), bytes.size()));
}

// A 243-byte puzzle file: the records given first, empty squares after.
inline QByteArray puzzleBytes(const QByteArray& firstRecords)
{
    return firstRecords + QByteArray(243 - firstRecords.size(), '\0');
}

} // namespace kavrin::test
