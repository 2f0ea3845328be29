// The registry the file-type registration writes to on a freedesktop (XDG) desktop.
#pragma once

#include "registry.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace kavrin {

inline const QString kPuzzleMimeType = QStringLiteral("application/x-kavrin-puzzle");
// The application id names the desktop entry, the icon and the MIME package alike.
inline const QString kAppId = QStringLiteral(KAVRIN_APP_ID);
inline const QString kDesktopFileName = kAppId + QStringLiteral(".desktop");
inline const QString kDesktopIconName = kAppId;

// Writes one argument of a desktop entry's Exec key: quoted when it holds a reserved character, percent signs
// doubled, then escaped as a desktop-entry string value.
QString DesktopExecArgument(const QString& argument);

// Maps the three classes-root values onto the desktop; see the top of xdg_registry.cpp.
class XdgRegistry final : public Registry {
public:
    // The executable that the desktop file starts.
    explicit XdgRegistry(QString executablePath);

    RegKey openKey(const QString& subKey) override;
    std::optional<RegValue> queryValue(RegKey key, const QString& valueName) override;
    RegKey createKey(const QString& subKey) override;
    bool setStringValue(RegKey key, const QString& valueName, const QByteArray& data) override;
    bool closeKey(RegKey key) override;

private:
    enum class Kind { FileType, OpenCommand, Icon };
    struct OpenKey {
        Kind kind;
        QString className;
    };

    QString executablePath_;
    std::map<RegKey, OpenKey> open_;
    RegKey lastHandle_ = kNullKey;
};

} // namespace kavrin
