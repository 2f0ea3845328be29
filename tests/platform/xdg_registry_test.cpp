// The desktop registry end to end in private XDG folders: what is written, what is read back, and
// registrations of other programs left alone. test_start asks the desktop's own tools.
#include "file_permissions.h"
#include "registry.h"
#include "test_files.h"
#include "window_icon.h"
#include "xdg_registry.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QtGlobal>

#include <array>
#include <csignal>
#include <memory>
#include <optional>
#include <utility>

namespace {

using kavrin::RegKey;
using kavrin::Registry;
using kavrin::RegValue;

// Passes every operation on, counting the values set, so that "nothing written" can be seen.
struct CountingRegistry final : Registry {
    explicit CountingRegistry(Registry& inner) : inner(inner) {}
    RegKey openKey(const QString& subKey) override { return inner.openKey(subKey); }
    std::optional<RegValue> queryValue(RegKey key, const QString& name) override { return inner.queryValue(key, name); }
    RegKey createKey(const QString& subKey) override { return inner.createKey(subKey); }
    bool setStringValue(RegKey key, const QString& name, const QByteArray& data) override
    {
        ++valuesSet;
        return inner.setStringValue(key, name, data);
    }
    bool closeKey(RegKey key) override { return inner.closeKey(key); }
    Registry& inner;
    int valuesSet = 0;
};

const QString kTitle = QStringLiteral("Ka\u00A0Vr\u00A0In");
const QString kPackage = QStringLiteral("data/mime/packages/org.kavrin.kavrin_solve.xml");
const QString kEntry = QStringLiteral("data/applications/org.kavrin.kavrin_solve.desktop");
const QString kMimeapps = QStringLiteral("config/mimeapps.list");
const QByteArray kOurDefault = "application/x-kavrin-puzzle=org.kavrin.kavrin_solve.desktop;\n";

QString icon(int size)
{
    return QStringLiteral("data/icons/hicolor/%1x%1/apps/org.kavrin.kavrin_solve.png").arg(size);
}

} // namespace

class XdgRegistryTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> root_;

    QString path(const QString& relative) const { return root_->filePath(relative); }
    QString executable() const { return path("bin dir/Kavrin_Solve"); }
    QByteArray read(const QString& relative) const { return kavrin::test::contents(path(relative)); }
    void write(const QString& relative, const QByteArray& bytes) const
    {
        QVERIFY(QDir().mkpath(QFileInfo(path(relative)).path()) && kavrin::test::writeFile(path(relative), bytes));
    }
    // The values the registration sets.
    int registerOnce() const
    {
        kavrin::XdgRegistry desktop(executable());
        CountingRegistry counting(desktop);
        kavrin::RegisterFileType(counting, kavrin::RegistrationEntriesFor(kTitle, "C:\\K", "Kavrin_Solve"));
        return counting.valuesSet;
    }

    // The open command as the next start reads it.
    QString openCommand() const
    {
        kavrin::XdgRegistry desktop(executable());
        return kavrin::ReadRegString(desktop, kTitle + QStringLiteral("\\shell\\open\\command"), QString());
    }

