// The wheel hook: the direction rule, one step per notch, events without vertical movement, and Cancel.
#include "mouse_wheel.h"

#include <QTest>
#include <QWheelEvent>

#include <memory>

using kavrin::CMouseWheel;

namespace {

struct WheelStep {
    QPoint angle;
    Qt::ScrollPhase phase = Qt::NoScrollPhase;
};

WheelStep notch(int dy)
{
    return {QPoint(0, dy)};
}

// Counts the wheel events that get past the hook, as the form's own handling would see them.
class WheelTarget : public QObject {
public:
    int wheelEvents = 0;
    int otherEvents = 0;

    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::Wheel)
            ++wheelEvents;
        else if (event->type() == QEvent::User)
            ++otherEvents;
        return true;
    }
};

void send(QObject& target, const WheelStep& step)
{
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), step.angle, Qt::NoButton, Qt::NoModifier, step.phase,
                      false);
    QCoreApplication::sendEvent(&target, &event);
}

} // namespace

Q_DECLARE_METATYPE(QList<WheelStep>)

class MouseWheelTest : public QObject {
    Q_OBJECT

private slots:
    void direction_data()
    {
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("direction");
        QTest::newRow("notch away") << 120 << 0 << 1;
        QTest::newRow("notch towards") << -120 << 0 << -1;
        QTest::newRow("small towards with flags") << -1 << 0x7F << -1;
        QTest::newRow("nothing") << 0 << 0 << 0;
        QTest::newRow("zero delta with a flag") << 0 << int(kavrin::WheelShift) << 1;
        QTest::newRow("beyond 16 bits away does not wrap") << 40000 << 0 << 1;
        QTest::newRow("beyond 16 bits towards does not wrap") << -40000 << 0 << -1;
    }

    void direction()
    {
        QFETCH(int, delta);
        QFETCH(int, flags);
        QFETCH(int, direction);
        QCOMPARE(kavrin::WheelDirection(kavrin::WheelMessageValue(delta, std::uint16_t(flags))), direction);
    }

    void events_data()
    {
        QTest::addColumn<QList<WheelStep>>("steps");
        QTest::addColumn<QList<int>>("cancels"); // what the handler stores in Cancel at each event; -1 leaves it
        QTest::addColumn<QList<int>>("directions");
        QTest::addColumn<int>("passedOn");

        const QList<int> leave;
        QTest::newRow("one notch away") << QList{notch(120)} << leave << QList{1} << 1;
        QTest::newRow("fast turn away") << QList{notch(240)} << leave << QList{1} << 1;
        QTest::newRow("one notch towards") << QList{notch(-120)} << leave << QList{-1} << 1;
        QTest::newRow("three fragments are not a notch") << QList{notch(40), notch(40), notch(39)} << leave
                                                         << QList<int>() << 3;
        QTest::newRow("remainder carried") << QList{notch(90), notch(60), notch(90)} << leave << QList{1, 1} << 3;
        QTest::newRow("towards then away") << QList{notch(-60), notch(-60), notch(60), notch(60)} << leave
                                           << QList{-1, 1} << 4;
        QTest::newRow("horizontal only") << QList{WheelStep{QPoint(120, 0)}} << leave << QList<int>() << 1;
        QTest::newRow("touchpad gesture")
            << QList{WheelStep{QPoint(), Qt::ScrollBegin}, WheelStep{QPoint(0, 70), Qt::ScrollUpdate},
                     WheelStep{QPoint(0, 50), Qt::ScrollUpdate}, WheelStep{QPoint(), Qt::ScrollEnd}}
            << leave << QList{1} << 4;
        QTest::newRow("new gesture starts afresh")
            << QList{WheelStep{QPoint(0, 90), Qt::ScrollUpdate}, WheelStep{QPoint(), Qt::ScrollEnd},
                     WheelStep{QPoint(), Qt::ScrollBegin}, WheelStep{QPoint(0, 60), Qt::ScrollUpdate}}
            << leave << QList<int>() << 4;
        QTest::newRow("cancel swallows this and later turns")
            << QList{notch(120), notch(-120), notch(120)} << QList{1, -1, -1} << QList{1, -1, 1} << 0;
        QTest::newRow("cancel set back lets turns through")
            << QList{notch(120), notch(120), notch(120), notch(120)} << QList{1, -1, 0, -1} << QList{1, 1, 1, 1}
            << 2;
        QTest::newRow("cancel swallows fragments too") << QList{notch(120), notch(30)} << QList{1} << QList{1} << 0;
        QTest::newRow("cancel leaves horizontal scrolling alone")
            << QList{notch(120), WheelStep{QPoint(120, 0)}} << QList{1} << QList{1} << 1;
    }

    void events()
    {
        QFETCH(QList<WheelStep>, steps);
        QFETCH(QList<int>, cancels);
        QFETCH(QList<int>, directions);
        QFETCH(int, passedOn);

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
        for (const WheelStep& step : steps)
            send(form, step);
        QEvent other(QEvent::User); // whatever the cancel flag says
        QCoreApplication::sendEvent(&form, &other);
        QCOMPARE(raised, directions);
        QCOMPARE(form.wheelEvents, passedOn);
        QCOMPARE(form.otherEvents, 1);
    }

    // Released, unhooked, or its form destroyed: turns go by untouched until a form is hooked again.
    void releasedUnhookedOrGone_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("form released") << 0;
        QTest::newRow("unhooked") << 1;
        QTest::newRow("form destroyed while hooked") << 2;
    }
    void releasedUnhookedOrGone()
    {
        QFETCH(int, way);
        auto form = std::make_unique<WheelTarget>();
        CMouseWheel wheel;
        int raised = 0;
        wheel.setMouseWheelHandler([&raised](int&, int& Cancel) {
            ++raised;
            Cancel = 1;
        });
        wheel.Form(form.get());
        wheel.SubClassHookForm();
        if (way == 0)
            wheel.Form(nullptr);
        else if (way == 1)
            wheel.SubClassUnHookForm();
        else
            form = std::make_unique<WheelTarget>();
        send(*form, notch(120));
        QCOMPARE(raised, 0);
        wheel.Form(form.get());
        wheel.SubClassHookForm();
        send(*form, notch(120));
        QCOMPARE(raised, 1);
        QCOMPARE(form->wheelEvents, 1);
    }
};

QTEST_MAIN(MouseWheelTest)
#include "mouse_wheel_test.moc"
