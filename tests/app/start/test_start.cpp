// Kavrin_Solve started for real, offscreen, in a throw-away home: one copy at a time, a later
// start's file opened by the running copy, the puzzle type registered after the first start, and
// nothing in a file's place or in a file's name that keeps the first start from opening its file.
#include "test_files.h"

#include <QByteArray>
#include <QChar>
#include <QDir>
#include <QFile>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The runtime folder must be the user's alone, or it is not used.
QProcessEnvironment homeEnvironment(const QTemporaryDir& home)
{
    QDir().mkpath(home.filePath("run"));
    QFile::setPermissions(home.filePath("run"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("HOME", home.path());
    env.insert("XDG_DATA_HOME", home.filePath("data"));
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", home.filePath("run"));
    return env;
}

// A copy of the program in the home, so that its recent list beside it is throw-away too.
QString installedCopy(const QTemporaryDir& home)
{
    QString copy = home.filePath("bin/Kavrin_Solve");
    QDir().mkpath(home.filePath("bin"));
    QFile::copy(QStringLiteral(KAVRIN_SOLVE_PATH), copy);
    return copy;
}

// The name's own bytes as the one argument: QProcess would take the name for UTF-8 text.
void startWithArgumentBytes(QProcess& process, const QString& program, const QByteArray& argument)
{
    QString escapes;
    for (const char byte : argument)
        escapes += QStringLiteral("\\%1").arg(uint(uchar(byte)), 3, 8, QChar(u'0'));
    process.start("/bin/sh", {"-c", "exec \"$0\" \"$(printf \"$1\")\"", program, escapes});
}

QString output(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

} // namespace

class StartTest : public QObject {
    Q_OBJECT
private slots:
    // The second start ends at once, handing over its file, named relative to its own working folder.
    void laterStartHandsOverItsFileAndTheFirstRegisters()
    {
        QTemporaryDir home;
        const QProcessEnvironment env = homeEnvironment(home);
        const QString program = installedCopy(home);
        QVERIFY(QDir(home.path()).mkpath("puzzles/sub"));
        const QString puzzle = home.filePath("puzzles/start puzzle.kvr");
        QVERIFY(kavrin::test::writeFile(puzzle, kavrin::test::puzzleBytes("\x06\xff\xff")));

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, QStringList());
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath("run/org.kavrin.kavrin_solve.socket")), 20000);

        QProcess second;
        second.setProcessEnvironment(env);
        second.setWorkingDirectory(home.filePath("puzzles/sub"));
        second.start(program, {"../start puzzle.kvr"});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        const QString list = home.filePath("bin/Recent Files.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(list), 20000); // the running copy opened it
        QCOMPARE(kavrin::test::contents(list), '"' + puzzle.toUtf8() + "\"\r\n");

        QCOMPARE(output("xdg-mime", {"query", "filetype", puzzle}, env), QString("application/x-kavrin-puzzle"));
        QCOMPARE(output("xdg-mime", {"query", "default", "application/x-kavrin-puzzle"}, env),
                 QString("org.kavrin.kavrin_solve.desktop"));
        first.kill();
        first.waitForFinished();
    }

    // What stands in a settings file's place is never waited for: the first start opens its file.
    void startUpIsNotHeldUpByASettingsFile_data()
    {
        QTest::addColumn<QString>("made");
        QTest::newRow("mimeapps.list is a FIFO") << "fifo";
        QTest::newRow("mimeapps.list is a link to an endless device") << "/dev/zero";
    }
    void startUpIsNotHeldUpByASettingsFile()
    {
        QFETCH(QString, made);
        QTemporaryDir home;
        const QProcessEnvironment env = homeEnvironment(home);
        const QString program = installedCopy(home);
        const QString puzzle = home.filePath("puzzle.kvr");
        QVERIFY(kavrin::test::writeFile(puzzle, kavrin::test::puzzleBytes("\x06\xff\xff")));
        QVERIFY(QDir(home.path()).mkpath("config"));
        const QByteArray mimeapps = QFile::encodeName(home.filePath("config/mimeapps.list"));
        if (made == "fifo")
            QCOMPARE(::mkfifo(mimeapps.constData(), 0600), 0);
        else
            QVERIFY(QFile::link(made, home.filePath("config/mimeapps.list")));

        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, {puzzle});
        const QString list = home.filePath("bin/Recent Files.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(list), 20000);
        QCOMPARE(kavrin::test::contents(list), '"' + puzzle.toUtf8() + "\"\r\n");
        first.kill();
        first.waitForFinished();
    }

    // File names are bytes: one that is not UTF-8 opens on a first start and when handed over.
    void aNameThatIsNotUtf8Opens_data()
    {
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("first start") << false;
        QTest::newRow("handed over") << true;
    }
    void aNameThatIsNotUtf8Opens()
    {
        QFETCH(bool, handedOver);
        QTemporaryDir home;
        const QProcessEnvironment env = homeEnvironment(home);
        const QString program = installedCopy(home);
        const QByteArray name = "\xff\xfe.kvr";
        const QByteArray puzzle = QFile::encodeName(home.path()) + '/' + name;
        QVERIFY(kavrin::test::writeFileNamedByBytes(puzzle, kavrin::test::puzzleBytes("\x06\xff\xff")));

        QProcess first;
        first.setProcessEnvironment(env);
        QProcess later;
        later.setProcessEnvironment(env);
        later.setWorkingDirectory(home.path());
        if (handedOver) {
            first.start(program, QStringList());
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.filePath("run/org.kavrin.kavrin_solve.socket")), 20000);
            startWithArgumentBytes(later, program, name);
            QVERIFY(later.waitForFinished(20000));
            QCOMPARE(later.exitCode(), 0);
        } else {
            first.setWorkingDirectory(home.path());
            startWithArgumentBytes(first, program, name);
        }
        const QString list = home.filePath("bin/Recent Files.txt");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(list), 20000);
        QCOMPARE(kavrin::test::contents(list), '"' + puzzle + "\"\r\n");
        ::unlink(puzzle.constData()); // Qt cannot spell the name to remove it
        first.kill();
        first.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(StartTest)
#include "test_start.moc"
