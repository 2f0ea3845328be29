// The file-type registration logic over any registry layer.
#include "registry.h"

#include "host/messages.h"

#include <QChar>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

#include <string_view>

namespace kavrin {

namespace {

QString textUpToFirstNull(const QByteArray& data)
{
    const qsizetype end = data.indexOf('\0');
    return QString::fromLocal8Bit(end < 0 ? data : data.left(end));
}

QString firstTwoBytesAsNumber(const QByteArray& data)
{
    const auto byteAt = [&data](qsizetype i) { return i < data.size() ? std::uint8_t(data[i]) : std::uint8_t{0}; };
    const auto number = std::int16_t(std::uint16_t(byteAt(0) | (byteAt(1) << 8)));
    return QString::number(number);
}

QString withSeparator(const QString& folder)
{
    return folder.endsWith(u'\\') ? folder : folder + u'\\';
}

} // namespace

QString QueryRegValue(Registry& registry, RegKey key, const QString& valueName)
{
    const std::optional<RegValue> value = registry.queryValue(key, valueName);
    if (!value)
        return {};
    switch (value->type) {
    case RegType::String:
        return textUpToFirstNull(value->data);
    case RegType::Binary:
        return firstTwoBytesAsNumber(value->data);
    default:
        return {};
    }
}

QString ReadRegString(Registry& registry, const QString& keyPath, const QString& valueName)
{
    const RegKey key = registry.openKey(keyPath);
    if (key == kNullKey)
        return {};
    QString text = QueryRegValue(registry, key, valueName);
    registry.closeKey(key);
    return text;
}

void WriteRegString(Registry& registry, const QString& keyPath, const QString& valueName, const QString& data)
{
    const RegKey key = registry.createKey(keyPath);
    if (key == kNullKey)
        return;
    // The stored text includes its terminating null, as a string value does.
    QByteArray bytes = data.toLocal8Bit();
    bytes.append('\0');
    registry.setStringValue(key, valueName, bytes);
    registry.closeKey(key);
}

RegistrationEntries RegistrationEntriesFor(const QString& title, const QString& folder, const QString& baseName)
{
    const QString executable = withSeparator(folder) + baseName + QStringLiteral(".exe");
    return {{
        {QStringLiteral(".kvr"), QString(), title},
        {title + QStringLiteral("\\shell\\open\\command"), QString(),
         u'"' + executable + QStringLiteral("\" \"%1\"")},
        {title + QStringLiteral("\\DefaultIcon"), QString(), executable + QStringLiteral(",0")},
    }};
}

RegistrationEntries RegistrationEntriesForRunningApplication()
{
    const QString title = QString::fromUtf8(kTitle.data(), qsizetype(kTitle.size()));
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    const QString baseName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return RegistrationEntriesFor(title, folder, baseName);
}

void RegisterFileType(Registry& registry, const RegistrationEntries& entries)
{
    for (const RegistrationEntry& entry : entries) {
        if (ReadRegString(registry, entry.keyPath, entry.valueName).isEmpty())
            WriteRegString(registry, entry.keyPath, entry.valueName, entry.data);
    }
}

} // namespace kavrin
