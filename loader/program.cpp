#include "loader/program.h"

#include "ops/operation.h"

Network::Network() = default;
Network::Network(Network&&) noexcept = default;
Network& Network::operator=(Network&&) noexcept = default;
Network::~Network() = default;
