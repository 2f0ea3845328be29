// The recent-files list file: reading, writing, adding, removing and shortened captions.
#include "files/open_path.h"
#include "files/recent_list.h"
#include "test_files.h"

#include <QByteArray>
#include <QChar>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QObject>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

using namespace kavrin;
using namespace kavrin::test;

class RecentListTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString listFile() const { return dir_.filePath(QStringLiteral("Recent Files.txt")); }

private slots:
    void init() { QFile::remove(listFile()); }

    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("empty") << QByteArray() << QStringList{};
        QTest::newRow("quoted lines, CR LF")
            << QByteArray("\"/a/one.kvr\"\r\n\"/b/two.kvr\"\r\n") << QStringList{"/a/one.kvr", "/b/two.kvr"};
        QTest::newRow("commas and blanks inside quotes")
            << QByteArray("\" /a, b /c ,d.kvr \"\r\n") << QStringList{" /a, b /c ,d.kvr "};
        QTest::newRow("unquoted runs end at a comma, blanks trimmed")
            << QByteArray("  /a/one.kvr , /b/two.kvr\r\n/c/three.kvr  \r\n")
            << QStringList{"/a/one.kvr", "/b/two.kvr", "/c/three.kvr"};
        QTest::newRow("two quoted fields on a line")
            << QByteArray("\"/a.kvr\", \"/b.kvr\"\r\n") << QStringList{"/a.kvr", "/b.kvr"};
        QTest::newRow("blank lines and empty fields skipped")
            << QByteArray("\r\n\"/a.kvr\"\r\n\r\n   \r\n,,\r\n\"\"\r\n\"/b.kvr\"\r\n")
            << QStringList{"/a.kvr", "/b.kvr"};
        QTest::newRow("unclosed quote ends at its line")
            << QByteArray("\"/a/one.kvr\r\n\"/b/two.kvr\"\r\n") << QStringList{"/a/one.kvr", "/b/two.kvr"};
        QTest::newRow("text after the closing quote dropped")
            << QByteArray("\"/a.kvr\"junk,\"/b.kvr\"\r\n") << QStringList{"/a.kvr", "/b.kvr"};
        QTest::newRow("a byte-order mark in front") << QByteArray("\xef\xbb\xbf\"/a.kvr\"\r\n") << QStringList{"/a.kvr"};
        QTest::newRow("UTF-8 names") << QByteArray("\"/home/\xc3\xa9t\xc3\xa9.kvr\"\r\n")
                                     << QStringList{QString::fromUtf8("/home/\xc3\xa9t\xc3\xa9.kvr")};
    }
    void parse()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, entries);
        QCOMPARE(parseRecentEntries(text), entries);
    }

    // Each step adds a path, or removes it when it starts with '-'; "!" marks a step that must fail.
    void stepsGiveTheFile_data()
    {
        QTest::addColumn<QByteArray>("before"); // "<missing>": no file
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QByteArray>("after");
        const QByteArray none("<missing>");
        QTest::newRow("first add creates the file") << none << QStringList{"/home/ann/a.kvr"}
                                                    << QByteArray("\"/home/ann/a.kvr\"\r\n");
        QTest::newRow("added once, at the head")
            << none << QStringList{"/d.kvr", "/c.kvr", "/b.kvr", "/a.kvr", "/c.kvr"}
            << QByteArray("\"/c.kvr\"\r\n\"/a.kvr\"\r\n\"/b.kvr\"\r\n\"/d.kvr\"\r\n");
        QTest::newRow("case makes another file") << none << QStringList{"/Ann/a.kvr", "/ann/a.kvr"}
                                                 << QByteArray("\"/ann/a.kvr\"\r\n\"/Ann/a.kvr\"\r\n");
        QTest::newRow("commas and blanks kept") << none << QStringList{"/a.kvr", " /x, y/z ,.kvr"}
                                                << QByteArray("\" /x, y/z ,.kvr\"\r\n\"/a.kvr\"\r\n");
        QTest::newRow("removal keeps the order")
            << QByteArray("\"/a.kvr\"\r\n\"/b.kvr\"\r\n\"/c.kvr\"\r\n") << QStringList{"-/b.kvr"}
            << QByteArray("\"/a.kvr\"\r\n\"/c.kvr\"\r\n");
        QTest::newRow("absent path leaves a hand-written file alone")
            << QByteArray("/a.kvr , \"/b.kvr\"\n\n") << QStringList{"-/c.kvr", "-/A.kvr"}
            << QByteArray("/a.kvr , \"/b.kvr\"\n\n");
        QTest::newRow("removal from no file creates none") << none << QStringList{"-/a.kvr"} << none;
        QTest::newRow("double quote refused") << none << QStringList{"/a.kvr", "!/home/\"odd\".kvr"}
                                              << QByteArray("\"/a.kvr\"\r\n");
        QTest::newRow("line break refused") << none << QStringList{"/a.kvr", "!/two\nlines.kvr"}
                                            << QByteArray("\"/a.kvr\"\r\n");
        QTest::newRow("empty refused") << none << QStringList{"/a.kvr", "!"} << QByteArray("\"/a.kvr\"\r\n");
        QTest::newRow("a name that is not UTF-8 keeps its bytes")
            << QByteArray("\"/caf\xe9.kvr\"\r\n") << QStringList{decodeFileName("/\xff\xfe.kvr"), "-/caf\xc3\xa9.kvr"}
            << QByteArray("\"/\xff\xfe.kvr\"\r\n\"/caf\xe9.kvr\"\r\n");
    }
    void stepsGiveTheFile()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, steps);
        if (before != "<missing>")
            QVERIFY(writeFile(listFile(), before));
        const RecentList list(listFile());
        for (QString step : steps) {
            const bool fails = step.startsWith(u'!');
            if (fails)
                step.remove(0, 1);
            const QString error = step.startsWith(u'-') ? list.RemoveFromList(step.mid(1)) : list.AddToList(step);
            QCOMPARE(error.isEmpty(), !fails);
        }
        QTEST(contents(listFile()), "after");
    }

    // A list grown past its cap reads as its newest whole entries, and is written back as such.
    void aHugeListIsReadUpToItsCap()
    {
        QStringList written;
        QByteArray text;
        for (int i = 0; text.size() <= kRecentListReadCap; ++i) {
            written << QStringLiteral("/%1/%2.kvr").arg(QString(1000, u'f')).arg(i);
            text += '"' + written.back().toUtf8() + "\"\r\n";
        }
        QVERIFY(writeFile(listFile(), text));
        const RecentList list(listFile());
        const QStringList read = list.read().paths;
        QVERIFY(read.size() > 1000 && read.size() < written.size());
        QCOMPARE(read, written.mid(0, read.size()));
        QVERIFY(list.AddToList(QStringLiteral("/new.kvr")).isEmpty());
        QCOMPARE(parseRecentEntries(contents(listFile())), QStringList{"/new.kvr"} + read);
    }

    void anUnwritableListIsReportedAndLeavesNoFile()
    {
        const RecentList list(dir_.filePath(QStringLiteral("no such folder/Recent Files.txt")));
        const QString error = list.AddToList(QStringLiteral("/a.kvr"));
        QVERIFY(error.startsWith(QStringLiteral("Cannot save the recent files list ")));
        QVERIFY(error.contains(list.ListFileName()));
        QVERIFY(list.read().paths.isEmpty());
    }

    void fileExisits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("length");
        QTest::newRow("five bytes") << "five.kvr" << QByteArray("12345") << qint64(5);
        QTest::newRow("empty file counts as missing") << "empty.kvr" << QByteArray() << qint64(0);
        QTest::newRow("missing") << "missing.kvr" << QByteArray("<none>") << qint64(0);
        QTest::newRow("a folder is no puzzle file") << "." << QByteArray("<none>") << qint64(0);
        QTest::newRow("no name") << "" << QByteArray("<none>") << qint64(0);
        QTest::newRow("a name that is not UTF-8") << decodeFileName("\xff\xfe.kvr") << QByteArray("123") << qint64(3);
        QTest::newRow("a FIFO is no puzzle file") << "fifo" << QByteArray("<fifo>") << qint64(0);
    }
    void fileExisits()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, length);
        const QString path = name.isEmpty() ? QString() : dir_.filePath(name);
        const QByteArray systemPath = encodeFileName(path);
        if (bytes == "<fifo>")
            QCOMPARE(::mkfifo(systemPath.constData(), 0600), 0);
        else if (bytes != "<none>")
            QVERIFY(writeFileNamedByBytes(systemPath, bytes));
        QCOMPARE(FileExisits(path), length);
        ::unlink(systemPath.constData()); // Qt cannot spell every name to remove it
    }

    // Beside a writable executable, in the application's data folder otherwise.
    void listFileFolder()
    {
        QCOMPARE(recentListFilePath(dir_.path()), listFile());
        QStandardPaths::setTestModeEnabled(true);
        const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QString path = recentListFilePath(dir_.filePath(QStringLiteral("gone")));
        QCOMPARE(path, dataFolder + QStringLiteral("/Recent Files.txt"));
        QVERIFY(QFileInfo(dataFolder).isDir());
        QStandardPaths::setTestModeEnabled(false);
    }

    void shortenPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        // Ten pixels a character against 500 pixels: 50 characters fit.
        QTest::newRow("narrow path whole")
            << "/home/ann/games/puzzles/easy/first.kvr" << "/home/ann/games/puzzles/easy/first.kvr";
        QTest::newRow("leading folders that fit")
            << "/home/ann/very_long_folder_name_number_three/deep/puzzle.kvr"
            << "/home/ann/.../puzzle.kvr";
        QTest::newRow("only the root fits")
            << "/a_folder_name_that_is_much_too_long_to_keep_here/b/puzzle.kvr" << "/.../puzzle.kvr";
        QTest::newRow("file name alone, whatever its width")
            << "/home/a_file_name_that_is_far_too_wide_to_fit_in_the_menu.kvr"
            << "a_file_name_that_is_far_too_wide_to_fit_in_the_menu.kvr";
        QTest::newRow("root-level file that fits only without the elision")
            << "/a_file_name_of_exactly_forty_nine_characters.kvr"
            << "/a_file_name_of_exactly_forty_nine_characters.kvr";
        QTest::newRow("exactly 50 characters fit")
            << "/home/ann/games/puzzles/a_file_of_fifty_charss.kvr"
            << "/home/ann/games/puzzles/a_file_of_fifty_charss.kvr";
        QTest::newRow("the most of many folders that fit")
            << "/a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p/q/r/s/t/u/v/w/x/y/z/file.kvr"
            << "/a/b/c/d/e/f/g/h/i/j/k/l/m/n/o/p/q/r/.../file.kvr";
        QTest::newRow("51 characters do not")
            << "/home/ann/games/puzzles/a_file_of_fifty1_charss.kvr"
            << "/home/ann/games/.../a_file_of_fifty1_charss.kvr";
    }
    void shortenPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QCOMPARE(ShortenPath(path, 500, [](const QString& text) { return 10 * int(text.size()); }), caption);
    }
};

QTEST_GUILESS_MAIN(RecentListTest)
#include "test_recent_list.moc"
