// Message boxes titled with the program title, and the colour conversion.
#include "qt_host.h"

#include "host/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMargins>
#include <QMessageBox>
#include <QObject>
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSize>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QWindow>
#include <QtGlobal>

#include <string>

namespace kavrin {

QColor toQColor(Colour colour)
{
    // Linux has no system desktop colour: the solver's digits take the classic desktop blue.
    if (colour == kSolverDigitColour)
        return QColor(58, 110, 165);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

namespace {

// Room the window manager takes from a title bar for its icon and buttons, with some to spare:
// a short message would otherwise make a box too narrow for its title.
constexpr int kTitleBarDecorationRoom = 150;

void keepTitleWhole(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box.windowTitle())
        + kTitleBarDecorationRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// A text taller than the screen has room for scrolls, so that the title bar and the buttons stay
// in sight; the text itself is not touched.
void keepOnScreen(QMessageBox& box, const QWidget* owner)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!grid || !label)
        return;
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QMargins frame = owner && owner->windowHandle() ? owner->windowHandle()->frameMargins() : QMargins();
    const int textHeight = label->sizeHint().height();
    // The box grows a little when it settles its size on showing: a few lines are kept spare.
    const int spare = 3 * label->fontMetrics().lineSpacing();
    const int room = screen->availableGeometry().height() - frame.top() - frame.bottom()
        - (box.sizeHint().height() - textHeight) - spare;
    if (textHeight <= room)
        return;
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    delete grid->replaceWidget(label, scroll);
    scroll->setWidget(label);
    scroll->setFixedSize(label->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width(), room);
}

} // namespace

Answer QtPrompter::ask(const Message& message)
{
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                   QMessageBox::Warning, QMessageBox::Question};
    QMessageBox box(kIcons[static_cast<int>(message.icon)], toQString(kTitle),
                    toQString(message.text), QMessageBox::NoButton, owner_);
    box.setTextFormat(Qt::PlainText);
    keepTitleWhole(box);
    keepOnScreen(box, owner_);
    if (message.buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

} // namespace kavrin
