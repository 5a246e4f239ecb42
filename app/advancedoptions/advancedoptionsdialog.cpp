#include "advancedoptionsdialog.h"

#include "advancedoptions.h"
#include "generationsettings.h"
#include "helplauncher.h"
#include "profilechoice.h"
#include "spinbuttons.h"
#include "strengthlabel.h"
#include "symbolbutton.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>

namespace {

constexpr int SymbolsPerRow = 8;

Qt::CheckState checkState(int value)
{
    // The stored values: 0 clear, 1 checked, 2 greyed.
    return value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked;
}

int checkValue(int state)
{
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

// A number box with its arrows right against it.
QHBoxLayout *numberField(QLineEdit *box, SpinButtons *spin)
{
    auto *row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(box);
    row->addWidget(spin);
    return row;
}

SpinButtons *spinFor(QLineEdit *box, const QString &name, QWidget *parent)
{
    auto *spin = new SpinButtons(parent);
    spin->setObjectName(name);
    spin->setBuddy(box);
    return spin;
}

} // namespace

AdvancedOptionsDialog::AdvancedOptionsDialog(AdvancedOptions &options, HelpLauncher *help, QWidget *parent)
    : QDialog(parent)
    , m_options(options)
    , m_settings(options.settings())
    , m_help(help)
{
    setObjectName(QStringLiteral("frmAdvanced"));
    setWindowTitle(QStringLiteral("Advanced Options"));
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));

    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("ssTab"));
    tabs->addTab(createGeneralPage(), QStringLiteral("General"));
    tabs->addTab(createSymbolsPage(), QStringLiteral("Symbols"));
    tabs->addTab(createCombinationPage(), QStringLiteral("Combination"));

    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    // OK answers Enter, except on another button with the focus: every button here stays
    // auto-default, so Enter acts on the focused one, as on any desktop dialog.
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *helpButton = new QPushButton(QStringLiteral("&Help"), this);
    helpButton->setObjectName(QStringLiteral("cmdHelp"));
    connect(ok, &QPushButton::clicked, this, &AdvancedOptionsDialog::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(helpButton, &QPushButton::clicked, this, [this] {
        if (m_help)
            m_help->ShowHelpTopic(helpTopic());
    });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(helpButton);

    auto *layout = new QVBoxLayout(this);
    // Made after the pages, so the focus starts on them and Enter is OK's, not a profile
    // button's.
    layout->addLayout(createProfileRow());
    layout->addWidget(tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

AdvancedOptionsDialog::~AdvancedOptionsDialog() = default;

void AdvancedOptionsDialog::detach()
{
    disconnect(&m_settings, nullptr, this, nullptr);
    disconnect(&m_options, nullptr, this, nullptr);
}

QLayout *AdvancedOptionsDialog::createProfileRow()
{
    m_profiles = new ProfileChoice(m_options, m_options.prompter(), this);
    auto *label = new QLabel(QStringLiteral("&Profile:"), this);
    label->setObjectName(QStringLiteral("lblProfile"));
    m_cboProfile = new QComboBox(this);
    m_cboProfile->setObjectName(QStringLiteral("cboProfile"));
    m_cboProfile->setToolTip(QStringLiteral("Fills the window with the settings saved under a name"));
    m_cboProfile->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cboProfile->setMinimumContentsLength(14);
    m_cboProfile->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    label->setBuddy(m_cboProfile);
    m_cboProfile->view()->setAccessibleName(QStringLiteral("Profiles"));
    auto *save = new QPushButton(QStringLiteral("Sa&ve As..."), this);
    save->setObjectName(QStringLiteral("cmdSaveProfile"));
    save->setToolTip(QStringLiteral("Save the settings of this window under a name"));
    m_cmdRenameProfile = new QPushButton(QStringLiteral("&Rename..."), this);
    m_cmdRenameProfile->setObjectName(QStringLiteral("cmdRenameProfile"));
    m_cmdDeleteProfile = new QPushButton(QStringLiteral("&Delete"), this);
    m_cmdDeleteProfile->setObjectName(QStringLiteral("cmdDeleteProfile"));

    // Choosing the profile shown again fills the window again, as after edits.
    connect(m_cboProfile, &QComboBox::activated, this,
            [this](int index) { m_profiles->choose(m_cboProfile->itemData(index).toString()); });
    connect(save, &QPushButton::clicked, m_profiles, &ProfileChoice::saveAsNew);
    connect(m_cmdRenameProfile, &QPushButton::clicked, m_profiles, &ProfileChoice::renameCurrent);
    connect(m_cmdDeleteProfile, &QPushButton::clicked, m_profiles, &ProfileChoice::deleteCurrent);
    connect(m_profiles, &ProfileChoice::changed, this, &AdvancedOptionsDialog::showProfiles);
    showProfiles();

    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(m_cboProfile, 1);
    row->addWidget(save);
    row->addWidget(m_cmdRenameProfile);
    row->addWidget(m_cmdDeleteProfile);
    return row;
}

void AdvancedOptionsDialog::showProfiles()
{
    const QSignalBlocker quiet(m_cboProfile);
    m_cboProfile->clear();
    for (const ProfileStore::Entry &entry : m_profiles->entries()) {
        if (entry.profile) {
            m_cboProfile->addItem(entry.name, entry.name);
        } else {
            m_cboProfile->addItem(style()->standardIcon(QStyle::SP_MessageBoxWarning), entry.name,
                                  entry.name);
            m_cboProfile->setItemData(m_cboProfile->count() - 1, entry.problem, Qt::ToolTipRole);
        }
    }
    m_cboProfile->setPlaceholderText(m_cboProfile->count() > 0 ? QStringLiteral("Choose a profile")
                                                               : QStringLiteral("No profile saved yet"));
    m_cboProfile->setCurrentIndex(m_cboProfile->findData(m_profiles->current()));
    m_cboProfile->setEnabled(m_cboProfile->count() > 0);
    m_cmdRenameProfile->setEnabled(!m_profiles->current().isEmpty());
    m_cmdDeleteProfile->setEnabled(!m_profiles->current().isEmpty());
}

QWidget *AdvancedOptionsDialog::createGeneralPage()
{
    auto *page = new QWidget;
    auto *frame = new QGroupBox(QStringLiteral("Seed"), page);
    frame->setObjectName(QStringLiteral("fraSeed"));

    m_optSeed[0] = new QRadioButton(QStringLiteral("&Use current system time (recommended)"), frame);
    m_optSeed[1] = new QRadioButton(QStringLiteral("Let &me specify"), frame);
    m_optSeed[0]->setObjectName(QStringLiteral("optSeed_0"));
    m_optSeed[1]->setObjectName(QStringLiteral("optSeed_1"));
    m_txtSeed = createTextBox(QStringLiteral("txtSeed"), &GenerationSettings::UserSeed,
                              &GenerationSettings::setUserSeed, &GenerationSettings::userSeedChanged);
    m_txtSeed->setParent(frame);
    m_txtSeed->setAccessibleName(QStringLiteral("Seed"));
    m_txtSeed->setMaximumWidth(m_txtSeed->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);

    connect(m_optSeed[0], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_settings.setUseDefault(true);
    });
    connect(m_optSeed[1], &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_settings.setUseDefault(false);
    });
    // A click on the option that is already chosen still puts the cursor in the box.
    connect(m_optSeed[1], &QRadioButton::clicked, m_txtSeed, [this] { m_txtSeed->setFocus(); });
    connect(&m_settings, &GenerationSettings::useDefaultChanged, this, [this](bool useDefault) {
        showUseDefault(useDefault);
        if (!useDefault)
            m_txtSeed->setFocus();
    });
    showUseDefault(m_settings.UseDefault());

    auto *grid = new QGridLayout(frame);
    grid->addWidget(m_optSeed[0], 0, 0, 1, 3);
    grid->addWidget(m_optSeed[1], 1, 0);
    grid->addWidget(m_txtSeed, 1, 1);
    grid->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(frame);
    layout->addWidget(createClipboardFrame(page));
    layout->addStretch();
    return page;
}

