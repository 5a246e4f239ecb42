#pragma once

#include "prompter.h"

class ActivityGate;

// Passes every prompt on to another prompter while holding the activity gate busy, so nothing
// waiting for the program to be idle runs while the user is being asked something.
class GatedPrompter : public Prompter
{
public:
    GatedPrompter(Prompter &inner, ActivityGate &gate);

    MessageAnswer showMessage(const MessageRequest &request) override;
    std::optional<QString> askText(const InputRequest &request) override;

private:
    Prompter &m_inner;
    ActivityGate &m_gate;
};
