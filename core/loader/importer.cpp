#include "loader/importer.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <vector>

#include "cpu/cpu.h"
#include "cpu/operand_parser.h"
#include "cpu/operation.h"
#include "cpu/parameter.h"
#include "cpu/source_words.h"
#include "loader/lexer.h"
#include "loader/reader.h"
#include "loader/symbol_table.h"
#include "loader/text_decoding.h"
#include "messages/cpu_exception.h"
#include "ops/instruction_table.h"
#include "ops/program_rules.h"

namespace sps {

namespace {

bool blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// Whether `line` begins with the word `keyword`: followed by its end, a
// blank, a colon, an equals sign or a comment.
bool startsWithWord(std::string_view line, std::string_view keyword) {
    if (!line.starts_with(keyword)) return false;
    if (line.size() == keyword.size()) return true;
    const char next = line[keyword.size()];
    return blank(next) || next == ':' || next == '=' || next == '/';
}

bool startsWithWordIgnoringCase(std::string_view line, std::string_view keyword) {
    if (line.size() < keyword.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        const char c = line[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != keyword[i]) return false;
    }
    return line.size() == keyword.size() || blank(line[keyword.size()]) || line[keyword.size()] == '/';
}

// The text before a "//" comment, and the comment after it.
std::pair<std::string_view, std::optional<std::string_view>> splitComment(std::string_view line) {
    const std::size_t at = line.find("//");
    if (at == std::string_view::npos) return {line, std::nullopt};
    return {trimmed(line.substr(0, at)), line.substr(at + 2)};
}

// A character that the simulator's own format takes in a name.
bool wordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("#&*+-.<=>_").find(c) != std::string_view::npos;
}

bool isWord(std::string_view text) { return !text.empty() && std::ranges::all_of(text, wordCharacter); }

// A name that CALL can give as its operand: a text operand in the
// simulator's own format.
bool callable(std::string_view name) {
    return isWord(name) && ((name[0] >= 'a' && name[0] <= 'z') || name.starts_with("SBR"));
}

// Whether an operand that does not parse is meant as a symbol: it has a
// lower-case letter, an underscore or a character beyond ASCII, no digit at
// all, or four capitals in front (operand letters are at most three).
bool symbolLike(std::string_view text) {
    if (text.empty()) return false;
    const auto first = static_cast<unsigned char>(text[0]);
    if (!(first >= 0x80 || first == '_' || (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')))
        return false;
    bool digit = false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 || c == '_' || (c >= 'a' && c <= 'z')) return true;
        digit = digit || (c >= '0' && c <= '9');
    }
    if (!digit) return true;
    std::size_t capitals = 0;
    while (capitals < text.size() && text[capitals] >= 'A' && text[capitals] <= 'Z') ++capitals;
    return capitals >= 4;
}

// Local memory of a subroutine: L0.0, LB0, LW2, LD4, or a local name #x.
bool localMemory(std::string_view text) {
    if (text.starts_with('#')) return true;
    if (!text.starts_with('L') || text.size() < 2) return false;
    std::size_t digitAt = 1;
    if (text[1] == 'B' || text[1] == 'W' || text[1] == 'D') digitAt = 2;
    return digitAt < text.size() && text[digitAt] >= '0' && text[digitAt] <= '9';
}

std::string_view unquoted(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

// One instruction line: its mnemonic and up to three operand texts.
struct InstructionText {
    std::string_view mnemonic;
    std::vector<std::string_view> operands;
};

InstructionText splitInstruction(std::string_view text) {
    InstructionText instruction;
    std::size_t end = 0;
    while (end < text.size() && !blank(text[end])) ++end;
    instruction.mnemonic = text.substr(0, end);
    std::string_view rest = trimmed(text.substr(end));
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        const std::string_view operand = trimmed(rest.substr(0, comma));
        if (!operand.empty()) instruction.operands.push_back(operand);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    return instruction;
}

class Importer final {
public:
    Importer(CPU& cpu, const SymbolTable* symbols, std::optional<MnemonicSet> shownAs)
        : cpu_(cpu), symbols_(symbols), shownAs_(shownAs), rules_("Import error in line %d: %s") {}

    ImportedProgram run(std::string_view utf8);

private:
    struct Subroutine {
        std::string callName;
    };
    // A word that shows the set of the file, and where it stands.
    struct SetWitness {
        MnemonicSet set;
        std::string word;
        int line;
    };

    void nameSubroutines(const std::vector<std::string_view>& lines);
    void handle(std::string_view text, int line);
    void startBlock(const BlockKeyword& keyword, std::string_view rest, int line);
    void endBlock(const BlockKeyword& keyword, int line);
    void startNetwork(std::string_view rest, int line);
    void endNetwork();
    void comment(std::string_view text);
    void instruction(std::string_view text, int line);
    std::string operandText(std::string_view written, bool subroutine, int line) const;
    void witness(std::optional<MnemonicSet> set, std::string_view word, int line);
    std::string latin1(std::string_view utf8) { return latin1Of(utf8, result_.replacedCharacters); }
    [[noreturn]] void failAt(int line, const CPUException& error) const;

    CPU& cpu_;
    const SymbolTable* symbols_;
    std::optional<MnemonicSet> shownAs_;
    ProgramRules rules_;
    ImportedProgram result_;

    std::unordered_map<std::string, std::string> callNames_; // a subroutine's name or label -> its call name
    std::vector<std::string> subroutineNames_;               // the call names in the order of the blocks
    std::size_t subroutinesStarted_ = 0;
    std::optional<SetWitness> set_;

    enum class Place { Outside, Header, Body, Network };
    Place place_ = Place::Outside;
    const BlockKeyword* keyword_ = nullptr;
    int blockLine_ = 0;
    Block block_;
    bool networkComment_ = false; // comment lines still belong to the network
    std::vector<int> lines_;      // the lines of the open network's instructions
};

ImportedProgram Importer::run(std::string_view utf8) {
    std::vector<std::string_view> lines;
    while (!utf8.empty()) {
        const std::size_t end = utf8.find_first_of("\r\n");
        lines.push_back(utf8.substr(0, end));
        if (end == std::string_view::npos) break;
        utf8.remove_prefix(end + (utf8.substr(end, 2) == "\r\n" ? 2 : 1));
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > static_cast<std::size_t>(MyyyLexer::MAX_LINE_LENGTH))
            throw CPUException(
                formatMessage("Line %d longer than %d characters", static_cast<int>(i + 1), MyyyLexer::MAX_LINE_LENGTH),
                static_cast<int>(i + 1));
    nameSubroutines(lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i + 1);
        try {
            handle(trimmed(lines[i]), line);
        } catch (const CPUException& error) {
            // Every error found while reading a line stands on that line,
            // unless it names another one itself.
            if (error.line() != 0) throw;
            throw CPUException(error.messageText(), line);
        }
    }
    if (place_ != Place::Outside)
        throw CPUException(formatMessage("Block from line %d has no end", blockLine_), blockLine_);
    if (std::ranges::none_of(result_.program, [](const Block& b) { return b.kind == BLOCK_ORGANIZATION; }))
        throwMessage("No organization block");
    result_.set = set_ ? set_->set : MnemonicSet::German;
    return std::move(result_);
}

// Every subroutine gets the name that CALL passes: its label when that is
// one CALL can give (SBR0, as the software numbers them), else its name,
// else SBR and its number among the subroutines; unique in any case.
void Importer::nameSubroutines(const std::vector<std::string_view>& lines) {
    const BlockKeyword& subroutine = BLOCK_KEYWORDS[1];
    std::vector<std::pair<std::string, std::string>> headers; // name, label as written
    for (const std::string_view raw : lines) {
        const std::string_view line = trimmed(raw);
        if (!startsWithWord(line, subroutine.start)) continue;
        const std::string_view rest = trimmed(splitComment(line.substr(subroutine.start.size())).first);
        const std::size_t colon = rest.find(':');
        const std::string_view name = trimmed(rest.substr(0, colon));
        const std::string_view label = colon == std::string_view::npos ? name : trimmed(rest.substr(colon + 1));
        headers.emplace_back(std::string(name), std::string(label));
    }
    std::vector<std::string> taken;
    for (std::size_t k = 0; k < headers.size(); ++k) {
        const auto& [name, label] = headers[k];
        std::string callName = callable(label) ? label : callable(name) ? name : "SBR" + std::to_string(k);
        while (std::ranges::find(taken, callName) != taken.end()) callName += "_" + std::to_string(k);
        taken.push_back(callName);
        callNames_.emplace(name, callName);
        callNames_.emplace(label, callName);
        subroutineNames_.push_back(callName);
    }
}

void Importer::handle(std::string_view text, int line) {
    if (text.empty()) return;
    if (text.starts_with("//")) return comment(text.substr(2));
    for (const BlockKeyword& keyword : BLOCK_KEYWORDS) {
        if (startsWithWord(text, keyword.start)) return startBlock(keyword, text.substr(keyword.start.size()), line);
        if (startsWithWord(text, keyword.end)) return endBlock(keyword, line);
    }
    for (const std::string_view keyword : PARAMETER_KEYWORDS)
        if (startsWithWord(text, keyword)) throw CPUException(formatMessage("Parameter table in line %d", line));
    if (place_ == Place::Outside) throw CPUException(formatMessage("Line %d outside a block", line));
    if (startsWithWord(text, "TITLE")) {
        const std::size_t equals = text.find('=');
        const std::string title = latin1(equals == std::string_view::npos ? "" : text.substr(equals + 1));
        if (place_ == Place::Network) {
            Network& network = block_.networks.back();
            if (!network.lineComment) network.lineComment = title;
        } else {
            block_.title = title;
        }
        return;
    }
    if (startsWithWord(text, "BEGIN")) {
        if (place_ == Place::Header) place_ = Place::Body;
        return;
    }
    if (startsWithWordIgnoringCase(text, "NETWORK")) return startNetwork(text.substr(7), line);
    instruction(text, line);
}

void Importer::startBlock(const BlockKeyword& keyword, std::string_view rest, int line) {
    if (place_ != Place::Outside) throw CPUException(formatMessage("Block from line %d has no end", blockLine_));
    rest = trimmed(splitComment(rest).first);
    const std::size_t colon = rest.find(':');
    const std::string_view name = trimmed(rest.substr(0, colon));
    const std::string_view label = colon == std::string_view::npos ? name : trimmed(rest.substr(colon + 1));
    if (name.empty() || label.empty()) throw CPUException(formatMessage("Block name missing in line %d", line));
    block_ = Block{};
    block_.kind = keyword.kind;
    block_.name = keyword.kind == BLOCK_SUBROUTINE ? subroutineNames_.at(subroutinesStarted_++) : latin1(name);
    block_.label = latin1(label);
    keyword_ = &keyword;
    blockLine_ = line;
    place_ = Place::Header;
    rules_.startBlock(keyword.kind);
}

void Importer::endBlock(const BlockKeyword& keyword, int line) {
    if (place_ == Place::Outside) throw CPUException(formatMessage("Line %d outside a block", line));
    if (&keyword != keyword_)
        throw CPUException(formatMessage("%s in line %d ends no block of line %d", std::string(keyword.end).c_str(),
                                         line, blockLine_));
    endNetwork();
    rules_.endBlock();
    result_.program.push_back(std::move(block_));
    place_ = Place::Outside;
}

void Importer::startNetwork(std::string_view rest, int line) {
    endNetwork();
    const auto [numberText, lineComment] = splitComment(rest);
    Network network;
    network.line = line;
    const std::string_view digits = trimmed(numberText);
    std::uint64_t number = 0;
    bool any = false;
    for (const char c : digits) {
        if (c < '0' || c > '9') break;
        number = std::min<std::uint64_t>(number * 10 + static_cast<unsigned>(c - '0'), 1u << 30);
        any = true;
    }
    network.number = any ? static_cast<int>(number) : static_cast<int>(block_.networks.size() + 1);
    if (lineComment) network.lineComment = latin1(*lineComment);
    block_.networks.push_back(std::move(network));
    place_ = Place::Network;
    networkComment_ = true;
    lines_.clear();
}

// A network is complete: an instruction that must stand alone does.
void Importer::endNetwork() {
    if (place_ != Place::Network) return;
    const auto& ops = block_.networks.back().ops;
    if (ops.size() < 2) return;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        if (ops[i]->standsAlone() || ops[i]->programRule() == ProgramRule::LoopEnd)
            throw CPUException(formatMessage("%s in line %d stands not alone", ops[i]->mnemonic(), lines_[i]),
                               lines_[i]);
    }
    rules_.endNetwork(ops);
}

void Importer::comment(std::string_view text) {
    std::optional<std::string>* target = nullptr;
    if (place_ == Place::Header || place_ == Place::Body) target = &block_.comment;
    if (place_ == Place::Network && networkComment_) target = &block_.networks.back().comment;
    if (target == nullptr) return; // before the first block, or between instructions
    const std::string line = latin1(text);
    if (*target)
        (*target)->append("\n" + line);
    else
        *target = line;
}

void Importer::witness(std::optional<MnemonicSet> set, std::string_view word, int line) {
    if (!set) return;
    if (!set_) {
        set_ = SetWitness{*set, latin1(word), line};
        return;
    }
    if (set_->set == *set) return;
    throw CPUException(formatMessage("Mixed mnemonic sets: %s in line %d, %s in line %d", latin1(word).c_str(), line,
                                     set_->word.c_str(), set_->line));
}

// The operand text to parse for what the file writes: the address of a
// symbol, of "symbol:address", and the call name of a subroutine.
std::string Importer::operandText(std::string_view written, bool subroutine, int line) const {
    const std::string_view text = unquoted(written);
    if (subroutine) {
        const auto found = callNames_.find(std::string(text));
        if (found == callNames_.end()) {
            std::size_t replaced = 0;
            throw CPUException(
                formatMessage("Subroutine %s called in line %d missing", latin1Of(text, replaced).c_str(), line));
        }
        return found->second;
    }
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) return std::string(trimmed(text.substr(colon + 1)));
    if (localMemory(text)) throw CPUException(formatMessage("Local memory in line %d", line));
    if (symbols_ != nullptr)
        if (const std::string* address = symbols_->addressOf(text)) return *address;
    return std::string(text);
}

