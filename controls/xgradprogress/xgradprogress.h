#pragma once

#include "control.h"
#include "lustrel_export.h"
#include "olecolor.h"

#include <QWidget>
#include <memory>

namespace Lustrel {

// A two-colour progress bar: the part from the left edge up to Value in StartColor, the rest in
// BackColor. A bar shows StartColor across its width until the first Value put; after that it
// matches the last put. A failing put throws Failure (errorrecord.h) and keeps what it did before
// the failing step. Screen readers read it as a progress bar with Value, Min and Max and hear of
// each new Value.
class LUSTREL_EXPORT XGradProgress : public QWidget, public Control
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor NOTIFY propertyChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY propertyChanged)
    Q_PROPERTY(QFont Font READ Font WRITE setFont NOTIFY propertyChanged)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle NOTIFY propertyChanged)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle NOTIFY propertyChanged)
    Q_PROPERTY(int Appearance READ Appearance WRITE setAppearance NOTIFY propertyChanged)
    Q_PROPERTY(quint32 EndColor READ EndColor WRITE setEndColor NOTIFY propertyChanged)
    Q_PROPERTY(int Min READ Min WRITE setMin NOTIFY propertyChanged)
    Q_PROPERTY(int Max READ Max WRITE setMax NOTIFY propertyChanged)
    Q_PROPERTY(int Orientation READ Orientation WRITE setOrientation NOTIFY propertyChanged)
    Q_PROPERTY(int Value READ Value WRITE setValue NOTIFY propertyChanged)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor NOTIFY propertyChanged)
    Q_PROPERTY(quint32 StartColor READ StartColor WRITE setStartColor NOTIFY propertyChanged)

public:
    // The programmatic name, "Lustrel.XGradProgress".
    static QString staticProgId();
    // The fixed class id.
    static QUuid staticClassId();

    // A bar with the default colours and its cover folded away.
    explicit XGradProgress(QWidget *parent = nullptr);
    ~XGradProgress() override;

    // The unfilled colour (default: button face).
    OleColor BackColor() const;
    void setBackColor(OleColor color);
    // The bar's own enabled flag (a disabled window around it does not change it); the put
    // also announces itself.
    bool Enabled() const;
    void setEnabled(bool enabled);
    // The bar's font; it draws no text, so the font shows nowhere.
    QFont Font() const;
    void setFont(const QFont &font);
    // Kept and saved only.
    int BackStyle() const;
    void setBackStyle(int style);
    // The border: 0 none, 1 single line. Other values fail with error 380 (6 beyond 16 bits).
    int BorderStyle() const;
    void setBorderStyle(int style);
    // The border's look: 0 flat, 1 sunken. Other values fail with error 380 (6 beyond 16 bits).
    int Appearance() const;
    void setAppearance(int appearance);
    // Kept and saved only.
    OleColor EndColor() const;
    void setEndColor(OleColor color);
    // The position of an empty bar; a put does not redraw.
    int Min() const;
    void setMin(int value);
    // The position of a full bar; a put does not redraw.
    int Max() const;
    void setMax(int value);
    // Kept and saved only: the bar always fills from left to right.
    int Orientation() const;
    void setOrientation(int orientation);
    // The position. A put stores and announces the value, then moves the cover; it fails with
    // error 11 or 6 when Max equals Min, 6 when a difference leaves 16 bits, 380 above Max.
    int Value() const;
    void setValue(int value);
    // Always 0; a put only announces itself and never affects the drawing.
    OleColor ForeColor() const;
    void setForeColor(OleColor color);
    // The filled colour (default: selection highlight).
    OleColor StartColor() const;
    void setStartColor(OleColor color);

    // Repaints the bar.
    Q_INVOKABLE void Refresh();
    // Puts Value to each whole number from the current Value up to `newValue`, pausing 1 ms
    // after each so every step shows; does nothing when `newValue` is below Value. Stops at the
    // first failing put. Always returns 0.
    Q_INVOKABLE qint32 IncreaseTo(qint32 newValue);

    // The left edge and width of the unfilled part, in pixels from the inner left edge.
    float coverLeft() const;
    float coverWidth() const;
    // The width inside the border, which a Value put divides.
    int innerWidth() const;

    QWidget *widget() override { return this; }
    QString progId() const override { return staticProgId(); }
    QUuid classId() const override { return staticClassId(); }
    void InitProperties() override;
    void ReadProperties(const PropertyBag &bag) override;
    void WriteProperties(PropertyBag &bag) const override;

    QSize sizeHint() const override;

Q_SIGNALS:
    // Sent after every put, also of an unchanged value, with the property's name.
    void propertyChanged(const QString &propertyName);
    // The input events, with the arguments of the mouse or key event.
    void Click();
    void DblClick();
    void KeyDown(qint16 KeyCode, qint16 Shift);
    void KeyPress(qint16 KeyAscii);
    void KeyUp(qint16 KeyCode, qint16 Shift);
    void MouseDown(qint16 Button, qint16 Shift, float x, float y);
    void MouseMove(qint16 Button, qint16 Shift, float x, float y);
    void MouseUp(qint16 Button, qint16 Shift, float x, float y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    friend class ControlPacing;
    std::unique_ptr<class XGradProgressPrivate> const d;
};

} // namespace Lustrel
