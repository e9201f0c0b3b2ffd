// The view's commands that the layers above it carry out: copying and
// cutting tables (the select and table tools), the library tool's copy and
// save commands and the grading menu. The view keeps their actions and
// asks the handler whether a command is its, whether it is enabled, and
// to run it.
#pragma once

#include "platform/Types.h"

class CViewCommandHandler {
public:
    virtual ~CViewCommandHandler() = default;

    virtual bool Handles(UINT id) const = 0;
    virtual bool IsEnabled(UINT id) const = 0;
    virtual void Run(UINT id) = 0;
};
