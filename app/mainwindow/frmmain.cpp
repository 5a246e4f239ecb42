#include "frmmain.h"

#include "activitygate.h"
#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "applicationicon.h"
#include "applicationtitle.h"
#include "controlpacing_p.h"
#include "delayservice.h"
#include "errorrecord.h"
#include "filedialogservice.h"
#include "handoffchannel.h"
#include "helplauncher.h"
#include "numbers.h"
#include "passwordcomposer.h"
#include "passwordfile.h"
#include "passwordlist.h"
#include "prompter.h"
#include "propertybag.h"
#include "randomsource.h"
#include "reporterror.h"
#include "runpacing.h"
#include "spinbuttons.h"
#include "xglowlabel.h"
#include "xgradprogress.h"
#include "xshplabel.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <utility>

namespace {

const QString GenerateOperation = QStringLiteral("frmMain.Generate()");
const QString HelpTopic = QStringLiteral("main_dialog_box.htm");

// The picture buttons' icons: the desktop's own where its theme has them, ours otherwise.
QIcon themedIcon(const char *themeName, const char *bundled)
{
    return QIcon::fromTheme(QLatin1String(themeName),
                            QIcon(QStringLiteral(":/mainwindow/icons/%1.svg").arg(QLatin1String(bundled))));
}

// Makes a control of the library by its class identity and loads it from a property bag, the
// way a window's saved design places it.
template<typename T>
T *placeControl(QWidget *parent, const QString &name, const QVariantMap &properties)
{
    Lustrel::MemoryPropertyBag bag;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        bag.setValue(it.key(), it.value());
    Lustrel::Control *control = Lustrel::createControl(T::staticClassId(), parent);
    auto *typed = dynamic_cast<T *>(control);
    Q_ASSERT(typed);
    typed->ReadProperties(bag);
    typed->setObjectName(name);
    return typed;
}

QPushButton *pictureButton(QWidget *parent, const QString &name, const QString &toolTip, const QIcon &icon)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    button->setIcon(icon);
    button->setIconSize(QSize(20, 20));
    return button;
}

// The window reads as an application's frame to screen readers, not as a nameless part of one.
QAccessibleInterface *mainWindowInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String(frmMain::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

void installMainWindowInterface()
{
    QAccessible::installFactory(mainWindowInterface);
}
// In place before any window exists: a screen reader may ask for it while it is being made.
Q_CONSTRUCTOR_FUNCTION(installMainWindowInterface)

// A step's title as one line.
QString titleLine(const QString &tip)
{
    QString title = StepGuide::titleOf(tip);
    title.chop(title.endsWith(u'\r') ? 1 : 0);
    return title;
}

// Keeps a control from changing size when its font turns bold.
void reserveBoldWidth(QWidget *widget)
{
    QFont bold = widget->font();
    bold.setBold(true);
    const QFont old = widget->font();
    widget->setFont(bold);
    const int width = widget->sizeHint().width();
    widget->setFont(old);
    widget->setMinimumWidth(width);
}

} // namespace

frmMain::frmMain(ActivityGate &gate, const MainWindowServices &services, QWidget *parent)
    : QWidget(parent)
    , m_gate(gate)
    , m_options(services.options)
    , m_advancedDialog(services.advancedDialog)
    , m_prompter(services.prompter)
    , m_random(services.random)
    , m_delay(services.delay)
    , m_fileDialogs(services.fileDialogs)
    , m_help(services.help)
    , m_clock(services.clock)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(applicationTitle());
    setWindowIcon(applicationIcon());
    m_composer = new PasswordComposer(m_options.settings(), m_random, m_prompter, m_yield, this);
    createControls();
    createLayout();
    connectEvents();
    load();
}

frmMain::~frmMain() = default;

