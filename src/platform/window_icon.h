// Gives windows and the application the program's icon from the library's icon resources.
#pragma once

#include <QIcon>
#include <QString>
#include <QWindow>

#include <array>

namespace kavrin {

// The program's own icon group: a blue block with a yellow side face, its front a puzzle grid.
inline const QString kAppIconName = QStringLiteral("AAA");
inline constexpr std::array<int, 7> kIconSizes{16, 24, 32, 48, 64, 128, 256};

// Resource path of one size of an icon group.
QString IconImagePath(const QString& IconResName, int size);
// All sizes of an icon group in one icon; null when the group does not exist.
QIcon LoadIcon(const QString& IconResName);

// Sets the icon on `hWnd` and, with SetAsAppIcon, on the top of its owner (transient parent) chain and
// as the application's default icon. A missing icon group leaves them without an icon; a null window is ignored.
void SetIcon(QWindow* hWnd, const QString& IconResName, bool SetAsAppIcon);

} // namespace kavrin
