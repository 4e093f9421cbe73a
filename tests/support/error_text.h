#pragma once

// The German text of the CPUException that an action throws, or "" when it
// throws none; lets a table row compare the outcome with one EXPECT_EQ.

#include <string>

#include "messages/cpu_exception.h"

namespace sps {

template <typename Action> std::string errorText(Action&& action) {
    try {
        action();
    } catch (const CPUException& error) {
        return error.messageText();
    }
    return "";
}

} // namespace sps