void frmMain::createControls()
{
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setBackgroundRole(QPalette::Base);
    Picture1->setAutoFillBackground(true);

    imgLogo = new QLabel(Picture1);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setAccessibleName(QStringLiteral("Logo"));

    QFont captionFont = font();
    captionFont.setBold(true);
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.6);
    XGlowLabel1 =
        placeControl<Lustrel::XGlowLabel>(Picture1, QStringLiteral("XGlowLabel1"),
                                          { { QStringLiteral("Caption"), QStringLiteral("Talvore") },
                                            { QStringLiteral("BackStyle"), 0 },
                                            { QStringLiteral("Appearance"), 0 },
                                            { QStringLiteral("Font"), captionFont },
                                            { QStringLiteral("Alignment"), 2 } });
    // Room around the caption for the outline its faint phases get.
    XGlowLabel1->setFixedSize(XGlowLabel1->sizeHint() + QSize(8, 4));

    Frame1 = new QWidget(Picture1);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label3 = new QLabel(QStringLiteral("STEP"), Frame1);
    Label3->setObjectName(QStringLiteral("Label3"));
    lblStepCount = new QLabel(QStringLiteral("1."), Frame1);
    lblStepCount->setObjectName(QStringLiteral("lblStepCount"));
    lblNumSteps = new QLabel(QStringLiteral("# steps"), Frame1);
    lblNumSteps->setObjectName(QStringLiteral("lblNumSteps"));
    QFont counterFont = font();
    counterFont.setBold(true);
    Label3->setFont(counterFont);
    lblStepCount->setFont(counterFont);
    lblStepCount->setMinimumWidth(QFontMetrics(counterFont).horizontalAdvance(QStringLiteral("5.")));

    Shape2 = new QWidget(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFixedHeight(3);
    Shape2->setBackgroundRole(QPalette::Highlight);
    Shape2->setAutoFillBackground(true);

    QFont markerFont = font();
    markerFont.setBold(true);
    for (int index = 0; index < StepGuide::StepCount; ++index) {
        slbSteps[std::size_t(index)] = placeControl<Lustrel::XShpLabel>(
            Picture1, QStringLiteral("slbSteps_%1").arg(index),
            { { QStringLiteral("Caption"), QString::number(index + 1) },
              { QStringLiteral("Enabled"), index == 0 },
              { QStringLiteral("Font"), markerFont },
              { QStringLiteral("DisabledFont"), markerFont },
              // Readable while disabled: a muted circle under text that keeps its contrast.
              { QStringLiteral("DisabledFillColor"), Lustrel::SystemColor::InactiveTitleBar },
              { QStringLiteral("DisabledForeColor"), Lustrel::SystemColor::InactiveTitleBarText },
              { QStringLiteral("DisabledBorderStyle"), 1 },
              { QStringLiteral("DisabledBorderColor"), Lustrel::SystemColor::ButtonShadow } });
        slbSteps[std::size_t(index)]->setFixedSize(30, 30);
    }

    lblTipsTitle = new QLabel(QStringLiteral("(Title)"), Picture1);
    lblTipsTitle->setObjectName(QStringLiteral("lblTipsTitle"));
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    lblTipsTitle->setFont(titleFont);
    lblTips = new QLabel(QStringLiteral("(Tips)"), Picture1);
    lblTips->setObjectName(QStringLiteral("lblTips"));
    lblTips->setWordWrap(true);
    lblTips->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTips->setMinimumHeight(2 * fontMetrics().lineSpacing());
    cmdPrevStep =
        pictureButton(Picture1, QStringLiteral("cmdPrevStep"), QStringLiteral("Display previous step"),
                      themedIcon("go-previous", "previous"));
    cmdPrevStep->setEnabled(false);
    cmdNextStep = pictureButton(Picture1, QStringLiteral("cmdNextStep"), QStringLiteral("Display next step"),
                                themedIcon("go-next", "next"));

    lblNumPasswords = new QLabel(QStringLiteral("Number of passwords:"), this);
    lblNumPasswords->setObjectName(QStringLiteral("lblNumPasswords"));
    txtNumPass = new QLineEdit(QStringLiteral("1"), this);
    txtNumPass->setObjectName(QStringLiteral("txtNumPass"));
    txtNumPass->setToolTip(QStringLiteral("Specify the number of passwords to generate"));
    txtNumPass->setAccessibleName(QStringLiteral("Number of passwords"));
    lblNumPasswords->setBuddy(txtNumPass);
    udNumPass = new SpinButtons(this);
    udNumPass->setObjectName(QStringLiteral("udNumPass"));

    lblPassLenLabels[0] = new QLabel(QStringLiteral("Password &length:"), this);
    lblPassLenLabels[1] = new QLabel(QStringLiteral("characters"), this);
    for (int index = 0; index < 2; ++index)
        lblPassLenLabels[std::size_t(index)]->setObjectName(QStringLiteral("lblPassLenLabels_%1").arg(index));
    txtPassLen = new QLineEdit(QStringLiteral("10"), this);
    txtPassLen->setObjectName(QStringLiteral("txtPassLen"));
    txtPassLen->setToolTip(QStringLiteral("Specify the password length in characters"));
    txtPassLen->setAccessibleName(QStringLiteral("Password length"));
    lblPassLenLabels[0]->setBuddy(txtPassLen);
    udPassLen = new SpinButtons(this);
    udPassLen->setObjectName(QStringLiteral("udPassLen"));
    for (QLineEdit *box : { txtNumPass, txtPassLen }) {
        box->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
        box->setAlignment(Qt::AlignRight);
    }

    cmdAdvanced = pictureButton(this, QStringLiteral("cmdAdvanced"), QStringLiteral("Advanced Options"),
                                themedIcon("configure", "advanced"));
    cmdGenerate = new QPushButton(QStringLiteral("&Generate"), this);
    cmdGenerate->setObjectName(QStringLiteral("cmdGenerate"));

    Frame2 = new QGroupBox(QStringLiteral("Password"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    lstPassword = new PasswordList(Frame2);
    lstPassword->setObjectName(QStringLiteral("lstPassword"));
    lstPassword->setToolTip(QStringLiteral("Click the Generate button to generate new passwords."));
    lstPassword->setAccessibleName(QStringLiteral("Generated passwords"));
    lstPassword->setAccessibleDescription(lstPassword->toolTip());
    QSizePolicy keepPlace = lstPassword->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lstPassword->setSizePolicy(keepPlace);
    barGenProgress = placeControl<Lustrel::XGradProgress>(Frame2, QStringLiteral("barGenProgress"),
                                                          { { QStringLiteral("Max"), 100 },
                                                            { QStringLiteral("BorderStyle"), 1 },
                                                            { QStringLiteral("Appearance"), 0 } });
    Lustrel::ControlPacing::setDelayService(*barGenProgress, &m_delay);
    barGenProgress->setAccessibleName(QStringLiteral("Generation progress"));
    barGenProgress->setFixedHeight(qMax(18, fontMetrics().height() + 6));
    barGenProgress->setVisible(false);
    chkAutoCopy = new QCheckBox(QStringLiteral("Automatically copy all passwords to clipboard"), Frame2);
    chkAutoCopy->setObjectName(QStringLiteral("chkAutoCopy"));
    chkAutoCopy->setChecked(true);

    cmdCopy = new QPushButton(QStringLiteral("&Copy"), this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setEnabled(false);
    cmdSave = pictureButton(this, QStringLiteral("cmdSave"), QStringLiteral("Save"),
                            themedIcon("document-save", "save"));
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdAbout = pictureButton(this, QStringLiteral("cmdAbout"), QStringLiteral("About"),
                             themedIcon("help-about", "about"));
    cmdHelp = new QPushButton(QStringLiteral("&Help"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));

    // Enter on a focused button presses that button.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(true);
    for (QWidget *widget :
         { static_cast<QWidget *>(lblNumPasswords), static_cast<QWidget *>(lblPassLenLabels[0]),
           static_cast<QWidget *>(lblPassLenLabels[1]), static_cast<QWidget *>(cmdGenerate),
           static_cast<QWidget *>(cmdCopy) })
        reserveBoldWidth(widget);
}

void frmMain::createLayout()
{
    // The banner: logo and maker on the left, the step counter on the right, then the guide.
    auto *brand = new QHBoxLayout;
    brand->setSpacing(4);
    brand->addWidget(imgLogo);
    brand->addWidget(XGlowLabel1, 0, Qt::AlignVCenter);
    brand->addStretch(1);
    auto *counter = new QHBoxLayout(Frame1);
    counter->setContentsMargins(0, 0, 0, 0);
    counter->setSpacing(4);
    counter->addWidget(Label3);
    counter->addWidget(lblStepCount);
    counter->addWidget(lblNumSteps);
    brand->addWidget(Frame1, 0, Qt::AlignVCenter);

    auto *markers = new QHBoxLayout;
    markers->setSpacing(8);
    for (Lustrel::XShpLabel *marker : slbSteps)
        markers->addWidget(marker);
    markers->addStretch(1);
    markers->addWidget(cmdPrevStep);
    markers->addWidget(cmdNextStep);

    auto *banner = new QVBoxLayout(Picture1);
    banner->setContentsMargins(14, 10, 14, 12);
    banner->setSpacing(8);
    banner->addLayout(brand);
    banner->addLayout(markers);
    banner->addWidget(lblTipsTitle);
    banner->addWidget(lblTips);

    // The two numbers of a batch, with Generate beside them.
    auto *numbers = new QGridLayout;
    numbers->setHorizontalSpacing(8);
    numbers->setVerticalSpacing(6);
    const auto boxWithArrows = [](QLineEdit *box, SpinButtons *arrows) {
        auto *row = new QHBoxLayout;
        row->setSpacing(0);
        row->addWidget(box);
        row->addWidget(arrows);
        return row;
    };
    numbers->addWidget(lblNumPasswords, 0, 0);
    numbers->addLayout(boxWithArrows(txtNumPass, udNumPass), 0, 1);
    numbers->addWidget(lblPassLenLabels[0], 1, 0);
    numbers->addLayout(boxWithArrows(txtPassLen, udPassLen), 1, 1);
    numbers->addWidget(lblPassLenLabels[1], 1, 2);
    numbers->addWidget(cmdAdvanced, 1, 3, Qt::AlignLeft);
    numbers->setColumnStretch(4, 1);
    cmdGenerate->setMinimumHeight(cmdGenerate->sizeHint().height() * 3 / 2);
    cmdGenerate->setMinimumWidth(cmdGenerate->minimumWidth() + 24);
    numbers->addWidget(cmdGenerate, 0, 5, 2, 1);

    // The list, with the bar over its middle while a run lasts.
    auto *listArea = new QGridLayout;
    listArea->addWidget(lstPassword, 0, 0);
    listArea->addWidget(barGenProgress, 0, 0, Qt::AlignVCenter);
    auto *passwords = new QVBoxLayout(Frame2);
    passwords->addLayout(listArea, 1);
    passwords->addWidget(chkAutoCopy);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSave);
    buttons->addStretch(1);
    buttons->addWidget(cmdAbout);
    buttons->addWidget(cmdHelp);
    buttons->addWidget(cmdClose);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(14, 12, 14, 12);
    body->setSpacing(10);
    body->addLayout(numbers);
    body->addWidget(Frame2, 1);
    body->addLayout(buttons);

    auto *window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addWidget(Picture1);
    window->addWidget(Shape2);
    window->addLayout(body, 1);

    // Picture buttons are square and as tall as the push buttons beside them.
    const int side = cmdClose->sizeHint().height();
    for (QPushButton *button : { cmdPrevStep, cmdNextStep, cmdAdvanced, cmdSave, cmdAbout })
        button->setFixedSize(side, side);

    const QList<QWidget *> tabOrder { txtNumPass,  txtPassLen,  cmdAdvanced, cmdGenerate, lstPassword,
                                      chkAutoCopy, cmdCopy,     cmdSave,     cmdAbout,    cmdHelp,
                                      cmdClose,    cmdPrevStep, cmdNextStep };
    for (qsizetype index = 1; index < tabOrder.size(); ++index)
        setTabOrder(tabOrder[index - 1], tabOrder[index]);
    resize(560, 520);
}

void frmMain::connectEvents()
{
    m_stepControls = { txtNumPass, txtPassLen, cmdGenerate, cmdCopy, cmdClose };
    for (QWidget *control : m_stepControls)
        control->installEventFilter(this);

    connect(cmdGenerate, &QPushButton::clicked, this, &frmMain::cmdGenerate_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
    connect(lstPassword, &PasswordList::copyRequested, this, [this] {
        if (cmdCopy->isEnabled()) // before the first run there is nothing to copy
            cmdCopy_Click();
    });
    connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdAdvanced, &QPushButton::clicked, this, &frmMain::cmdAdvanced_Click);
    connect(cmdAbout, &QPushButton::clicked, this, [this] {
        // The About box runs its own event loop; what waits for the program waits for it too.
        const ActivityGate::Busy aboutOpen(m_gate);
        Q_EMIT aboutRequested();
    });
    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(cmdNextStep, &QPushButton::clicked, this, [this] { moveStep(+1); });
    connect(cmdPrevStep, &QPushButton::clicked, this, [this] { moveStep(-1); });
    connect(&m_advancedDialog, &AdvancedDialogHost::lengthAccepted, this, &frmMain::setPassLengthText);
    connect(m_composer, &PasswordComposer::compositionFailed, this, [this] {
        m_compositionFailed = true;
        barGenProgress->setVisible(false);
        lstPassword->setVisible(true);
    });
}

void frmMain::load()
{
    UpdateListScrollWidth();
    m_advancedDialog.dialog();
    RefreshTips();
    for (qint16 step = 1; step <= StepGuide::StepCount; ++step)
        slbSteps[std::size_t(step - 1)]->setAccessibleDescription(titleLine(m_guide.tip(step)));
    lblNumSteps->setText(QStringLiteral("of ") + QString::number(StepGuide::StepCount));
    m_guide.reset();
    ShowStep(true);
    XGlowLabel1->setInterval(50);
    cmdGenerate->setDefault(true);
    imgLogo->setPixmap(windowIcon().pixmap(40, 40));
    udNumPass->setMinimum(1);
    udNumPass->setMaximum(10000);
    udNumPass->setBuddy(txtNumPass);
    udPassLen->setMinimum(1);
    udPassLen->setMaximum(10000);
    udPassLen->setBuddy(txtPassLen);
    txtPassLen->setText(m_options.settings().PasswordLength());
}

QString frmMain::passLengthText() const
{
    return txtPassLen->text();
}

void frmMain::setPassLengthText(const QString &text)
{
    txtPassLen->setText(text);
}

// ---- the step guide ----

void frmMain::RefreshTips()
{
    m_guide.RefreshTips(m_memoryName);
}

void frmMain::ShowStep(bool setFocus)
{
    const qint16 step = m_guide.CurrentStep();
    const bool known = step >= 1 && step <= StepGuide::StepCount;
    if (known) {
        const QString tip = m_guide.tip(step);
        lblTipsTitle->setText(titleLine(tip)); // the label breaks no line
        lblTips->setText(StepGuide::textOf(tip));
    }
    lblStepCount->setText(QString::number(step) + QStringLiteral("."));
    if (setFocus && known) {
        QWidget *control = m_stepControls[std::size_t(step - 1)];
        if (control->isVisible() && control->isEnabled())
            control->setFocus(Qt::OtherFocusReason);
    }
    // The focus move above may already have shown a step, so the highlight follows what is
    // current now and is taken from whichever step had it: only one step is ever lit.
    const qint16 now = m_guide.CurrentStep();
    if (m_highlighted != now) {
        HighlightStep(m_highlighted, false);
        HighlightStep(now, true);
        m_highlighted = now;
    }
    cmdNextStep->setEnabled(now != StepGuide::StepCount);
    cmdPrevStep->setEnabled(now != 1);
}

void frmMain::HighlightStep(qint16 step, bool on)
{
    if (step < 1 || step > StepGuide::StepCount)
        return;
    slbSteps[std::size_t(step - 1)]->setEnabled(on);
    switch (step) {
    case 1:
        setBold(lblNumPasswords, on);
        break;
    case 2:
        setBold(lblPassLenLabels[0], on);
        setBold(lblPassLenLabels[1], on);
        break;
    case 3:
        setBold(cmdGenerate, on);
        break;
    case 4:
        setBold(cmdCopy, on);
        break;
    default:
        break;
    }
}

void frmMain::setBold(QWidget *widget, bool bold)
{
    QFont changed = widget->font();
    changed.setBold(bold);
    widget->setFont(changed);
}

void frmMain::moveStep(int delta)
{
    const int step = m_guide.CurrentStep() + delta;
    if (step < 1 || step > StepGuide::StepCount)
        return; // the buttons are disabled at the ends; a stray click changes nothing
    m_guide.moveTo(qint16(step));
    ShowStep(true);
}

void frmMain::stepControlFocused(int step)
{
    m_guide.moveTo(qint16(step));
    ShowStep(true);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int index = 0; index < StepGuide::StepCount; ++index) {
            if (watched == m_stepControls[std::size_t(index)]) {
                stepControlFocused(index + 1);
                break;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        // The load could not move the focus while the window was hidden.
        ShowStep(true);
    }
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // Enter that no focused control took is the default button's, as in a dialog.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && cmdGenerate->isEnabled()) {
        event->accept();
        cmdGenerate->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// ---- the batch run ----

void frmMain::AddPassword(const QString &password)
{
    lstPassword->addEntry(password);
}

void frmMain::UpdateListScrollWidth()
{
    lstPassword->setHorizontalExtent(lstPassword->widestEntryWidth());
}

bool frmMain::runPhase(int phase, const std::function<void()> &body)
{
    return runTrapped(body, [this, phase](const ErrorRecord &error) {
        if (error.number != ErrorNumber::TypeMismatch) {
            ReportError(m_prompter, error, GenerateOperation);
            return;
        }
        QString text;
        switch (phase) {
        case 1:
            text =
                QStringLiteral("Please enter the length of the password you want to generate (specify in the "
                               "number of characters).");
            break;
        case 2:
            text = QStringLiteral("Please enter a seed (specify as integer).");
            break;
        default:
            text =
                QStringLiteral("Please enter the number of passwords you want to generate in the text box.");
            break;
        }
        m_prompter.showMessage(applicationMessage(text, MessageButtons::Ok, MessageIcon::Exclamation));
    });
}

void frmMain::restoreAfterRun()
{
    barGenProgress->setVisible(false);
    lstPassword->setVisible(true);
}

QString frmMain::Generate()
{
    if (m_running)
        return {}; // one run at a time; a click delivered during a pause lands here
    const ActivityGate::Busy busy(m_gate);
    m_running = true;
    m_stopRequested = false;
    m_compositionFailed = false;
    // The bar's steps and the run's own pauses share one pace, so neither the work between
    // them nor late timers stretch the run.
    RunPacing pacing(m_delay, m_clock);
    Lustrel::ControlPacing::setDelayService(*barGenProgress, &pacing);
    // A glow tick holds the thread for its own pause; one at every yield of the composer
    // stretched a run of 0.4 s to 15 s. The caption rests while the run lasts.
    const qint32 glowInterval = XGlowLabel1->Interval();
    XGlowLabel1->setInterval(0);
    const auto finished = qScopeGuard([this, &pacing, glowInterval] {
        XGlowLabel1->setInterval(glowInterval);
        Lustrel::ControlPacing::setDelayService(*barGenProgress, &m_delay);
        m_lastRunPacingMs = pacing.askedMs();
        m_running = false;
        if (m_closeAfterRun) {
            // The window was closed meanwhile: unload now that the run has let go.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (std::exchange(m_closeAfterRun, false)) // unless the button took it over
                        Terminate();
                },
                Qt::QueuedConnection);
        }
    });

    const bool lengthRead = runPhase(1, [this] {
        Numbers::toInteger(Numbers::roundDown(Numbers::read(txtPassLen->text())));
        lstPassword->setVisible(false);
        barGenProgress->setVisible(true);
        // Every run shows its own progress, from an empty bar; shown first, the bar has its
        // width when the value is put.
        barGenProgress->setValue(barGenProgress->Min());
    });
    if (!lengthRead) {
        restoreAfterRun();
        return {};
    }

    bool refused = false;
    const bool settingsReady = runPhase(2, [this, &refused] {
        const GenerationSettings &seedSettings = m_options.settings();
        if (!seedSettings.UseDefault())
            m_random.SetSeed(Numbers::toLong(Numbers::roundDown(Numbers::read(seedSettings.UserSeed()))));
        else
            m_random.SetSeed(0);
        lstPassword->setEnabled(true);
        lstPassword->clearEntries();
        if (m_options.settings().PasswordLength() != txtPassLen->text())
            m_options.settings().setPasswordLength(txtPassLen->text());
        if (!m_options.VerifyInputAndSaveSettings()) {
            refused = true;
            const ActivityGate::Busy dialogOpen(m_gate);
            m_advancedDialog.exec(this);
            return;
        }
        txtPassLen->setText(m_options.settings().PasswordLength());
    });
    if (!settingsReady || refused) {
        restoreAfterRun();
        return {};
    }

    bool stopped = false;
    const bool passwordsMade = runPhase(3, [this, &stopped, &pacing] {
        const qint16 count = Numbers::toInteger(Numbers::roundDown(Numbers::read(txtNumPass->text())));
        if (count == 0)
            raiseError(ErrorNumber::DivisionByZero);
        const qint32 pause = Numbers::toLong(500.0 / count);
        // The bar moves in whole units: asking it again for the unit it shows would only
        // repeat its pause, so it is asked when the rounded position moves.
        qint32 shown = barGenProgress->Value();
        for (int index = 1; index <= count; ++index) {
            const qint32 target = Numbers::toLong(double(index) * 100.0 / count);
            if (target != shown) {
                barGenProgress->IncreaseTo(target);
                shown = target;
            }
            // A settings window cancelled during a pause threw its edits away: read the
            // stored settings again rather than what was left behind.
            m_options.ensureLoaded();
            const QString password = m_composer->GenerateOnePassword(txtPassLen->text());
            if (m_compositionFailed || m_stopRequested) {
                // A failed composition would fail every further password the same way, one
                // message each; a closed window wants the run over.
                stopped = true;
                return;
            }
            AddPassword(password);
            if (pause > 0)
                pacing.Pause(pause);
            else
                m_yield();
            if (m_stopRequested) {
                stopped = true;
                return;
            }
        }
        cmdCopy->setEnabled(true);
        if (cmdCopy->isVisible())
            cmdCopy->setFocus(Qt::OtherFocusReason);
        pacing.Pause(200);
    });
    if (!passwordsMade || stopped) {
        restoreAfterRun();
        return {};
    }
    barGenProgress->setVisible(false);
    lstPassword->setVisible(true);
    m_passwordsUnsaved = true;
    return lstPassword->count() > 0 ? lstPassword->item(0)->text() : QString();
}

void frmMain::cmdGenerate_Click()
{
    if (m_running)
        return;
    Generate();
    // The window was closed during the run: ask now, and go on as after any run when the
    // answer keeps the window.
    if (std::exchange(m_closeAfterRun, false) && Terminate())
        return;
    lstPassword->selectAllEntries();
    UpdateListScrollWidth();
    if (chkAutoCopy->isChecked())
        showFailure(QStringLiteral("frmMain.Copy()"), [this] { Copy(); });
}

// ---- copy and save ----

QString frmMain::Copy()
{
    bool handOver = false;
    if (HandoffChannel::companionRunning()) {
        handOver = m_prompter.showMessage(applicationMessage(
                       QStringLiteral("Do you want to copy the generated password to Sealmoor?"),
                       MessageButtons::YesNo, MessageIcon::Question)) == MessageAnswer::Yes;
    }
    const QString first = lstPassword->count() > 0 ? lstPassword->item(0)->text() : QString();
    if (handOver) {
        HandoffChannel channel;
        channel.OpenByName(m_memoryName);
        channel.WriteText(first);
    }

    QString text;
    for (const QString &entry : lstPassword->selectedEntries())
        text += entry + QStringLiteral("\r\n");
    auto *data = new QMimeData;
    data->setText(text);
    // Clipboard managers keep passwords out of their history when told so.
    data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);

    if (cmdClose->isVisible())
        cmdClose->setFocus(Qt::OtherFocusReason);
    return first;
}

