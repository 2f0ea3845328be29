// Window icons: our own picture in every size, given to the window, its owner chain and the application.
#include "window_icon.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <QTest>
#include <QWindow>

#include <initializer_list>

class WindowIconTest : public QObject {
    Q_OBJECT

private slots:
    // A blue block whose front is a puzzle grid, sharp down to 16 pixels: no blur on a digit.
    void iconHasEverySizeOfOurPicture()
    {
        const QIcon icon = kavrin::LoadIcon(kavrin::kAppIconName);
        QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
        const QImage image = icon.pixmap(16, 16).toImage();
        QCOMPARE(image.pixelColor(8, 1), QColor(0x5b, 0x8f, 0xf0)); // the top face
        QCOMPARE(image.pixelColor(2, 5), QColor(0x8b, 0x00, 0x00)); // a digit, one pixel wide
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QVERIFY(kavrin::LoadIcon(QStringLiteral("missing")).isNull());
    }

    // With SetAsAppIcon the top of the owner chain and the application get it too; no window is ignored.
    void ownerChainAndApplication()
    {
        for (const bool setAsAppIcon : {true, false}) {
            QGuiApplication::setWindowIcon(QIcon());
            kavrin::SetIcon(nullptr, kavrin::kAppIconName, true);
            QVERIFY(QGuiApplication::windowIcon().isNull());
            QWindow top;
            QWindow middle;
            QWindow window;
            middle.setTransientParent(&top);
            window.setTransientParent(&middle);
            kavrin::SetIcon(&window, kavrin::kAppIconName, setAsAppIcon);
            QCOMPARE(window.icon().availableSizes().size(), int(kavrin::kIconSizes.size()));
            QCOMPARE(top.icon().isNull(), !setAsAppIcon);
            QCOMPARE(QGuiApplication::windowIcon().isNull(), !setAsAppIcon);
        }
    }
};

QTEST_MAIN(WindowIconTest)
#include "window_icon_test.moc"
