#include "ui_designedform.h"

#include <QTest>

// Builds and runs the form that designform made with the Designer plugin: whatever values were
// typed in the editor, the saved form must load, since a put failing inside setupUi ends the
// program.
class TestDesignedForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldLoadAFormWhoseEditorRefusedValues()
    {
        QWidget form;
        Ui::DesignedForm ui;
        ui.setupUi(&form);
        form.show();

        // The editor kept the range it placed the bar with and refused what did not fit it.
        for (Lustrel::XGradProgress *bar : { ui.barMaxFirst, ui.barValueFirst }) {
            QCOMPARE(bar->Max(), 100);
            QCOMPARE(bar->Value(), 5);
        }
        QCOMPARE(ui.barRange->Min(), -20000); // Max 20000 would leave 16 bits
        QCOMPARE(ui.barRange->Max(), 100);
        QCOMPARE(ui.barRange->Value(), 40);
        QCOMPARE(ui.slbStep->BorderStyle(), 0);
        QCOMPARE(ui.slbStep->Enabled(), false);
        QCOMPARE(ui.XGlowLabel1->Interval(), 50);
        QCOMPARE(ui.XGlowLabel1->Alignment(), 0);
    }
};

QTEST_MAIN(TestDesignedForm)
#include "tst_designedform.moc"