bool frmMain::Save(QString &fileName, QString &description)
{
    QString fileTitle;
    if (fileName.isEmpty()) {
        bool accepted = false;
        {
            const ActivityGate::Busy dialogOpen(m_gate);
            m_fileDialogs.ShowSaveDialog(
                fileName, fileTitle, true, QStringLiteral("Text files (*.txt):*.txt|All files (*.*):*.*"), 1,
                QString(), QStringLiteral("Save Password To"), QString(), this, 0, accepted);
        }
        if (!accepted)
            return false;
    }
    // A file that cannot be written is found out before the user types a description for it.
    PasswordFile::requireWritable(fileName);
    if (description.isEmpty()) {
        const std::optional<QString> typed =
            m_prompter.askText({ QStringLiteral("What description would you like to place in the text file?"),
                                 applicationTitle(),
                                 {} });
        description = typed.value_or(QString());
    }
    PasswordFile::write(fileName, PasswordFile::content(description, lstPassword->entries()));

    // The dialog's name for the file, or the name the caller gave.
    const QString shownName = fileTitle.isEmpty() ? fileName : fileTitle;
    m_prompter.showMessage(
        applicationMessage(QStringLiteral("Successfuly saved password to file \"") + shownName +
                               QStringLiteral("\"\r\nMake sure you keep the file on a disk in "
                                              "a safe place!"),
                           MessageButtons::Ok, MessageIcon::Information));
    m_passwordsUnsaved = false;
    return true;
}

