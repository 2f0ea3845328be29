// The wait window over the game window, the event pass of a search, and closing mid-search.
#include "game_host.h"

#include "frm_wait.h"
#include "host/messages.h"
#include "qt_host.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScopedValueRollback>
#include <QString>
#include <QWidget>

#include <utility>

namespace kavrin {

GameHost::GameHost(QWidget& window, Prompter& prompter, std::function<void()> waitEnded)
    : window_(window), prompter_(prompter), waitEnded_(std::move(waitEnded))
{
    QCoreApplication::instance()->installEventFilter(this);
    window_.installEventFilter(this);
}

GameHost::~GameHost() = default;

void GameHost::runSearch(const std::function<void(SearchHost&)>& command)
{
    {
        const QScopedValueRollback running(searching_, true);
        SearchHost host{*this, *this, *this};
        command(host);
    }
    if (closeRequested_)
        window_.close();
}

bool GameHost::holdCloseForSearch()
{
    if (searching_)
        requestClose();
    return searching_;
}

void GameHost::requestClose()
{
    closeRequested_ = true;
    if (awayWait_)
        awayWait_->quit();
}

bool GameHost::waitShown() const
{
    return wait_ && wait_->isVisible();
}

void GameHost::closeWaitWindow()
{
    if (wait_)
        wait_->unload();
}

void GameHost::ShowWait(bool showHint)
{
    window_.setEnabled(false);
    if (showHint)
        EscPressed = false;
    if (!wait_)
        wait_ = std::make_unique<frmWait>(EscPressed, &window_);
    // A child window follows its owner's disabling, and this one has to take Esc.
    wait_->setEnabled(true);
    wait_->setWindowTitle(toQString(kTitle));
    QString caption = toQString(kPleaseWait);
    if (showHint)
        caption += toQString(kCrLf) + toQString(kPressEscToCancel);
    wait_->setCaption(caption);
    wait_->move(window_.frameGeometry().center() - wait_->rect().center());
    wait_->show();
    wait_->raise();
    wait_->activateWindow();
    wait_->setFocus();
    wait_->repaint();
}

void GameHost::unloadWait()
{
    // The keys come back to the game if the wait window had them, and only then: no stealing them
    // from another program the player went to meanwhile.
    const bool waitHadKeys = wait_ && wait_->isActiveWindow();
    closeWaitWindow();
    window_.setEnabled(true);
    if (waitHadKeys)
        window_.activateWindow();
    if (waitEnded_)
        waitEnded_();
}

// A close of the main window cancels too, even one that came before the wait window cleared the flag.
bool GameHost::processEventsOnce()
{
    QCoreApplication::processEvents();
    return EscPressed || closeRequested_;
}

// A message that comes while the player is in another program leaves the keys there: the task bar
// entry asks for attention, and the message shows once the player comes back.
void GameHost::waitForThePlayer()
{
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        return;
    QApplication::alert(&window_);
    QEventLoop loop;
    const QScopedValueRollback waiting(awayWait_, &loop);
    connect(qApp, &QGuiApplication::applicationStateChanged, &loop, [&loop](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            loop.quit();
    });
    loop.exec();
}

// Once the window is closing, the search's closing message is not shown.
Answer GameHost::ask(const Message& message)
{
    if (!closeRequested_)
        waitForThePlayer();
    if (closeRequested_)
        return message.buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    return prompter_.ask(message);
}

bool GameHost::eventFilter(QObject* watched, QEvent* event)
{
    // A quit asked while the search yields would otherwise end the program only when the search is over.
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit && searching_)
        requestClose();
    // The window manager gives the keys to the window clicked, even one that a modal window blocks:
    // they go on to the modal window (the wait window, a message box, a file dialog), which comes forward.
    QWidget* modal = QApplication::activeModalWidget();
    if (watched == &window_ && event->type() == QEvent::ActivationChange && window_.isActiveWindow() && modal
        && modal != &window_) {
        modal->raise();
        modal->activateWindow();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace kavrin
