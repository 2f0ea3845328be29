// Gives a form a wheel event of +1 (away from the user) or -1 (towards), which its handler may cancel.
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWheelEvent;

namespace kavrin {

// Watches the wheel events sent to one object through an event filter. The event is a handler
// called synchronously, because its two arguments are passed by reference: the handler may change
// `Cancel`, which is this object's own flag and stays in force for later wheel turns until changed back.
class CMouseWheel : public QObject {
    Q_OBJECT

public:
    using MouseWheelHandler = std::function<void(int& direct, int& Cancel)>;

    explicit CMouseWheel(QObject* parent = nullptr);

    // The object whose wheel events are watched. Changing it (nullptr releases) unhooks the previous one.
    void Form(QObject* frmIn);
    int MouseWheelCancel() const;
    void SubClassHookForm();
    void SubClassUnHookForm();
    // Raises the MouseWheel event with `dir` and the cancel flag.
    void FireMouseWheel(int& dir);
    void setMouseWheelHandler(MouseWheelHandler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the wheel event is swallowed.
    bool wheelTurned(const QWheelEvent& event);

    QPointer<QObject> form_;
    bool hooked_ = false;
    int cancel_ = 0;
    // Vertical movement not yet amounting to a notch, from high-resolution wheels and touchpads.
    int pendingDelta_ = 0;
    MouseWheelHandler handler_;
};

} // namespace kavrin
