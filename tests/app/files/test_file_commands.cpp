// Load, Save, recent items, paths from outside and drops, with scripted dialogs and answers.
#include "test_files.h"
#include "fakes.h"

#include "file_commands.h"
#include "files/recent_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWidget>

#include <memory>

#include <unistd.h>

using namespace kavrin;
using kavrin::test::FileMenu;
using kavrin::test::RecordingPrompter;
using kavrin::test::ScriptedDialogs;

using kavrin::test::contents;
using kavrin::test::writeFile;

namespace {

// A fixed 5, a solver 7, a fixed 9 and the rest empty.
Board mixedBoard()
{
    Board board;
    board.SetSquare(1, 5, true, kWhite);
    board.SetSquare(41, 7, false, kWhite);
    board.SetSquare(81, 9, true, kWhite);
    return board;
}

bool sameSquares(const Board& a, const Board& b)
{
    for (int s = 1; s <= kSquareCount; ++s)
        if (!(a[s] == b[s]))
            return false;
    return true;
}

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QWidget owner_;
    std::unique_ptr<FileMenu> file_;
    std::unique_ptr<clsRecentMenu> recent_;
    RecordingPrompter prompter_;
    Board board_;
    PuzzleLoader load_ = [this](const QString& path) { return LoadPuzzle(board_, path); };

    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    QString listFile() const { return path("Recent Files.txt"); }
    QStringList listed() const { return RecentList(listFile()).read().paths; }
    QString savedPuzzle(const char* name)
    {
        QString at = path(name);
        [&] { QVERIFY(SavePuzzle(mixedBoard(), at).isEmpty()); }();
        return at;
    }

private slots:
    void init()
    {
        QFile::remove(listFile());
        board_ = Board();
        prompter_ = RecordingPrompter();
        file_ = std::make_unique<FileMenu>();
        recent_ = std::make_unique<clsRecentMenu>();
        recent_->Initialize(&owner_, &file_->menu, listFile(), file_->SepRecent, 500, 9);
    }

    void saveThenLoadKeepsEveryFlag()
    {
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = path("round.kvr");
        saveFromDialog(dialogs, mixedBoard(), prompter_);
        QCOMPARE(QFile(*dialogs.saveAnswer).size(), 243);
        QVERIFY(listed().isEmpty()); // saving adds nothing
        dialogs.openAnswer = dialogs.saveAnswer;
        QVERIFY(loadFromDialog(dialogs, load_, *recent_, prompter_));
        QVERIFY(sameSquares(board_, mixedBoard()));
        QVERIFY(board_[1].Fixed && !board_[41].Fixed && board_[81].Fixed);
        QCOMPARE(listed(), QStringList{*dialogs.saveAnswer});
        QVERIFY(prompter_.messages.empty());
    }

    void aShortFileIsRefused()
    {
        const QString shortFile = path("short.kvr");
        QVERIFY(writeFile(shortFile, QByteArray(242, '\x01')));
        board_ = mixedBoard();
        ScriptedDialogs dialogs;
        dialogs.openAnswer = shortFile;
        QVERIFY(!loadFromDialog(dialogs, load_, *recent_, prompter_));
        QVERIFY(sameSquares(board_, mixedBoard()));
        QVERIFY(!QFile::exists(listFile()));
        QVERIFY(file_->captions().isEmpty());
    }

    void cancelIsSilent()
    {
        board_ = mixedBoard();
        ScriptedDialogs dialogs;
        QVERIFY(!loadFromDialog(dialogs, load_, *recent_, prompter_));
        saveFromDialog(dialogs, board_, prompter_);
        QCOMPARE(dialogs.opened, 1);
        QCOMPARE(dialogs.saved, 1);
        QVERIFY(sameSquares(board_, mixedBoard()));
        QVERIFY(prompter_.messages.empty());
        QVERIFY(!QFile::exists(listFile()));
    }

    void aFailedSaveIsReportedAndKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("oldFile");
        QTest::addColumn<bool>("needsNonRoot");
        QTest::newRow("read-only folder") << "locked/old.kvr" << true << true;
        QTest::newRow("no room for a temporary name") << QString(250, u'n') + ".kvr" << true << false;
        QTest::newRow("folder that does not exist") << "gone/new.kvr" << false << false;
    }
    void aFailedSaveIsReportedAndKeepsTheOldFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, oldFile);
        QFETCH(bool, needsNonRoot);
        if (needsNonRoot && geteuid() == 0)
            QSKIP("a read-only folder is writable for root");
        const QString at = dir_.filePath(target);
        const QByteArray old(243, '\x02');
        if (oldFile) {
            QVERIFY(QDir().mkpath(QFileInfo(at).path()));
            QVERIFY(writeFile(at, old));
        }
        QFile::Permissions folderPermissions = QFile::permissions(QFileInfo(at).path());
        if (needsNonRoot)
            QVERIFY(QFile::setPermissions(QFileInfo(at).path(), QFile::ReadOwner | QFile::ExeOwner));
        ScriptedDialogs dialogs;
        dialogs.saveAnswer = at;
        saveFromDialog(dialogs, mixedBoard(), prompter_);
        if (needsNonRoot)
            QFile::setPermissions(QFileInfo(at).path(), folderPermissions);

        QCOMPARE(prompter_.messages.size(), std::size_t(1));
        const Message& shown = prompter_.messages.front();
        QCOMPARE(QString::fromStdString(shown.text), at + " could not be saved!\r\nNothing was written.");
        QCOMPARE(shown.icon, Icon::Exclamation);
        QCOMPARE(shown.buttons, Buttons::Ok);
        QCOMPARE(contents(at), oldFile ? old : QByteArray("<missing>"));
    }

    void recentItemOpensAndMovesToTheHead()
    {
        const QString a = savedPuzzle("a.kvr");
        const QString b = savedPuzzle("b.kvr");
        recent_->AddToList(a);
        recent_->AddToList(b);
        QVERIFY(openRecentFile(a, *recent_, prompter_, load_));
        QVERIFY(sameSquares(board_, mixedBoard()));
        QCOMPARE(listed(), (QStringList{a, b}));
        QVERIFY(prompter_.messages.empty());
    }

    void missingRecentFileIsOfferedForRemoval_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("emptyFile");
        QTest::addColumn<bool>("kept");
        QTest::newRow("deleted, Yes") << Answer::Yes << false << false;
        QTest::newRow("deleted, No") << Answer::No << false << true;
        QTest::newRow("empty file, Yes") << Answer::Yes << true << false;
    }
    void missingRecentFileIsOfferedForRemoval()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, emptyFile);
        QFETCH(bool, kept);
        const QString present = savedPuzzle("present.kvr");
        const QString gone = path("gone, for good.kvr");
        if (emptyFile)
            QVERIFY(writeFile(gone, {}));
        recent_->AddToList(present);
        recent_->AddToList(gone);
        board_ = Board();
        prompter_.answers = {answer};

        QVERIFY(!openRecentFile(gone, *recent_, prompter_, load_));
        QCOMPARE(prompter_.messages.size(), std::size_t(1));
        const Message expected{(gone + " not found!\r\nRemove it?").toStdString(), Icon::Exclamation, Buttons::YesNo};
        QVERIFY(prompter_.messages.front() == expected);
        QCOMPARE(listed(), kept ? (QStringList{gone, present}) : (QStringList{present}));
        QCOMPARE(file_->captions().size(), kept ? 2 : 1);
        QVERIFY(sameSquares(board_, Board()));
    }

    void openFromPath_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("opens");
        const QString puzzle = QDir(dir_.path()).filePath(QStringLiteral("my puzzle.kvr"));
        QTest::newRow("quoted") << "\"" + puzzle + "\"" << true;
        QTest::newRow("unquoted") << puzzle << true;
        QTest::newRow("quotes inside") << puzzle.left(5) + "\"" + puzzle.mid(5) << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("missing") << "\"" + puzzle + ".gone\"" << false;
        QTest::newRow("empty file") << QDir(dir_.path()).filePath(QStringLiteral("empty.kvr")) << false;
    }
    void openFromPath()
    {
        QFETCH(QString, given);
        QFETCH(bool, opens);
        const QString puzzle = savedPuzzle("my puzzle.kvr");
        QVERIFY(writeFile(path("empty.kvr"), {}));
        const QString before = path("before.kvr");
        recent_->AddToList(before);

        QCOMPARE(OpenFromPath(given, *recent_, load_, prompter_), opens);
        QCOMPARE(sameSquares(board_, mixedBoard()), opens);
        QCOMPARE(listed(), opens ? (QStringList{puzzle, before}) : (QStringList{before}));
        QVERIFY(prompter_.messages.empty());
    }

    void anUnwritableListIsReportedButTheOpenCounts()
    {
        const QString puzzle = savedPuzzle("a.kvr");
        clsRecentMenu recent;
        const QString unwritable = path("gone/Recent Files.txt");
        recent.Initialize(&owner_, &file_->menu, unwritable, file_->SepRecent, 500, 9);
        ScriptedDialogs dialogs;
        dialogs.openAnswer = puzzle;
        QVERIFY(loadFromDialog(dialogs, load_, recent, prompter_));
        QVERIFY(sameSquares(board_, mixedBoard()));
        QCOMPARE(prompter_.messages.size(), std::size_t(1));
        const QString text = QString::fromStdString(prompter_.messages.front().text);
        QVERIFY2(text.startsWith("Cannot save the recent files list " + unwritable), qPrintable(text));
        QCOMPARE(prompter_.messages.front().icon, Icon::Exclamation);
    }

    void droppedFilePath_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QUrl first = QUrl::fromLocalFile(QStringLiteral("/p/first one.kvr"));
        const QUrl second = QUrl::fromLocalFile(QStringLiteral("/p/second.kvr"));
        QTest::newRow("two files") << QList<QUrl>{first, second} << "" << "/p/first one.kvr";
        QTest::newRow("web link before a file")
            << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.kvr")), second} << "" << "/p/second.kvr";
        QTest::newRow("text only") << QList<QUrl>{} << "/p/first one.kvr" << "";
        QTest::newRow("nothing") << QList<QUrl>{} << "" << "";
    }
    void droppedFilePath()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        QCOMPARE(kavrin::droppedFilePath(data).value_or(QString()), expected);
    }
};

QTEST_MAIN(FileCommandsTest)
#include "test_file_commands.moc"