QWidget *AdvancedOptionsDialog::createClipboardFrame(QWidget *page)
{
    auto *frame = new QGroupBox(QStringLiteral("Clipboard"), page);
    frame->setObjectName(QStringLiteral("fraClipboard"));
    m_chkClearClipboard = new QCheckBox(QStringLiteral("&Clear the clipboard after"), frame);
    m_chkClearClipboard->setObjectName(QStringLiteral("chkClearClipboard"));
    m_udClearSeconds = new QSpinBox(frame);
    m_udClearSeconds->setObjectName(QStringLiteral("udClearSeconds"));
    m_udClearSeconds->setRange(GenerationSettings::ClipboardClearMinimum,
                               GenerationSettings::ClipboardClearMaximum);
    m_udClearSeconds->setValue(30); // what the box offers when the clear is switched on
    m_udClearSeconds->setAlignment(Qt::AlignRight);
    m_udClearSeconds->setAccessibleName(QStringLiteral("Seconds before the clipboard is cleared"));
    auto *unit = new QLabel(QStringLiteral("seconds"), frame);
    unit->setObjectName(QStringLiteral("lblClearSeconds"));
    auto *note = new QLabel(QStringLiteral("Only the passwords copied here are cleared: whatever you copy "
                                           "after them stays on the clipboard."),
                            frame);
    note->setObjectName(QStringLiteral("lblClipboardNote"));
    note->setWordWrap(true);

    connect(m_chkClearClipboard, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.setClipboardClearSeconds(on ? m_udClearSeconds->value() : 0); });
    connect(m_udClearSeconds, &QSpinBox::valueChanged, this, [this](int seconds) {
        if (m_chkClearClipboard->isChecked())
            m_settings.setClipboardClearSeconds(seconds);
    });
    connect(&m_settings, &GenerationSettings::clipboardClearSecondsChanged, this,
            &AdvancedOptionsDialog::showClipboardClear);
    showClipboardClear(m_settings.ClipboardClearSeconds());

    auto *grid = new QGridLayout(frame);
    grid->addWidget(m_chkClearClipboard, 0, 0);
    grid->addWidget(m_udClearSeconds, 0, 1);
    grid->addWidget(unit, 0, 2);
    grid->addWidget(note, 1, 0, 1, 4);
    grid->setColumnStretch(3, 1);
    return frame;
}

