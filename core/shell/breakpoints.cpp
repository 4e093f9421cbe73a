#include "shell/breakpoints.h"

#include <algorithm>

#include "messages/cpu_exception.h"

namespace sps {

std::string NetworkBreakpoint::text() const { return block + " Netzwerk " + std::to_string(network); }

int Breakpoints::nextNumber() const {
    int highest = 0;
    for (const Breakpoint& b : list_) highest = std::max(highest, b.number);
    for (const NetworkBreakpoint& b : networks_) highest = std::max(highest, b.number);
    return highest + 1;
}

int Breakpoints::add(Condition condition) {
    if (list_.size() + networks_.size() >= MAX_BREAKPOINTS) throwMessage("Too many breakpoints");
    const int number = nextNumber();
    list_.push_back({number, std::move(condition)});
    return number;
}

int Breakpoints::addNetwork(const Program& program, const std::string& block, int network) {
    const auto exists = std::ranges::any_of(program, [&](const Block& b) {
        return b.label == block &&
               std::ranges::any_of(b.networks, [&](const Network& n) { return n.number == network; });
    });
    if (!exists) throw CPUException(formatMessage("Network %s %d missing", block.c_str(), network));
    if (list_.size() + networks_.size() >= MAX_BREAKPOINTS) throwMessage("Too many breakpoints");
    const int number = nextNumber();
    networks_.push_back({number, block, network});
    return number;
}

bool Breakpoints::remove(int number) {
    const auto found =
        std::find_if(list_.begin(), list_.end(), [number](const Breakpoint& b) { return b.number == number; });
    if (found != list_.end()) {
        list_.erase(found);
        return true;
    }
    const auto network = std::ranges::find(networks_, number, &NetworkBreakpoint::number);
    if (network == networks_.end()) return false;
    networks_.erase(network);
    return true;
}

const NetworkBreakpoint* Breakpoints::onNetwork(const Block& block, const Network& network) const {
    for (const NetworkBreakpoint& b : networks_)
        if (b.network == network.number && b.block == block.label) return &b;
    return nullptr;
}

void Breakpoints::rearm() {
    for (Breakpoint& breakpoint : list_) {
        try {
            const bool holds = breakpoint.condition.evaluate();
            breakpoint.held = holds && !breakpoint.condition.isEdge();
        } catch (const CPUException&) {
            breakpoint.held = false;
        }
    }
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
