// The three controls side by side: a bar stepping to a value, five step markers with one
// enabled, and a pulsing caption.
//
//   lustrel-gallery [--dark] [--screenshot FILE]
//
// --dark shows them under a dark palette, to check that scheme colours follow it;
// --screenshot saves the window once the bar has stepped and the caption has pulsed a while.

#include "xglowlabel.h"
#include "xgradprogress.h"
#include "xshplabel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>

using namespace Lustrel;

namespace {

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x2b, 0x2d, 0x31));
    palette.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1f, 0x22));
    palette.setColor(QPalette::AlternateBase, QColor(0x33, 0x35, 0x3a));
    palette.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3d, 0x42));
    palette.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    palette.setColor(QPalette::HighlightedText, QColor(0x10, 0x12, 0x14));
    palette.setColor(QPalette::Light, QColor(0x5a, 0x5e, 0x66));
    palette.setColor(QPalette::Midlight, QColor(0x48, 0x4b, 0x52));
    palette.setColor(QPalette::Mid, QColor(0x4a, 0x4d, 0x54));
    palette.setColor(QPalette::Dark, QColor(0x1a, 0x1b, 0x1e));
    palette.setColor(QPalette::Shadow, QColor(0x0e, 0x0f, 0x10));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return palette;
}

QGroupBox *section(const QString &title, QWidget *content)
{
    auto *box = new QGroupBox(title);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lustrel-gallery"));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption dark(QStringLiteral("dark"), QStringLiteral("Use a dark palette."));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window to <file> and quit."),
                                        QStringLiteral("file"));
    parser.addOptions({ dark, screenshot });
    parser.process(app);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (parser.isSet(dark))
        QApplication::setPalette(darkPalette());

    QWidget window;
    window.setWindowTitle(QStringLiteral("Lustrel gallery"));
    auto *layout = new QVBoxLayout(&window);
    layout->setSpacing(12);

    // The bar, stepped from 0 to 75 the way the program steps it.
    auto *barArea = new QWidget;
    auto *barLayout = new QHBoxLayout(barArea);
    barLayout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new XGradProgress;
    bar->setObjectName(QStringLiteral("barGenProgress"));
    bar->InitProperties();
    bar->setMax(100);
    bar->setFixedHeight(18);
    auto *step = new QPushButton(QStringLiteral("Step to 75"));
    barLayout->addWidget(bar, 1);
    barLayout->addWidget(step);
    QObject::connect(step, &QPushButton::clicked, bar, [bar] {
        bar->setValue(0);
        bar->IncreaseTo(75);
    });
    layout->addWidget(section(QStringLiteral("XGradProgress"), barArea));

    // Five step markers; clicking one makes it the current step.
    auto *steps = new QWidget;
    auto *stepsLayout = new QHBoxLayout(steps);
    stepsLayout->setContentsMargins(0, 0, 0, 0);
    QList<XShpLabel *> markers;
    for (int i = 0; i < 5; ++i) {
        auto *marker = new XShpLabel;
        marker->setObjectName(QStringLiteral("slbSteps_%1").arg(i));
        marker->InitProperties();
        QFont font = marker->Font();
        font.setBold(true);
        marker->setFont(font);
        marker->setDisabledFont(font);
        marker->setCaption(QString::number(i + 1));
        marker->setFixedSize(28, 28);
        marker->setEnabled(i == 1);
        markers.append(marker);
        stepsLayout->addWidget(marker);
    }
    stepsLayout->addStretch();
    for (XShpLabel *marker : markers) {
        // A disabled widget gets no clicks, so the row listens for them on its own.
        QObject::connect(marker, &XShpLabel::Click, marker, [markers, marker] {
            for (XShpLabel *other : markers)
                other->setEnabled(other == marker);
        });
    }
    layout->addWidget(section(QStringLiteral("XShpLabel"), steps));

    auto *glow = new XGlowLabel;
    glow->setObjectName(QStringLiteral("XGlowLabel1"));
    glow->setCaption(QStringLiteral("Talvore Mintara 2.0"));
    QFont glowFont = glow->Font();
    glowFont.setPointSize(glowFont.pointSize() + 6);
    glowFont.setBold(true);
    glow->setFont(glowFont);
    glow->setBackStyle(0);
    glow->setAlignment(2);
    glow->setMinimumHeight(QFontMetrics(glowFont).height() + 4);
    glow->setInterval(50);
    layout->addWidget(section(QStringLiteral("XGlowLabel"), glow));
    layout->addStretch();

    window.resize(460, 300);
    window.show();
    QTimer::singleShot(0, bar, [bar] { bar->IncreaseTo(75); });

    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        // Long enough for the bar to arrive and the caption to reach a visible blue.
        QTimer::singleShot(1500, &window, [&window, file] {
            window.grab().save(file);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
