// The desktop registry end to end in private XDG folders: what is written, what the desktop tools then
// report, and registrations of other programs left alone.
#include "registry.h"
#include "window_icon.h"
#include "xdg_registry.h"

#include "file_permissions.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <csignal>

namespace {

const QString kTitle = QStringLiteral("Ka\u00A0Vr\u00A0In");

// Counts the values the registration sets, so that "nothing written" can be seen.
class CountingRegistry final : public kavrin::Registry {
public:
    explicit CountingRegistry(kavrin::Registry& inner)
        : inner_(inner)
    {
    }
    int valuesSet = 0;

    kavrin::RegKey openKey(const QString& subKey) override { return inner_.openKey(subKey); }
    std::optional<kavrin::RegValue> queryValue(kavrin::RegKey key, const QString& name) override
    {
        return inner_.queryValue(key, name);
    }
    kavrin::RegKey createKey(const QString& subKey) override { return inner_.createKey(subKey); }
    bool setStringValue(kavrin::RegKey key, const QString& name, const QByteArray& data) override
    {
        ++valuesSet;
        return inner_.setStringValue(key, name, data);
    }
    bool closeKey(kavrin::RegKey key) override { return inner_.closeKey(key); }

private:
    kavrin::Registry& inner_;
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class XdgRegistryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> root_;

    QString path(const QString& relative) const { return root_->filePath(relative); }
    QString executable() const { return path(QStringLiteral("bin dir/Kavrin_Solve")); }
    QString packagePath() const { return path(QStringLiteral("data/mime/packages/org.kavrin.kavrin_solve.xml")); }
    QString desktopPath() const { return path(QStringLiteral("data/applications/org.kavrin.kavrin_solve.desktop")); }
    QString mimeappsPath() const { return path(QStringLiteral("config/mimeapps.list")); }
    QString iconPath(int size) const
    {
        return path(QStringLiteral("data/icons/hicolor/%1x%1/apps/org.kavrin.kavrin_solve.png").arg(size));
    }

    int registerOnce()
    {
        kavrin::XdgRegistry desktop(executable());
        CountingRegistry counting(desktop);
        kavrin::RegisterFileType(counting, kavrin::RegistrationEntriesFor(kTitle, QStringLiteral("C:\\K"),
                                                                           QStringLiteral("Kavrin_Solve")));
        return counting.valuesSet;
    }

    // The database is brought up to date in the background.
    bool databaseUpdated() const
    {
        return QTest::qWaitFor([this] {
            return readFile(path(QStringLiteral("data/mime/globs2"))).contains("application/x-kavrin-puzzle");
        }, 10000);
    }

    // xdg-mime run as outside any desktop session, so that it reads the XDG files itself.
    QString xdgMime(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                                 "DESKTOP_SESSION", "XDG_SESSION_DESKTOP", "MATE_DESKTOP_SESSION_ID"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("xdg-mime"), arguments);
        if (!process.waitForFinished(30000))
            return QStringLiteral("(xdg-mime did not finish)");
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    void requireXdgMime(bool readsMimeDatabase)
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
            QSKIP("xdg-mime is not installed");
        if (readsMimeDatabase && QStandardPaths::findExecutable(QStringLiteral("mimetype")).isEmpty())
            QSKIP("mimetype, which xdg-mime uses outside a desktop session, is not installed");
    }

private slots:
    void init()
    {
        root_ = std::make_unique<QTemporaryDir>();
        QVERIFY(root_->isValid());
        qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", path(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_DIRS", path(QStringLiteral("system-data")).toUtf8());
        qputenv("XDG_CONFIG_DIRS", path(QStringLiteral("system-config")).toUtf8());
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    // The database runs in the background; each ends before its folder goes.
    void cleanup()
    {
        for (QProcess* update : QCoreApplication::instance()->findChildren<QProcess*>())
            update->waitForFinished(10000);
    }

