// The window at a device pixel ratio of 2: the layout stays in logical pixels, and squares, tiles
// and the panel's hint are drawn at the screen's full resolution, not scaled up from half of it.
#include "window_fixture.h"

#include "solve_panel.h"
#include "square_view.h"

#include <QApplication>
#include <QImage>
#include <QTest>

using namespace kavrin;
using namespace kavrin::test;

namespace {

// Scaled up from one pixel per logical pixel, every aligned 2 x 2 block is of one colour.
bool finerThanALogicalPixel(const QImage& image)
{
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb corner = image.pixel(x, y);
            if (image.pixel(x + 1, y) != corner || image.pixel(x, y + 1) != corner || image.pixel(x + 1, y + 1) != corner)
                return true;
        }
    return false;
}

} // namespace

class HiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void drawnAtFullResolution()
    {
        Window w;
        QCOMPARE(w.game.devicePixelRatioF(), 2.0);
        QCOMPARE(w.game.clientArea().size(), QSize(360, 360));
        QCOMPARE(w.game.square(81).geometry(), QRect(320, 320, 30, 30));
        QCOMPARE(w.game.panel().pos(), QPoint(365, 8));
        QTest::keyClick(&w.game.square(1), Qt::Key_7);
        QTest::mouseDClick(&w.game.panel(), Qt::LeftButton, {}, QPoint(100, 100));

        const struct {
            const char* what;
            QWidget* widget;
        } drawn[] = {{"square", &w.game.square(1)},
                     {"tile", w.game.panel().findChildren<SolveTile*>().value(1)},
                     {"panel", &w.game.panel()}};
        for (const auto& d : drawn) {
            const QImage image = d.widget->grab().toImage();
            QCOMPARE(image.size(), d.widget->size() * 2);
            QVERIFY2(finerThanALogicalPixel(image), d.what);
        }
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
