// Files through the real window: Load and Save, the recent items, the command line and drops.
#include "file_permissions.h"
#include "test_files.h"
#include "window_fixture.h"

#include "files/load_save.h"
#include "host/messages.h"
#include "solve_panel.h"
#include "square_view.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include <sys/stat.h>

using namespace kavrin;
using namespace kavrin::test;

using kavrin::test::contents;
using kavrin::test::writeFile;

namespace {

// 243 bytes: the given records first, empty squares after.
QByteArray puzzleBytes(const QByteArray& firstRecords)
{
    return firstRecords + QByteArray(int(kPuzzleFileSize) - firstRecords.size(), '\0');
}

// Shown recent captions, top to bottom.
QStringList recentCaptions(const frmGame& game)
{
    QStringList captions;
    for (const QAction* item : recentItems(game))
        captions << item->text();
    return captions;
}

QAction* recentItem(const frmGame& game, int number)
{
    return recentItems(game).at(number - 1);
}

// The drag and drop events a file manager sends, at a point of the window.
void dropAt(frmGame& game, QPoint at, const QMimeData& data, bool* taken = nullptr)
{
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&game, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&game, &move);
    if (taken)
        *taken = enter.isAccepted() && move.isAccepted();
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&game, &drop);
}

QPoint centreOf(const frmGame& game, const QWidget& widget)
{
    return widget.mapTo(&game, widget.rect().center());
}

} // namespace