private slots:
    void init()
    {
        root_ = std::make_unique<QTemporaryDir>();
        const std::pair<const char*, const char*> folders[] = {
            {"XDG_DATA_HOME", "data"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_DIRS", "system-data"},
            {"XDG_CONFIG_DIRS", "system-config"}};
        for (const auto& [variable, folder] : folders)
            qputenv(variable, path(folder).toUtf8());
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
        QTEST(kavrin::DesktopExecArgument(argument), "written");
    }

    // A clean desktop gets all three; a second start writes nothing; a damaged part is mended alone.
    void registeredOnceAndMended()
    {
        QCOMPARE(registerOnce(), 3);
        // The type and its glob are test_start's, which asks the desktop's own tools; the next start
        // reads the database, so it waits for the run in the background.
        QVERIFY(read(kPackage).contains("<comment>" + kTitle.toUtf8() + "</comment>"));
        QVERIFY(QTest::qWaitFor([this] { return read("data/mime/globs2").contains("application/x-kavrin-puzzle:*.kvr"); }, 10000));
        const QByteArray entry = read(kEntry);
        QVERIFY(entry.contains("\nExec=" + kavrin::DesktopExecArgument(executable()).toUtf8() + " %f\n"));
        QVERIFY(entry.contains("\nName=" + kTitle.toUtf8() + '\n'));
        QVERIFY(entry.contains("\nMimeType=application/x-kavrin-puzzle;\n"));
        QVERIFY(entry.contains("\nKeywords=sudoku;")); // the installed entry's, whole
        QCOMPARE(read(kMimeapps), "[Default Applications]\n" + kOurDefault);
        for (const int size : kavrin::kIconSizes)
            QCOMPARE(read(icon(size)), kavrin::test::contents(kavrin::IconImagePath(kavrin::kAppIconName, size)));
        QVERIFY(QFile::exists(path(icon(48))));

        QCOMPARE(registerOnce(), 0);
        write(kMimeapps, "");
        QCOMPARE(registerOnce(), 1);
        QCOMPARE(read(kMimeapps), "[Default Applications]\n" + kOurDefault);
        QCOMPARE(read(kEntry), entry);
        for (const int size : kavrin::kIconSizes)
            QVERIFY(QFile::remove(path(icon(size))));
        QCOMPARE(registerOnce(), 1);
        QVERIFY(QFile::exists(path(icon(32))));
    }

    // What other programs set up first is kept: registration writes around it.
    void othersKept_data()
    {
        QTest::addColumn<QStringList>("presets"); // path, then contents, for each file
        QTest::addColumn<int>("valuesSet");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        const QString other = "[Desktop Entry]\nType=Application\nName=Other\nExec=true %f\n";
        const QString otherDefault = "[Default Applications]\napplication/x-kavrin-puzzle=other.desktop";
        QTest::newRow("a default of ours for another program")
            << QStringList{kMimeapps, otherDefault + ";\n", "data/applications/other.desktop",
                           other + "MimeType=application/x-kavrin-puzzle;\n"}
            << 2 << QStringList{kPackage, icon(16)} << QStringList{kEntry};
        QTest::newRow("that default in the system folders")
            << QStringList{"system-config/mimeapps.list", otherDefault + "\n", "system-data/applications/other.desktop",
                           other}
            << 2 << QStringList{} << QStringList{kMimeapps};
        QTest::newRow("*.kvr claimed by another type")
            << QStringList{"system-data/mime/globs2", "# other\n50:text/x-other:*.KVR\n"} << 2 << QStringList{kEntry}
            << QStringList{kPackage};
        QTest::newRow("a case-sensitive glob of another case is no claim")
            << QStringList{"system-data/mime/globs2", "50:text/x-other:*.KVR:cs\n"} << 3 << QStringList{kPackage}
            << QStringList{};
        QTest::newRow("files where the folders should be")
            << QStringList{"data", "not a folder", "config", "not a folder"} << 3 << QStringList{} << QStringList{kPackage};
    }
    void othersKept()
    {
        QFETCH(QStringList, presets);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        for (qsizetype i = 0; i + 1 < presets.size(); i += 2)
            write(presets[i], presets[i + 1].toUtf8());
        const QByteArray mimeapps = read(kMimeapps);
        QTEST(registerOnce(), "valuesSet");
        for (const QString& file : present + absent)
            QVERIFY2(QFile::exists(path(file)) == present.contains(file), qPrintable(file));
        if (presets.first() == kMimeapps)
            QCOMPARE(read(kMimeapps), mimeapps);
    }

    // An entry of ours found already (installed, or written by another copy) is made the default
    // as it is: rewritten, it would start this copy, which may go.
    void anEntryFoundIsMadeTheDefaultAsItIs_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::newRow("in the user's folder") << kEntry;
        QTest::newRow("in the system's folders") << QStringLiteral("system-data/applications/org.kavrin.kavrin_solve.desktop");
    }
    void anEntryFoundIsMadeTheDefaultAsItIs()
    {
        QFETCH(QString, installed);
        const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Installed\nExec=/usr/bin/Kavrin_Solve %f\n";
        write(installed, entry);
        QCOMPARE(registerOnce(), 3);
        QCOMPARE(read(installed), entry);
        QCOMPARE(QFile::exists(path(kEntry)), installed == kEntry);
        QCOMPARE(read(kMimeapps), "[Default Applications]\n" + kOurDefault);
        QCOMPARE(openCommand(), QStringLiteral("/usr/bin/Kavrin_Solve %f"));
    }

    // Another program's settings file is rewritten only from a whole read, and only our line changes.
    void mimeappsListKeptByteForByte_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("permissions"); // 0: as created
        QTest::addColumn<QByteArray>("after");
        const QByteArray added = "[Added Associations]\ntext/plain=a.desktop;\n";
        const QByteArray others = "[Default Applications]\ntext/plain=b.desktop;\n";
        QTest::newRow("a default naming a missing file replaced")
            << added + '\n' + others + "application/x-kavrin-puzzle=gone.desktop;\nimage/png=c.desktop;\n" << 0
            << added + '\n' + others + kOurDefault + "image/png=c.desktop;\n";
        QTest::newRow("added after the others, blank lines kept")
            << others + "\n\n" + added + '\n' << 0 << others + kOurDefault + "\n\n" + added + '\n';
        QTest::newRow("our line replaced in a CR LF file") << QByteArray("[Default Applications]\r\napplication/x-kavrin-puzzle=a;\r\n")
                                                          << 0 << "[Default Applications]\r\n" + kOurDefault.chopped(1) + "\r\n";
        QTest::newRow("bytes that are not UTF-8, CR LF")
            << QByteArray("# caf\xe9\r\n[Default Applications]\r\ntext/plain=b\xff.desktop;") << 0
            << "# caf\xe9\r\n[Default Applications]\r\ntext/plain=b\xff.desktop;\r\n" + kOurDefault.chopped(1);
        QTest::newRow("no section yet") << QByteArray("[Added Associations]\ntext/plain=a\xe9;") << 0
                                        << "[Added Associations]\ntext/plain=a\xe9;\n\n[Default Applications]\n" + kOurDefault;
        QTest::newRow("our line added to a CR LF section") << "[Default Applications]\r\ntext/plain=b;\r\n" + added << 0
            << "[Default Applications]\r\ntext/plain=b;\r\n" + kOurDefault.chopped(1) + "\r\n" + added;
        QTest::newRow("no section yet, CR LF") << QByteArray("[Added Associations]\r\ntext/plain=a;\r\n") << 0
            << "[Added Associations]\r\ntext/plain=a;\r\n\r\n[Default Applications]\r\n" + kOurDefault.chopped(1) + "\r\n";
        QTest::newRow("CR line ends") << QByteArray("[Default Applications]\rtext/plain=b;\r\r[Added Associations]\r") << 0
            << "[Default Applications]\rtext/plain=b;\r" + kOurDefault.chopped(1) + "\r\r[Added Associations]\r";
        QTest::newRow("a byte-order mark before our section") << "\xef\xbb\xbf" + others << 0
                                                              << "\xef\xbb\xbf" + others + kOurDefault;
        const QByteArray huge = "# " + QByteArray(1 << 20, 'x') + '\n' + others;
        QTest::newRow("past a mebibyte: left alone") << huge << 0 << huge;
        QTest::newRow("unreadable: left alone") << others << int(QFile::WriteOwner) << others;
        QTest::newRow("read-only: left alone") << others << int(QFile::ReadOwner) << others;
    }
    void mimeappsListKeptByteForByte()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, permissions);
        write(kMimeapps, before);
        if (permissions != 0)
            QVERIFY(QFile::setPermissions(path(kMimeapps), QFile::Permissions(permissions)));
        {
            const kavrin::test::PermissionsApply asAnyUser;
            QVERIFY(asAnyUser.applied());
            registerOnce();
        }
        QFile::setPermissions(path(kMimeapps), QFile::ReadOwner | QFile::WriteOwner);
        QTEST(read(kMimeapps), "after");
        // What was written reads back as our default, whatever the file's conventions.
        if (read(kMimeapps) != before)
            QCOMPARE(openCommand(), kavrin::DesktopExecArgument(executable()) + QStringLiteral(" %f"));
    }

    // The database tool runs on its own: one that hangs holds up nothing.
    void aHungDatabaseToolDoesNotHoldUpRegistration()
    {
        write("bin/update-mime-database", "#!/bin/sh\necho $$ > '" + QFile::encodeName(path("tool.pid")) + "'\nexec sleep 600\n");
        QVERIFY(QFile::setPermissions(path("bin/update-mime-database"), QFile::ReadOwner | QFile::ExeOwner));
        const QByteArray searchPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(path("bin")) + ':' + searchPath);
        QCOMPARE(registerOnce(), 3);
        qputenv("PATH", searchPath);
        QTRY_VERIFY(read("tool.pid").trimmed().toInt() > 0);
        const pid_t tool = read("tool.pid").trimmed().toInt();
        QCOMPARE(::kill(tool, 0), 0); // registration is over, and the tool still runs
        ::kill(tool, SIGKILL);
    }
};

QTEST_GUILESS_MAIN(XdgRegistryTest)
#include "xdg_registry_test.moc"
