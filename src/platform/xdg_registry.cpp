// The registry on a freedesktop desktop. It knows three keys of the classes root, each holding only its
// default value, and maps them onto the shared MIME database, desktop entries and the icon theme:
//
//   ".kvr"                        reads as the MIME type any MIME database gives to *.kvr (globs2);
//                                 written as a MIME package <app id>.xml giving *.kvr the type application/x-kavrin-puzzle,
//                                 described by the written text, in $XDG_DATA_HOME/mime/packages, followed by
//                                 update-mime-database on $XDG_DATA_HOME/mime, run in the background.
//   "<class>\shell\open\command"  reads as the Exec line of the desktop file that mimeapps.list makes the
//                                 type's default; written as <app id>.desktop in $XDG_DATA_HOME/applications, starting
//                                 this executable with %f, unless an <app id>.desktop is found already, and made the
//                                 default in $XDG_CONFIG_HOME/mimeapps.list.
//   "<class>\DefaultIcon"         reads as the path of an <app id> icon in any hicolor theme folder; written
//                                 as our icon sizes in $XDG_DATA_HOME/icons/hicolor/<n>x<n>/apps.
//
// The written texts are those of the Windows shell; here only the file type's text (the class name) is kept,
// as the type's description. The command and the icon are built from this executable and our icon resources.
// A registration made by another program (a type claiming *.kvr, another default) reads non-empty and so
// is left alone. Every failure comes back as a failed operation and nothing more.
#include "xdg_registry.h"

#include "files/open_path.h"
#include "window_icon.h"

#include <QChar>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QtGlobal>

#include <algorithm>
#include <array>
#include <optional>
#include <type_traits>
#include <utility>

namespace kavrin {

namespace {

const QString kFileTypeKey = QStringLiteral(".kvr");
const QString kPuzzleGlob = QStringLiteral("*.kvr");
const QString kOpenCommandSuffix = QStringLiteral("\\shell\\open\\command");
const QString kIconSuffix = QStringLiteral("\\DefaultIcon");
const QString kMimePackageName = kAppId + QStringLiteral(".xml");
const QString kDefaultsSection = QStringLiteral("[Default Applications]");
constexpr int kStopTimeoutMs = 1000;

// Settings files are read only when they are regular files of a sane size: a FIFO, a device or a
// huge file in their place must not hold up the window.
constexpr qint64 kMostSettingsBytes = qint64{1} << 20;

// The whole file; empty when there is none, nothing when it is there but cannot be taken whole.
std::optional<QByteArray> readWhole(const QString& path)
{
    const BoundedRead file = readRegularFile(path, kMostSettingsBytes);
    switch (file.kind) {
    case BoundedRead::Kind::Whole: return file.bytes;
    case BoundedRead::Kind::Missing: return QByteArray();
    default: return std::nullopt;
    }
}

QString readText(const QString& path)
{
    return QString::fromUtf8(readWhole(path).value_or(QByteArray()));
}

bool saveFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The value of `key` in `[section]` of a desktop-entry style file, whatever its line ends; empty when absent.
QString entryValue(const QString& text, const QString& section, const QString& key)
{
    bool inSection = false;
    QString lines = text;
    for (const QString& rawLine : lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n').split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[')) {
            inSection = line == section;
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inSection && equals > 0 && line.left(equals).trimmed() == key)
            return line.mid(equals + 1).trimmed();
    }
    return {};
}

QString desktopStringValue(const QString& text)
{
    QString escaped;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': escaped += QStringLiteral("\\\\"); break;
        case u'\n': escaped += QStringLiteral("\\n"); break;
        case u'\t': escaped += QStringLiteral("\\t"); break;
        case u'\r': escaped += QStringLiteral("\\r"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

// The MIME type a globs2 file gives to *.kvr; empty when none.
QString typeClaimingGlob(const QString& globs2)
{
    for (const QString& line : globs2.split(u'\n')) {
        if (line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u':');
        if (fields.size() < 3)
            continue;
        const bool caseSensitive = fields.size() > 3 && fields[3].split(u',').contains(QStringLiteral("cs"));
        if (fields[2].compare(kPuzzleGlob, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0)
            return fields[1];
    }
    return {};
}

QString readFileType()
{
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        QString type = typeClaimingGlob(readText(dir + QStringLiteral("/mime/globs2")));
        if (!type.isEmpty())
            return type;
    }
    return {};
}

QByteArray mimePackage(const QString& description)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>%2</comment>\n"
                          "    <icon name=\"%3\"/>\n"
                          "    <glob pattern=\"%4\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(kPuzzleMimeType, description.toHtmlEscaped(), kDesktopIconName, kPuzzleGlob)
        .toUtf8();
}

// In the background: a database tool that hangs must not hold up the window. A run still going
// when the program ends is stopped, and the next start registers the type again.
bool startMimeDatabaseUpdate(const QString& mimeDir)
{
    QCoreApplication* const application = QCoreApplication::instance();
    auto* update = new QProcess(application);
    update->setStandardOutputFile(QProcess::nullDevice());
    update->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(update, &QProcess::finished, update, &QObject::deleteLater);
    if (application)
        QObject::connect(application, &QCoreApplication::aboutToQuit, update, [update] {
            update->kill();
            update->waitForFinished(kStopTimeoutMs);
        });
    update->start(QStringLiteral("update-mime-database"), {mimeDir});
    if (update->waitForStarted())
        return true;
    delete update;
    return false;
}

bool writeFileType(const QString& description)
{
    const QString mimeDir =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/mime");
    return saveFile(mimeDir + QStringLiteral("/packages/") + kMimePackageName, mimePackage(description))
        && startMimeDatabaseUpdate(mimeDir);
}

QStringList mimeappsListPaths()
{
    QStringList prefixes;
    for (const QString& desktop : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts))
        prefixes << desktop.toLower() + u'-';
    prefixes << QString();
    QStringList paths;
    const QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)
        + QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    for (const QString& dir : dirs) {
        for (const QString& prefix : prefixes)
            paths << dir + u'/' + prefix + QStringLiteral("mimeapps.list");
    }
    return paths;
}

