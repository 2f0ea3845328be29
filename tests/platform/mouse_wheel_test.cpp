// The wheel hook: one step a notch in its direction, events without vertical movement, and Cancel.
#include "mouse_wheel.h"

#include <QChar>
#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QPoint>
#include <QString>
#include <QTest>
#include <QWheelEvent>

#include <initializer_list>
#include <memory>

using kavrin::CMouseWheel;

namespace {

// Counts the events that get past the hook, as the form's own handling would see them.
class WheelTarget : public QObject {
public:
    int wheelEvents = 0;
    int otherEvents = 0;
    bool event(QEvent* event) override
    {
        ++(event->type() == QEvent::Wheel ? wheelEvents : otherEvents);
        return true;
    }
};

// One event: a vertical delta ("120"), a horizontal one ("h120"), or a touchpad gesture's begin ("b"),
// update ("u70") or end ("e").
void send(QObject& target, const QString& step)
{
    const QChar kind = step[0].isLetter() ? step[0] : u' ';
    const int delta = step.mid(kind == u' ' ? 0 : 1).toInt();
    const Qt::ScrollPhase phase = kind == u'b' ? Qt::ScrollBegin
                                  : kind == u'u' ? Qt::ScrollUpdate
                                  : kind == u'e' ? Qt::ScrollEnd
                                                 : Qt::NoScrollPhase;
    const QPoint angle = kind == u'h' ? QPoint(delta, 0) : QPoint(0, delta);
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), angle, Qt::NoButton, Qt::NoModifier, phase, false);
    QCoreApplication::sendEvent(&target, &event);
}

} // namespace

class MouseWheelTest : public QObject {
    Q_OBJECT

private slots:
    void events_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<int>>("cancels"); // what the handler stores in Cancel at each event; -1 leaves it
        QTest::addColumn<QList<int>>("directions");
        QTest::addColumn<int>("passedOn");
        const QList<int> none;
        QTest::newRow("fast turn away") << "240" << none << QList{1} << 1;
        QTest::newRow("three fragments are not a notch") << "40 40 39" << none << none << 3;
        QTest::newRow("remainder carried") << "90 60 90" << none << QList{1, 1} << 3;
        QTest::newRow("towards then away") << "-60 -60 60 60" << none << QList{-1, 1} << 4;
        QTest::newRow("horizontal only") << "h120" << none << none << 1;
        QTest::newRow("touchpad gesture") << "b u70 u50 e" << none << QList{1} << 4;
        QTest::newRow("new gesture starts afresh") << "u90 e b u60" << none << none << 4;
        QTest::newRow("cancel swallows this and later turns") << "120 -120 120" << QList{1, -1, -1} << QList{1, -1, 1} << 0;
        QTest::newRow("cancel set back lets turns through") << "120 120 120 120" << QList{1, -1, 0, -1}
                                                            << QList{1, 1, 1, 1} << 2;
        QTest::newRow("cancel swallows fragments too") << "120 30" << QList{1} << QList{1} << 0;
        QTest::newRow("cancel leaves horizontal scrolling alone") << "120 h120" << QList{1} << QList{1} << 1;
    }
    void events()
    {
        QFETCH(QString, steps);
        QFETCH(QList<int>, cancels);
        WheelTarget form;
        CMouseWheel wheel;
        QList<int> raised;
        wheel.setMouseWheelHandler([&](int& direct, int& Cancel) {
            if (raised.size() < cancels.size() && cancels[raised.size()] >= 0)
                Cancel = cancels[raised.size()];
            raised << direct;
        });
        wheel.Form(&form);
        wheel.SubClassHookForm();
        for (const QString& step : steps.split(u' '))
            send(form, step);
        QEvent other(QEvent::User); // passed on, whatever the cancel flag says
        QCoreApplication::sendEvent(&form, &other);
        QTEST(raised, "directions");
        QTEST(form.wheelEvents, "passedOn");
        QCOMPARE(form.otherEvents, 1);
    }

    // Released, unhooked, or its form destroyed: turns go by untouched until a form is hooked again.
    void releasedUnhookedOrGone()
    {
        for (const int way : {0, 1, 2}) {
            auto form = std::make_unique<WheelTarget>();
            CMouseWheel wheel;
            int raised = 0;
            wheel.setMouseWheelHandler([&raised](int&, int& Cancel) { Cancel = ++raised; });
            wheel.Form(form.get());
            wheel.SubClassHookForm();
            if (way == 0)
                wheel.Form(nullptr);
            else if (way == 1)
                wheel.SubClassUnHookForm();
            else
                form = std::make_unique<WheelTarget>();
            send(*form, "120");
            QCOMPARE(raised, 0);
            wheel.Form(form.get());
            wheel.SubClassHookForm();
            send(*form, "120");
            QCOMPARE(raised, 1);
            QCOMPARE(form->wheelEvents, 1);
        }
    }
};

QTEST_MAIN(MouseWheelTest)
#include "mouse_wheel_test.moc"
