#include "paintcounter.h"
#include "propertybag.h"
#include "xshplabel.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

using namespace Lustrel;

namespace {

constexpr OleColor Red = 0x000000FF;
constexpr OleColor Green = 0x0000FF00;
constexpr OleColor Blue = 0x00FF0000;

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double luminance(const QColor &color)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (qMax(first, second) + 0.05) / (qMin(first, second) + 0.05);
}

QPalette scheme(const QColor &window, const QColor &text)
{
    QPalette palette(window, window);
    palette.setColor(QPalette::WindowText, text);
    return palette;
}

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

    // The disabled look stays a muted grey, but its caption reads at least 4.5:1 on it.
    void shouldKeepADisabledCaptionReadable_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::addColumn<bool>("usualScheme");
        QTest::newRow("light") << QPalette() << true;
        QTest::newRow("dark") << scheme(QColor(0x35, 0x35, 0x35), Qt::white) << true;
        QTest::newRow("darker") << scheme(QColor(0x1e, 0x1e, 0x1e), QColor(0xdd, 0xdd, 0xdd)) << true;
        // Its own text is unreadable on the bar: black or white takes its place.
        QTest::newRow("pale text on a mid window")
            << scheme(QColor(0x80, 0x80, 0x80), QColor(0xa0, 0xa0, 0xa0)) << false;
    }
    void shouldKeepADisabledCaptionReadable()
    {
        QFETCH(QPalette, palette);
        QFETCH(bool, usualScheme);
        const QColor fill = resolveOleColor(SystemColor::InactiveTitleBar, palette);
        const QColor text = resolveOleColor(SystemColor::InactiveTitleBarText, palette);
        QVERIFY2(contrast(text, fill) >= 4.5,
                 qPrintable(QStringLiteral("%1 on %2: %3:1")
                                .arg(text.name(), fill.name())
                                .arg(contrast(text, fill), 0, 'f', 2)));
        QCOMPARE(fill.hslSaturation(), 0); // muted
        QVERIFY(fill != resolveOleColor(SystemColor::ActiveTitleBar, palette));
        QCOMPARE(text == palette.color(QPalette::WindowText), usualScheme);
        if (usualScheme) // the circle still shows on the window
            QVERIFY(contrast(fill, palette.color(QPalette::Window)) > 1.5);

        XShpLabel marker;
        marker.setPalette(palette);
        marker.resize(40, 40);
        marker.setEnabled(false);
        QCOMPARE(centreColour(marker), fill);
    }

    // The caption is centred in the font it is drawn with, whenever that font was given.
    void shouldCentreTheCaptionInTheFontItDraws_data()
    {
        QTest::addColumn<int>("when");
        QTest::newRow("marker font before the first show") << 0;
        QTest::newRow("window font after the markers were built") << 1;
        QTest::newRow("window font while shown") << 2;
        QTest::newRow("marker font while shown") << 3;
    }
    void shouldCentreTheCaptionInTheFontItDraws()
    {
        QFETCH(int, when);
        QFont big = QApplication::font();
        big.setPointSize(18);
        QWidget window;
        window.resize(100, 100);
        auto *marker = new XShpLabel(&window);
        marker->setGeometry(0, 0, 40, 40);
        marker->setCaption(QStringLiteral("4"));
        if (when == 0)
            marker->setFont(big);
        else if (when == 1)
            window.setFont(big);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (when == 2)
            window.setFont(big);
        else if (when == 3)
            marker->setFont(big);
        marker->repaint();

        const QRectF caption = marker->captionBox();
        QCOMPARE(caption.size(), QFontMetricsF(big).size(0, QStringLiteral("4")));
        QCOMPARE(caption.center(), QPointF(20, 20));
    }

    // An unset DisabledFont follows the window's font as Font does, so the caption does not
    // move when the marker is switched; a DisabledFont of its own stays.
    void shouldLetAnUnsetDisabledFontFollowTheWindowFont()
    {
        QWidget window;
        auto *marker = new XShpLabel(&window);
        auto *own = new XShpLabel(&window);
        QFont small = QApplication::font();
        small.setPointSize(7);
        own->setDisabledFont(small);
        marker->setGeometry(0, 0, 40, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QFont big = QApplication::font();
        big.setPointSize(18);
        window.setFont(big);
        QCOMPARE(marker->DisabledFont(), big);
        QCOMPARE(marker->Font(), big);
        QCOMPARE(own->DisabledFont(), small);

        marker->repaint();
        const QRectF enabledCaption = marker->captionBox();
        marker->setEnabled(false);
        QCOMPARE(marker->captionBox(), enabledCaption);

        MemoryPropertyBag bag; // following the window, it is not saved
        marker->WriteProperties(bag);
        QVERIFY(!bag.keys().contains(QStringLiteral("DisabledFont")));
        own->WriteProperties(bag);
        QVERIFY(bag.keys().contains(QStringLiteral("DisabledFont")));
    }
};

QTEST_MAIN(TestXShpLabel)
#include "tst_xshplabel.moc"