void frmMain::cmdCopy_Click()
{
    showFailure(QStringLiteral("frmMain.Copy()"), [this] { Copy(); });
}

bool frmMain::cmdSave_Click()
{
    return showFailure(QStringLiteral("frmMain.Save()"), [this] {
        QString fileName;
        QString description;
        Save(fileName, description);
    });
}

bool frmMain::showFailure(const QString &operation, const std::function<void()> &body)
{
    return runTrapped(
        body, [this, &operation](const ErrorRecord &error) { ReportError(m_prompter, error, operation); });
}

// ---- the other buttons ----

void frmMain::cmdAdvanced_Click()
{
    GenerationSettings &settings = m_options.settings();
    if (settings.PasswordLength() != txtPassLen->text())
        settings.setPasswordLength(txtPassLen->text());
    const ActivityGate::Busy dialogOpen(m_gate);
    m_advancedDialog.exec(this);
}

void frmMain::cmdHelp_Click()
{
    if (m_help)
        m_help->ShowHelpTopic(HelpTopic);
}

// ---- showing and closing ----

void frmMain::showWindow()
{
    show();
    raise();
}

bool frmMain::mayUnload()
{
    if (!m_passwordsUnsaved)
        return true;
    const MessageAnswer answer = m_prompter.showMessage(applicationMessage(
        QStringLiteral("You have not save the generated password.\r\nDo you want to save it now?"),
        MessageButtons::YesNoCancel, MessageIcon::Question));
    if (answer == MessageAnswer::Cancel)
        return false;
    // A cancelled file dialog still closes; a failed save keeps the passwords it could not keep.
    if (answer == MessageAnswer::Yes)
        return cmdSave_Click();
    return true;
}

void frmMain::finishUnload()
{
    m_unloaded = true;
    m_advancedDialog.unload();
    Q_EMIT unloaded();
}

bool frmMain::Terminate()
{
    if (m_unloaded)
        return true;
    if (m_running) {
        m_stopRequested = true;
        m_closeAfterRun = true;
        return true;
    }
    if (m_unloading)
        return false; // already asking
    m_unloading = true;
    const bool allowed = mayUnload();
    m_unloading = false;
    if (!allowed)
        return false;
    hide();
    finishUnload();
    return true;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_unloaded) {
        event->accept();
        return;
    }
    event->ignore();
    Terminate();
}
