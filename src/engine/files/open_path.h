// Paths that come from outside (command line, a later start, a drop, a settings file): their
// bytes, their cleaning, and reading them without waiting on what is not a plain file.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace kavrin {

// File names are bytes, and not every name is UTF-8. A name decodes to text without loss: each
// byte that is not part of a UTF-8 character becomes the lone surrogate U+DC80..U+DCFF, which
// no UTF-8 text decodes to, and encodes back to that byte.
QString decodeFileName(const QByteArray& name);
QByteArray encodeFileName(const QString& name);
// The bytes the system is asked for; none for a name holding a NUL, which would name another file.
std::optional<QByteArray> systemName(const QString& path);

// The length of the UTF-8 byte-order mark some editors put in front of a text file: 3, or 0.
qsizetype byteOrderMarkLength(const QByteArray& text);

// A name that exists as given is taken as given, quotes and all; any other name loses every
// double quote, wherever it stands.
QString cleanedPath(const QString& path);

// The whole argument text after the program name. The shell hands over one quoted path that
// may hold blanks, and Linux splits it into argv; joining with single blanks puts it back.
QString commandLineText(const QStringList& arguments);

// Opens `file` on the named file for reading, by the name's bytes and without waiting on a FIFO
// or a device. On failure errno says why.
bool openForReading(QFile& file, const QString& path);

// At most `cap` bytes of a regular file, so that a FIFO, a device or a huge file in a file's
// place never holds up the program.
struct BoundedRead {
    enum class Kind { Whole, Cut, Missing, NotRegular, Unreadable };
    Kind kind = Kind::Missing;
    QByteArray bytes;    // the whole file, or its first `cap` bytes when cut
    int systemError = 0; // why an unreadable file could not be read
};
BoundedRead readRegularFile(const QString& path, qint64 cap);

} // namespace kavrin