void Importer::failAt(int line, const CPUException& error) const {
    throw CPUException(formatMessage("Import error in line %d: %s", line, error.messageText().c_str()));
}

void Importer::instruction(std::string_view text, int line) {
    if (place_ != Place::Network) startNetwork("", line);
    networkComment_ = false;
    const InstructionText written = splitInstruction(splitComment(text).first);
    const OperandSyntax both{.german = true, .international = true, .shownAs = std::nullopt};
    const FoundInstruction found = findInstruction(written.mnemonic, both);
    if (found.entry == nullptr)
        throw CPUException(formatMessage("Operation %s in line %d unknown", latin1(written.mnemonic).c_str(), line));
    witness(found.set, written.mnemonic, line);
    if (written.operands.size() > 3) throw CPUException(formatMessage("Too many operands in line %d", line));

    const bool call = std::string_view(found.entry->row->mnemonic) == "CALL";
    if (call && written.operands.size() > 1) throw CPUException(formatMessage("CALL with parameters in line %d", line));
    std::vector<std::string> operands;
    for (const std::string_view operand : written.operands) {
        operands.push_back(operandText(operand, call, line));
        if (!call) witness(operandLetters(operands.back()), operands.back(), line);
    }
    // The software writes SWAP with its one operand; the simulator's SWAP
    // has a second one that it never touches.
    if (std::string_view(found.entry->row->mnemonic) == "SWAP" && operands.size() == 1) operands.push_back(operands[0]);

    const auto operand = [&](std::size_t i) { return i < operands.size() ? operands[i].c_str() : nullptr; };
    const OperandSyntax syntax{.german = true, .international = true, .shownAs = shownAs_};
    std::unique_ptr<Operation> op;
    try {
        op = createOperation(cpu_, syntax, std::string(written.mnemonic).c_str(), operand(0), operand(1), operand(2));
        op->checkOperands();
    } catch (const CPUException& error) {
        for (std::size_t i = 0; i < operands.size() && !call; ++i) {
            bool parses = true;
            try {
                parses = parseOperand(cpu_, operands[i], both)->kind() != PK_TEXT;
            } catch (const CPUException&) {
                parses = false;
            }
            if (!parses && symbolLike(operands[i]))
                throw CPUException(formatMessage("Symbol %s in line %d undefined", latin1(operands[i]).c_str(), line));
        }
        failAt(line, error);
    }
    Network& network = block_.networks.back();
    rules_.check(*op, block_.networks.size() - 1, network.ops.size(), line);
    network.ops.push_back(std::move(op));
    lines_.push_back(line);
}

