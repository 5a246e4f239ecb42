#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

class QToolButton;

// A pair of up and down arrows bound to a text box. A step reads the box's text, moves it to
// the next whole number within the range and writes the new text into the box, so the box
// reports the step as an ordinary change, just as if it had been typed. The box stays a plain
// text box that may hold any text; only a step writes to it. For screen readers the arrows are
// named after the box ("Increase number of passwords") and the box's description tells the
// range after its tooltip.
class SpinButtons : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int minimum READ minimum WRITE setMinimum)
    Q_PROPERTY(int maximum READ maximum WRITE setMaximum)

public:
    explicit SpinButtons(QWidget *parent = nullptr);

    // The box the arrows step; its Up and Down keys step it too. The arrows take their names
    // from the box's accessible name and its tooltip as they are now, so set those first.
    QLineEdit *buddy() const { return m_buddy; }
    void setBuddy(QLineEdit *buddy);

    // The range a step stays in; 0 to 32767 unless set.
    int minimum() const { return m_minimum; }
    void setMinimum(int minimum);
    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);

    // One step up or down. From a text that is no number the box gets the minimum.
    void stepUp() { step(+1); }
    void stepDown() { step(-1); }

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void step(int direction);
    void updateEnabled();
    void fitArrows();
    void describeForScreenReaders();

    QPointer<QLineEdit> m_buddy;
    QObject *m_buddyObject = nullptr; // for telling the box's events apart, never dereferenced
    QToolButton *m_up;
    QToolButton *m_down;
    int m_minimum = 0;
    int m_maximum = 32767;
};
