// The wheel hook.
#include "mouse_wheel.h"

#include <QEvent>
#include <QPoint>
#include <QWheelEvent>

#include <cstdlib>
#include <utility>

namespace kavrin {

namespace {

// One notch of an ordinary wheel, in eighths of a degree.
constexpr int kNotch = 120;

} // namespace

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
        // However many notches came at once, the wheel takes one step: +1 away from the user, -1 towards.
        int direct = pendingDelta_ > 0 ? 1 : -1;
        pendingDelta_ %= kNotch;
        FireMouseWheel(direct);
    }
    return cancel_ != 0;
}

} // namespace kavrin
