// The classes-root registry as the file-type registration sees it, and the registration logic itself.
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace kavrin {

// A key handle; 0 is the null handle, on which every operation fails.
using RegKey = std::uint32_t;
inline constexpr RegKey kNullKey = 0;

enum class RegType : std::uint32_t { None = 0, String = 1, ExpandString = 2, Binary = 3, DoubleWord = 4 };

struct RegValue {
    RegType type = RegType::None;
    QByteArray data;
    bool operator==(const RegValue&) const = default;
};

// The five operations the registration asks of a registry rooted at the classes root.
// Key paths use backslashes and, as on Windows, ignore letter case.
class Registry {
public:
    virtual ~Registry() = default;
    // Opens an existing key; kNullKey when it does not exist or cannot be opened.
    virtual RegKey openKey(const QString& subKey) = 0;
    // The value's type and whole data; nothing when it is missing or the key is null.
    virtual std::optional<RegValue> queryValue(RegKey key, const QString& valueName) = 0;
    // Creates every missing key along the path, or opens it; kNullKey on failure.
    virtual RegKey createKey(const QString& subKey) = 0;
    // Sets a REG_SZ value; the data carries its terminating null.
    virtual bool setStringValue(RegKey key, const QString& valueName, const QByteArray& data) = 0;
    virtual bool closeKey(RegKey key) = 0;
};

// A plain string value's text up to its first null; a binary value's first two bytes as a signed
// 16-bit number; empty for any other type, so that it gets rewritten as a plain string.
QString QueryRegValue(Registry& registry, RegKey key, const QString& valueName);
QString ReadRegString(Registry& registry, const QString& keyPath, const QString& valueName);
void WriteRegString(Registry& registry, const QString& keyPath, const QString& valueName, const QString& data);

struct RegistrationEntry {
    QString keyPath;
    QString valueName;
    QString data;
    bool operator==(const RegistrationEntry&) const = default;
};

// File type, open command and icon, in the order they are tested and written.
using RegistrationEntries = std::array<RegistrationEntry, 3>;

// The three entries for an executable in `folder` named `baseName` (without extension).
RegistrationEntries RegistrationEntriesFor(const QString& title, const QString& folder, const QString& baseName);
// The same for the running executable, under the program title.
RegistrationEntries RegistrationEntriesForRunningApplication();

// Writes each entry whose value reads empty; every failure is ignored.
void RegisterFileType(Registry& registry, const RegistrationEntries& entries);

} // namespace kavrin
