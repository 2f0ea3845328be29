// Window icons: our own picture in three sizes, given to the window, its owner chain and the application.
#include "window_icon.h"

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

class WindowIconTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QGuiApplication::setWindowIcon(QIcon());
    }

    void iconHasThreeSizesOfOurPicture()
    {
        const QIcon icon = kavrin::LoadIcon(kavrin::kAppIconName);
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
        const QImage image = icon.pixmap(48, 48).toImage();
        const QColor side = image.pixelColor(36, 28);
        const QColor front = image.pixelColor(12, 28);
        QVERIFY2(side.red() > 200 && side.green() > 180 && side.blue() < 80, "yellow side face");
        QVERIFY2(front.blue() > 150 && front.red() < 100, "blue block");
        QCOMPARE(image.pixelColor(1, 1).alpha(), 0);
    }

    void ownerChainAndApplication_data()
    {
        QTest::addColumn<bool>("setAsAppIcon");
        QTest::newRow("as application icon") << true;
        QTest::newRow("window only") << false;
    }

    void ownerChainAndApplication()
    {
        QFETCH(bool, setAsAppIcon);
        QWindow top;
        QWindow middle;
        QWindow window;
        middle.setTransientParent(&top);
        window.setTransientParent(&middle);
        kavrin::SetIcon(&window, kavrin::kAppIconName, setAsAppIcon);
        QCOMPARE(window.icon().availableSizes().size(), 3);
        QCOMPARE(top.icon().isNull(), !setAsAppIcon);
        QCOMPARE(QGuiApplication::windowIcon().isNull(), !setAsAppIcon);
    }

    void windowWithoutOwnerIsItsOwnTopAndNoWindowIsIgnored()
    {
        kavrin::SetIcon(nullptr, kavrin::kAppIconName, true);
        QVERIFY(QGuiApplication::windowIcon().isNull());
        QVERIFY(kavrin::LoadIcon(QStringLiteral("missing")).isNull());
        QWindow window;
        kavrin::SetIcon(&window, kavrin::kAppIconName, true);
        QCOMPARE(window.icon().availableSizes().size(), 3);
        QVERIFY(!QGuiApplication::windowIcon().isNull());
    }
};

QTEST_MAIN(WindowIconTest)
#include "window_icon_test.moc"
