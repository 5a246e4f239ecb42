#include "aboutdialog.h"

#include "applicationicon.h"
#include "applicationtitle.h"
#include "prompter.h"
#include "systeminfotool.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int IconSize = 48;

QLabel *label(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// Addresses a reader may want to copy.
QLabel *addressLabel(const QString &name, const QString &text, QWidget *parent)
{
    QLabel *address = label(name, text, parent);
    address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return address;
}

QPushButton *button(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

AboutDialog::AboutDialog(Prompter &prompter, SystemInfoTool &systemInfo, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_prompter(prompter)
    , m_systemInfo(systemInfo)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + applicationTitle());

    QIcon icon = owner ? owner->windowIcon() : QIcon();
    if (icon.isNull())
        icon = applicationIcon();
    auto *picIcon = label(QStringLiteral("picIcon"), {}, this);
    picIcon->setPixmap(icon.pixmap(IconSize, IconSize));
    picIcon->setFixedSize(IconSize, IconSize);

    QLabel *lblTitle = label(QStringLiteral("lblTitle"), applicationTitle(), this);
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    lblTitle->setFont(titleFont);

    QLabel *label1 =
        label(QStringLiteral("Label1"), QStringLiteral("Copyright © 2026 Talvore Software"), this);
    QLabel *label2 = label(QStringLiteral("Label2"), QStringLiteral("All rights reserved."), this);

    auto *frame1 = new QFrame(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFrameShape(QFrame::StyledPanel);
    QLabel *lblMsg =
        label(QStringLiteral("lblMsg"),
              QStringLiteral("Mintara makes random passwords: up to 10,000 at a time, as long as "
                             "you need them, from exactly the characters you choose. Copy them, "
                             "hand one to Sealmoor, or save the list to a file only you can read."),
              frame1);
    lblMsg->setWordWrap(true);
    lblMsg->setFixedWidth(lblMsg->fontMetrics().averageCharWidth() * 48);
    auto *frameLayout = new QVBoxLayout(frame1);
    frameLayout->setContentsMargins(10, 8, 10, 8);
    frameLayout->addWidget(lblMsg);

    QLabel *label3 = label(QStringLiteral("Label3"), QStringLiteral("Contact points are:"), this);
    auto *contacts = new QGridLayout;
    contacts->setHorizontalSpacing(12);
    contacts->setVerticalSpacing(2);
    contacts->addWidget(label(QStringLiteral("Label4"), QStringLiteral("Web site:"), this), 0, 0);
    contacts->addWidget(
        addressLabel(QStringLiteral("Label5"), QStringLiteral("https://talvore.example.com"), this), 0, 1);
    contacts->addWidget(label(QStringLiteral("Label6"), QStringLiteral("E-mail:"), this), 1, 0);
    contacts->addWidget(
        addressLabel(QStringLiteral("Label7"), QStringLiteral("support@talvore.example.com"), this), 1, 1);
    contacts->setColumnStretch(1, 1);

    QPushButton *cmdOK = button(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    QPushButton *cmdWebsite = button(QStringLiteral("cmdWebsite"), QStringLiteral("&Web site"), this);
    QPushButton *cmdSysInfo = button(QStringLiteral("cmdSysInfo"), QStringLiteral("&System Info..."), this);
    cmdOK->setDefault(true);
    for (QPushButton *each : { cmdOK, cmdWebsite, cmdSysInfo })
        each->setMinimumWidth(each->fontMetrics().averageCharWidth() * 16);
    setTabOrder(cmdOK, cmdWebsite);
    setTabOrder(cmdWebsite, cmdSysInfo);

    // Esc rejects the box, which closes it just as OK does.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdWebsite, &QPushButton::clicked, this, [] { QDesktopServices::openUrl(productPage()); });
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::StartSysInfo);

    auto *iconColumn = new QVBoxLayout;
    iconColumn->addWidget(picIcon);
    iconColumn->addStretch();

    auto *textColumn = new QVBoxLayout;
    textColumn->setSpacing(2);
    textColumn->addWidget(lblTitle);
    textColumn->addSpacing(6);
    textColumn->addWidget(label1);
    textColumn->addWidget(label2);
    textColumn->addSpacing(12);
    textColumn->addWidget(frame1);
    textColumn->addSpacing(16);
    textColumn->addStretch();
    textColumn->addWidget(label3);
    textColumn->addSpacing(4);
    textColumn->addLayout(contacts);

    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(cmdOK);
    buttonColumn->addStretch();
    buttonColumn->addWidget(cmdWebsite);
    buttonColumn->addWidget(cmdSysInfo);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(16);
    layout->addLayout(iconColumn);
    layout->addLayout(textColumn, 1);
    layout->addLayout(buttonColumn);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cmdOK->setFocus();
}

AboutDialog::~AboutDialog() = default;

QUrl AboutDialog::productPage()
{
    return QUrl(QStringLiteral("https://talvore.example.com/mintara/"));
}

void AboutDialog::StartSysInfo()
{
    if (!m_systemInfo.start())
        m_prompter.showMessage(
            applicationMessage(QStringLiteral("System Information Is Unavailable At This Time"),
                               MessageButtons::Ok, MessageIcon::None));
}

void showAbout(QWidget *owner, Prompter &prompter, SystemInfoTool &systemInfo)
{
    // The owner may go while the box is up (the program ending); then it takes the box with it.
    QPointer<AboutDialog> box = new AboutDialog(prompter, systemInfo, owner);
    box->setWindowModality(Qt::WindowModal);
    box->exec();
    delete box.data();
}

void showAbout(QWidget *owner, Prompter &prompter)
{
    DesktopSystemInfoTool systemInfo;
    showAbout(owner, prompter, systemInfo);
}