QWidget *AdvancedOptionsDialog::createSymbolsPage()
{
    auto *page = new QWidget;
    auto *instruction =
        new QLabel(QStringLiteral("Click the buttons below to select or unselect a symbol."), page);
    instruction->setObjectName(QStringLiteral("Label1"));

    auto *grid = new QGridLayout;
    grid->setSpacing(4);
    const auto &table = GenerationSettings::SymbolTable();
    for (int i = 0; i < GenerationSettings::SymbolCount; ++i) {
        auto *button = new SymbolButton(table[std::size_t(i)].caption, page);
        button->setObjectName(QStringLiteral("cmdSymbol_%1").arg(i));
        connect(button, &SymbolButton::clicked, this,
                [this, i] { m_settings.setSymbolSelected(i, !m_settings.SymbolSelected(i)); });
        grid->addWidget(button, i / SymbolsPerRow, i % SymbolsPerRow);
        m_symbols[std::size_t(i)] = button;
        showSymbol(i, m_settings.SymbolSelected(i));
    }
    connect(&m_settings, &GenerationSettings::symbolSelectedChanged, this,
            &AdvancedOptionsDialog::showSymbol);
    auto *centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(grid);
    centred->addStretch();

    auto *nonPrintable = new QCheckBox(QStringLiteral("Allow &non-printable characters"), page);
    nonPrintable->setObjectName(QStringLiteral("chkNonPrintChars"));
    bindCheckBox(nonPrintable, &GenerationSettings::NonPrintableChars,
                 &GenerationSettings::setNonPrintableChars, &GenerationSettings::nonPrintableCharsChanged);
    auto *extended = new QCheckBox(QStringLiteral("Allow extended &symbol characters"), page);
    extended->setObjectName(QStringLiteral("chkSymbolChars"));
    bindCheckBox(extended, &GenerationSettings::ExtendedSymbolChars,
                 &GenerationSettings::setExtendedSymbolChars,
                 &GenerationSettings::extendedSymbolCharsChanged);

    m_cmdSelSymbols = new QPushButton(m_options.selectSymbolsCaption(), page);
    m_cmdSelSymbols->setObjectName(QStringLiteral("cmdSelSymbols"));
    m_cmdSelSymbols->setToolTip(m_options.selectSymbolsToolTip());
    connect(m_cmdSelSymbols, &QPushButton::clicked, &m_options, &AdvancedOptions::clickSelectSymbols);
    connect(&m_options, &AdvancedOptions::selectSymbolsCaptionChanged, this, [this](const QString &caption) {
        m_cmdSelSymbols->setText(caption);
        m_cmdSelSymbols->setToolTip(m_options.selectSymbolsToolTip());
    });

    auto *lookAlikes = new QCheckBox(QStringLiteral("Leave out look-&alike characters"), page);
    lookAlikes->setObjectName(QStringLiteral("chkLeaveOutLookAlikes"));
    lookAlikes->setToolTip(
        QStringLiteral("Leaves 0 O o 1 l I i | 5 S 2 Z 8 B ' ` \" and the extended characters "
                       "that look like them out of the letters, digits and symbols"));
    lookAlikes->setChecked(m_settings.LeaveOutLookAlikes());
    connect(lookAlikes, &QCheckBox::toggled, this, [this](bool on) { m_settings.setLeaveOutLookAlikes(on); });
    connect(&m_settings, &GenerationSettings::leaveOutLookAlikesChanged, this,
            [this, lookAlikes](bool leaveOut) {
                lookAlikes->setChecked(leaveOut);
                for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
                    showSymbol(i, m_settings.SymbolSelected(i));
            });

    auto *checks = new QVBoxLayout;
    checks->addWidget(nonPrintable);
    checks->addWidget(extended);
    checks->addWidget(lookAlikes);
    auto *bottom = new QHBoxLayout;
    bottom->addLayout(checks);
    bottom->addStretch();
    bottom->addWidget(m_cmdSelSymbols, 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(instruction);
    layout->addLayout(centred);
    layout->addLayout(bottom);
    layout->addStretch();
    return page;
}

QWidget *AdvancedOptionsDialog::createCombinationPage()
{
    auto *page = new QWidget;
    auto *frame = new QGroupBox(QStringLiteral("Options"), page);
    frame->setObjectName(QStringLiteral("fraOptions"));
    auto *grid = new QGridLayout(frame);

    struct CountRow
    {
        const char *label;
        const char *box;
        const char *spin;
        QString (GenerationSettings::*read)() const;
        void (GenerationSettings::*write)(const QString &);
        void (GenerationSettings::*changed)(const QString &);
    };
    const CountRow rows[] = {
        { "Lowercase characters:", "txtNumLowercase", "udNumLowercase",
          &GenerationSettings::NumLowercaseChars, &GenerationSettings::setNumLowercaseChars,
          &GenerationSettings::numLowercaseCharsChanged },
        { "Uppercase characters:", "txtNumUppercase", "udNumUppercase",
          &GenerationSettings::NumUppercaseChars, &GenerationSettings::setNumUppercaseChars,
          &GenerationSettings::numUppercaseCharsChanged },
        { "Numbers:", "txtNumNumbers", "udNumNumbers", &GenerationSettings::NumNumbers,
          &GenerationSettings::setNumNumbers, &GenerationSettings::numNumbersChanged },
        { "Symbols:", "txtNumSymbols", "udNumSymbols", &GenerationSettings::NumSymbols,
          &GenerationSettings::setNumSymbols, &GenerationSettings::numSymbolsChanged },
    };
    int row = 0;
    for (const CountRow &count : rows) {
        QLineEdit *box = createTextBox(QLatin1String(count.box), count.read, count.write, count.changed);
        box->setParent(frame);
        const QString caption = QLatin1String(count.label);
        box->setAccessibleName(caption.chopped(1)); // as the label reads, without its colon
        auto *label = new QLabel(caption, frame);
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addLayout(numberField(box, spinFor(box, QLatin1String(count.spin), frame)), row, 1);
        ++row;
    }

    auto *line = new QFrame(frame);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    grid->addWidget(line, row++, 0, 1, 3);

    QLineEdit *length =
        createTextBox(QStringLiteral("txtPassLen"), &GenerationSettings::PasswordLength,
                      &GenerationSettings::setPasswordLength, &GenerationSettings::passwordLengthChanged);
    length->setParent(frame);
    length->setToolTip(QStringLiteral("Specify the password length in characters"));
    length->setAccessibleName(QStringLiteral("Password length"));
    SpinButtons *lengthSpin = spinFor(length, QStringLiteral("udPassLen"), frame);
    lengthSpin->setMaximum(10000);
    auto *lengthLabel = new QLabel(QStringLiteral("Password &length:"), frame);
    lengthLabel->setObjectName(QStringLiteral("lblPassLenLabels_0"));
    lengthLabel->setBuddy(length);
    auto *unit = new QLabel(QStringLiteral("characters"), frame);
    unit->setObjectName(QStringLiteral("lblPassLenLabels_1"));
    grid->addWidget(lengthLabel, row, 0);
    grid->addLayout(numberField(length, lengthSpin), row, 1);
    grid->addWidget(unit, row, 2);
    grid->addWidget(new StrengthLabel(m_settings, frame), row + 1, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(frame);
    layout->addStretch();
    return page;
}

QLineEdit *AdvancedOptionsDialog::createTextBox(const QString &name,
                                                QString (GenerationSettings::*read)() const,
                                                void (GenerationSettings::*write)(const QString &),
                                                void (GenerationSettings::*changed)(const QString &))
{
    auto *box = new QLineEdit((m_settings.*read)());
    box->setObjectName(name);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 10);
    // Every change of the text, typed or stepped, goes to the record; the record's changes,
    // made by the count rules, come back.
    connect(box, &QLineEdit::textChanged, this, std::bind_front(write, &m_settings));
    connect(&m_settings, changed, this, [box](const QString &text) {
        if (box->text() != text)
            box->setText(text);
    });
    return box;
}

void AdvancedOptionsDialog::bindCheckBox(QCheckBox *box, int (GenerationSettings::*read)() const,
                                         void (GenerationSettings::*write)(int),
                                         void (GenerationSettings::*changed)(int))
{
    const auto show = [box](int value) {
        box->setCheckState(checkState(value));
        box->setTristate(value == 2); // a greyed value stays greyed until clicked
    };
    show((m_settings.*read)());
    connect(box, &QCheckBox::stateChanged, this,
            [write = std::bind_front(write, &m_settings)](int state) { write(checkValue(state)); });
    connect(&m_settings, changed, this, show);
}

void AdvancedOptionsDialog::showUseDefault(bool useDefault)
{
    m_optSeed[0]->setChecked(useDefault);
    m_optSeed[1]->setChecked(!useDefault);
    m_txtSeed->setEnabled(!useDefault);
}

void AdvancedOptionsDialog::showSymbol(int index, bool selected)
{
    SymbolButton *button = m_symbols[std::size_t(index)];
    button->setSelected(selected);
    // A look-alike left out cannot appear whatever its button says, so it takes no clicks.
    const bool leftOut = m_settings.isSymbolLeftOut(index);
    button->setEnabled(!leftOut);
    button->setToolTip(leftOut ? QStringLiteral("Left out: it looks like another character")
                               : AdvancedOptions::symbolToolTip(selected));
}

void AdvancedOptionsDialog::showClipboardClear(int seconds)
{
    const QSignalBlocker quietBox(m_chkClearClipboard);
    const QSignalBlocker quietSeconds(m_udClearSeconds);
    if (seconds > 0)
        m_udClearSeconds->setValue(seconds);
    m_chkClearClipboard->setChecked(seconds > 0);
    m_udClearSeconds->setEnabled(seconds > 0);
}

void AdvancedOptionsDialog::cmdOK_Click()
{
    if (!m_options.VerifyInputAndSaveSettings())
        return; // the check has said why; the edits stay for the user to fix
    Q_EMIT lengthAccepted(m_settings.PasswordLength());
    accept();
}
