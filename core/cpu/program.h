#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sps {

class Operation;

enum BlockKind : int {
    BLOCK_ORGANIZATION = 1,
    BLOCK_INTERRUPT = 2,
    BLOCK_SUBROUTINE = 3,
};

// One numbered network of a block: its instructions in file order.
struct Network {
    Network();
    Network(Network&&) noexcept;
    Network& operator=(Network&&) noexcept;
    ~Network();

    std::vector<std::unique_ptr<Operation>> ops;
    std::optional<std::string> lineComment; // after "//" on the network line
    std::optional<std::string> comment;     // comment lines below it, joined with LF
    int number = 0;
    int line = 0; // the line of its NETWORK keyword in the file it was read from
};

// One program block (organization, subroutine or interrupt block).
struct Block {
    BlockKind kind = BLOCK_ORGANIZATION;
    std::vector<Network> networks;
    std::optional<std::string> title;
    std::optional<std::string> comment;
    std::string name;
    std::string label;
};

// A loaded program: its blocks in file order. Once loaded it is never changed
// (held as std::shared_ptr<const Program>); its instructions keep only their
// own run state, the edge and counter-input memories.
using Program = std::vector<Block>;

} // namespace sps
