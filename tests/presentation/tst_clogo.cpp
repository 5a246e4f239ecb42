#include "clogo.h"
#include "logosurface.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

using Lustrel::OleColor;
using Lustrel::oleColorFromRgb;

Q_DECLARE_METATYPE(Lustrel::OleColor)

namespace {

// A surface over an image that counts its refreshes, the sign that a drawing ran to its end.
class ImageSurface : public LogoSurface
{
public:
    explicit ImageSurface(QSize size, QColor background = Qt::white)
        : image(size, QImage::Format_RGB32)
    {
        image.fill(background);
        font.setPointSize(12);
        // Solid edges, so the caption's pixels are exactly its colour.
        font.setStyleStrategy(QFont::NoAntialias);
        palette.setColor(QPalette::Button, QColor(150, 0, 30));
    }

    std::unique_ptr<QPainter> beginPaint() override
    {
        if (image.isNull())
            return {};
        auto painter = std::make_unique<QPainter>(&image);
        painter->setPen(textColor);
        return painter;
    }
    QSize pixelSize() const override { return reportedSize.isValid() ? reportedSize : image.size(); }
    QFont captionFont() const override { return font; }
    int captionDpiY() const override { return 96; }
    QPalette schemePalette() const override { return palette; }
    void refresh() override { ++refreshes; }

    QImage image;
    QFont font;
    QPalette palette;
    QColor textColor = QColor(0, 255, 0);
    int refreshes = 0;
    QSize reportedSize; // the image's own size unless set
};

// The smallest rectangle holding every pixel of `color`.
QRect boundsOf(const QImage &image, QColor color)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

QPixmap solid(QColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return pixmap;
}

} // namespace

