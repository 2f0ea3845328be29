// The wheel hook.
#include "mouse_wheel.h"

#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace kavrin {

namespace {

// One notch of an ordinary wheel, in eighths of a degree.
constexpr int kNotch = 120;

} // namespace

std::int32_t WheelMessageValue(int delta, std::uint16_t flags)
{
    const int clamped = std::clamp(delta, int(std::numeric_limits<std::int16_t>::min()),
                                   int(std::numeric_limits<std::int16_t>::max()));
    const auto high = std::uint32_t(std::uint16_t(std::int16_t(clamped))) << 16;
    return std::int32_t(high | flags);
}

int WheelDirection(std::int32_t messageValue)
{
    return (messageValue > 0) - (messageValue < 0);
}

std::uint16_t WheelFlags(const QWheelEvent& event)
{
    const Qt::MouseButtons buttons = event.buttons();
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    std::uint16_t flags = 0;
    const auto setIf = [&flags](bool on, WheelFlag flag) {
        if (on)
            flags |= flag;
    };
    setIf(buttons.testFlag(Qt::LeftButton), WheelLeftButton);
    setIf(buttons.testFlag(Qt::RightButton), WheelRightButton);
    setIf(modifiers.testFlag(Qt::ShiftModifier), WheelShift);
    setIf(modifiers.testFlag(Qt::ControlModifier), WheelControl);
    setIf(buttons.testFlag(Qt::MiddleButton), WheelMiddleButton);
    setIf(buttons.testFlag(Qt::BackButton), WheelBackButton);
    setIf(buttons.testFlag(Qt::ForwardButton), WheelForwardButton);
    return flags;
}

CMouseWheel::CMouseWheel(QObject* parent)
    : QObject(parent)
{
}

void CMouseWheel::Form(QObject* frmIn)
{
    if (frmIn == form_)
        return;
    SubClassUnHookForm();
    form_ = frmIn;
}

int CMouseWheel::MouseWheelCancel() const
{
    return cancel_;
}

void CMouseWheel::SubClassHookForm()
{
    if (!form_ || hooked_)
        return;
    form_->installEventFilter(this);
    hooked_ = true;
    pendingDelta_ = 0;
}

void CMouseWheel::SubClassUnHookForm()
{
    if (form_ && hooked_)
        form_->removeEventFilter(this);
    hooked_ = false;
}

void CMouseWheel::FireMouseWheel(int& dir)
{
    if (handler_)
        handler_(dir, cancel_);
}

void CMouseWheel::setMouseWheelHandler(MouseWheelHandler handler)
{
    handler_ = std::move(handler);
}

bool CMouseWheel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != form_ || event->type() != QEvent::Wheel)
        return false;
    return wheelTurned(*static_cast<QWheelEvent*>(event));
}

bool CMouseWheel::wheelTurned(const QWheelEvent& event)
{
    if (event.phase() == Qt::ScrollBegin)
        pendingDelta_ = 0;
    const int vertical = event.angleDelta().y();
    // Horizontal scrolling and the begin and end of a touchpad gesture are not wheel turns.
    if (vertical == 0)
        return false;
    pendingDelta_ += vertical;
    if (std::abs(pendingDelta_) >= kNotch) {
        // However many notches came at once, the wheel takes one step.
        int direct = WheelDirection(WheelMessageValue(pendingDelta_, WheelFlags(event)));
        pendingDelta_ %= kNotch;
        FireMouseWheel(direct);
    }
    return cancel_ != 0;
}

} // namespace kavrin
