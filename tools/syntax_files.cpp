#include "tools/syntax_files.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "cpu/source_words.h"
#include "loader/source_highlight.h"

namespace sps {

namespace {

constexpr std::string_view MIME_TYPE = "text/x-sps-awl";

// The operand letters, longest first, so that an alternation tries "AEW"
// before "A".
std::vector<std::string_view> operandLetterList() {
    std::vector<std::string_view> letters;
    for (const OperandLetters& row : OPERAND_LETTERS) letters.push_back(row.letters);
    std::ranges::stable_sort(letters, [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    return letters;
}

std::string joined(const std::vector<std::string_view>& words, std::string_view between) {
    std::string text;
    for (const std::string_view word : words) {
        if (!text.empty()) text += between;
        text += word;
    }
    return text;
}

// A word as a regular expression of Perl's kind, every character literal.
std::string perlLiteral(std::string_view word) {
    std::string text;
    for (const char c : word) {
        if (std::string_view("\\^$.|?*+()[]{}/").find(c) != std::string_view::npos) text += '\\';
        text += c;
    }
    return text;
}

std::string xmlText(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

// An address with the operand letters: pointers and "&" before it, a width
// letter and a number after it, and a bit number.
std::string perlOperand() { return "\\*{0,9}&?(" + joined(operandLetterList(), "|") + ")[BWD]?[0-9]+(\\.[0-9]+)?"; }

// A number as the operand parser reads one ("16#FF", "-5", "1.5").
constexpr std::string_view PERL_CONSTANT = "[+-]?[0-9][0-9A-Za-z#.+-]*";
// Where a word of an instruction line begins and ends.
constexpr std::string_view PERL_WORD_START = "(?<![^\\s,])";
constexpr std::string_view PERL_WORD_END = "(?=[\\s,]|//|$)";

std::vector<std::string_view> blockWords() {
    std::vector<std::string_view> words;
    for (const BlockKeyword& row : BLOCK_KEYWORDS) {
        words.push_back(row.start);
        words.push_back(row.end);
    }
    words.push_back(STRUCTURE_KEYWORDS[0]); // BEGIN; NETWORK is taken in any case
    return words;
}

std::vector<std::string_view> mnemonicWords() {
    const std::span<const std::string_view> all = allMnemonics();
    return {all.begin(), all.end()};
}

} // namespace

void writeGtkSourceViewLanguage(std::ostream& out) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!-- Program files of the SPS-Simulator in statement list (AWL). Written by\n"
           "     sps_generate from the simulator's instruction table. -->\n"
           "<language id=\"awl\" name=\"AWL (SPS)\" version=\"2.0\" section=\"Source\">\n"
           "  <metadata>\n"
           "    <property name=\"mimetypes\">"
        << MIME_TYPE
        << "</property>\n"
           "    <property name=\"globs\">*.awl</property>\n"
           "    <property name=\"line-comment-start\">"
        << COMMENT_PREFIX
        << "</property>\n"
           "  </metadata>\n"
           "  <styles>\n"
           "    <style id=\"comment\" name=\"Comment\" map-to=\"def:comment\"/>\n"
           "    <style id=\"title\" name=\"Title\" map-to=\"def:doc-comment\"/>\n"
           "    <style id=\"keyword\" name=\"Block keyword\" map-to=\"def:keyword\"/>\n"
           "    <style id=\"mnemonic\" name=\"Instruction\" map-to=\"def:statement\"/>\n"
           "    <style id=\"operand\" name=\"Operand\" map-to=\"def:identifier\"/>\n"
           "    <style id=\"constant\" name=\"Constant\" map-to=\"def:number\"/>\n"
           "  </styles>\n"
           "  <definitions>\n"
           "    <context id=\"awl\">\n"
           "      <include>\n"
           "        <context id=\"comment\" style-ref=\"comment\" end-at-line-end=\"true\">\n"
           "          <start>"
        << perlLiteral(COMMENT_PREFIX)
        << "</start>\n"
           "        </context>\n"
           "        <context id=\"title\" style-ref=\"title\">\n"
           "          <match>^\\s*"
        << perlLiteral(TITLE_PREFIX)
        << ".*$</match>\n"
           "        </context>\n"
           "        <context id=\"block-keywords\" style-ref=\"keyword\">\n"
           "          <prefix>^\\s*</prefix>\n"
           "          <suffix>"
        << xmlText(PERL_WORD_END) << "</suffix>\n";
    for (const std::string_view word : blockWords())
        out << "          <keyword>" << perlLiteral(word) << "</keyword>\n";
    out << "        </context>\n"
           "        <context id=\"network\" style-ref=\"keyword\">\n"
           "          <match>(?i)^\\s*"
        << STRUCTURE_KEYWORDS[1] << xmlText(PERL_WORD_END)
        << "</match>\n"
           "        </context>\n"
           "        <context id=\"mnemonics\" style-ref=\"mnemonic\">\n"
           "          <prefix>^\\s*</prefix>\n"
           "          <suffix>"
        << xmlText(PERL_WORD_END) << "</suffix>\n";
    for (const std::string_view word : mnemonicWords())
        out << "          <keyword>" << xmlText(perlLiteral(word)) << "</keyword>\n";
    out << "        </context>\n"
           "        <context id=\"operand\" style-ref=\"operand\">\n"
           "          <match>"
        << xmlText(std::string(PERL_WORD_START) + perlOperand() + std::string(PERL_WORD_END))
        << "</match>\n"
           "        </context>\n"
           "        <context id=\"constant\" style-ref=\"constant\">\n"
           "          <match>"
        << xmlText(std::string(PERL_WORD_START) + std::string(PERL_CONSTANT) + std::string(PERL_WORD_END))
        << "</match>\n"
           "        </context>\n"
           "      </include>\n"
           "    </context>\n"
           "  </definitions>\n"
           "</language>\n";
}

void writeKSyntaxHighlighting(std::ostream& out) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE language>\n"
           "<!-- Program files of the SPS-Simulator in statement list (AWL). Written by\n"
           "     sps_generate from the simulator's instruction table. -->\n"
           "<language name=\"AWL (SPS)\" section=\"Sources\" version=\"1\" kateversion=\"5.0\" extensions=\"*.awl\"\n"
           "          mimetype=\""
        << MIME_TYPE
        << "\" license=\"MIT\">\n"
           "  <highlighting>\n"
           "    <list name=\"blocks\">\n";
    for (const std::string_view word : blockWords()) out << "      <item>" << word << "</item>\n";
    out << "    </list>\n"
           "    <list name=\"mnemonics\">\n";
    for (const std::string_view word : mnemonicWords()) out << "      <item>" << xmlText(word) << "</item>\n";
    out << "    </list>\n"
           "    <contexts>\n"
           "      <context name=\"Line\" attribute=\"Normal Text\" lineEndContext=\"#stay\">\n"
           "        <DetectSpaces/>\n"
           "        <Detect2Chars attribute=\"Comment\" context=\"Comment\" char=\"/\" char1=\"/\"/>\n"
           "        <StringDetect attribute=\"Title\" context=\"Title\" String=\""
        << TITLE_PREFIX
        << "\" firstNonSpace=\"true\"/>\n"
           "        <keyword attribute=\"Keyword\" String=\"blocks\" firstNonSpace=\"true\"/>\n"
           "        <WordDetect attribute=\"Keyword\" String=\""
        << STRUCTURE_KEYWORDS[1]
        << "\" insensitive=\"true\" firstNonSpace=\"true\"/>\n"
           "        <keyword attribute=\"Instruction\" String=\"mnemonics\" firstNonSpace=\"true\"/>\n"
           "        <RegExpr attribute=\"Operand\" String=\""
        << xmlText(std::string(PERL_WORD_START) + perlOperand() + std::string(PERL_WORD_END))
        << "\"/>\n"
           "        <RegExpr attribute=\"Constant\" String=\""
        << xmlText(std::string(PERL_WORD_START) + std::string(PERL_CONSTANT) + std::string(PERL_WORD_END))
        << "\"/>\n"
           "        <RegExpr attribute=\"Normal Text\" String=\"[^\\s,]+\"/>\n"
           "      </context>\n"
           "      <context name=\"Comment\" attribute=\"Comment\" lineEndContext=\"#pop\"/>\n"
           "      <context name=\"Title\" attribute=\"Title\" lineEndContext=\"#pop\"/>\n"
           "    </contexts>\n"
           "    <itemDatas>\n"
           "      <itemData name=\"Normal Text\" defStyleNum=\"dsNormal\"/>\n"
           "      <itemData name=\"Keyword\" defStyleNum=\"dsKeyword\"/>\n"
           "      <itemData name=\"Instruction\" defStyleNum=\"dsFunction\"/>\n"
           "      <itemData name=\"Operand\" defStyleNum=\"dsVariable\"/>\n"
           "      <itemData name=\"Constant\" defStyleNum=\"dsDecVal\"/>\n"
           "      <itemData name=\"Comment\" defStyleNum=\"dsComment\"/>\n"
           "      <itemData name=\"Title\" defStyleNum=\"dsDocumentation\"/>\n"
           "    </itemDatas>\n"
           "  </highlighting>\n"
           "  <general>\n"
           "    <comments>\n"
           "      <comment name=\"singleLine\" start=\""
        << COMMENT_PREFIX
        << "\"/>\n"
           "    </comments>\n"
           "    <keywords casesensitive=\"1\" weakDeliminator=\"+-*/&lt;=&gt;.&amp;#\" additionalDeliminator=\",\"/>\n"
           "  </general>\n"
           "</language>\n";
}

namespace {

// A word in a Vim pattern with 'magic' off for every character but letters
// and digits ("\V" is not used, so that the pattern reads as usual).
std::string vimLiteral(std::string_view word) {
    std::string text;
    for (const char c : word) {
        if (std::string_view("\\/.*[]~^$").find(c) != std::string_view::npos) text += '\\';
        text += c;
    }
    return text;
}

constexpr std::string_view VIM_WORD_START = "\\%(^\\|[ \\t,]\\)\\@<=";
constexpr std::string_view VIM_WORD_END = "\\ze\\%([ \\t,]\\|//\\|$\\)";

} // namespace

void writeVimSyntax(std::ostream& out) {
    out << "\" Vim syntax file\n"
           "\" Language: AWL, program files of the SPS-Simulator (statement list)\n"
           "\" Written by sps_generate from the simulator's instruction table.\n"
           "\n"
           "if exists(\"b:current_syntax\")\n"
           "  finish\n"
           "endif\n"
           "\n"
           "syn case match\n"
           "\" Mnemonics such as LDB<= and +I are words of the file.\n"
           "syn iskeyword @,48-57,_,#,&,*,+,-,.,<,=,>,/\n"
           "\n"
           "\" An instruction or a keyword is the first word of its line.\n"
           "syn match awlFirstWord \"^\\s*\\zs[^ \\t,/]\\S*\" contains=awlInstruction,awlBlock\n"
           "syn keyword awlBlock contained";
    for (const std::string_view word : blockWords()) out << ' ' << word;
    out << "\nsyn match awlBlock \"\\c^\\s*\\zs" << STRUCTURE_KEYWORDS[1] << VIM_WORD_END << "\"\n";
    // One keyword line per few words keeps the lines short.
    const std::vector<std::string_view> mnemonics = mnemonicWords();
    for (std::size_t i = 0; i < mnemonics.size(); i += 12) {
        out << "syn keyword awlInstruction contained";
        for (std::size_t j = i; j < std::min(i + 12, mnemonics.size()); ++j) out << ' ' << mnemonics[j];
        out << '\n';
    }
    std::string letters;
    for (const std::string_view row : operandLetterList()) {
        if (!letters.empty()) letters += "\\|";
        letters += row;
    }
    out << "syn match awlOperand \"" << VIM_WORD_START << "\\**&\\=\\%(" << letters
        << "\\)[BWD]\\=\\d\\+\\%(\\.\\d\\+\\)\\=" << VIM_WORD_END << "\"\n"
        << "syn match awlNumber \"" << VIM_WORD_START << "[+-]\\=\\d[0-9A-Za-z#.+-]*" << VIM_WORD_END << "\"\n"
        << "syn match awlTitle \"^\\s*" << vimLiteral(TITLE_PREFIX) << ".*$\"\n"
        << "syn match awlComment \"" << vimLiteral(COMMENT_PREFIX) << ".*$\"\n"
        << "\n"
           "hi def link awlBlock Keyword\n"
           "hi def link awlInstruction Statement\n"
           "hi def link awlOperand Identifier\n"
           "hi def link awlNumber Number\n"
           "hi def link awlTitle SpecialComment\n"
           "hi def link awlComment Comment\n"
           "\n"
           "let b:current_syntax = \"awl\"\n";
}

void writeVimFiletypeDetection(std::ostream& out) {
    out << "\" Program files of the SPS-Simulator (" << MIME_TYPE << ").\n"
        << "au BufRead,BufNewFile *.awl setfiletype awl\n";
}

} // namespace sps
