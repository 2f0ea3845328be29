// The wait window's sizing and its key handling.
#include "frm_wait.h"

#include <QFont>
#include <QKeyEvent>
#include <QtGlobal>

namespace kavrin {

frmWait::frmWait(bool& escPressed, QWidget* owner)
    : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), escPressed_(escPressed),
      lblWait(new QLabel(this))
{
    // A click on the owner then brings this window forward, with the keys, instead of the owner.
    setWindowModality(Qt::WindowModal);
    QFont font(QStringLiteral("DejaVu Serif")); // stands in for Times New Roman 14.25 pt
    font.setPointSizeF(14.25);
    lblWait->setFont(font);
    lblWait->setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
}

void frmWait::setCaption(const QString& caption)
{
    lblWait->setText(caption);
    lblWait_Change();
}

// The label plus 25 pixels on every side, the label centred.
void frmWait::lblWait_Change()
{
    lblWait->adjustSize();
    setFixedSize(lblWait->width() + 50, lblWait->height() + 50);
    lblWait->move((width() - lblWait->width()) / 2, (height() - lblWait->height()) / 2);
}

void frmWait::unload()
{
    unloading_ = true;
    close();
    unloading_ = false;
}

void frmWait::keyPressEvent(QKeyEvent* event)
{
    escPressed_ = event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier;
}

// Only its owner closes it; a close asked by the user counts as Esc, so the search stops first.
void frmWait::closeEvent(QCloseEvent* event)
{
    if (unloading_)
        return event->accept();
    escPressed_ = true;
    event->ignore();
}

} // namespace kavrin
