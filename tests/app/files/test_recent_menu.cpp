// The recent-file items: numbering, limits, visibility, captions and the chosen path.
#include "fakes.h"

#include <QFile>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using kavrin::clsRecentMenu;
using kavrin::test::FileMenu;

class RecentMenuTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QWidget owner_;
    QString listFile() const { return dir_.filePath(QStringLiteral("Recent Files.txt")); }
    void initialize(clsRecentMenu& recent, FileMenu& file)
    {
        recent.Initialize(&owner_, &file.menu, listFile(), file.SepRecent, 500, 9);
    }

private slots:
    void init() { QFile::remove(listFile()); }

    // Each step opens a path, or removes it when it starts with '-'.
    void itemsAfterOpensAndRemovals_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("stored");
        QTest::newRow("none, list file of length 0") << QStringList{"/p/a.kvr", "-/p/a.kvr"} << QStringList{} << 0;
        QTest::newRow("first open") << QStringList{"/p/a.kvr"} << QStringList{"1 /p/a.kvr"} << 1;
        QTest::newRow("reopened to the head")
            << QStringList{"/p/c.kvr", "/p/b.kvr", "/p/a.kvr", "/p/c.kvr"}
            << QStringList{"1 /p/c.kvr", "2 /p/a.kvr", "3 /p/b.kvr"} << 3;
        QTest::newRow("removed, renumbered") << QStringList{"/p/a.kvr", "/p/b.kvr", "/p/c.kvr", "-/p/b.kvr"}
                                             << QStringList{"1 /p/c.kvr", "2 /p/a.kvr"} << 2;
        QTest::newRow("ampersand is no access key") << QStringList{"/p/rock&roll.kvr"}
                                                    << QStringList{"1 /p/rock&&roll.kvr"} << 1;
        QStringList twelve;
        QStringList nine;
        for (int i = 1; i <= 12; ++i)
            twelve << QStringLiteral("/p/%1.kvr").arg(i);
        for (int n = 1; n <= 9; ++n)
            nine << QStringLiteral("%1 /p/%2.kvr").arg(n).arg(13 - n);
        QTest::newRow("twelve stored, nine shown") << twelve << nine << 12;
    }
    void itemsAfterOpensAndRemovals()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, captions);
        QFETCH(int, stored);
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        for (const QString& step : steps)
            QVERIFY(step.startsWith(u'-') ? recent.RemoveFromList(step.mid(1)).isEmpty()
                                          : recent.AddToList(step).isEmpty());
        QCOMPARE(file.captions(), captions);
        QCOMPARE(file.recentItems().size(), std::max<qsizetype>(1, captions.size()));
        QCOMPARE(file.SepRecent->isVisible(), !captions.isEmpty());
        QCOMPARE(kavrin::RecentList(listFile()).read().paths.size(), stored);
    }

    void noListFileHidesItemZero()
    {
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        QCOMPARE(file.recentItems(), QList<QAction*>{file.placeholder}); // item 0 is the window's
        QVERIFY(!file.placeholder->isVisible());
        QVERIFY(!file.SepRecent->isVisible());
    }

    void itemZeroIsCreatedAfterTheSeparatorWhenMissing()
    {
        QMenu menu;
        menu.addAction(QStringLiteral("Save"));
        QAction* const separator = menu.addSeparator();
        QAction* const exit = menu.addAction(QStringLiteral("Exit"));
        clsRecentMenu recent;
        recent.Initialize(&owner_, &menu, listFile(), separator, 500, 9);
        recent.AddToList(QStringLiteral("/p/a.kvr"));
        const QList<QAction*> actions = menu.actions();
        QCOMPARE(actions.size(), 4);
        QCOMPARE(actions[2]->text(), QStringLiteral("1 /p/a.kvr"));
        QCOMPARE(actions[3], exit);
    }

    void choosingAnItemGivesItsFullPath()
    {
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        const QString deep = QStringLiteral("/home/ann/") + QString(60, u'x') + QStringLiteral("/") +
                             QString(60, u'y') + QStringLiteral("/z.kvr");
        recent.AddToList(deep);
        recent.AddToList(QStringLiteral("/p/a.kvr"));
        QSignalSpy chosen(&recent, &clsRecentMenu::recentFileChosen);
        file.recentItems().at(1)->trigger();
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toString(), deep);
        QVERIFY(file.captions().at(1).contains(QStringLiteral(".../z.kvr")));
    }

    void captionsFitTheMenuFont_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected"); // empty: any caption that fits
        const QString wide(40, u'W');
        const QString wideName = QString(200, u'W') + QStringLiteral(".kvr");
        QTest::newRow("short") << "/home/ann/a.kvr" << "/home/ann/a.kvr";
        QTest::newRow("root-level file") << "/first.kvr" << "/first.kvr";
        QTest::newRow("four wide folders") << "/" + wide + "/" + wide + "/" + wide + "/" + wide + "/p.kvr" << "";
        QTest::newRow("many narrow folders") << QStringLiteral("/a").repeated(200) + "/p.kvr" << "";
        QTest::newRow("one very wide folder") << "/home/" + wide + wide + "/p.kvr" << "";
        QTest::newRow("file name too wide stands alone") << "/home/ann/" + wideName << wideName;
    }
    void captionsFitTheMenuFont()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        const QMenu menu;
        const QFontMetrics metrics(menu.font());
        const auto width = [&](const QString& text) { return metrics.horizontalAdvance(text); };
        const QString shortened = kavrin::ShortenPath(path, 500, width);
        if (!expected.isEmpty()) {
            QCOMPARE(shortened, expected);
            return;
        }
        QVERIFY2(width(shortened) <= 500, qPrintable(shortened));
        QVERIFY(shortened.endsWith(QStringLiteral(".../p.kvr")));
    }
};

QTEST_MAIN(RecentMenuTest)
#include "test_recent_menu.moc"
