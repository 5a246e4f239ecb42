#include "spinbuttons.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestSpinButtons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldStepTheBoxToTheNextWholeNumberInRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("up");
        QTest::addColumn<QString>("expected");
        QTest::newRow("up") << "5" << true << "6";
        QTest::newRow("down") << "5" << false << "4";
        QTest::newRow("fraction up") << "2.5" << true << "3";
        QTest::newRow("fraction down") << "2.5" << false << "2";
        QTest::newRow("to the top") << "9999" << true << "10000";
        QTest::newRow("stops at the top") << "10000" << true << "10000";
        QTest::newRow("above the top, up") << "20000" << true << "20000";
        QTest::newRow("above the top, down") << "20000" << false << "10000";
        QTest::newRow("stops at the bottom") << "0" << false << "0";
        QTest::newRow("below the bottom, up") << "-3" << true << "0";
        QTest::newRow("letters") << "abc" << true << "0";
        QTest::newRow("empty") << "" << false << "0";
    }
    void shouldStepTheBoxToTheNextWholeNumberInRange()
    {
        QFETCH(QString, text);
        QFETCH(bool, up);
        QFETCH(QString, expected);
        QLineEdit box(text);
        SpinButtons spin;
        spin.setMaximum(10000);
        spin.setBuddy(&box);
        QSignalSpy changed(&box, &QLineEdit::textChanged);
        QTest::mouseClick(spin.findChild<QToolButton *>(up ? QStringLiteral("up") : QStringLiteral("down")),
                          Qt::LeftButton);
        QCOMPARE(box.text(), expected);
        QCOMPARE(changed.count(), expected == text ? 0 : 1); // a step is one change, like typing
    }

    void shouldStepWithTheArrowKeysOfTheBox()
    {
        QLineEdit box(QStringLiteral("7"));
        SpinButtons spin;
        spin.setBuddy(&box);
        QTest::keyClick(&box, Qt::Key_Up);
        QTest::keyClick(&box, Qt::Key_Up);
        QTest::keyClick(&box, Qt::Key_Down);
        QCOMPARE(box.text(), QStringLiteral("8"));
    }

    void shouldFollowTheBoxBeingDisabled()
    {
        QLineEdit box(QStringLiteral("7"));
        SpinButtons spin;
        spin.setBuddy(&box);
        box.setEnabled(false);
        QVERIFY(!spin.findChild<QToolButton *>(QStringLiteral("up"))->isEnabled());
        spin.stepUp();
        QCOMPARE(box.text(), QStringLiteral("7"));
        box.setEnabled(true);
        QVERIFY(spin.findChild<QToolButton *>(QStringLiteral("up"))->isEnabled());
    }

    // The arrows say what they change; the box, the range they keep to, after its tooltip.
    void shouldNameTheArrowsAfterTheBoxAndDescribeItsRange_data()
    {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("purpose"); // after "Increase" and "Decrease"
        QTest::addColumn<QString>("description");
        QTest::newRow("named box with a tip") << "Number of passwords"
                                              << "Specify the number"
                                              << " number of passwords"
                                              << "Specify the number (1 to 10000)";
        QTest::newRow("named box") << "Password length" << QString() << " password length"
                                   << "1 to 10000";
        QTest::newRow("unnamed box") << QString() << QString() << QString() << "1 to 10000";
    }
    void shouldNameTheArrowsAfterTheBoxAndDescribeItsRange()
    {
        QFETCH(QString, boxName);
        QFETCH(QString, toolTip);
        QFETCH(QString, purpose);
        QFETCH(QString, description);
        QLineEdit box;
        box.setAccessibleName(boxName);
        box.setToolTip(toolTip);
        SpinButtons spin;
        spin.setMinimum(1);
        spin.setMaximum(10000);
        spin.setBuddy(&box);
        QCOMPARE(spin.findChild<QToolButton *>(QStringLiteral("up"))->accessibleName(), "Increase" + purpose);
        QCOMPARE(spin.findChild<QToolButton *>(QStringLiteral("down"))->accessibleName(),
                 "Decrease" + purpose);
        QCOMPARE(box.accessibleDescription(), description);
        spin.setMaximum(99); // a range set after binding is told too
        QCOMPARE(box.accessibleDescription(),
                 description.replace(QStringLiteral("10000"), QStringLiteral("99")));

        QLineEdit other;
        spin.setBuddy(&other);
        QCOMPARE(box.accessibleDescription(), QString()); // no range of arrows it no longer has
    }
};

QTEST_MAIN(TestSpinButtons)
#include "tst_spinbuttons.moc"
