// The recent-files list file: one double-quoted path per line, most recent first.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <utility>

namespace kavrin {

inline constexpr auto kRecentListFileName = "Recent Files.txt";
// The most of the list file read: thousands of entries, of which the menu shows nine, and no
// wait for a file grown huge. Writing the list back keeps what was read.
inline constexpr qint64 kRecentListReadCap = qint64{1} << 20;

// Empty on success, else a sentence naming the file.
using FileError = QString;

// The list file beside the executable when that folder is writable, else in the per-user
// application data folder (created if needed), so a program installed read-only keeps a list.
QString recentListFilePath();
QString recentListFilePath(const QString& executableFolder);

// The file's length in bytes, or 0 when it cannot be read (missing, bad or empty path).
// Callers take 0 as missing, so an empty file counts as missing.
qint64 FileExisits(const QString& path);

// Whole-string comparison, case-sensitive on file systems that are.
bool samePath(const QString& a, const QString& b);

// Delimited text: a field is a quoted string (commas and blanks kept) or an unquoted run ended
// by a comma or the line end, blanks trimmed. Empty fields are dropped; an unclosed quote ends
// at its line end.
QStringList parseRecentEntries(const QByteArray& text);
QByteArray formatRecentEntries(const QStringList& paths);

// Whether a path can be written as one quoted field and read back unchanged.
bool isListablePath(const QString& path);

struct RecentEntries {
    QStringList paths;
    FileError error; // empty unless the file exists and cannot be read
};

// The list lives only in its file; every call reads it whole and rewrites it whole.
class RecentList {
public:
    explicit RecentList(QString listFileName) : listFileName_(std::move(listFileName)) {}

    const QString& ListFileName() const { return listFileName_; }
    RecentEntries read() const;
    // Puts the path at the head, dropping an older entry of the same path.
    FileError AddToList(const QString& path) const;
    // Leaves the file untouched when the path is not listed.
    FileError RemoveFromList(const QString& path) const;

private:
    FileError write(const QStringList& paths) const;

    QString listFileName_;
};

using TextWidth = std::function<int(const QString&)>;

// The widest of: root, leading folders, ".../" and the file name, that fits in maxLength;
// the whole path when it fits; the file name alone when even the shortest form is too wide.
QString ShortenPath(const QString& path, int maxLength, const TextWidth& width);

} // namespace kavrin
