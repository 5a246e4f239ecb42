#pragma once

#include "control.h"
#include "lustrel_export.h"
#include "olecolor.h"

#include <QWidget>
#include <memory>

namespace Lustrel {

// A circle with a caption centred on it, with two complete looks: one while enabled, one while
// disabled. Look properties take effect at the next paint; only an Enabled put repaints at once.
// A failing put throws Failure (errorrecord.h) and keeps the old value. Screen readers read it as
// a button named by its caption, and an enabled marker as the current one of its row.
class LUSTREL_EXPORT XShpLabel : public QWidget, public Control
{
    Q_OBJECT
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor NOTIFY propertyChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY propertyChanged)
    Q_PROPERTY(QFont Font READ Font WRITE setFont NOTIFY propertyChanged)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle NOTIFY propertyChanged)
    Q_PROPERTY(quint32 BorderColor READ BorderColor WRITE setBorderColor NOTIFY propertyChanged)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE setBorderWidth NOTIFY propertyChanged)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY propertyChanged)
    Q_PROPERTY(quint32 FillColor READ FillColor WRITE setFillColor NOTIFY propertyChanged)
    Q_PROPERTY(int FillStyle READ FillStyle WRITE setFillStyle NOTIFY propertyChanged)
    Q_PROPERTY(quint32 DisabledBorderColor READ DisabledBorderColor WRITE setDisabledBorderColor NOTIFY
                   propertyChanged)
    Q_PROPERTY(
        int DisabledBorderStyle READ DisabledBorderStyle WRITE setDisabledBorderStyle NOTIFY propertyChanged)
    Q_PROPERTY(
        int DisabledBorderWidth READ DisabledBorderWidth WRITE setDisabledBorderWidth NOTIFY propertyChanged)
    Q_PROPERTY(
        quint32 DisabledFillColor READ DisabledFillColor WRITE setDisabledFillColor NOTIFY propertyChanged)
    Q_PROPERTY(int DisabledFillStyle READ DisabledFillStyle WRITE setDisabledFillStyle NOTIFY propertyChanged)
    Q_PROPERTY(QFont DisabledFont READ DisabledFont WRITE setDisabledFont NOTIFY propertyChanged)
    Q_PROPERTY(
        quint32 DisabledForeColor READ DisabledForeColor WRITE setDisabledForeColor NOTIFY propertyChanged)

public:
    // Outline styles: 0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot, 6 solid inside.
    // Fill styles: 0 solid, 1 none, 2 horizontal, 3 vertical, 4 upward diagonal, 5 downward
    // diagonal, 6 cross-hatch, 7 diagonal cross-hatch. A paint meeting any other value, or an
    // outline width below 1, stops applying the look there and draws what was applied before.

    // The programmatic name, "Lustrel.XShpLabel".
    static QString staticProgId();
    // The fixed class id.
    static QUuid staticClassId();

    // An enabled marker captioned "Label1" in the title bar colours of the desktop.
    explicit XShpLabel(QWidget *parent = nullptr);
    ~XShpLabel() override;

    // Caption colour while enabled (default: active title bar text).
    OleColor ForeColor() const;
    void setForeColor(OleColor color);
    // Which look shows: the marker's own enabled flag (a disabled window around it does not
    // change it, though the marker then shows its disabled look); a put repaints at once.
    bool Enabled() const;
    void setEnabled(bool enabled);
    // Caption font while enabled (default: the parent's font).
    QFont Font() const;
    void setFont(const QFont &font);
    // Outline style while enabled (default 0, none).
    int BorderStyle() const;
    void setBorderStyle(int style);
    // Outline colour while enabled (default black).
    OleColor BorderColor() const;
    void setBorderColor(OleColor color);
    // Outline width in pixels while enabled (default 1).
    int BorderWidth() const;
    void setBorderWidth(int width);
    // The caption text, shared by both looks; a put keeps the caption's top left corner.
    QString Caption() const;
    void setCaption(const QString &caption);
    // Fill colour while enabled (default: active title bar).
    OleColor FillColor() const;
    void setFillColor(OleColor color);
    // Fill style while enabled (default 0, solid).
    int FillStyle() const;
    void setFillStyle(int style);
    // Outline colour while disabled (default black).
    OleColor DisabledBorderColor() const;
    void setDisabledBorderColor(OleColor color);
    // Outline style while disabled (default 0, none).
    int DisabledBorderStyle() const;
    void setDisabledBorderStyle(int style);
    // Outline width while disabled (default 1).
    int DisabledBorderWidth() const;
    void setDisabledBorderWidth(int width);
    // Fill colour while disabled (default: inactive title bar).
    OleColor DisabledFillColor() const;
    void setDisabledFillColor(OleColor color);
    // Fill style while disabled (default 0, solid).
    int DisabledFillStyle() const;
    void setDisabledFillStyle(int style);
    // Caption font while disabled (default: the parent's font, followed as it changes, as Font
    // follows it; a put of the parent's font makes it follow again).
    QFont DisabledFont() const;
    void setDisabledFont(const QFont &font);
    // Caption colour while disabled (default: inactive title bar text).
    OleColor DisabledForeColor() const;
    void setDisabledForeColor(OleColor color);

    // Repaints the control now.
    Q_INVOKABLE void Refresh();

    // The box the circle is centred in, and the caption's box, in pixels. The caption is centred
    // at each resize and show, and at a paint that draws it in another font than it was
    // centred for.
    QRectF circleBox() const;
    QRectF captionBox() const;

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
    // The input events, with the arguments of the mouse or key event. The marker takes the
    // keyboard focus when clicked, so its key events follow the mouse events.
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
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<class XShpLabelPrivate> const d;
};

} // namespace Lustrel
