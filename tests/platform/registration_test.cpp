// The file-type registration against the in-memory registry: texts, what is kept, what is rewritten, failures.
#include "memory_registry.h"
#include "registry.h"

#include <QCoreApplication>
#include <QTest>

using kavrin::MemoryRegistry;
using kavrin::RegOperation;
using kavrin::RegType;
using kavrin::RegValue;

Q_DECLARE_METATYPE(RegType)
Q_DECLARE_METATYPE(RegOperation)

namespace {

const QString kTitle = QStringLiteral("Ka\u00A0Vr\u00A0In");
const QString kFileTypeKey = QStringLiteral(".kvr");
const QString kCommandKey = kTitle + QStringLiteral("\\shell\\open\\command");
const QString kIconKey = kTitle + QStringLiteral("\\DefaultIcon");
const QString kFolder = QStringLiteral("C:\\Games\\Kavrin");
const QString kCommand = QStringLiteral("\"C:\\Games\\Kavrin\\Kavrin_Solve.exe\" \"%1\"");
const QString kIcon = QStringLiteral("C:\\Games\\Kavrin\\Kavrin_Solve.exe,0");

RegValue stored(const QString& text)
{
    return {RegType::String, text.toUtf8() + '\0'};
}

kavrin::RegistrationEntries entries()
{
    return kavrin::RegistrationEntriesFor(kTitle, kFolder, QStringLiteral("Kavrin_Solve"));
}

} // namespace