// The Exec line of the first installed desktop file that the first mimeapps.list naming one makes the default.
QString readOpenCommand()
{
    for (const QString& path : mimeappsListPaths()) {
        const QString ids = entryValue(readText(path), kDefaultsSection, kPuzzleMimeType);
        for (const QString& id : ids.split(u';', Qt::SkipEmptyParts)) {
            const QString desktopFile = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id.trimmed());
            if (!desktopFile.isEmpty())
                return entryValue(readText(desktopFile), QStringLiteral("[Desktop Entry]"), QStringLiteral("Exec"));
        }
    }
    return {};
}

// The installed desktop entry, started from this executable and named with the class name.
QByteArray desktopEntry(const QString& name, const QString& executablePath)
{
    QFile resource(QStringLiteral(":/desktop/") + kDesktopFileName);
    resource.open(QIODevice::ReadOnly);
    QStringList lines = QString::fromUtf8(resource.readAll()).split(u'\n');
    for (QString& line : lines) {
        if (line.startsWith(QStringLiteral("Name=")))
            line = QStringLiteral("Name=") + desktopStringValue(name);
        else if (line.startsWith(QStringLiteral("Exec=")))
            line = QStringLiteral("Exec=%1 %f").arg(DesktopExecArgument(executablePath));
        else if (line.startsWith(QStringLiteral("TryExec=")))
            line = QStringLiteral("TryExec=") + desktopStringValue(executablePath);
    }
    return lines.join(u'\n').toUtf8();
}

struct LineBounds {
    qsizetype end;  // of the line's text
    qsizetype next; // where the next line starts
};

// A line ends at CR LF, CR or LF, as editors on every system leave them.
LineBounds lineAt(const QByteArray& text, qsizetype begin)
{
    qsizetype end = begin;
    while (end < text.size() && text[end] != '\n' && text[end] != '\r')
        ++end;
    const qsizetype endLength = text.mid(end, 2) == "\r\n" ? 2 : end < text.size() ? 1 : 0;
    return {end, end + endLength};
}

// The line end of the file's first line; LF for a file that has none.
QByteArray lineEndOf(const QByteArray& text)
{
    const LineBounds first = lineAt(text, 0);
    return first.next > first.end ? text.sliced(first.end, first.next - first.end) : QByteArray("\n");
}

// The bytes of a mimeapps.list with our desktop file as the type's default. The file is another
// program's as much as ours: every byte that is not our entry stays as it was, whatever its
// encoding, and the line we add ends as the file's lines do.
QByteArray withOurDefault(const QByteArray& text)
{
    const QByteArray entry = (kPuzzleMimeType + u'=' + kDesktopFileName + u';').toUtf8();
    const QByteArray header = kDefaultsSection.toUtf8();
    const QByteArray lineEnd = lineEndOf(text);
    std::optional<qsizetype> lastLineEnd; // of our section's last non-blank line, header included
    bool inSection = false;
    for (qsizetype begin = byteOrderMarkLength(text); begin < text.size();) {
        const LineBounds line = lineAt(text, begin);
        const QByteArray content = text.sliced(begin, line.end - begin).trimmed();
        if (content.startsWith('['))
            inSection = content == header;
        else if (inSection && content.split('=').constFirst().trimmed() == kPuzzleMimeType.toUtf8())
            return text.left(begin) + entry + text.mid(line.end);
        if (inSection && !content.isEmpty())
            lastLineEnd = line.end;
        begin = line.next;
    }
    if (lastLineEnd)
        return text.left(*lastLineEnd) + lineEnd + entry + text.mid(*lastLineEnd);
    QByteArray appended = text;
    if (!appended.isEmpty() && !appended.endsWith('\n') && !appended.endsWith('\r'))
        appended += lineEnd;
    if (!appended.isEmpty())
        appended += lineEnd;
    return appended + header + lineEnd + entry + lineEnd;
}

