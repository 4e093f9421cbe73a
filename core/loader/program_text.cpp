#include "loader/program_text.h"

#include <string_view>

#include "base/writer.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "cpu/source_words.h"

namespace sps {

namespace {

bool wordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("#&*+-.<=>_").find(c) != std::string_view::npos;
}

std::string word(std::string_view name) {
    std::string text(name);
    for (char& c : text)
        if (!wordCharacter(c)) c = '_';
    return text.empty() ? std::string("_") : text;
}

// Each line of a comment as a "//" line.
void writeComment(std::string& out, const std::optional<std::string>& comment) {
    if (!comment) return;
    std::string_view rest = *comment;
    for (;;) {
        const std::size_t end = rest.find('\n');
        out += "//";
        out += rest.substr(0, end);
        out += '\n';
        if (end == std::string_view::npos) return;
        rest.remove_prefix(end + 1);
    }
}

std::string_view keyword(BlockKind kind) {
    for (const BlockKeyword& row : BLOCK_KEYWORDS)
        if (row.kind == kind) return row.start;
    return BLOCK_KEYWORDS.front().start;
}

void writeInstruction(std::string& out, const Operation& op) {
    StringWriter line;
    line.putString(op.mnemonic());
    bool first = true;
    for (const Parameter* operand : {op.operand1(), op.operand2(), op.operand3()}) {
        if (operand == nullptr) break;
        if (!first) line.putChar(',');
        operand->printName(line);
        first = false;
    }
    out += line.takeText();
    out += '\n';
}

} // namespace

std::string programText(const Program& program) {
    std::string out;
    for (const Block& block : program) {
        out += keyword(block.kind);
        out += ' ' + word(block.name) + ':' + word(block.label) + '\n';
        if (block.title) out += "TITLE=" + *block.title + '\n';
        writeComment(out, block.comment);
        out += "BEGIN\n";
        for (const Network& network : block.networks) {
            out += "NETWORK " + std::to_string(network.number);
            if (network.lineComment) out += " //" + *network.lineComment;
            out += '\n';
            writeComment(out, network.comment);
            for (const auto& op : network.ops) writeInstruction(out, *op);
        }
        out += "END_";
        out += keyword(block.kind);
        out += '\n';
    }
    return out;
}

} // namespace sps
