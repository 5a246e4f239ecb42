#include "xshplabel.h"

#include <QSignalSpy>
#include <QTest>

using namespace Lustrel;

namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

constexpr OleColor Red = 0x000000FF;
constexpr OleColor Green = 0x0000FF00;
constexpr OleColor Blue = 0x00FF0000;

QColor centreColour(XShpLabel &marker)
{
    // Above the caption, inside the circle.
    return marker.grab().toImage().pixelColor(marker.width() / 2, 6);
}

} // namespace

class TestXShpLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldDrawACentredCircleAndCaption()
    {
        XShpLabel marker;
        marker.resize(200, 100);
        marker.setFillColor(Red);
        marker.show(); // a hidden widget gets its resize only when shown
        QCOMPARE(marker.circleBox(), QRectF(0, 0, 200, 100));
        const QRectF caption = marker.captionBox();
        QCOMPARE(caption.left(), (200 - caption.width()) / 2);
        QCOMPARE(caption.top(), (100 - caption.height()) / 2);

        // Diameter 100, centred at (100, 50).
        const QImage picture = marker.grab().toImage();
        QCOMPARE(picture.pixelColor(100, 3), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(53, 50), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(147, 50), QColor(Qt::red));
        QVERIFY(picture.pixelColor(45, 50) != QColor(Qt::red));
        QVERIFY(picture.pixelColor(100 + 36, 50 - 36) != QColor(Qt::red)); // outside the circle
    }

    void shouldShowLabel1OnTheActiveTitleBarColour()
    {
        XShpLabel marker;
        marker.resize(40, 40);
        QCOMPARE(marker.Caption(), QStringLiteral("Label1"));
        QCOMPARE(marker.FillColor(), SystemColor::ActiveTitleBar);
        QCOMPARE(centreColour(marker), marker.palette().color(QPalette::Active, QPalette::Highlight));
    }

    void shouldKeepTheCaptionCornerOnACaptionPut()
    {
        XShpLabel marker;
        marker.resize(300, 100);
        marker.show();
        const QRectF before = marker.captionBox();
        marker.setCaption(QStringLiteral("A much longer caption"));
        const QRectF after = marker.captionBox();
        QCOMPARE(after.topLeft(), before.topLeft());
        QVERIFY(after.width() > before.width());
        marker.resize(301, 100); // centred again by the next resize
        QCOMPARE(marker.captionBox().left(), (301 - after.width()) / 2);
    }

    // Switching Enabled repaints at once with the whole other look; other look puts wait for
    // the next paint.
    void shouldRepaintAtOnceOnlyForEnabled()
    {
        XShpLabel marker;
        marker.resize(40, 40);
        marker.setFillColor(Red);
        marker.setDisabledFillColor(Blue);
        marker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&marker));
        PaintCounter counter;
        marker.installEventFilter(&counter);

        marker.setFillColor(Green);
        marker.setCaption(QStringLiteral("2"));
        marker.setBorderStyle(1);
        QCoreApplication::processEvents();
        QCOMPARE(counter.paints, 0);

        marker.setEnabled(false);
        QCOMPARE(counter.paints, 1);
        marker.setEnabled(true);
        QCOMPARE(counter.paints, 2);
    }

    void shouldDrawTheWholeLookOfTheCurrentState_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QColor>("fill");
        QTest::addColumn<QColor>("outline");
        QTest::newRow("enabled") << true << QColor(Qt::red) << QColor(Qt::green);
        QTest::newRow("disabled") << false << QColor(Qt::blue) << QColor(Qt::black);
    }
    void shouldDrawTheWholeLookOfTheCurrentState()
    {
        QFETCH(bool, enabled);
        QFETCH(QColor, fill);
        QFETCH(QColor, outline);
        XShpLabel marker;
        marker.resize(60, 60);
        marker.setFillColor(Red);
        marker.setBorderColor(Green);
        marker.setBorderStyle(1);
        marker.setBorderWidth(4);
        marker.setDisabledFillColor(Blue);
        marker.setDisabledBorderColor(0);
        marker.setDisabledBorderStyle(1);
        marker.setDisabledBorderWidth(4);
        marker.setEnabled(enabled);
        const QImage picture = marker.grab().toImage();
        QCOMPARE(picture.pixelColor(30, 10), fill);
        QCOMPARE(picture.pixelColor(30, 1), outline);
    }

    void shouldNeverShowTheDisabledLookWhileEnabled()
    {
        XShpLabel marker;
        marker.resize(40, 40);
        marker.setFillColor(Red);
        marker.setDisabledFillColor(Blue);
        QCOMPARE(centreColour(marker), QColor(Qt::red));
        marker.setDisabledFillColor(Green);
        QCOMPARE(centreColour(marker), QColor(Qt::red));
    }

    // An outline width the circle cannot take ends the paint's look there: the fill keeps
    // what the last paint gave it.
    void shouldStopApplyingTheLookAtAValueThePartRefuses()
    {
        XShpLabel marker;
        marker.resize(40, 40);
        marker.setFillColor(Red);
        marker.setDisabledFillColor(Blue);
        QCOMPARE(centreColour(marker), QColor(Qt::red));
        marker.setDisabledBorderWidth(0);
        marker.setEnabled(false);
        QCOMPARE(centreColour(marker), QColor(Qt::red));
        marker.setDisabledBorderWidth(1);
        QCOMPARE(centreColour(marker), QColor(Qt::blue));
    }
};

QTEST_MAIN(TestXShpLabel)
#include "tst_xshplabel.moc"
