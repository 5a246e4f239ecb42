#pragma once

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

// Counts the key presses that reach any widget of one window. A window blocked by a modal one
// never sees them: the application drops them before they reach a widget.
class KeyWitness : public QObject
{
public:
    explicit KeyWitness(QWidget *window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    int presses = 0;

    // Types a key into the window the way the window system hands it over.
    void type()
    {
        presses = 0;
        QTest::keyClick(m_window->windowHandle(), Qt::Key_End);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_window)
            ++presses;
        return false;
    }

private:
    QWidget *m_window;
};
