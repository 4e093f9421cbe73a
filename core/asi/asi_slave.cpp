#include "asi/asi_slave.h"

#include "base/state_archive.h"

namespace sps {

int ASISlave::exchange(int) { return 0; }

int DigitalASI::exchange(int request) {
    int answer = 0;
    for (int d = 0; d < BITS; ++d) {
        outputs_[static_cast<std::size_t>(d)] = (request >> d) & 1;
        if (inputs_[static_cast<std::size_t>(d)] != 0) answer |= 1 << d;
    }
    return answer;
}

void DigitalASI::visitState(StateArchive& archive) {
    archive.value(inputs_);
    archive.value(outputs_);
}

} // namespace sps