class TestLogo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Bands are one pixel high below 510 pixels; the two lowest rows keep the start colour, and
    // every row above is (height - row - 2) / height of the way to the end colour, a half going
    // to the even neighbour. Red climbs 0 -> 150, green falls 200 -> 50, blue stays at 10.
    void shouldPaintTheBandsOfTheGradient_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("row");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("300: bottom row") << 300 << 299 << QColor(0, 200, 10);
        QTest::newRow("300: second row") << 300 << 298 << QColor(0, 200, 10);
        QTest::newRow("300: 0.5 rounds to 0") << 300 << 297 << QColor(0, 200, 10);
        QTest::newRow("300: 1.5 rounds to 2") << 300 << 295 << QColor(2, 198, 10);
        QTest::newRow("300: 2.5 rounds to 2") << 300 << 293 << QColor(2, 198, 10);
        QTest::newRow("300: top row, 298/300 of the way") << 300 << 0 << QColor(149, 51, 10);
        QTest::newRow("100: bottom row") << 100 << 99 << QColor(0, 200, 10);
        QTest::newRow("100: second row") << 100 << 98 << QColor(0, 200, 10);
        QTest::newRow("100: third row, 1/100") << 100 << 97 << QColor(2, 198, 10);
        QTest::newRow("100: top row, 98/100") << 100 << 0 << QColor(147, 53, 10);
        QTest::newRow("509: bands of one, 2/509 at the fourth row") << 509 << 505 << QColor(1, 199, 10);
        QTest::newRow("510: bands of two, bottom band") << 510 << 508 << QColor(0, 200, 10);
        QTest::newRow("510: second band keeps the start") << 510 << 507 << QColor(0, 200, 10);
        QTest::newRow("510: third band, 2/510") << 510 << 505 << QColor(1, 199, 10);
        QTest::newRow("510: top band") << 510 << 0 << QColor(149, 51, 10);
    }
    void shouldPaintTheBandsOfTheGradient()
    {
        QFETCH(int, height);
        QFETCH(int, row);
        QFETCH(QColor, expected);
        ImageSurface surface(QSize(40, height));
        cLogo logo;
        logo.setStartColor(oleColorFromRgb(0, 200, 10));
        logo.setEndColor(oleColorFromRgb(150, 50, 10));
        logo.setDrawingObject(&surface);
        logo.Draw();

        QCOMPARE(surface.refreshes, 1);
        QCOMPARE(surface.image.pixelColor(0, row), expected);
        QCOMPARE(surface.image.pixelColor(39, row), expected);
    }

    void shouldTakeSchemeColoursFromTheSurfacesPalette()
    {
        ImageSurface surface(QSize(30, 300));
        cLogo logo; // black to the button face
        logo.setDrawingObject(&surface);
        logo.Draw();
        // Button face (150, 0, 30) at 298/300 of the way from black.
        QCOMPARE(surface.image.pixelColor(5, 0), QColor(149, 0, 30));

        surface.palette.setColor(QPalette::Button, QColor(0, 90, 240));
        logo.Draw();
        QCOMPARE(surface.image.pixelColor(5, 0), QColor(0, 89, 238));
    }

    void shouldPaintAnUnknownSchemeColourAsBlack()
    {
        ImageSurface surface(QSize(30, 100));
        cLogo logo;
        logo.setStartColor(0x800000FF);
        logo.setDrawingObject(&surface);
        logo.Draw();
        QCOMPARE(surface.image.pixelColor(5, 99), QColor(Qt::black));
    }

    // Setting a colour repaints only when it changes and a surface is attached; nothing else
    // repaints on its own.
    void shouldRepaintOnlyOnARealColourChange_data()
    {
        QTest::addColumn<bool>("attached");
        QTest::addColumn<bool>("startColour");
        QTest::addColumn<OleColor>("value");
        QTest::addColumn<int>("refreshes");
        QTest::newRow("start, same value") << true << true << OleColor(0) << 0;
        QTest::newRow("start, new value") << true << true << oleColorFromRgb(1, 2, 3) << 1;
        QTest::newRow("start, new value, no surface") << false << true << oleColorFromRgb(1, 2, 3) << 0;
        QTest::newRow("end, same value") << true << false << OleColor(Lustrel::SystemColor::ButtonFace) << 0;
        QTest::newRow("end, new value") << true << false << OleColor(Lustrel::SystemColor::Highlight) << 1;
        QTest::newRow("end, explicit colour of the same shade")
            << true << false << oleColorFromRgb(150, 0, 30) << 1;
        QTest::newRow("end, new value, no surface") << false << false << oleColorFromRgb(9, 9, 9) << 0;
    }
    void shouldRepaintOnlyOnARealColourChange()
    {
        QFETCH(bool, attached);
        QFETCH(bool, startColour);
        QFETCH(OleColor, value);
        QFETCH(int, refreshes);
        ImageSurface surface(QSize(20, 60));
        cLogo logo;
        if (attached)
            logo.setDrawingObject(&surface);
        if (startColour)
            logo.setStartColor(value);
        else
            logo.setEndColor(value);
        QCOMPARE(surface.refreshes, refreshes);
        QCOMPARE(startColour ? logo.StartColor() : logo.EndColor(), value);
    }

    void shouldDrawTheChosenIconCentredNearTheBottom_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<int>("captionBottom");
        QTest::newRow("index 1") << 1 << true << 80 - 20;
        QTest::newRow("index 0 draws none") << 0 << false << 80 - 2;
        QTest::newRow("negative index draws none") << -1 << false << 80 - 2;
        QTest::newRow("index past the list draws none, keeps the room") << 5 << false << 80 - 20;
        QTest::newRow("index just past the list, the same") << 2 << false << 80 - 20;
    }
    void shouldDrawTheChosenIconCentredNearTheBottom()
    {
        QFETCH(int, index);
        QFETCH(bool, drawn);
        QFETCH(int, captionBottom);
        ImageSurface surface(QSize(41, 80));
        cLogo logo;
        logo.setStartColor(oleColorFromRgb(255, 255, 255));
        logo.setEndColor(oleColorFromRgb(255, 255, 255));
        logo.setImageList({ solid(Qt::blue), solid(Qt::red) });
        logo.setIconIndex(index);
        logo.setCaption(QStringLiteral("I"));
        logo.setDrawingObject(&surface);
        logo.Draw();

        QCOMPARE(boundsOf(surface.image, Qt::blue), QRect()); // image 0 is never drawn
        if (drawn)
            QCOMPARE(boundsOf(surface.image, Qt::red), QRect((41 - 16) / 2, 80 - 18, 16, 16));
        else
            QCOMPARE(boundsOf(surface.image, Qt::red), QRect());
        const QRect caption = boundsOf(surface.image, surface.textColor);
        QVERIFY(!caption.isEmpty());
        QVERIFY2(caption.bottom() < captionBottom && caption.bottom() >= captionBottom - 6,
                 qPrintable(QStringLiteral("caption ends at row %1").arg(caption.bottom())));
    }

    void shouldWriteTheCaptionUpwardsAlongTheLeftEdge()
    {
        ImageSurface surface(QSize(60, 300), Qt::white);
        cLogo logo;
        logo.setStartColor(oleColorFromRgb(255, 255, 255));
        logo.setEndColor(oleColorFromRgb(255, 255, 255));
        logo.setDrawingObject(&surface);
        logo.setCaption(QStringLiteral("Talvore Mintara"));
        logo.Draw();

        const QRect caption = boundsOf(surface.image, surface.textColor);
        // 12 points at 96 dpi is 16 pixels: the line lies within the left 16 or so columns
        // and runs far up from 2 pixels above the bottom.
        QVERIFY2(caption.left() >= 0 && caption.right() < 20, qPrintable(QString::number(caption.right())));
        QVERIFY(caption.bottom() <= 300 - 2);
        QVERIFY(caption.height() > 4 * caption.width());

        // The first letter is at the bottom: a caption of its first word alone starts there too.
        ImageSurface first(QSize(60, 300), Qt::white);
        logo.setDrawingObject(&first);
        logo.setCaption(QStringLiteral("Talvore"));
        logo.Draw();
        const QRect word = boundsOf(first.image, first.textColor);
        QCOMPARE(word.bottom(), caption.bottom());
        QVERIFY(word.top() > caption.top());
    }

    // The caption's size in pixels is its point size, rounded half to even, times 96 / 72,
    // rounded: it draws exactly as the font of that many pixels does.
    void shouldSizeTheCaptionInWholePixels_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("pixels");
        QTest::newRow("11 pt, 14.67 px rounds up") << 11.0 << 15;
        QTest::newRow("10.5 pt goes to 10 pt, 13.33 px") << 10.5 << 13;
    }
    void shouldSizeTheCaptionInWholePixels()
    {
        QFETCH(double, points);
        QFETCH(int, pixels);
        const auto drawn = [](const std::function<void(QFont &)> &sized) {
            ImageSurface surface(QSize(40, 200));
            sized(surface.font);
            cLogo logo;
            logo.setCaption(QStringLiteral("Mintara"));
            logo.setDrawingObject(&surface);
            logo.Draw();
            return surface.image;
        };
        QCOMPARE(drawn([points](QFont &font) { font.setPointSizeF(points); }),
                 drawn([pixels](QFont &font) { font.setPixelSize(pixels); }));
    }

    void shouldDrawOnlyTheGradientAndIconForAnEmptyCaption()
    {
        ImageSurface surface(QSize(41, 100));
        cLogo logo;
        logo.setStartColor(oleColorFromRgb(0, 0, 0));
        logo.setEndColor(oleColorFromRgb(0, 0, 200));
        logo.setImageList({ solid(Qt::blue), solid(Qt::red) });
        logo.setIconIndex(1);
        logo.setDrawingObject(&surface);
        logo.Draw();

        QCOMPARE(surface.refreshes, 1);
        QCOMPARE(boundsOf(surface.image, surface.textColor), QRect());
        QCOMPARE(boundsOf(surface.image, Qt::red), QRect(12, 82, 16, 16));
        // Outside the icon, every row is one colour from edge to edge.
        for (int y = 0; y < 100; y += 7)
            QCOMPARE(surface.image.pixelColor(40, y), surface.image.pixelColor(0, y));
    }

    // Failures end the drawing silently: no refresh, nothing thrown, the caller carries on.
    void shouldEndTheDrawingSilentlyOnAFailure_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("reported");
        // The first colour step divides zero by zero.
        QTest::newRow("zero height") << QSize(40, 10) << QSize(40, 0);
        QTest::newRow("nothing to paint on") << QSize(0, 0) << QSize();
    }
    void shouldEndTheDrawingSilentlyOnAFailure()
    {
        QFETCH(QSize, size);
        QFETCH(QSize, reported);
        ImageSurface surface(size);
        surface.reportedSize = reported;
        cLogo logo;
        logo.setCaption(QStringLiteral("Mintara"));
        logo.setDrawingObject(&surface);
        logo.Draw();
        QCOMPARE(surface.refreshes, 0);
        QCOMPARE(boundsOf(surface.image, surface.textColor), QRect());
    }

    void shouldDoNothingWithoutASurface()
    {
        cLogo logo;
        logo.setCaption(QStringLiteral("Mintara"));
        logo.Draw();
        logo.setStartColor(oleColorFromRgb(5, 5, 5));
        QCOMPARE(logo.StartColor(), oleColorFromRgb(5, 5, 5));
    }

    void shouldForgetAPictureBoxThatIsGone()
    {
        cLogo logo;
        auto *picture = new LogoPicture;
        logo.setDrawingObject(picture);
        delete picture;
        logo.setStartColor(oleColorFromRgb(5, 5, 5)); // would paint on it were it still there
        logo.Draw();
    }

    void shouldKeepThePaintingInAPictureBox()
    {
        LogoPicture picture;
        picture.resize(60, 300);
        QPalette palette = picture.palette();
        palette.setColor(QPalette::Button, QColor(10, 20, 30));
        palette.setColor(QPalette::ButtonText, QColor(255, 255, 0));
        picture.setPalette(palette);
        QFont font = picture.font();
        font.setStyleStrategy(QFont::NoAntialias);
        picture.setFont(font);
        cLogo logo;
        logo.setStartColor(oleColorFromRgb(0, 0, 0));
        logo.setCaption(QStringLiteral("Mintara"));
        logo.setDrawingObject(&picture);
        logo.Draw();

        QCOMPARE(picture.image().pixelColor(30, 299), QColor(0, 0, 0));
        QCOMPARE(picture.image().pixelColor(30, 0), QColor(10, 20, 30)); // the box's button face
        QVERIFY(!boundsOf(picture.image(), QColor(255, 255, 0)).isEmpty()); // the box's text colour
        QCOMPARE(picture.grab().toImage().convertToFormat(QImage::Format_RGB32).pixelColor(30, 299),
                 QColor(0, 0, 0));
    }
};

QTEST_MAIN(TestLogo)
#include "tst_clogo.moc"
