#include "gatedprompter.h"

#include "activitygate.h"

GatedPrompter::GatedPrompter(Prompter &inner, ActivityGate &gate)
    : m_inner(inner)
    , m_gate(gate)
{ }

MessageAnswer GatedPrompter::showMessage(const MessageRequest &request)
{
    const ActivityGate::Busy busy(m_gate);
    return m_inner.showMessage(request);
}

std::optional<QString> GatedPrompter::askText(const InputRequest &request)
{
    const ActivityGate::Busy busy(m_gate);
    return m_inner.askText(request);
}
