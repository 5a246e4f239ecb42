#include "application.h"

#include "advanceddialoghost.h"
#include "advancedoptionsdialog.h"
#include "automationerror.h"
#include "automationtarget.h"
#include "errorrecord.h"
#include "numbers.h"
#include "processidquery.h"
#include "prompter.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>

Application::Application(AutomationTarget &target)
    : m_target(target)
{ }

Application::~Application() = default;

void Application::setAllowUI(bool allow)
{
    Q_UNUSED(allow);
}

qint32 Application::ProcID()
{
    if (!m_processIdQuery)
        m_processIdQuery = std::make_unique<ProcessIdQuery>();
    return m_processIdQuery->ProcessIdOfWindows();
}

QString Application::MemoryName() const
{
    return m_target.memoryName();
}

void Application::setMemoryName(const QString &name)
{
    m_target.setMemoryName(name);
}

qint16 Application::PassLength() const
{
    return Numbers::toInteger(Numbers::read(m_target.passLengthText()));
}

void Application::setPassLength(qint16 length)
{
    // -32768 has no positive Integer: it fails before the box is touched.
    const qint16 absolute = Numbers::narrowToInteger(length < 0 ? -qint64(length) : qint64(length));
    m_target.setPassLengthText(QString::number(absolute));
}

qint16 Application::Seed()
{
    qint16 seed = 0;
    runTrapped([&] { seed = readSeed(); },
               [&](const ErrorRecord &error) {
                   const QString cr = QStringLiteral("\r");
                   const QString text = QStringLiteral("Script error: Seed (") + error.source +
                       QStringLiteral(")") + cr + QStringLiteral("Error Code: ") +
                       QString::number(error.number) + cr + error.description;
                   m_target.prompter().showMessage(
                       applicationMessage(text, MessageButtons::Ok, MessageIcon::Exclamation));
                   seed = 0;
               },
               AutomationError::defaultSource());
    return seed;
}

qint16 Application::readSeed()
{
    if (advancedControl<QRadioButton>("optSeed_0")->isChecked())
        return -1;
    return Numbers::toInteger(Numbers::read(advancedControl<QLineEdit>("txtSeed")->text()));
}

void Application::setSeed(qint16 seed)
{
    // Choosing the other option runs the window's own handler, exactly as a click does.
    auto *option = advancedControl<QRadioButton>(seed < 0 ? "optSeed_0" : "optSeed_1");
    if (!option->isChecked())
        option->click();
    if (seed >= 0)
        advancedControl<QLineEdit>("txtSeed")->setText(QString::number(seed));
}

bool Application::NonPrintableChars()
{
    return readCheckBox("chkNonPrintChars");
}

void Application::setNonPrintableChars(bool allow)
{
    writeCheckBox("chkNonPrintChars", allow);
}

bool Application::SymbolChars()
{
    return readCheckBox("chkSymbolChars");
}

void Application::setSymbolChars(bool allow)
{
    writeCheckBox("chkSymbolChars", allow);
}

bool Application::Visible() const
{
    return m_target.isWindowVisible();
}

void Application::setVisible(bool visible)
{
    m_target.setWindowVisible(visible);
}

QString Application::Generate()
{
    return m_target.Generate();
}

QString Application::Copy()
{
    return m_target.Copy();
}

bool Application::Save(QString &fileName, QString &description)
{
    // A relative name would be taken from this program's working folder, which the bus may
    // have chosen ("/"), never from the caller's.
    if (!fileName.isEmpty() && QDir::isRelativePath(fileName))
        raiseError(ErrorNumber::BadFileName, {},
                   QStringLiteral("The file name \"%1\" is relative: give an absolute path, because this "
                                  "program does not share the caller's working folder.")
                       .arg(fileName));
    return m_target.Save(fileName, description);
}

bool Application::Terminate()
{
    return m_target.Terminate();
}

void Application::Show()
{
    m_target.showWindow();
}

QWidget *Application::advancedWindow()
{
    return m_target.advancedDialog().dialog();
}

template<typename T>
T *Application::advancedControl(const char *name)
{
    T *control = advancedWindow()->findChild<T *>(QLatin1String(name));
    if (!control)
        raiseError(ErrorNumber::InternalError, QStringLiteral("Application"),
                   QStringLiteral("The Advanced Options window has no %1").arg(QLatin1String(name)));
    return control;
}

bool Application::readCheckBox(const char *name)
{
    return advancedControl<QCheckBox>(name)->checkState() != Qt::Unchecked;
}

void Application::writeCheckBox(const char *name, bool checked)
{
    advancedControl<QCheckBox>(name)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}
