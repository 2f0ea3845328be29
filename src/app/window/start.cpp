// Main: one copy at a time, the .kvr type registered, then the game window.
#include "start.h"

#include "file_commands.h"
#include "file_routes.h"
#include "files/open_path.h"
#include "files/recent_list.h"
#include "frm_game.h"
#include "generation/uniform_source.h"
#include "puzzle_dialogs.h"
#include "qt_host.h"
#include "registry.h"
#include "single_instance.h"
#include "window_icon.h"
#include "xdg_registry.h"

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QList>
#include <QObject>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>

namespace kavrin {

namespace {

// From the bytes themselves: Qt's own list turns a name that is not UTF-8 into another name.
QStringList decodedArguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << decodeFileName(QByteArray(argv[i]));
    return arguments;
}

} // namespace

int Main(int argc, char** argv, const std::function<void(frmGame&)>& beforeShow)
{
    QApplication app(argc, argv);
    // Desktops match the window to its entry and icon by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral(KAVRIN_APP_ID));
    SingleInstance instance;
    // QApplication has taken its own options out of argv.
    const QString commandLine = commandLineText(decodedArguments(argc, argv));
    // The running copy resolves nothing against this start's working folder: the path goes absolute.
    if (instance.handOverToRunningCopy(cleanedAbsolutePath(commandLine)))
        return 0;
    XdgRegistry registry(QCoreApplication::applicationFilePath());
    RegisterFileType(registry, RegistrationEntriesForRunningApplication());
    QtPrompter prompter;
    const auto seed = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    frmGame game(prompter, std::make_unique<SeededUniform>(seed), GameFiles{recentListFilePath(), commandLine, nullptr});
    prompter.setOwner(&game);
    QObject::connect(&instance, &SingleInstance::fileHandedOver, &game, &frmGame::openFromLaterStart);
    if (beforeShow)
        beforeShow(game);
    game.show();
    SetIcon(game.windowHandle(), kAppIconName, true);
    return QApplication::exec();
}

} // namespace kavrin