    void execArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "/usr/bin/Kavrin_Solve" << "/usr/bin/Kavrin_Solve";
        QTest::newRow("space") << "/opt/my games/K" << "\"/opt/my games/K\"";
        QTest::newRow("dollar") << "/x$y/K" << "\"/x\\\\$y/K\"";
        QTest::newRow("backslash") << "/x\\y/K" << "\"/x\\\\\\\\y/K\"";
        QTest::newRow("double quote") << "/a\"b/K" << "\"/a\\\\\"b/K\"";
        QTest::newRow("percent") << "/100%/K" << "/100%%/K";
        QTest::newRow("percent and space") << "/100 %/K" << "\"/100 %%/K\"";
        QTest::newRow("newline") << "/a\nb/K" << "\"/a\\nb/K\"";
        QTest::newRow("empty") << "" << "\"\"";
    }

    void execArgument()
    {
        QFETCH(QString, argument);
        QFETCH(QString, written);
        QCOMPARE(kavrin::DesktopExecArgument(argument), written);
    }

    void cleanDesktopGetsAllThree()
    {
        QCOMPARE(registerOnce(), 3);
        const QByteArray package = readFile(packagePath());
        QVERIFY(package.contains("type=\"application/x-kavrin-puzzle\""));
        QVERIFY(package.contains("<glob pattern=\"*.kvr\"/>"));
        QVERIFY(package.contains("<comment>" + kTitle.toUtf8() + "</comment>"));
        QVERIFY(databaseUpdated());
        QVERIFY(readFile(path(QStringLiteral("data/mime/globs2"))).contains("application/x-kavrin-puzzle:*.kvr"));

        const QByteArray entry = readFile(desktopPath());
        QVERIFY(entry.contains("\nExec=" + kavrin::DesktopExecArgument(executable()).toUtf8() + " %f\n"));
        QVERIFY(entry.contains("\nName=" + kTitle.toUtf8() + '\n'));
        QVERIFY(entry.contains("\nMimeType=application/x-kavrin-puzzle;\n"));
        QVERIFY(entry.contains("\nKeywords=sudoku;")); // the installed entry's, whole
        QCOMPARE(readFile(mimeappsPath()),
                 QByteArray("[Default Applications]\napplication/x-kavrin-puzzle=org.kavrin.kavrin_solve.desktop;\n"));
        for (const int size : kavrin::kIconSizes)
            QCOMPARE(readFile(iconPath(size)), readFile(QStringLiteral(":/icons/AAA/%1.png").arg(size)));
        QVERIFY(!readFile(iconPath(48)).isEmpty());
    }

    void desktopToolsNameOurTypeAndProgram()
    {
        requireXdgMime(true);
        registerOnce();
        const QString puzzle = path(QStringLiteral("some.kvr"));
        writeFile(puzzle, QByteArray(243, '\0'));
        QTRY_COMPARE(xdgMime({QStringLiteral("query"), QStringLiteral("filetype"), puzzle}),
                     QStringLiteral("application/x-kavrin-puzzle"));
        QCOMPARE(xdgMime({QStringLiteral("query"), QStringLiteral("default"), kavrin::kPuzzleMimeType}),
                 QStringLiteral("org.kavrin.kavrin_solve.desktop"));
    }

    void secondRegistrationWritesNothing()
    {
        QCOMPARE(registerOnce(), 3);
        QVERIFY(databaseUpdated());
        const QByteArray mimeapps = readFile(mimeappsPath());
        const QByteArray entry = readFile(desktopPath());
        QCOMPARE(registerOnce(), 0);
        QCOMPARE(readFile(mimeappsPath()), mimeapps);
        QCOMPARE(readFile(desktopPath()), entry);
    }

    // What other programs set up first is kept: registration writes around it.
    void othersKept_data()
    {
        QTest::addColumn<QStringList>("presets"); // path, then contents, for each file
        QTest::addColumn<int>("valuesSet");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        const QString other = QStringLiteral("[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n");
        const QString otherDefault =
            QStringLiteral("[Default Applications]\napplication/x-kavrin-puzzle=other.desktop");
        const QString package = QStringLiteral("data/mime/packages/org.kavrin.kavrin_solve.xml");
        const QString entry = QStringLiteral("data/applications/org.kavrin.kavrin_solve.desktop");
        QTest::newRow("a default of ours for another program")
            << QStringList{"config/mimeapps.list", otherDefault + ";\n", "data/applications/other.desktop",
                           other + "MimeType=application/x-kavrin-puzzle;\n"}
            << 2 << QStringList{package, "data/icons/hicolor/16x16/apps/org.kavrin.kavrin_solve.png"} << QStringList{entry};
        QTest::newRow("that default in the system folders")
            << QStringList{"system-config/mimeapps.list", otherDefault + "\n", "system-data/applications/other.desktop",
                           other}
            << 2 << QStringList{} << QStringList{"config/mimeapps.list"};
        QTest::newRow("*.kvr claimed by another type")
            << QStringList{"system-data/mime/globs2", "# other\n50:text/x-other:*.KVR\n"} << 2 << QStringList{entry}
            << QStringList{package};
        QTest::newRow("a case-sensitive glob of another case is no claim")
            << QStringList{"system-data/mime/globs2", "50:text/x-other:*.KVR:cs\n"} << 3 << QStringList{package}
            << QStringList{};
        QTest::newRow("files where the folders should be")
            << QStringList{"data", "not a folder", "config", "not a folder"} << 3 << QStringList{}
            << QStringList{package};
    }
    void othersKept()
    {
        QFETCH(QStringList, presets);
        for (qsizetype i = 0; i + 1 < presets.size(); i += 2)
            writeFile(path(presets[i]), presets[i + 1].toUtf8());
        const QByteArray mimeapps = readFile(mimeappsPath());
        QTEST(registerOnce(), "valuesSet");
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        for (const QString& file : present)
            QVERIFY2(QFile::exists(path(file)), qPrintable(file));
        for (const QString& file : absent)
            QVERIFY2(!QFile::exists(path(file)), qPrintable(file));
        if (presets.first() == QLatin1String("config/mimeapps.list")) {
            QCOMPARE(readFile(mimeappsPath()), mimeapps);
            if (!QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
                QCOMPARE(xdgMime({QStringLiteral("query"), QStringLiteral("default"), kavrin::kPuzzleMimeType}),
                         QStringLiteral("other.desktop"));
        }
    }

    // Another program's settings file is rewritten only from a whole read, and only our line changes.
    void mimeappsListKeptByteForByte_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("permissions"); // 0: as created
        QTest::addColumn<QByteArray>("after");
        const QByteArray ours = "application/x-kavrin-puzzle=org.kavrin.kavrin_solve.desktop;\n";
        QTest::newRow("a default naming a missing file replaced")
            << QByteArray("[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\ntext/plain=b.desktop;\n"
                          "application/x-kavrin-puzzle=gone.desktop;\nimage/png=c.desktop;\n")
            << 0
            << "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\ntext/plain=b.desktop;\n" + ours
                   + "image/png=c.desktop;\n";
        QTest::newRow("added after the others, blank lines kept")
            << QByteArray("[Default Applications]\ntext/plain=b.desktop;\n\n\n[Added Associations]\ntext/plain=a.desktop;\n\n")
            << 0
            << "[Default Applications]\ntext/plain=b.desktop;\n" + ours
                   + "\n\n[Added Associations]\ntext/plain=a.desktop;\n\n";
        QTest::newRow("bytes that are not UTF-8")
            << QByteArray("# caf\xe9\r\n[Default Applications]\r\ntext/plain=b\xff.desktop;")
            << 0 << "# caf\xe9\r\n[Default Applications]\r\ntext/plain=b\xff.desktop;\n" + ours.chopped(1);
        QTest::newRow("no section yet") << QByteArray("[Added Associations]\ntext/plain=a\xe9;") << 0
                                        << "[Added Associations]\ntext/plain=a\xe9;\n\n[Default Applications]\n" + ours;
        const QByteArray others = "[Default Applications]\ntext/plain=b.desktop;\n";
        QTest::newRow("unreadable: left alone") << others << int(QFile::WriteOwner) << others;
        QTest::newRow("read-only: left alone") << others << int(QFile::ReadOwner) << others;
    }
    void mimeappsListKeptByteForByte()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, permissions);
        writeFile(mimeappsPath(), before);
        if (permissions != 0)
            QVERIFY(QFile::setPermissions(mimeappsPath(), QFile::Permissions(permissions)));
        {
            const kavrin::test::PermissionsApply asAnyUser;
            QVERIFY(asAnyUser.applied());
            registerOnce();
        }
        QFile::setPermissions(mimeappsPath(), QFile::ReadOwner | QFile::WriteOwner);
        QTEST(readFile(mimeappsPath()), "after");
    }

    // The database tool runs on its own: one that hangs holds up nothing.
    void aHungDatabaseToolDoesNotHoldUpRegistration()
    {
        const QString bin = path(QStringLiteral("bin"));
        const QString pidFile = path(QStringLiteral("tool.pid"));
        writeFile(bin + QStringLiteral("/update-mime-database"),
                  "#!/bin/sh\necho $$ > '" + QFile::encodeName(pidFile) + "'\nexec sleep 600\n");
        QVERIFY(QFile::setPermissions(bin + QStringLiteral("/update-mime-database"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray searchPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin) + ':' + searchPath);
        QCOMPARE(registerOnce(), 3);
        qputenv("PATH", searchPath);
        QTRY_VERIFY(!readFile(pidFile).trimmed().isEmpty());
        const pid_t tool = readFile(pidFile).trimmed().toInt();
        QCOMPARE(::kill(tool, 0), 0); // registration is over, and the tool still runs
        ::kill(tool, SIGKILL);
    }

    void aDamagedRegistrationIsMendedAlone()
    {
        registerOnce();
        QVERIFY(databaseUpdated());
        writeFile(desktopPath(), "[Desktop Entry]\nType=Application\nName=x\nExec=\n");
        QCOMPARE(registerOnce(), 1);
        QVERIFY(readFile(desktopPath()).contains("\nExec=" + kavrin::DesktopExecArgument(executable()).toUtf8()));
        for (const int size : kavrin::kIconSizes)
            QVERIFY(QFile::remove(iconPath(size)));
        QCOMPARE(registerOnce(), 1);
        QVERIFY(QFile::exists(iconPath(32)));
    }

    void unknownKeysDoNotExist()
    {
        kavrin::XdgRegistry desktop(executable());
        QCOMPARE(desktop.openKey(QStringLiteral(".txt")), kavrin::kNullKey);
        QCOMPARE(desktop.createKey(QStringLiteral("Other\\shell")), kavrin::kNullKey);
        const kavrin::RegKey key = desktop.createKey(QStringLiteral(".KVR"));
        QVERIFY(key != kavrin::kNullKey);
        QVERIFY(!desktop.setStringValue(key, QStringLiteral("named"), "x"));
        QVERIFY(desktop.closeKey(key));
        QVERIFY(!desktop.closeKey(key));
    }
};

QTEST_GUILESS_MAIN(XdgRegistryTest)
#include "xdg_registry_test.moc"
