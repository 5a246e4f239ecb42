#include "profilechoice.h"

#include "advancedoptions.h"
#include "prompter.h"
#include "reporterror.h"

#include <algorithm>

namespace {

void exclaim(Prompter &prompter, const QString &text)
{
    prompter.showMessage(applicationMessage(text, MessageButtons::Ok, MessageIcon::Exclamation));
}

} // namespace

ProfileChoice::ProfileChoice(AdvancedOptions &options, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_prompter(prompter)
{
    reload();
}

void ProfileChoice::reload()
{
    // A store that cannot be read at all has been reported by the settings' own load.
    runTrapped([&] { m_entries = ProfileStore::readAll(); }, [&](const ErrorRecord &) { m_entries.clear(); });
    Q_EMIT changed();
}

bool ProfileChoice::choose(const QString &name)
{
    for (const ProfileStore::Entry &entry : std::as_const(m_entries)) {
        if (entry.name != name)
            continue;
        if (!entry.profile) {
            exclaim(m_prompter,
                    QStringLiteral("The profile \"%1\" cannot be used. %2\r\nDelete it, or save the "
                                   "settings under its name again.")
                        .arg(name, entry.problem));
            setCurrent(name);
            return false;
        }
        entry.profile->applyTo(m_options.settings());
        setCurrent(name);
        return true;
    }
    return false;
}

bool ProfileChoice::saveAsNew()
{
    Profile profile;
    bool usable = true;
    runTrapped([&] { profile = Profile::of(m_options.settings()); },
               [&](const ErrorRecord &error) {
                   usable = false;
                   exclaim(m_prompter,
                           QStringLiteral("The settings cannot be saved as a profile. ") + error.description);
               });
    if (!usable)
        return false;
    const std::optional<QString> name =
        askName(QStringLiteral("Save the settings of this window as the profile:"),
                QStringLiteral("Save Profile"), m_current, QString());
    return name &&
        storeChange(
               QStringLiteral("frmAdvanced.SaveProfile()"), [&] { ProfileStore::write(*name, profile); },
               *name);
}

bool ProfileChoice::renameCurrent()
{
    if (m_current.isEmpty())
        return false;
    const QString old = m_current;
    const std::optional<QString> name = askName(QStringLiteral("New name of the profile \"%1\":").arg(old),
                                                QStringLiteral("Rename Profile"), old, old);
    return name && *name != old &&
        storeChange(
               QStringLiteral("frmAdvanced.RenameProfile()"), [&] { ProfileStore::rename(old, *name); },
               *name);
}

bool ProfileChoice::deleteCurrent()
{
    if (m_current.isEmpty())
        return false;
    const MessageAnswer answer = m_prompter.showMessage(
        applicationMessage(QStringLiteral("Do you want to delete the profile \"%1\"?").arg(m_current),
                           MessageButtons::YesNo, MessageIcon::Question));
    if (answer != MessageAnswer::Yes)
        return false;
    const QString old = m_current;
    return storeChange(QStringLiteral("frmAdvanced.DeleteProfile()"), [&] { ProfileStore::remove(old); }, {});
}

std::optional<QString> ProfileChoice::askName(const QString &prompt, const QString &title,
                                              const QString &start, const QString &own)
{
    QString typed = start;
    for (;;) {
        const std::optional<QString> answer = m_prompter.askText({ prompt, title, typed });
        if (!answer)
            return std::nullopt;
        typed = *answer;
        if (const QString problem = ProfileStore::nameProblem(typed); !problem.isEmpty()) {
            exclaim(m_prompter, problem);
            continue;
        }
        const bool taken = typed != own &&
            std::any_of(m_entries.cbegin(), m_entries.cend(),
                        [&](const ProfileStore::Entry &e) { return e.name == typed; });
        if (!taken)
            return typed;
        const MessageAnswer replace = m_prompter.showMessage(applicationMessage(
            QStringLiteral("A profile named \"%1\" exists already.\r\nDo you want to replace it?").arg(typed),
            MessageButtons::YesNo, MessageIcon::Question));
        if (replace == MessageAnswer::Yes)
            return typed;
    }
}

bool ProfileChoice::storeChange(const QString &operation, const std::function<void()> &change,
                                const QString &current)
{
    const bool done =
        runTrapped(change, [&](const ErrorRecord &error) { ReportError(m_prompter, error, operation); });
    if (done)
        m_current = current;
    reload(); // what the store holds now, after a failure too
    return done;
}

void ProfileChoice::setCurrent(const QString &name)
{
    if (name == m_current)
        return;
    m_current = name;
    Q_EMIT changed();
}
