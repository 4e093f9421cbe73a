#include "loader/parser.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/operation.h"
#include "cpu/program.h"
#include "loader/token_stream.h"
#include "messages/cpu_exception.h"
#include "messages/message_catalog.h"
#include "ops/instruction_table.h"
#include "ops/program_rules.h"

namespace sps {

namespace {

// One pass over a program file with one token of look-ahead. Each grammar rule
// is one function; the list rules are loops so that long files need no deep
// call chains.
class ProgramReader final {
public:
    ProgramReader(CPU& cpu, Reader& reader) : cpu_(cpu), tokens_(reader) {}

    Program parseProgram();

private:
    Block parseBlock(BlockKind kind, TokenKind endKeyword);
    std::vector<Network> parseNetworks();
    std::vector<std::unique_ptr<Operation>> parseInstructions();
    std::optional<std::string> parseCommentLines();
    int parseNetworkNumber(const std::string& word);
    std::unique_ptr<Operation> parseInstruction();

    void advance() { token_ = tokens_.next(); }
    void expect(TokenKind kind, const char* detail) {
        if (token_ != kind) raiseParseError(detail);
    }
    // The text names the scanner's line, which after a line's last token is
    // already the next one; the error itself stands on `line`.
    [[noreturn]] void raiseParseError(const std::string& detail, int line = 0) const {
        throw CPUException(formatMessage("Parse-error(%d):%s", tokens_.line(), detail.c_str()),
                           line != 0 ? line : tokens_.line());
    }

