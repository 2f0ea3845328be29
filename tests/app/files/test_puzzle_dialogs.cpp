// The file dialogs: where they start, what they offer, Cancel, the suffix and the kept name.
#include "puzzle_dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

using kavrin::PuzzleFileDialogs;

namespace {

// Runs `act` on the file dialog once it is up; the dialog is closed afterwards either way.
void whenDialogShows(const std::function<void(QFileDialog&)>& act)
{
    auto* const timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* const dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject(); // a step that did not close it fails the test instead of hanging
        }
    });
    timer->start();
}

} // namespace

class PuzzleDialogsTest : public QObject {
    Q_OBJECT

private slots:
    // Open starts beside the program, offers .kvr files and cancels; Save confirms an overwrite and adds
    // the suffix to a typed name, which the next dialog starts from.
    void startSuffixAndKeptName()
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // the platform's own cannot be driven
        const QTemporaryDir dir;
        PuzzleFileDialogs dialogs(nullptr);
        QString folder;
        QStringList filters;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        whenDialogShows([&](QFileDialog& dialog) {
            folder = dialog.directory().absolutePath();
            filters = dialog.nameFilters();
            mode = dialog.fileMode();
            dialog.reject();
        });
        QVERIFY(!dialogs.openPuzzlePath().has_value());
        QCOMPARE(folder, QDir(QCoreApplication::applicationDirPath()).absolutePath());
        QCOMPARE(filters, QStringList{"KVR Files (*.kvr)"});
        QCOMPARE(mode, QFileDialog::ExistingFile);

        bool confirmsOverwrite = false;
        whenDialogShows([&](QFileDialog& dialog) {
            confirmsOverwrite = dialog.acceptMode() == QFileDialog::AcceptSave &&
                                !dialog.testOption(QFileDialog::DontConfirmOverwrite);
            dialog.setDirectory(dir.path());
            // Typed as the player would: the name box has the focus and takes no selectFile.
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("typed"));
            static_cast<QDialog&>(dialog).accept(); // public in QDialog, runs the file dialog's own
        });
        const std::optional<QString> saved = dialogs.savePuzzlePath();
        QVERIFY(confirmsOverwrite);
        QCOMPARE(saved.value_or(QString()), dir.filePath(QStringLiteral("typed.kvr")));

        QStringList offered;
        whenDialogShows([&](QFileDialog& dialog) {
            offered = dialog.selectedFiles();
            dialog.reject();
        });
        QVERIFY(!dialogs.openPuzzlePath().has_value());
        QCOMPARE(offered, QStringList{dir.filePath(QStringLiteral("typed.kvr"))});
    }
};

QTEST_MAIN(PuzzleDialogsTest)
#include "test_puzzle_dialogs.moc"
