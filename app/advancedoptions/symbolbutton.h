#pragma once

#include <QPushButton>

// A square button for one symbol, painted from its selection: the desktop's highlight colour
// when selected, the plain button face when not. The colours are taken from the palette at
// every paint, so the buttons follow a change of colour scheme. The selection is the button's
// checked state, so screen readers tell it, but only the owner changes it: a click, or a toggle
// from a screen reader, is a request that the owner answers through setSelected().
class SymbolButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(bool selected READ isSelected WRITE setSelected)

public:
    explicit SymbolButton(const QString &caption, QWidget *parent = nullptr);

    bool isSelected() const { return isChecked(); }
    // Repaints in the colour of the new state.
    void setSelected(bool selected);

    // The colour role a button in the given state is filled with.
    static QPalette::ColorRole faceRole(bool selected);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    // A click leaves the state alone: the owner's answer sets it.
    void nextCheckState() override { }

private:
    void toggledFromOutside();

    bool m_settingSelection = false;
};
