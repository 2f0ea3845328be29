// Files through the real window: Load and Save, the recent items, the command line and drops.
#include "file_permissions.h"
#include "files/recent_list.h"
#include "frm_game.h"
#include "host/host.h"
#include "host/messages.h"
#include "model/board.h"
#include "recording_prompter.h"
#include "scripted_dialogs.h"
#include "solve_panel.h"
#include "square_view.h"
#include "test_files.h"
#include "window_fixture.h"

#include <QAction>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMenuBar>
#include <QMimeData>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

using namespace kavrin;
using namespace kavrin::test;

class WindowFilesTest : public QObject {
    Q_OBJECT
private slots:
    // Load takes regular files only (a FIFO that no one writes to would hang it), and Cancel does nothing;
    // a file shows and is listed. Save writes the same bytes back and lists nothing.
    void loadAndSave()
    {
        Window w;
        const QString fifo = w.home.filePath("fifo.kvr");
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QTest::keyClick(&w.game.square(1), Qt::Key_3);
        w.dialogs->openAnswer = fifo;
        trigger(w.game, "Load");
        w.dialogs->openAnswer.reset();
        trigger(w.game, "Load");
        QCOMPARE(digits(w.game), "3" + QString(80, '0'));
        QVERIFY(recentCaptions(w.game).isEmpty());

        const QString path = w.home.filePath("one.kvr");
        QVERIFY(writeFile(path, puzzleBytes(QByteArray("\x05\xff\xff\x07\x00\x00", 6))));
        w.dialogs->openAnswer = path;
        trigger(w.game, "Load");
        QCOMPARE(digits(w.game), "57" + QString(79, '0'));
        QVERIFY(w.game.board()[1].Fixed && !w.game.board()[2].Fixed);
        QCOMPARE(w.game.square(2).drawnDigit(), 7);
        QCOMPARE(recentCaptions(w.game), QStringList{"1 " + path});

        const QString copy = w.home.filePath("copy.kvr");
        w.dialogs->saveAnswer = copy;
        QTest::keyClick(&w.game.square(81), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(contents(copy), contents(path));
        QCOMPARE(recentCaptions(w.game).size(), 1);
        w.dialogs->openAnswer = copy;
        QTest::keyClick(&w.game.square(1), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(recentCaptions(w.game), QStringList({"1 " + copy, "2 " + path}));
        QVERIFY(w.prompter.messages.empty());
    }

    // In a read-only folder a file already there is written over in place; a new one cannot be made.
    void saveInAReadOnlyFolder()
    {
        Window w;
        QTest::keyClick(&w.game.square(2), Qt::Key_7);
        const QString folder = w.home.filePath("locked");
        const QString old = folder + "/old.kvr";
        const QString fresh = folder + "/new.kvr";
        QVERIFY(QDir().mkpath(folder) && writeFile(old, QByteArray(243, '\x02')));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        {
            const PermissionsApply asAnyUser;
            QVERIFY(asAnyUser.applied());
            for (const QString& path : {old, fresh}) {
                w.dialogs->saveAnswer = path;
                trigger(w.game, "Save");
            }
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(w.prompter.messages,
                 std::vector<Message>{exclamation(("Cannot save " + fresh + ": Permission denied").toStdString())});
        QCOMPARE(contents(old), puzzleBytes(QByteArray("\x00\x00\x00\x07\xff\xff", 6)));
        QCOMPARE(contents(fresh), QByteArray("<missing>"));
    }

    void anUnwritableListIsReportedButTheOpenCounts()
    {
        QTemporaryDir folder;
        const QString list = folder.filePath("gone/Recent Files.txt");
        Window w({}, list);
        const QString path = w.home.filePath("p.kvr");
        QVERIFY(writeFile(path, puzzleBytes("\x06\xff\xff")));
        w.dialogs->openAnswer = path;
        trigger(w.game, "Load");
        QCOMPARE(int(w.game.board()[1].Digit), 6);
        QCOMPARE(w.prompter.messages.size(), std::size_t(1));
        QCOMPARE(w.prompter.messages[0].icon, Icon::Exclamation);
        QVERIFY(w.prompter.texts()[0].startsWith("Cannot save the recent files list " + list + ": "));
    }

    // Quoting and relative paths are the start test's and the path cleaning's; this is the start itself.
    void commandLineOpensAtStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("argument"); // %1: the file's path
        QTest::addColumn<bool>("opens");
        QTest::newRow("quoted, with blanks") << "my puzzle.kvr" << "\"%1\"" << true;
        QTest::newRow("a file named as a folder") << "p.kvr" << "%1/" << false;
        QTest::newRow("empty file") << "empty.kvr" << "\"%1\"" << false;
    }
    void commandLineOpensAtStart()
    {
        QFETCH(QString, name);
        QFETCH(QString, argument);
        QFETCH(bool, opens);
        QTemporaryDir folder;
        const QString path = folder.filePath(name);
        QVERIFY(writeFile(path, name == "empty.kvr" ? QByteArray() : puzzleBytes("\x08\xff\xff")));
        Window w(argument.arg(path));
        QCOMPARE(w.game.board()[1].Digit == 8, opens);
        QCOMPARE(recentCaptions(w.game), opens ? QStringList{"1 " + path} : QStringList{});
        QVERIFY(w.prompter.messages.empty());
    }

    // Two files dropped: the first opens, on the grid, the panel or the bare window only.
    void dropsOpenTheFirstLocalFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("opens");
        QTest::newRow("square") << "square" << "files" << true; // square 1, clear of the panel
        QTest::newRow("panel") << "panel" << "files" << true;
        QTest::newRow("bare window") << "window" << "files" << true;
        QTest::newRow("panel tile") << "tile" << "files" << false;
        QTest::newRow("menu bar") << "menu" << "files" << false;
        QTest::newRow("a web link before the files") << "square" << "link first" << true;
        QTest::newRow("the path as text") << "square" << "text" << false;
    }
    void dropsOpenTheFirstLocalFile()
    {
        QFETCH(QString, target);
        QFETCH(QString, data);
        QFETCH(bool, opens);
        Window w;
        const QString first = w.home.filePath("first.kvr");
        const QString second = w.home.filePath("second.kvr");
        QVERIFY(writeFile(first, puzzleBytes("\x01\xff\xff")));
        QVERIFY(writeFile(second, puzzleBytes("\x02\xff\xff")));
        QMimeData dropped;
        QList<QUrl> urls{QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)};
        if (data == "link first")
            urls.prepend(QUrl(QStringLiteral("https://example.org/a.kvr")));
        if (data == "text")
            dropped.setText(first);
        else
            dropped.setUrls(urls);
        SolvePanel& panel = w.game.panel();
        panel.move(100, 100); // dragged into sight, over part of the grid
        const QPoint at = target == "square" ? w.game.square(1).mapTo(&w.game, QPoint(15, 15))
                          : target == "panel" ? panel.mapTo(&w.game, QPoint(panel.width() / 2, 8))
                          : target == "tile"  ? panel.mapTo(&w.game, QPoint(30, 50))
                          : target == "menu"  ? w.game.menuBar()->mapTo(&w.game, QPoint(2, 2))
                                              : w.game.clientArea().mapTo(&w.game, QPoint(5, 5));
        QCOMPARE(dropAt(w.game, at, dropped), opens);
        QCOMPARE(int(w.game.board()[1].Digit), opens ? 1 : 0);
        QCOMPARE(recentCaptions(w.game), opens ? QStringList{"1 " + first} : QStringList{});
    }

