// The engine's host in the game window: message boxes, the wait window, the event pass, and the
// life of a search from its start until it has unwound. While a modal window is up, it takes the
// keys that the window manager gives the game window.
#pragma once

#include "host/host.h"

#include <QObject>

#include <functional>
#include <memory>

class QEventLoop;

namespace kavrin {

class frmWait;

class GameHost final : public QObject, public Prompter, public WaitWindow, public EventPump {
    Q_OBJECT
public:
    // `window` is disabled while the wait window shows; messages go on to `prompter`.
    // `waitEnded` runs once the window takes input again.
    GameHost(QWidget& window, Prompter& prompter, std::function<void()> waitEnded);
    ~GameHost() override;

    // Runs a command that may search. Until it returns, no other command starts, and a close
    // of the window or a quit of the program cancels the search instead of cutting it off: the
    // window closes once the search has unwound.
    void runSearch(const std::function<void(SearchHost&)>& command);
    bool searching() const { return searching_; }
    // A close during a search is taken as a cancel: returns whether the close has to wait.
    bool holdCloseForSearch();
    bool waitShown() const;
    frmWait* waitWindow() const { return wait_.get(); }
    bool escPressed() const { return EscPressed; }
    void closeWaitWindow();

    void ShowWait(bool showHint) override;
    void unloadWait() override;
    bool processEventsOnce() override;
    Answer ask(const Message& message) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestClose();
    void waitForThePlayer();

    QWidget& window_;
    Prompter& prompter_;
    std::function<void()> waitEnded_;
    std::unique_ptr<frmWait> wait_;
    QEventLoop* awayWait_ = nullptr;
    bool EscPressed = false;
    bool searching_ = false;
    bool closeRequested_ = false;
};

} // namespace kavrin