class RegistrationTest : public QObject {
    Q_OBJECT

private slots:
    void entryTexts_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("baseName");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("icon");
        QTest::newRow("folder") << kFolder << "Kavrin_Solve" << kCommand << kIcon;
        QTest::newRow("drive root") << "C:\\" << "Kavrin_Solve" << "\"C:\\Kavrin_Solve.exe\" \"%1\""
                                    << "C:\\Kavrin_Solve.exe,0";
        QTest::newRow("share root") << "\\\\server\\share\\" << "K" << "\"\\\\server\\share\\K.exe\" \"%1\""
                                    << "\\\\server\\share\\K.exe,0";
    }

    void entryTexts()
    {
        QFETCH(QString, folder);
        QFETCH(QString, baseName);
        QFETCH(QString, command);
        QFETCH(QString, icon);
        const kavrin::RegistrationEntries built = kavrin::RegistrationEntriesFor(kTitle, folder, baseName);
        QCOMPARE(built[0], (kavrin::RegistrationEntry{kFileTypeKey, QString(), kTitle}));
        QCOMPARE(built[1], (kavrin::RegistrationEntry{kCommandKey, QString(), command}));
        QCOMPARE(built[2], (kavrin::RegistrationEntry{kIconKey, QString(), icon}));
    }

    void runningApplicationNamesItsOwnFile()
    {
        const kavrin::RegistrationEntries built = kavrin::RegistrationEntriesForRunningApplication();
        const QString executable = QCoreApplication::applicationDirPath() + QStringLiteral("\\")
            + QStringLiteral("platform_registration_test.exe");
        QCOMPARE(built[0].data, kTitle);
        QCOMPARE(built[1].data, u'"' + executable + QStringLiteral("\" \"%1\""));
        QCOMPARE(built[2].data, executable + QStringLiteral(",0"));
    }

    void emptyRegistryGetsAllThree()
    {
        MemoryRegistry registry;
        kavrin::RegisterFileType(registry, entries());
        QCOMPARE(registry.value(kFileTypeKey, QString()), stored(kTitle));
        QCOMPARE(registry.value(kCommandKey, QString()), stored(kCommand));
        QCOMPARE(registry.value(kIconKey, QString()), stored(kIcon));
        QCOMPARE(registry.value(kFileTypeKey, QString())->data, QByteArray("Ka\xC2\xA0Vr\xC2\xA0In", 10) + '\0');
        QCOMPARE(registry.valuesSet(), 3);
        QCOMPARE(registry.openHandles(), 0);
    }

    void existingValuesKept_data()
    {
        QTest::addColumn<QString>("presetKey");
        QTest::newRow("file type of another program") << kFileTypeKey;
        QTest::newRow("open command") << kCommandKey;
        QTest::newRow("icon") << kIconKey;
    }

    void existingValuesKept()
    {
        QFETCH(QString, presetKey);
        MemoryRegistry registry;
        const RegValue preset = stored(QStringLiteral("Other.Program"));
        registry.put(presetKey, QString(), preset);
        kavrin::RegisterFileType(registry, entries());
        QCOMPARE(registry.value(presetKey, QString()), preset);
        QCOMPARE(registry.valuesSet(), 2);
        for (const kavrin::RegistrationEntry& entry : entries()) {
            if (entry.keyPath != presetKey)
                QCOMPARE(registry.value(entry.keyPath, QString()), stored(entry.data));
        }
    }

    void secondStartWritesNothing()
    {
        MemoryRegistry registry;
        kavrin::RegisterFileType(registry, entries());
        const auto moved = kavrin::RegistrationEntriesFor(kTitle, QStringLiteral("E:\\Moved"), QStringLiteral("New"));
        kavrin::RegisterFileType(registry, moved);
        QCOMPARE(registry.valuesSet(), 3);
        QCOMPARE(registry.value(kCommandKey, QString()), stored(kCommand));
    }

    // Command values that read as empty are rewritten alone; the other two stay as they were.
    void emptyReadingValueRewrittenAlone_data()
    {
        QTest::addColumn<RegType>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("emptied by hand") << RegType::String << QByteArray(1, '\0');
        QTest::newRow("no data at all") << RegType::String << QByteArray();
        QTest::newRow("expandable string") << RegType::ExpandString << QByteArray("\"%ProgramFiles%\\K.exe\" \"%1\"");
        QTest::newRow("double word") << RegType::DoubleWord << QByteArray("\x01\x00\x00\x00", 4);
    }

    void emptyReadingValueRewrittenAlone()
    {
        QFETCH(RegType, type);
        QFETCH(QByteArray, data);
        MemoryRegistry registry;
        const RegValue otherType = stored(QStringLiteral("Kept.Type"));
        const RegValue otherIcon = stored(QStringLiteral("kept.exe,3"));
        registry.put(kFileTypeKey, QString(), otherType);
        registry.put(kIconKey, QString(), otherIcon);
        registry.put(kCommandKey, QString(), RegValue{type, data});
        kavrin::RegisterFileType(registry, entries());
        QCOMPARE(registry.value(kCommandKey, QString()), stored(kCommand));
        QCOMPARE(registry.value(kFileTypeKey, QString()), otherType);
        QCOMPARE(registry.value(kIconKey, QString()), otherIcon);
        QCOMPARE(registry.valuesSet(), 1);
    }

    void missingDefaultValueBesideNamedOneIsWritten()
    {
        MemoryRegistry registry;
        registry.put(kCommandKey, QStringLiteral("named"), stored(QStringLiteral("x")));
        kavrin::RegisterFileType(registry, entries());
        QCOMPARE(registry.value(kCommandKey, QString()), stored(kCommand));
        QCOMPARE(registry.value(kCommandKey, QStringLiteral("named")), stored(QStringLiteral("x")));
    }

    void queryValue_data()
    {
        QTest::addColumn<RegType>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::newRow("string") << RegType::String << QByteArray("abc\0", 4) << "abc";
        QTest::newRow("string cut at first null") << RegType::String << QByteArray("ab\0cd\0", 6) << "ab";
        QTest::newRow("title") << RegType::String << QByteArray("Ka\xC2\xA0Vr\xC2\xA0In\0", 11) << kTitle;
        QTest::newRow("binary") << RegType::Binary << QByteArray("\x34\x12\x99", 3) << "4660";
        QTest::newRow("binary negative") << RegType::Binary << QByteArray("\xff\xff", 2) << "-1";
        QTest::newRow("binary empty") << RegType::Binary << QByteArray() << "0";
        QTest::newRow("expandable string") << RegType::ExpandString << QByteArray("abc\0", 4) << "";
        QTest::newRow("double word") << RegType::DoubleWord << QByteArray("\x07\0\0\0", 4) << "";
    }

    void queryValue()
    {
        QFETCH(RegType, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        MemoryRegistry registry;
        registry.put(QStringLiteral("Key"), QString(), RegValue{type, data});
        QCOMPARE(kavrin::ReadRegString(registry, QStringLiteral("key"), QString()), text);
        QCOMPARE(registry.openHandles(), 0);
    }

    void missingKeyOrValueReadsEmpty()
    {
        MemoryRegistry registry;
        registry.put(QStringLiteral("Key"), QStringLiteral("other"), stored(QStringLiteral("x")));
        QCOMPARE(kavrin::ReadRegString(registry, QStringLiteral("Nothing"), QString()), QString());
        QCOMPARE(kavrin::ReadRegString(registry, QStringLiteral("Key"), QString()), QString());
        QCOMPARE(kavrin::QueryRegValue(registry, kavrin::kNullKey, QString()), QString());
    }

    void failuresIgnored_data()
    {
        QTest::addColumn<RegOperation>("failing");
        QTest::addColumn<int>("valuesSet");
        QTest::addColumn<bool>("valuesStored");
        // A key that cannot be opened or queried reads empty, so the preset value is written over.
        QTest::newRow("open") << RegOperation::Open << 3 << true;
        QTest::newRow("query") << RegOperation::Query << 3 << true;
        QTest::newRow("create") << RegOperation::Create << 0 << false;
        QTest::newRow("set") << RegOperation::Set << 0 << false;
        QTest::newRow("close") << RegOperation::Close << 2 << true;
    }

    void failuresIgnored()
    {
        QFETCH(RegOperation, failing);
        QFETCH(int, valuesSet);
        QFETCH(bool, valuesStored);
        MemoryRegistry registry;
        registry.put(kFileTypeKey, QString(), stored(QStringLiteral("Other.Type")));
        registry.failOn(failing);
        kavrin::RegisterFileType(registry, entries());
        QCOMPARE(registry.valuesSet(), valuesSet);
        QCOMPARE(registry.value(kCommandKey, QString()).has_value(), valuesStored);
        QCOMPARE(registry.value(kIconKey, QString()).has_value(), valuesStored);
    }
};

QTEST_GUILESS_MAIN(RegistrationTest)
#include "registration_test.moc"
