#pragma once

#include "control.h"
#include "lustrel_export.h"
#include "olecolor.h"

#include <QWidget>
#include <memory>

namespace Lustrel {

// A caption whose text colour pulses while Interval is above 0: from black through blue to
// cyan, a hold, back through green to black, a hold, and again. Otherwise a plain caption,
// except that letters too faint on their ground get a black or white outline.
// A failing put throws Failure (errorrecord.h) and changes nothing. Screen readers read it as
// text, its caption.
class LUSTREL_EXPORT XGlowLabel : public QWidget, public Control
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor NOTIFY propertyChanged)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor NOTIFY propertyChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY propertyChanged)
    Q_PROPERTY(QFont Font READ Font WRITE setFont NOTIFY propertyChanged)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle NOTIFY propertyChanged)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle NOTIFY propertyChanged)
    Q_PROPERTY(int Alignment READ Alignment WRITE setAlignment NOTIFY propertyChanged)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance NOTIFY propertyChanged)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY propertyChanged)
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval NOTIFY propertyChanged)

public:
    // The pulse counters. Blue and green make the caption colour; the third only lengthens the
    // cycle. All start at 0, rising.
    struct GlowState
    {
        qint16 blue = 0;
        qint16 green = 0;
        qint16 third = 0;
        bool falling = false;

        friend bool operator==(const GlowState &, const GlowState &) = default;
    };

    // The programmatic name, "Lustrel.XGlowLabel".
    static QString staticProgId();
    // The fixed class id.
    static QUuid staticClassId();

    // A still caption "Label1" in button colours.
    explicit XGlowLabel(QWidget *parent = nullptr);
    ~XGlowLabel() override;

    // Background colour (default: button face).
    OleColor BackColor() const;
    void setBackColor(OleColor color);
    // Text colour (default: button text); every tick of the pulse overwrites it.
    OleColor ForeColor() const;
    void setForeColor(OleColor color);
    // The caption's own enabled flag (a disabled window around it does not change it); the put
    // also announces itself.
    bool Enabled() const;
    void setEnabled(bool enabled);
    // The caption's font.
    QFont Font() const;
    void setFont(const QFont &font);
    // 0 transparent background, 1 opaque (default). Other values fail with error 380.
    // (Each Integer property fails with error 6 beyond 16 bits.)
    int BackStyle() const;
    void setBackStyle(int style);
    // 0 no border (default), 1 single line. Other values fail with error 380.
    int BorderStyle() const;
    void setBorderStyle(int style);
    // 0 left (default), 1 right, 2 centre. Other values fail with error 380.
    int Alignment() const;
    void setAlignment(int alignment);
    // The border's look: 0 flat, 1 sunken (default). Other values fail with error 380.
    int Appearance() const;
    void setAppearance(int appearance);
    // The caption text (default "Label1").
    QString Caption() const;
    void setCaption(const QString &caption);
    // Milliseconds between two ticks of the pulse, 0 to 65535; 0 (the default) stops the pulse
    // and leaves the colour where it stands. Other values fail with error 380. In design mode
    // the value is kept but the pulse does not run. A beat that comes while the thread waits in
    // a nested event loop other than a modal window's (another control's pause, say) is
    // skipped, so the pulse never holds up that wait.
    qint32 Interval() const;
    void setInterval(qint32 milliseconds);

    // Repaints the caption now.
    Q_INVOKABLE void Refresh();
    // One step of the pulse, as the timer runs it: advances the counters, sets the text colour
    // without announcing it, then pauses 50 ms so the step shows. A call while another step is
    // still pausing is never nested: it runs as soon as that step has ended (calls during one
    // pause make one step).
    Q_INVOKABLE void Tick();
    // The pulse counters as they stand.
    GlowState glowState() const;

    QWidget *widget() override { return this; }
    QString progId() const override { return staticProgId(); }
    QUuid classId() const override { return staticClassId(); }
    // Does nothing: a newly placed caption keeps its starting values.
    void InitProperties() override;
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;

    QSize sizeHint() const override;

Q_SIGNALS:
    // Sent after every put, also of an unchanged value, with the property's name.
    void propertyChanged(const QString &propertyName);
    // The input events, with the arguments of the mouse or key event. The caption takes the
    // keyboard focus when clicked, so its key events follow the mouse events.
    void Click();
    void DblClick();
    void MouseDown(qint16 Button, qint16 Shift, float x, float y);
    void MouseMove(qint16 Button, qint16 Shift, float x, float y);
    void MouseUp(qint16 Button, qint16 Shift, float x, float y);
    void KeyDown(qint16 KeyCode, qint16 Shift);
    void KeyPress(qint16 KeyAscii);
    void KeyUp(qint16 KeyCode, qint16 Shift);

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    friend class ControlPacing;
    // Runs a tick from the event loop, outside the event that asked for it.
    void scheduleTick();

    std::unique_ptr<class XGlowLabelPrivate> const d;
};

} // namespace Lustrel
