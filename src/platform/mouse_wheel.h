// Gives a form a wheel event of +1 (away from the user) or -1 (towards), which its handler may cancel.
#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>

class QWheelEvent;

namespace kavrin {

// Key and button flags of a wheel message, in its low 16 bits.
enum WheelFlag : std::uint16_t {
    WheelLeftButton = 0x0001,
    WheelRightButton = 0x0002,
    WheelShift = 0x0004,
    WheelControl = 0x0008,
    WheelMiddleButton = 0x0010,
    WheelBackButton = 0x0020,
    WheelForwardButton = 0x0040,
};

// One 32-bit wheel message value: the signed delta in the high 16 bits (clamped to fit, so a very fast
// turn cannot wrap into the other direction), the flags in the low 16 bits.
std::int32_t WheelMessageValue(int delta, std::uint16_t flags);
// The sign of the whole value: +1, -1, or 0 for an all-zero value. A zero delta with any flag set gives +1.
int WheelDirection(std::int32_t messageValue);
std::uint16_t WheelFlags(const QWheelEvent& event);

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
