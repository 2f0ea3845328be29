// The wait window: "Please wait..." over the disabled main window, taking Esc as a cancel.
#pragma once

#include <QLabel>
#include <QObject>
#include <QString>
#include <QWidget>

namespace kavrin {

class frmWait final : public QWidget {
    Q_OBJECT
public:
    // `escPressed` is the main window's cancel flag; every key written to it. The wait window
    // belongs to `owner`: it stays over it, shares its task-bar entry and blocks its input.
    frmWait(bool& escPressed, QWidget* owner);

    void setCaption(const QString& caption);
    void unload();
    QString caption() const { return lblWait->text(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void lblWait_Change();

    bool& escPressed_;
    QLabel* lblWait;
    bool unloading_ = false;
};

} // namespace kavrin
