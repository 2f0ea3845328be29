// Qt's side of the engine's host interfaces: message boxes, colours and texts.
#pragma once

#include "host/host.h"
#include "model/colour.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <string_view>

namespace kavrin {

// The stored 0x00BBGGRR values and system colours as Qt colours, converted here only.
QColor toQColor(Colour colour);
// The engine's UTF-8 texts as Qt strings.
QString toQString(std::string_view text);

// Message boxes over their owner window, or on their own until it is set.
class QtPrompter final : public Prompter {
public:
    void setOwner(QWidget* owner) { owner_ = owner; }
    Answer ask(const Message& message) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace kavrin
