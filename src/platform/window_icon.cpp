// Window and application icons from the library's resources.
#include "window_icon.h"

#include <QFile>
#include <QGuiApplication>
#include <QSize>
#include <QWindow>

namespace kavrin {

namespace {

QWindow* topOfOwnerChain(QWindow* window)
{
    while (QWindow* owner = window->transientParent())
        window = owner;
    return window;
}

} // namespace

QString IconImagePath(const QString& IconResName, int size)
{
    return QStringLiteral(":/icons/%1/%2.png").arg(IconResName).arg(size);
}

QIcon LoadIcon(const QString& IconResName)
{
    QIcon icon;
    for (const int size : kIconSizes) {
        const QString path = IconImagePath(IconResName, size);
        if (QFile::exists(path))
            icon.addFile(path, QSize(size, size));
    }
    return icon;
}

void SetIcon(QWindow* hWnd, const QString& IconResName, bool SetAsAppIcon)
{
    if (!hWnd)
        return;
    // One icon holds every size; the window system picks the large and the small one from it.
    const QIcon icon = LoadIcon(IconResName);
    if (SetAsAppIcon) {
        topOfOwnerChain(hWnd)->setIcon(icon);
        QGuiApplication::setWindowIcon(icon);
    }
    hWnd->setIcon(icon);
}

} // namespace kavrin
