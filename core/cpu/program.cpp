#include "cpu/program.h"

#include "cpu/operation.h"

namespace sps {

Network::Network() = default;
Network::Network(Network&&) noexcept = default;
Network& Network::operator=(Network&&) noexcept = default;
Network::~Network() = default;

} // namespace sps
