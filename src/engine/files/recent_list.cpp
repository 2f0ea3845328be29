// Reading, writing and shortening the entries of the recent-files list.
#include "files/recent_list.h"

#include "files/open_path.h"
#include "host/messages.h"

#include <QChar>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include <sys/stat.h>

namespace kavrin {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

qsizetype skipBlanks(const QString& line, qsizetype pos)
{
    while (pos < line.size() && isBlank(line[pos]))
        ++pos;
    return pos;
}

// Where the field starting at or before pos ends: its comma, or the line end.
qsizetype fieldEnd(const QString& line, qsizetype pos)
{
    const qsizetype comma = line.indexOf(u',', pos);
    return comma < 0 ? line.size() : comma;
}

void appendFields(const QString& line, QStringList& fields)
{
    qsizetype pos = skipBlanks(line, 0);
    while (pos < line.size()) {
        QString field;
        qsizetype end = 0;
        if (line[pos] == u'"') {
            const qsizetype close = line.indexOf(u'"', pos + 1);
            const qsizetype closeOrEnd = close < 0 ? line.size() : close;
            field = line.mid(pos + 1, closeOrEnd - pos - 1);
            end = fieldEnd(line, closeOrEnd); // anything between the quote and the comma is dropped
        } else {
            end = fieldEnd(line, pos);
            field = line.mid(pos, end - pos).trimmed();
        }
        if (!field.isEmpty())
            fields.append(field);
        pos = skipBlanks(line, end + 1);
    }
}

QString headOf(const QString& path)
{
    return path.startsWith(u'/') ? QStringLiteral("/") : QString();
}

// Where the leading part ends when it keeps 0, 1, 2 ... folders after the head; the file
// name's own folder is never among them, since keeping it would elide nothing.
std::vector<qsizetype> leadingEnds(const QString& path, qsizetype headLength, qsizetype lastSeparator)
{
    std::vector<qsizetype> ends{headLength};
    for (qsizetype at = path.indexOf(u'/', headLength); at >= 0 && at < lastSeparator;
         at = path.indexOf(u'/', at + 1))
        ends.push_back(at + 1);
    return ends;
}

} // namespace

QString recentListFilePath()
{
    return recentListFilePath(QCoreApplication::applicationDirPath());
}

QString recentListFilePath(const QString& executableFolder)
{
    const QFileInfo folder(executableFolder);
    if (folder.isDir() && folder.isWritable())
        return QDir(executableFolder).filePath(QString::fromLatin1(kRecentListFileName));
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataFolder);
    return QDir(dataFolder).filePath(QString::fromLatin1(kRecentListFileName));
}

qint64 FileExisits(const QString& path)
{
    // By the name's bytes, so that a name that is not UTF-8 is found too.
    const std::optional<QByteArray> name = systemName(path);
    struct stat status {};
    if (!name || name->isEmpty() || ::stat(name->constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return 0;
    return status.st_size;
}

bool samePath(const QString& a, const QString& b)
{
    // Follows the file system: two spellings that differ in case are two files on Linux.
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

QStringList parseRecentEntries(const QByteArray& text)
{
    QStringList entries;
    for (const QString& line : decodeFileName(text.sliced(byteOrderMarkLength(text))).split(u'\n')) {
        const QString bare = line.endsWith(u'\r') ? line.chopped(1) : line;
        appendFields(bare, entries);
    }
    return entries;
}

QByteArray formatRecentEntries(const QStringList& paths)
{
    QByteArray text;
    for (const QString& path : paths)
        text += '"' + encodeFileName(path) + "\"\r\n";
    return text;
}

bool isListablePath(const QString& path)
{
    const bool breaksField = path.contains(u'"') || path.contains(u'\r') || path.contains(u'\n');
    return !path.trimmed().isEmpty() && !breaksField;
}

RecentEntries RecentList::read() const
{
    BoundedRead list = readRegularFile(listFileName_, kRecentListReadCap);
    switch (list.kind) {
    case BoundedRead::Kind::Unreadable:
        return {{}, QString::fromStdString(recentListUnreadable(listFileName_.toStdString(),
                                                                qt_error_string(list.systemError).toStdString()))};
    case BoundedRead::Kind::Cut:
        // The entries past the cap are the oldest; a half-read one is no entry.
        list.bytes.truncate(list.bytes.lastIndexOf('\n') + 1);
        break;
    default:
        break;
    }
    return {parseRecentEntries(list.bytes), {}};
}

FileError RecentList::AddToList(const QString& path) const
{
    if (!isListablePath(path))
        return QString::fromStdString(notListable(path.toStdString()));
    const RecentEntries old = read();
    if (!old.error.isEmpty())
        return old.error; // rewriting now would lose the entries we could not read
    QStringList paths{path};
    for (const QString& entry : old.paths)
        if (!samePath(entry, path))
            paths.append(entry);
    return write(paths);
}

FileError RecentList::RemoveFromList(const QString& path) const
{
    const RecentEntries old = read();
    if (!old.error.isEmpty())
        return old.error;
    const auto matches = [&](const QString& entry) { return samePath(entry, path); };
    if (std::none_of(old.paths.cbegin(), old.paths.cend(), matches))
        return {};
    QStringList remaining = old.paths;
    remaining.removeIf(matches);
    return write(remaining); // none left gives a file of length 0
}

FileError RecentList::write(const QStringList& paths) const
{
    QSaveFile file(listFileName_);
    const QByteArray text = formatRecentEntries(paths);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return QString::fromStdString(recentListUnwritable(listFileName_.toStdString(), file.errorString().toStdString()));
    return {};
}

QString ShortenPath(const QString& path, int maxLength, const TextWidth& width)
{
    // The whole path is taken first whenever it fits: the elided forms are only ways of
    // making a path narrower, and one of them can be wider than the path it stands for.
    if (width(path) <= maxLength)
        return path;
    // On Linux the root "/" plays the part a drive plays elsewhere: the one head every
    // absolute path shares, so it stays in front of the elided folders.
    const QString head = headOf(path);
    const qsizetype lastSeparator = path.lastIndexOf(u'/');
    QString fileName = path.mid(lastSeparator + 1);
    if (lastSeparator < head.size())
        return fileName; // no folder to elide
    const QString tail = QStringLiteral(".../") + fileName;
    const std::vector<qsizetype> ends = leadingEnds(path, head.size(), lastSeparator);

    // Every folder kept makes the caption wider, so the widest fit is found by halving: a
    // path of many folders costs a few measurements, not one per folder.
    std::optional<QString> widestFit;
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        QString candidate = path.left(ends[middle]) + tail;
        if (width(candidate) <= maxLength) {
            widestFit = std::move(candidate);
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return widestFit.value_or(fileName);
}

} // namespace kavrin
