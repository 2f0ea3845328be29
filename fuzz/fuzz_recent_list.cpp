// Fuzz target: reading the recent-files list text, writing it back, and shortening its captions.
#include "files/recent_list.h"
#include "fuzz_expect.h"

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>

using namespace kavrin;
using kavrin::fuzz::expect;

namespace {

void expectEntries(const QStringList& entries)
{
    QStringList listable;
    for (const QString& entry : entries) {
        expect(!entry.isEmpty(), "no entry is empty");
        expect(!entry.contains(u'\n'), "no entry spans two lines");
        if (isListablePath(entry))
            listable.append(entry);
    }
    const QByteArray written = formatRecentEntries(listable);
    expect(parseRecentEntries(written) == listable, "written entries read back the same, in order");
}

// Widths that differ per character, so that counting characters is not enough to pass.
int textWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text)
        width += 1 + c.unicode() % 5;
    return width;
}

void expectShortened(const QString& path, int maxLength)
{
    const QString shortened = ShortenPath(path, maxLength, textWidth);
    if (textWidth(path) <= maxLength) {
        expect(shortened == path, "a path that fits is shown whole");
        return;
    }
    const qsizetype lastSeparator = path.lastIndexOf(u'/');
    const QString fileName = path.mid(lastSeparator + 1);
    const QString tail = QStringLiteral(".../") + fileName;
    const QString head = path.startsWith(u'/') ? QStringLiteral("/") : QString();
    if (shortened == fileName) {
        expect(lastSeparator < head.size() || textWidth(head + tail) > maxLength,
               "the file name stands alone only when no shortened form fits");
        return;
    }
    expect(textWidth(shortened) <= maxLength, "a shortened caption fits");
    expect(shortened.endsWith(tail), "a shortened caption ends in .../ and the file name");
    expect(!path.startsWith(u'/') || shortened.startsWith(u'/'), "a shortened absolute path keeps its root");
    const QString leading = shortened.chopped(tail.size());
    expect(path.startsWith(leading), "a shortened caption keeps leading folders of the path");
    const qsizetype nextFolderEnd = path.indexOf(u'/', leading.size());
    expect(nextFolderEnd >= lastSeparator || textWidth(path.left(nextFolderEnd + 1) + tail) > maxLength,
           "a shortened caption keeps every leading folder that fits");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    expectEntries(parseRecentEntries(text));
    const QStringList one{QString::fromUtf8(text)};
    expect(!isListablePath(one[0]) || parseRecentEntries(formatRecentEntries(one)) == one, "a listable path survives the file");
    if (size >= 2) {
        const auto maxLength = static_cast<std::int16_t>(data[0] | data[1] << 8);
        expectShortened(QString::fromUtf8(text.mid(2)), maxLength);
    }
    return 0;
}
