// Message boxes titled with the program title, and the colour conversion.
#include "qt_host.h"

#include "host/messages.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMargins>
#include <QMessageBox>
#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSize>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QWindow>
#include <QtGlobal>

#include <algorithm>
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

// The room a window has on its owner's screen once the window manager's frame is taken off; the
// owner's frame stands for the box's, which is not known before it shows.
QSize roomOnScreen(const QWidget* owner)
{
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QMargins frame = owner && owner->windowHandle() ? owner->windowHandle()->frameMargins() : QMargins();
    return screen->availableGeometry().size().shrunkBy(frame);
}

// A message box fixes its size to its whole text, past the screen's edge if need be: a report too
// tall for the screen shows in a box of our own that scrolls it, its title bar and OK button in sight.
void showInScrollingBox(const Message& message, const QPixmap& iconPixmap, QWidget* owner, QSize room)
{
    QDialog box(owner);
    box.setWindowTitle(toQString(kTitle));
    auto* icon = new QLabel;
    icon->setPixmap(iconPixmap);
    icon->setAlignment(Qt::AlignTop);
    auto* text = new QLabel(toQString(message.text));
    text->setTextFormat(Qt::PlainText);
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(text);
    scroll->setMinimumWidth(text->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* grid = new QGridLayout(&box);
    grid->addWidget(icon, 0, 0);
    grid->addWidget(scroll, 0, 1);
    grid->addWidget(buttons, 1, 0, 1, 2);
    // Not the whole height: the window manager may place it a pixel or two off the screen's top.
    box.resize(std::min(box.sizeHint().width(), room.width()), room.height() * 9 / 10);
    box.exec();
}

} // namespace

Answer QtPrompter::ask(const Message& message)
{
    const bool ok = message.buttons == Buttons::Ok;
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                   QMessageBox::Warning, QMessageBox::Question};
    QMessageBox box(kIcons[static_cast<int>(message.icon)], toQString(kTitle), toQString(message.text),
                    ok ? QMessageBox::Ok : QMessageBox::Yes | QMessageBox::No, owner_);
    box.setTextFormat(Qt::PlainText);
    keepTitleWhole(box);
    if (!ok) {
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    // The box settles a little taller than its hint when it shows: a few lines are kept spare.
    const QSize room = roomOnScreen(owner_);
    if (box.sizeHint().height() + 3 * box.fontMetrics().lineSpacing() > room.height())
        showInScrollingBox(message, box.iconPixmap(), owner_, room);
    else
        box.exec();
    return Answer::Ok;
}

} // namespace kavrin
