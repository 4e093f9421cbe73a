#include "shell/breakpoints.h"

#include <algorithm>

#include "messages/cpu_exception.h"

namespace sps {

int Breakpoints::add(Condition condition) {
    if (list_.size() >= MAX_BREAKPOINTS) throwMessage("Too many breakpoints");
    const int number = list_.empty() ? 1 : list_.back().number + 1;
    list_.push_back({number, std::move(condition)});
    return number;
}

bool Breakpoints::remove(int number) {
    const auto found =
        std::find_if(list_.begin(), list_.end(), [number](const Breakpoint& b) { return b.number == number; });
    if (found == list_.end()) return false;
    list_.erase(found);
    return true;
}

const Breakpoint* Breakpoints::check() {
    const Breakpoint* first = nullptr;
    for (Breakpoint& breakpoint : list_) {
        const bool holds = breakpoint.condition.evaluate();
        const bool becameTrue = holds && !breakpoint.held;
        breakpoint.held = holds;
        if (becameTrue && first == nullptr) first = &breakpoint;
    }
    return first;
}

} // namespace sps