    // Opened files are listed most recent first, nine of them shown: an item opens its whole path, or
    // offers to drop the entry when its file has gone. The list outlives the window.
    void recentItemsReopenAndAskWhenGone()
    {
        QTemporaryDir folder;
        const QString list = folder.filePath("Recent Files.txt");
        QVERIFY(QDir(folder.path()).mkpath(QString(60, u'x') + '/' + QString(60, u'y')));
        QStringList paths; // most recent first
        {
            Window w({}, list);
            QCOMPARE(fileMenuItems(w.game, false).size(), 4); // Load, Save, a separator, Exit
            for (int n = 1; n <= 12; ++n) {
                const QString name = n == 12 ? QString(60, u'x') + '/' + QString(60, u'y') + "/deep.kvr"
                                     : n == 11 ? "rock&roll.kvr" : QString("p%1.kvr").arg(n);
                paths.prepend(folder.filePath(name));
                QVERIFY(writeFile(paths.first(), puzzleBytes(QByteArray(1, char(n % 9 + 1)) + "\xff\xff")));
                w.dialogs->openAnswer = paths.first();
                trigger(w.game, "Load");
            }
        }
        Window w({}, list);
        QCOMPARE(RecentList(list).read().paths, paths);
        QCOMPARE(fileMenuItems(w.game, false).size(), 4 + 1 + 9);
        const QStringList captions = recentCaptions(w.game);
        QVERIFY(captions[0].startsWith(QString("1 ") + folder.path().left(5)) && captions[0].endsWith(".../deep.kvr"));
        QCOMPARE(captions[1], "2 " + folder.filePath("rock&&roll.kvr"));
        QCOMPARE(captions[8], "9 " + paths[8]);
        recentItems(w.game)[0]->trigger();
        QCOMPARE(int(w.game.board()[1].Digit), 4); // 12 % 9 + 1
        recentItems(w.game)[2]->trigger();
        QCOMPARE(int(w.game.board()[1].Digit), 2);
        QCOMPARE(recentCaptions(w.game).mid(0, 2), QStringList({"1 " + paths[2], "2" + captions[0].mid(1)}));

        QFile::remove(paths[0]);
        recentItems(w.game)[1]->trigger(); // No
        QCOMPARE(recentCaptions(w.game).size(), 9);
        w.prompter.answers = {Answer::Yes};
        recentItems(w.game)[1]->trigger();
        const Message question{(paths[0] + " not found!\r\nRemove it?").toStdString(), Icon::Exclamation, Buttons::YesNo};
        QCOMPARE(w.prompter.messages, std::vector<Message>({question, question}));
        QCOMPARE(RecentList(list).read().paths.size(), 11);
        QCOMPARE(recentCaptions(w.game).mid(0, 2), QStringList({"1 " + paths[2], "2 " + folder.filePath("rock&&roll.kvr")}));
        QCOMPARE(int(w.game.board()[1].Digit), 2);
    }
};

QTEST_MAIN(WindowFilesTest)
#include "test_window_files.moc"
