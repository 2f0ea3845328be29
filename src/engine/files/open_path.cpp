// File names as bytes, the cleaning of paths from outside, and reads that cannot be held up.
#include "files/open_path.h"

#include <QChar>
#include <QStringView>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavrin {

namespace {

// Bytes 0x80 to 0xFF that are no part of a character stand for themselves as U+DC80 to U+DCFF.
constexpr char16_t kEscapeBase = 0xDC00;

unsigned char byteAt(const QByteArray& bytes, qsizetype at)
{
    return static_cast<unsigned char>(bytes[at]);
}

// The length of the UTF-8 character at `at`, or 0 where the bytes there are none: a stray
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF, or a cut-off tail.
qsizetype utf8CharacterLength(const QByteArray& bytes, qsizetype at)
{
    struct Lead {
        unsigned char low, high;
        qsizetype length;
        unsigned char secondLow, secondHigh; // the second byte's range rules out the bad forms
    };
    static constexpr Lead kLeads[] = {
        {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
        {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
        {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
    };
    const unsigned char first = byteAt(bytes, at);
    if (first < 0x80)
        return 1;
    for (const Lead& lead : kLeads) {
        if (first < lead.low || first > lead.high)
            continue;
        if (at + lead.length > bytes.size())
            return 0;
        const unsigned char second = byteAt(bytes, at + 1);
        if (second < lead.secondLow || second > lead.secondHigh)
            return 0;
        for (qsizetype i = 2; i < lead.length; ++i)
            if ((byteAt(bytes, at + i) & 0xC0) != 0x80)
                return 0;
        return lead.length;
    }
    return 0;
}

char32_t codePoint(const QByteArray& bytes, qsizetype at, qsizetype length)
{
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t point = byteAt(bytes, at) & kLeadBits[length];
    for (qsizetype i = 1; i < length; ++i)
        point = (point << 6) | (byteAt(bytes, at + i) & 0x3F);
    return point;
}

bool exists(const QString& path)
{
    const std::optional<QByteArray> name = systemName(path);
    struct stat status {};
    return name && ::stat(name->constData(), &status) == 0;
}

} // namespace

QString decodeFileName(const QByteArray& name)
{
    QString text;
    text.reserve(name.size());
    for (qsizetype at = 0; at < name.size();) {
        const qsizetype length = utf8CharacterLength(name, at);
        if (length == 0) {
            text += QChar(char16_t(kEscapeBase + byteAt(name, at)));
            ++at;
        } else {
            text += QChar::fromUcs4(codePoint(name, at, length));
            at += length;
        }
    }
    return text;
}

QByteArray encodeFileName(const QString& name)
{
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        const bool halfOfAPair = i > 0 && name[i - 1].isHighSurrogate();
        if (unit < kEscapeBase + 0x80 || unit > kEscapeBase + 0xFF || halfOfAPair)
            continue;
        bytes += QStringView(name).sliced(runStart, i - runStart).toUtf8();
        bytes += char(unit - kEscapeBase);
        runStart = i + 1;
    }
    return bytes + QStringView(name).sliced(runStart).toUtf8();
}

std::optional<QByteArray> systemName(const QString& path)
{
    QByteArray name = encodeFileName(path);
    if (name.contains('\0'))
        return std::nullopt;
    return name;
}

qsizetype byteOrderMarkLength(const QByteArray& text)
{
    static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
    return text.startsWith(kByteOrderMark) ? qsizetype(sizeof kByteOrderMark - 1) : 0;
}

QString cleanedPath(const QString& path)
{
    // Quotes are part of some names; they are dropped only as the wrapping that the registered
    // open command and some shells leave.
    if (exists(path))
        return path;
    QString copy = path;
    return copy.remove(u'"');
}

QString commandLineText(const QStringList& arguments)
{
    return arguments.mid(1).join(u' ');
}

bool openForReading(QFile& file, const QString& path)
{
    const std::optional<QByteArray> name = systemName(path);
    if (!name) {
        errno = ENOENT;
        return false;
    }
    const int descriptor = ::open(name->constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    if (file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(descriptor);
    errno = EBADF;
    return false;
}

BoundedRead readRegularFile(const QString& path, qint64 cap)
{
    using Kind = BoundedRead::Kind;
    QFile file;
    if (!openForReading(file, path)) {
        const int error = errno;
        return {error == ENOENT || error == ENOTDIR ? Kind::Missing : Kind::Unreadable, {}, error};
    }
    struct stat status {};
    if (::fstat(file.handle(), &status) != 0 || !S_ISREG(status.st_mode))
        return {Kind::NotRegular, {}, 0};
    // One byte past the cap tells a file of exactly the cap from a longer one.
    errno = 0;
    QByteArray bytes = file.read(cap + 1);
    if (file.error() != QFileDevice::NoError)
        return {Kind::Unreadable, {}, errno != 0 ? errno : EIO};
    if (bytes.size() <= cap)
        return {Kind::Whole, bytes, 0};
    bytes.truncate(cap);
    return {Kind::Cut, bytes, 0};
}

} // namespace kavrin
