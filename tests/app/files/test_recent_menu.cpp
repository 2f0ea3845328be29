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

    void emptyListHidesItemsAndSeparator_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::newRow("no list file") << false;
        QTest::newRow("list file of length 0") << true;
    }
    void emptyListHidesItemsAndSeparator()
    {
        QFETCH(bool, fileExists);
        if (fileExists)
            QVERIFY(QFile(listFile()).open(QIODevice::WriteOnly));
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

    void firstOpenShowsOneItem()
    {
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        QVERIFY(recent.AddToList(QStringLiteral("/p/a.kvr")).isEmpty());
        QCOMPARE(file.captions(), QStringList{"1 /p/a.kvr"});
        QVERIFY(file.SepRecent->isVisible());
        QCOMPARE(file.placeholder->data().toString(), QStringLiteral("/p/a.kvr"));
    }

    void reopeningMovesToTheHeadAndRenumbers()
    {
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        for (const char* path : {"/p/c.kvr", "/p/b.kvr", "/p/a.kvr", "/p/c.kvr"})
            recent.AddToList(QString::fromLatin1(path));
        QCOMPARE(file.captions(), (QStringList{"1 /p/c.kvr", "2 /p/a.kvr", "3 /p/b.kvr"}));
        QCOMPARE(file.recentItems().size(), 3);
    }

    void twelveStoredNineShown()
    {
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        for (int i = 1; i <= 12; ++i)
            recent.AddToList(QStringLiteral("/p/%1.kvr").arg(i));
        QStringList expected;
        for (int n = 1; n <= 9; ++n)
            expected.append(QStringLiteral("%1 /p/%2.kvr").arg(n).arg(13 - n));
        QCOMPARE(file.captions(), expected);
        QCOMPARE(file.recentItems().size(), 9);
        QCOMPARE(kavrin::RecentList(listFile()).read().paths.size(), 12);
    }

    void removingTheLastEntryHidesEverything()
    {
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        recent.AddToList(QStringLiteral("/p/a.kvr"));
        recent.AddToList(QStringLiteral("/p/b.kvr"));
        recent.RemoveFromList(QStringLiteral("/p/b.kvr"));
        QCOMPARE(file.captions(), QStringList{"1 /p/a.kvr"});
        recent.RemoveFromList(QStringLiteral("/p/a.kvr"));
        QCOMPARE(QFile(listFile()).size(), 0);
        QVERIFY(file.captions().isEmpty());
        QVERIFY(!file.SepRecent->isVisible());
    }

    void theListOutlivesItsMenu()
    {
        {
            FileMenu file;
            clsRecentMenu recent;
            initialize(recent, file);
            recent.AddToList(QStringLiteral("/p/old.kvr"));
            recent.AddToList(QStringLiteral("/p/new.kvr"));
        }
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        QCOMPARE(file.captions(), (QStringList{"1 /p/new.kvr", "2 /p/old.kvr"}));
    }

    void ampersandsAreNoAccessKeys()
    {
        FileMenu file;
        clsRecentMenu recent;
        initialize(recent, file);
        recent.AddToList(QStringLiteral("/p/rock&roll.kvr"));
        QCOMPARE(file.captions(), QStringList{"1 /p/rock&&roll.kvr"});
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
        const QString wide(40, u'W');
        QTest::newRow("short") << "/home/ann/a.kvr";
        QTest::newRow("root-level file") << "/first.kvr";
        QTest::newRow("four wide folders") << "/" + wide + "/" + wide + "/" + wide + "/" + wide + "/p.kvr";
        QTest::newRow("many narrow folders") << QStringLiteral("/a").repeated(200) + "/p.kvr";
        QTest::newRow("one very wide folder") << "/home/" + wide + wide + "/p.kvr";
    }
    void captionsFitTheMenuFont()
    {
        QFETCH(QString, path);
        const QMenu menu;
        const QFontMetrics metrics(menu.font());
        const auto width = [&](const QString& text) { return metrics.horizontalAdvance(text); };
        const QString shortened = kavrin::ShortenPath(path, 500, width);
        QVERIFY2(width(shortened) <= 500, qPrintable(shortened));
        QVERIFY(shortened.endsWith(QStringLiteral("p.kvr")) || shortened == path);
        if (width(path) <= 500)
            QCOMPARE(shortened, path);
        else
            QVERIFY(shortened.contains(QStringLiteral(".../")));
    }

    void aFileNameTooWideStandsAlone()
    {
        const QMenu menu;
        const QFontMetrics metrics(menu.font());
        const QString name = QString(200, u'W') + QStringLiteral(".kvr");
        const QString shortened = kavrin::ShortenPath(QStringLiteral("/home/ann/") + name, 500,
                                                      [&](const QString& t) { return metrics.horizontalAdvance(t); });
        QCOMPARE(shortened, name);
    }
};

QTEST_MAIN(RecentMenuTest)
#include "test_recent_menu.moc"