bool writeOpenCommand(const QString& name, const QString& executablePath)
{
    const QString desktopFile =
        QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation) + u'/' + kDesktopFileName;
    const QString mimeappsList =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
    // A list that cannot be read whole, or that its owner made read-only, is left alone.
    const std::optional<QByteArray> defaults = readWhole(mimeappsList);
    if (!defaults || (QFile::exists(mimeappsList) && !(QFile::permissions(mimeappsList) & QFileDevice::WriteOwner)))
        return false;
    // An entry that is there already (installed, or another copy's) is made the default as it
    // is: rewritten, it would start this copy, which may go.
    const bool entryFound = !QStandardPaths::locate(QStandardPaths::ApplicationsLocation, kDesktopFileName).isEmpty();
    return (entryFound || saveFile(desktopFile, desktopEntry(name, executablePath)))
        && saveFile(mimeappsList, withOurDefault(*defaults));
}

QString iconThemePath(int size)
{
    return QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(kDesktopIconName);
}

QString readIcon()
{
    for (const int size : kIconSizes) {
        QString path = QStandardPaths::locate(QStandardPaths::GenericDataLocation, iconThemePath(size));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

bool writeIcon()
{
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    bool written = true;
    for (const int size : kIconSizes) {
        QFile image(IconImagePath(kAppIconName, size));
        written = image.open(QIODevice::ReadOnly) && saveFile(dataDir + u'/' + iconThemePath(size), image.readAll())
            && written;
    }
    return written;
}

} // namespace

QString DesktopExecArgument(const QString& argument)
{
    // Plain paths stay unquoted, which simple readers of Exec lines also understand.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool needsQuotes =
        argument.isEmpty() || std::any_of(argument.cbegin(), argument.cend(), [](QChar c) { return reserved.contains(c); });
    QString quoted;
    if (needsQuotes) {
        quoted = QStringLiteral("\"");
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        quoted += u'"';
    } else {
        quoted = argument;
    }
    quoted.replace(u'%', QStringLiteral("%%"));
    return desktopStringValue(quoted);
}

XdgRegistry::XdgRegistry(QString executablePath)
    : executablePath_(std::move(executablePath))
{
}

RegKey XdgRegistry::openKey(const QString& subKey)
{
    std::optional<OpenKey> known;
    if (subKey.compare(kFileTypeKey, Qt::CaseInsensitive) == 0)
        known = OpenKey{Kind::FileType, {}};
    else if (subKey.endsWith(kOpenCommandSuffix, Qt::CaseInsensitive) && subKey.size() > kOpenCommandSuffix.size())
        known = OpenKey{Kind::OpenCommand, subKey.chopped(kOpenCommandSuffix.size())};
    else if (subKey.endsWith(kIconSuffix, Qt::CaseInsensitive) && subKey.size() > kIconSuffix.size())
        known = OpenKey{Kind::Icon, subKey.chopped(kIconSuffix.size())};
    if (!known)
        return kNullKey;
    open_.emplace(++lastHandle_, *known);
    return lastHandle_;
}

std::optional<RegValue> XdgRegistry::queryValue(RegKey key, const QString& valueName)
{
    const auto found = open_.find(key);
    if (found == open_.end() || !valueName.isEmpty())
        return std::nullopt;
    QString text;
    switch (found->second.kind) {
    case Kind::FileType: text = readFileType(); break;
    case Kind::OpenCommand: text = readOpenCommand(); break;
    case Kind::Icon: text = readIcon(); break;
    }
    if (text.isEmpty())
        return std::nullopt;
    return RegValue{RegType::String, text.toLocal8Bit() + '\0'};
}

RegKey XdgRegistry::createKey(const QString& subKey)
{
    // Nothing exists before its value is set, so creating is opening.
    return openKey(subKey);
}

bool XdgRegistry::setStringValue(RegKey key, const QString& valueName, const QByteArray& data)
{
    const auto found = open_.find(key);
    if (found == open_.end() || !valueName.isEmpty())
        return false;
    switch (found->second.kind) {
    case Kind::FileType: {
        const qsizetype end = data.indexOf('\0');
        return writeFileType(QString::fromLocal8Bit(end < 0 ? data : data.left(end)));
    }
    case Kind::OpenCommand: return writeOpenCommand(found->second.className, executablePath_);
    case Kind::Icon: return writeIcon();
    }
    return false;
}

bool XdgRegistry::closeKey(RegKey key)
{
    return open_.erase(key) == 1;
}

} // namespace kavrin
