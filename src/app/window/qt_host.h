// Qt's side of the engine's host interfaces: message boxes and colours.
#pragma once

#include "host/host.h"
#include "model/colour.h"

#include <QColor>

class QWidget;

namespace kavrin {

// The stored 0x00BBGGRR values and system colours as Qt colours, converted here only.
QColor toQColor(Colour colour);

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}
    Answer ask(const Message& message) override;

private:
    QWidget* parent_;
};

} // namespace kavrin