std::string readWholeFile(const std::string& path) {
    FRead reader(path);
    std::string bytes;
    std::array<char, 1 << 16> block{};
    for (int count = 0; (count = reader.read(block.data(), static_cast<int>(block.size()))) > 0;)
        bytes.append(block.data(), static_cast<std::size_t>(count));
    return bytes;
}

} // namespace

ImportedProgram importProgram(CPU& cpu, std::string_view bytes, const SymbolTable* symbols,
                              std::optional<MnemonicSet> shownAs) {
    const DecodedText text = decodeText(bytes);
    return Importer(cpu, symbols, shownAs).run(text.utf8);
}

std::string symbolTableBeside(const std::string& path) {
    std::filesystem::path beside(path);
    beside.replace_extension(".csv");
    std::error_code error;
    return std::filesystem::is_regular_file(beside, error) ? beside.string() : std::string();
}

ImportedProgram importFile(CPU& cpu, const std::string& path, const std::string& symbolsPath,
                           std::optional<MnemonicSet> shownAs) {
    const std::string bytes = readWholeFile(path);
    const std::string tablePath = symbolsPath.empty() ? symbolTableBeside(path) : symbolsPath;
    std::optional<SymbolTable> symbols;
    if (!tablePath.empty()) symbols = SymbolTable::parse(decodeText(readWholeFile(tablePath)).utf8);
    return importProgram(cpu, bytes, symbols ? &*symbols : nullptr, shownAs);
}

} // namespace sps
