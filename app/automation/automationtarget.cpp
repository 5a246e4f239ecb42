#include "automationtarget.h"

AutomationTarget::~AutomationTarget() = default;