class WindowFilesTest : public QObject {
    Q_OBJECT
private slots:
    void loadShowsTheFileAndListsIt_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<int>("digit");
        QTest::addColumn<bool>("fixed");
        QTest::newRow("fixed 5") << QByteArray("\x05\xff\xff", 3) << 5 << true;
        QTest::newRow("solver 7") << QByteArray("\x07\x00\x00", 3) << 7 << false;
    }
    void loadShowsTheFileAndListsIt()
    {
        QFETCH(QByteArray, record);
        Window w;
        const QString path = w.home.filePath("one.kvr");
        QVERIFY(writeFile(path, puzzleBytes(record)));
        QTest::keyClick(&w.game.square(1), Qt::Key_3);
        w.dialogs->openAnswer = path;
        trigger(w.game, "Load");
        QTEST(int(w.game.board()[1].Digit), "digit");
        QTEST(w.game.board()[1].Fixed, "fixed");
        QTEST(w.game.square(1).drawnDigit(), "digit");
        QCOMPARE(recentCaptions(w.game), QStringList{"1 " + path});
        QVERIFY(w.prompter.messages.empty());
    }

    void saveThenLoadGivesTheSameBoard()
    {
        Window w;
        const QString path = w.home.filePath("round.kvr");
        QVERIFY(writeFile(path, puzzleBytes(QByteArray("\x05\xff\xff\x07\x00\x00\x00\x00\x00\x09\xff\xff", 12))));
        w.dialogs->openAnswer = path;
        trigger(w.game, "Load");
        const QString copy = w.home.filePath("copy.kvr");
        w.dialogs->saveAnswer = copy;
        QTest::keyClick(&w.game.square(81), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(contents(copy), contents(path));
        QCOMPARE(recentCaptions(w.game).size(), 1); // saving lists nothing

        QTest::keyClick(&w.game.square(1), Qt::Key_Delete);
        w.dialogs->openAnswer = copy;
        QTest::keyClick(&w.game.square(1), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(encodePuzzle(w.game.board()), encodePuzzle([&] {
                     Board b;
                     LoadPuzzle(b, path);
                     return b;
                 }()));
        QCOMPARE(recentCaptions(w.game), QStringList({"1 " + copy, "2 " + path}));
    }

    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("short") << QByteArray(242, '\x01');
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("a FIFO, which no one writes to") << QByteArray("fifo");
    }
    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        Window w;
        const QString path = w.home.filePath("bad.kvr");
        if (bytes == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (!bytes.isEmpty())
            QVERIFY(writeFile(path, bytes));
        QTest::keyClick(&w.game.square(10), Qt::Key_4);
        w.dialogs->openAnswer = path;
        trigger(w.game, "Load");
        w.dialogs->openAnswer.reset(); // Cancel
        trigger(w.game, "Load");
        QCOMPARE(int(w.game.board()[10].Digit), 4);
        QVERIFY(recentCaptions(w.game).isEmpty());
        QVERIFY(w.prompter.messages.empty());
    }

    void saveWritesOrSaysWhyNot_data()
    {
        QTest::addColumn<QString>("target"); // empty: Cancel
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::addColumn<QString>("reason"); // empty: saved
        QTest::newRow("cancel") << "" << false << false << "";
        QTest::newRow("over a writable file in a read-only folder") << "locked/old.kvr" << true << true << "";
        QTest::newRow("a new file in a read-only folder") << "locked/new.kvr" << false << true << "Permission denied";
        QTest::newRow("no room for a temporary name") << QString(250, u'n') + ".kvr" << true << false
                                                       << "File name too long";
        QTest::newRow("folder that does not exist") << "gone/new.kvr" << false << false << "No such file or directory";
    }
    void saveWritesOrSaysWhyNot()
    {
        QFETCH(QString, target);
        QFETCH(bool, oldFile);
        QFETCH(bool, readOnlyFolder);
        QFETCH(QString, reason);
        Window w;
        QTest::keyClick(&w.game.square(2), Qt::Key_7);
        const QString path = w.home.filePath(target);
        const QString folder = QFileInfo(path).path();
        const QByteArray old(243, '\x02');
        if (oldFile || readOnlyFolder)
            QVERIFY(QDir().mkpath(folder));
        if (oldFile)
            QVERIFY(writeFile(path, old));
        const QFile::Permissions permissions = QFile::permissions(folder);
        if (readOnlyFolder)
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        if (!target.isEmpty())
            w.dialogs->saveAnswer = path;
        {
            const PermissionsApply asAnyUser;
            QVERIFY(asAnyUser.applied());
            trigger(w.game, "Save");
        }
        QFile::setPermissions(folder, permissions);
        if (target.isEmpty() || reason.isEmpty()) {
            QVERIFY(w.prompter.messages.empty());
            if (!target.isEmpty())
                QCOMPARE(contents(path), QByteArray(reinterpret_cast<const char*>(encodePuzzle(w.game.board()).data()), 243));
            return;
        }
        QCOMPARE(w.prompter.texts(), QStringList{"Cannot save " + path + ": " + reason});
        QCOMPARE(w.prompter.messages[0].icon, Icon::Exclamation);
        QCOMPARE(w.prompter.messages[0].buttons, Buttons::Ok);
        QCOMPARE(contents(path), oldFile ? old : QByteArray("<missing>"));
    }

    void anUnwritableListIsReportedButTheOpenCounts()
    {
        QTemporaryDir folder;
        const QString list = folder.filePath("gone/Recent Files.txt");
        Window w({}, list);
        const QString path = w.home.filePath("p.kvr");
        QVERIFY(writeFile(path, puzzleBytes(QByteArray("\x06\xff\xff", 3))));
        w.dialogs->openAnswer = path;
        trigger(w.game, "Load");
        QCOMPARE(int(w.game.board()[1].Digit), 6);
        QCOMPARE(w.prompter.messages.size(), std::size_t(1));
        const QString text = w.prompter.texts().constFirst();
        QVERIFY2(text.startsWith("Cannot save the recent files list " + list), qPrintable(text));
        QCOMPARE(w.prompter.messages[0].icon, Icon::Exclamation);
    }

    void commandLineOpensAtStart_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("opens");
        QTest::newRow("quoted, with blanks") << "quoted" << "my puzzle.kvr" << true;
        QTest::newRow("unquoted") << "bare" << "p.kvr" << true;
        QTest::newRow("a quote inside") << "quote inside" << "p.kvr" << true;
        QTest::newRow("relative: listed absolute and clean") << "relative" << "p.kvr" << true;
        QTest::newRow("a file named as a folder") << "as folder" << "p.kvr" << false;
        QTest::newRow("missing") << "quoted" << "gone.kvr" << false;
        QTest::newRow("empty file") << "bare" << "empty.kvr" << false;
        QTest::newRow("no argument") << "bare" << "" << false;
    }
    void commandLineOpensAtStart()
    {
        QFETCH(QString, form);
        QFETCH(QString, name);
        QFETCH(bool, opens);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        if (name == "empty.kvr")
            QVERIFY(writeFile(path, {}));
        else if (name != "gone.kvr" && !name.isEmpty())
            QVERIFY(writeFile(path, puzzleBytes(QByteArray("\x08\xff\xff", 3))));
        const QString argument = name.isEmpty()       ? QString()
                                 : form == "quoted"   ? '"' + path + '"'
                                 : form == "bare"     ? path
                                 : form == "relative" ? "./sub/../" + name
                                 : form == "as folder" ? name + '/'
                                                      : path.left(5) + '"' + path.mid(5);
        const QString workingFolder = QDir::currentPath();
        QVERIFY(QDir(folder.path()).mkdir("sub") && QDir::setCurrent(folder.path()));
        Window w(argument);
        QDir::setCurrent(workingFolder); // the recent item must hold wherever the program runs from
        QCOMPARE(w.game.board()[1].Digit == 8, opens);
        QCOMPARE(recentCaptions(w.game), opens ? QStringList{"1 " + path} : QStringList{});
        QVERIFY(w.prompter.messages.empty());
    }

    void dropsOpenTheFirstFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("opens");
        QTest::newRow("square") << "square" << true; // square 1, clear of the panel
        QTest::newRow("panel") << "panel" << true;
        QTest::newRow("bare window") << "window" << true;
        QTest::newRow("panel tile") << "tile" << false;
        QTest::newRow("menu bar") << "menu" << false;
    }
    void dropsOpenTheFirstFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, opens);
        Window w;
        const QString first = w.home.filePath("first.kvr");
        const QString second = w.home.filePath("second.kvr");
        QVERIFY(writeFile(first, puzzleBytes(QByteArray("\x01\xff\xff", 3))));
        QVERIFY(writeFile(second, puzzleBytes(QByteArray("\x02\xff\xff", 3))));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
        SolvePanel& panel = w.game.panel();
        panel.move(100, 100); // dragged into sight, over part of the grid
        const QPoint at = target == "square" ? centreOf(w.game, w.game.square(1))
                          : target == "panel" ? panel.mapTo(&w.game, QPoint(panel.width() / 2, 8))
                          : target == "tile"  ? panel.mapTo(&w.game, QPoint(30, 50))
                          : target == "menu"  ? w.game.menuBar()->mapTo(&w.game, QPoint(2, 2))
                                              : w.game.clientArea().mapTo(&w.game, QPoint(5, 5));
        bool taken = false;
        dropAt(w.game, at, data, &taken);
        QCOMPARE(taken, opens);
        QCOMPARE(int(w.game.board()[1].Digit), opens ? 1 : 0);
        QCOMPARE(recentCaptions(w.game), opens ? QStringList{"1 " + first} : QStringList{});
    }

    void onlyLocalFilesAreTaken_data()
    {
        QTest::addColumn<bool>("webLinkFirst");
        QTest::addColumn<bool>("opens");
        QTest::newRow("web link before a file") << true << true;
        QTest::newRow("the path as text") << false << false;
    }
    void onlyLocalFilesAreTaken()
    {
        QFETCH(bool, webLinkFirst);
        QFETCH(bool, opens);
        Window w;
        const QString path = w.home.filePath("first.kvr");
        QVERIFY(writeFile(path, puzzleBytes(QByteArray("\x03\xff\xff", 3))));
        QMimeData data;
        if (webLinkFirst)
            data.setUrls({QUrl(QStringLiteral("https://example.org/a.kvr")), QUrl::fromLocalFile(path)});
        else
            data.setText(path);
        bool taken = !opens;
        dropAt(w.game, centreOf(w.game, w.game.square(1)), data, &taken);
        QCOMPARE(taken, opens);
        QCOMPARE(recentCaptions(w.game), opens ? QStringList{"1 " + path} : QStringList{});
    }

    void recentItemsReopenAndAskWhenGone()
    {
        QTemporaryDir folder;
        const QString list = folder.filePath("Recent Files.txt");
        QStringList paths;
        {
            Window w({}, list);
            for (int n = 1; n <= 3; ++n) {
                paths.prepend(folder.filePath(QString("p%1.kvr").arg(n)));
                QVERIFY(writeFile(paths.first(), puzzleBytes(QByteArray(1, char(n)) + QByteArray("\xff\xff", 2))));
                w.dialogs->openAnswer = paths.first();
                trigger(w.game, "Load");
            }
        }
        Window w({}, list); // the list outlives the window
        QCOMPARE(recentCaptions(w.game), QStringList({"1 " + paths[0], "2 " + paths[1], "3 " + paths[2]}));

        recentItem(w.game, 3)->trigger();
        QCOMPARE(int(w.game.board()[1].Digit), 1);
        QCOMPARE(recentCaptions(w.game), QStringList({"1 " + paths[2], "2 " + paths[0], "3 " + paths[1]}));

        QFile::remove(paths[0]);
        const QString question = paths[0] + " not found!\r\nRemove it?";
        recentItem(w.game, 2)->trigger(); // No
        QCOMPARE(recentCaptions(w.game).size(), 3);
        w.prompter.answers = {Answer::Yes};
        recentItem(w.game, 2)->trigger();
        QCOMPARE(w.prompter.texts(), QStringList({question, question}));
        QCOMPARE(recentCaptions(w.game), QStringList({"1 " + paths[2], "2 " + paths[1]}));
        QCOMPARE(int(w.game.board()[1].Digit), 1);
    }
};

QTEST_MAIN(WindowFilesTest)
#include "test_window_files.moc"
