// Qt's side of the engine's host interfaces: message boxes, colours and texts.
#pragma once

#include "host/host.h"
#include "model/colour.h"

#include <QColor>
#include <QString>

#include <string_view>

class QWidget;

namespace kavrin {

// The stored 0x00BBGGRR values and system colours as Qt colours, converted here only.
QColor toQColor(Colour colour);
// The engine's UTF-8 texts as Qt strings.
QString toQString(std::string_view text);

class QtPrompter final : public Prompter {
public:
    explicit QtPrompter(QWidget* parent) : parent_(parent) {}
    Answer ask(const Message& message) override;

private:
    QWidget* parent_;
};

} // namespace kavrin