    CPU& cpu_;
    TokenStream tokens_;
    TokenKind token_ = TOK_END;
    std::vector<std::unique_ptr<Operation>> pending_; // the instructions of the network being read
    ProgramRules rules_;
    std::size_t network_ = 0; // the index of the network being read in its block
    int networkLine_ = 0;     // the line of its NETWORK keyword
};

// program := block { block } END, where a block is an organization, subroutine or interrupt block
Program ProgramReader::parseProgram() {
    Program program;
    advance();
    for (;;) {
        switch (token_) {
        case TOK_ORGANIZATION_BLOCK:
            program.push_back(parseBlock(BLOCK_ORGANIZATION, TOK_END_ORGANIZATION_BLOCK));
            break;
        case TOK_SUBROUTINE_BLOCK: program.push_back(parseBlock(BLOCK_SUBROUTINE, TOK_END_SUBROUTINE_BLOCK)); break;
        case TOK_INTERRUPT_BLOCK: program.push_back(parseBlock(BLOCK_INTERRUPT, TOK_END_INTERRUPT_BLOCK)); break;
        case TOK_END:
            if (program.empty()) raiseParseError(MessageKey("ORGANIZATION_BLOCK expected").text());
            return program;
        default: raiseParseError(MessageKey("ORGANIZATION_BLOCK expected").text());
        }
        advance();
    }
}

// block := keyword WORD ":" WORD NEWLINE [TITLE NEWLINE] comments BEGIN NEWLINE networks end-keyword NEWLINE
Block ProgramReader::parseBlock(BlockKind kind, TokenKind endKeyword) {
    Block block;
    block.kind = kind;
    rules_.startBlock(kind);
    advance();
    expect(TOK_WORD, "Blockname expected");
    block.name = tokens_.text();
    advance();
    expect(TOK_COLON, ": expected");
    advance();
    expect(TOK_WORD, "Name after : expected");
    block.label = tokens_.text();
    advance();
    expect(TOK_NEWLINE, "Newline expected");
    advance();
    if (token_ == TOK_TITLE) {
        block.title = tokens_.text();
        advance();
        expect(TOK_NEWLINE, "Newline expected");
        advance();
    }
    block.comment = parseCommentLines();
    expect(TOK_BEGIN, "BEGIN expected");
    advance();
    expect(TOK_NEWLINE, "Newline expected");
    advance();
    block.networks = parseNetworks();
    rules_.endBlock();
    // Another block kind's end keyword is as wrong as any other token here.
    expect(endKeyword, "End-Block expected");
    advance();
    expect(TOK_NEWLINE, "Newline expected");
    return block;
}

// networks := { NETWORK WORD [COMMENT] NEWLINE comments instructions }
std::vector<Network> ProgramReader::parseNetworks() {
    std::vector<Network> networks;
    while (token_ == TOK_NETWORK) {
        Network network;
        network.line = tokens_.line();
        networkLine_ = network.line;
        advance();
        expect(TOK_WORD, "Network-ID expected");
        network.number = parseNetworkNumber(tokens_.text());
        advance();
        if (token_ == TOK_COMMENT) {
            network.lineComment = tokens_.text();
            advance();
        }
        expect(TOK_NEWLINE, "Newline expected");
        advance();
        network.comment = parseCommentLines();
        network_ = networks.size();
        network.ops = parseInstructions();
        networks.push_back(std::move(network));
    }
    return networks;
}

// instructions := { instruction }, where an instruction that stands alone admits no neighbour
std::vector<std::unique_ptr<Operation>> ProgramReader::parseInstructions() {
    // Collected in one list that every network reuses, then moved into a
    // list of their exact number: one allocation per network instead of one
    // each time the list grows.
    pending_.clear();
    while (token_ == TOK_WORD) pending_.push_back(parseInstruction());
    // With two or more instructions every one has a neighbour, so one that
    // must stand alone anywhere in the list is an error.
    if (pending_.size() > 1 && std::ranges::any_of(pending_, [](const auto& op) { return op->standsAlone(); }))
        throw CPUException(MessageKey("to many commands in the network").text(), networkLine_);
    rules_.endNetwork(pending_);
    return {std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.end())};
}

// comments := { COMMENT NEWLINE }, joined with one LF between the lines
std::optional<std::string> ProgramReader::parseCommentLines() {
    std::optional<std::string> comment;
    while (token_ == TOK_COMMENT) {
        if (comment) {
            comment->push_back('\n');
            comment->append(tokens_.text());
        } else {
            comment = tokens_.text();
        }
        advance();
        expect(TOK_NEWLINE, "Newline expected");
        advance();
    }
    return comment;
}

// number := digit { digit }
int ProgramReader::parseNetworkNumber(const std::string& word) {
    if (word.empty() || !std::ranges::all_of(word, [](char c) { return c >= '0' && c <= '9'; }))
        raiseParseError("Network-ID is no number");
    // Numbers beyond the int range wrap around modulo 2^32 instead of
    // overflowing; the number only names the network.
    std::uint32_t value = 0;
    for (char c : word) value = value * 10u + static_cast<std::uint32_t>(c - '0');
    return static_cast<int>(value);
}

// instruction := WORD [WORD] [","] [WORD] [","] [WORD] NEWLINE
std::unique_ptr<Operation> ProgramReader::parseInstruction() {
    const int line = tokens_.line();
    const std::string mnemonic = tokens_.text();
    advance();
    std::optional<std::string> operands[3];
    for (std::size_t slot = 0; slot < 3; ++slot) {
        if (slot > 0 && token_ == TOK_COMMA) advance();
        if (token_ == TOK_WORD) {
            operands[slot] = tokens_.text();
            advance();
        }
    }
    const auto text = [](const std::optional<std::string>& operand) { return operand ? operand->c_str() : nullptr; };
    std::unique_ptr<Operation> op;
    try {
        op = createOperation(cpu_, mnemonic.c_str(), text(operands[0]), text(operands[1]), text(operands[2]));
        op->checkOperands();
    } catch (const CPUException& error) {
        raiseParseError(error.messageText(), line);
    }
    try {
        rules_.check(*op, network_, pending_.size(), tokens_.line());
    } catch (const CPUException& error) {
        throw CPUException(error.messageText(), line);
    }
    if (token_ != TOK_NEWLINE) raiseParseError("Newline expected", line);
    advance();
    return op;
}

} // namespace

void Parser::parseProgram(CPU& cpu, Reader& reader) {
    Program program = ProgramReader(cpu, reader).parseProgram();
    cpu.program = std::make_shared<const Program>(std::move(program));
}

} // namespace sps
