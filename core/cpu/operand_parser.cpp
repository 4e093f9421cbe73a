#include "cpu/operand_parser.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "cpu/cpu.h"
#include "cpu/parameter.h"
#include "cpu/source_words.h"
#include "messages/cpu_exception.h"

namespace sps {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the operand text from left to right; past the end it reads '\0'.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    char peek(std::size_t ahead = 0) const { return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0'; }
    bool atEnd() const { return pos_ >= text_.size(); }
    void skip(std::size_t n = 1) { pos_ += n; }

    // Decimal digits; the value modulo 2^32 and, for limit checks, the value
    // saturated at a bound above every limit.
    struct Digits {
        std::uint32_t wrapped = 0;
        std::uint64_t saturated = 0;
        int count = 0;
    };

    Digits readDigits() {
        Digits digits;
        while (isDigit(peek())) {
            const unsigned d = static_cast<unsigned>(peek() - '0');
            digits.wrapped = digits.wrapped * 10u + d;
            if (digits.saturated < kSaturation) digits.saturated = digits.saturated * 10u + d;
            ++digits.count;
            skip();
        }
        return digits;
    }

private:
    static constexpr std::uint64_t kSaturation = std::uint64_t{1} << 40;

    std::string_view text_;
    std::size_t pos_ = 0;
};

// Area addresses beyond the range of int are kept as the largest int, so that
// they fail on access like any other address beyond the area.
int areaAddress(const Cursor::Digits& digits) {
    constexpr std::uint64_t limit = std::numeric_limits<int>::max();
    return static_cast<int>(digits.saturated > limit ? limit : digits.saturated);
}

struct Area {
    MemField& field;
    const char* name;
    int kind;
};

std::unique_ptr<Parameter> parseAreaAddress(Cursor& in, const Area& area) {
    if (in.atEnd()) throwMessage("Address expected");
    const char width = in.peek();
    if (width == 'B' || width == 'W' || width == 'D') {
        in.skip();
        if (in.atEnd()) throwMessage("Address expected");
        const int address = areaAddress(in.readDigits());
        if (!in.atEnd()) throwMessage("Wrong Parameter Address");
        if (width == 'B') return std::make_unique<ByteParameter>(area.field, address, area.name, area.kind);
        if (width == 'W') return std::make_unique<WordParameter>(area.field, address, area.name, area.kind);
        return std::make_unique<LongParameter>(area.field, address, area.name, area.kind);
    }
    const int address = areaAddress(in.readDigits());
    if (in.peek() != '.') throwMessage("Bit Address missing");
    in.skip();
    const char bit = in.peek();
    if (bit < '0' || bit > '7') throwMessage("Bitnumber out of range");
    in.skip();
    if (!in.atEnd()) throwMessage("Syntax error in Bit Address");
    return std::make_unique<BitParameter>(area.field, address, bit - '0', area.name, area.kind);
}

// An analog word: in the German set numbered by channel, in the
// international set by the byte address of the word, two per channel.
std::unique_ptr<Parameter> parseAnalog(Cursor& in, CPU& cpu, bool input, MnemonicSet written, MnemonicSet shown) {
    if (in.atEnd()) throwMessage("Number expected");
    Cursor::Digits channel = in.readDigits();
    if (!in.atEnd()) throwMessage("Wrong AE/AA Address");
    if (written == MnemonicSet::International) {
        if (channel.saturated % 2 != 0) throwMessage("Odd analog address");
        channel.saturated /= 2;
    }
    if (channel.saturated > 29) throwMessage("Port not present");
    const int number = static_cast<int>(channel.saturated);
    if (input) return std::make_unique<AEParameter>(cpu, number, shown);
    return std::make_unique<AAParameter>(cpu, number, shown);
}

std::unique_ptr<Parameter> parseTimerOrCounter(Cursor& in, CPU& cpu, bool timer,
                                               MnemonicSet shown = MnemonicSet::German) {
    if (in.atEnd()) throwMessage("Number expected");
    const Cursor::Digits number = in.readDigits();
    if (!in.atEnd()) throwMessage("Wrong Timer/Counter Address");
    if (timer) {
        if (number.saturated >= CPU::TIMER_COUNT) throwMessage("Timer not present");
        const int n = static_cast<int>(number.saturated);
        return std::make_unique<TimerParameter>(cpu.timers[static_cast<std::size_t>(n)], n);
    }
    if (number.saturated >= CPU::COUNTER_COUNT) throwMessage("Counter not present");
    const int n = static_cast<int>(number.saturated);
    return std::make_unique<CounterParameter>(cpu.counters[static_cast<std::size_t>(n)], n, shown);
}

std::unique_ptr<Parameter> parseAddressOperand(Cursor& in) {
    in.skip(); // '&'
    if (in.peek() != 'V') throwMessage("Parameter not vaild for pointer");
    in.skip();
    const char width = in.peek();
    if (width != 'B' && width != 'W' && width != 'D') throwMessage("wrong pointer format");
    in.skip();
    if (in.atEnd()) throwMessage("pointer address expected");
    const int address = areaAddress(in.readDigits());
    if (!in.atEnd()) throwMessage("Wrong pointer Address");
    return std::make_unique<AddressParameter>('V', width, address);
}

bool looksLikeReal(std::string_view text) {
    bool real = false;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '#') return false;
        if (c == '.' || c == 'E' || c == 'e' || c == 'I' || c == 'N') real = true;
    }
    return real;
}

// Whether an unsigned decimal real (digits, optional fraction and exponent)
// lies below 1, judged by the decimal exponent of its first nonzero digit. Only
// asked about numbers beyond the range of float, which are either far below or
// far above 1, so the value itself need not be known.
bool belowOne(std::string_view number) {
    std::size_t i = 0;
    long long leading = 0; // decimal exponent of the first nonzero digit
    bool found = false;
    for (; i < number.size() && isDigit(number[i]); ++i) {
        if (found) {
            ++leading;
        } else if (number[i] != '0') {
            found = true;
        }
    }
    if (i < number.size() && number[i] == '.') {
        for (++i; i < number.size() && isDigit(number[i]); ++i) {
            if (found) continue;
            --leading;
            if (number[i] != '0') found = true;
        }
    }
    long long exponent = 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        const bool negative = i < number.size() && number[i] == '-';
        if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
        for (; i < number.size() && isDigit(number[i]); ++i) {
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (number[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    return leading + exponent < 0;
}

// A decimal real with optional sign, fraction and exponent (and the words for
// infinity and not-a-number), rounded to single precision. The C library's
// conversion is not used because it follows the process locale.
std::unique_ptr<Parameter> parseReal(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        pos = 1;
    }
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    if (first == last || *first == '+' || *first == '-') throwMessage("Wrong Float format");
    float value = 0.0f;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (end == first || end != last) throwMessage("Wrong Float format");
    if (error == std::errc::result_out_of_range) {
        // Beyond the range of a float: overflow gives infinity, underflow zero.
        value = belowOne(text.substr(pos)) ? 0.0f : std::numeric_limits<float>::infinity();
    }
    return std::make_unique<FloatParameter>(negative ? -value : value);
}

std::unique_ptr<Parameter> parseInteger(Cursor& in) {
    if (in.peek() == '+') in.skip();
    if (in.peek() == '-') {
        in.skip();
        if (in.atEnd()) throwMessage("Syntax error in number");
        const Cursor::Digits digits = in.readDigits();
        if (!in.atEnd()) throwMessage("Syntax error in number");
        return std::make_unique<NumParameter>(static_cast<std::int32_t>(0u - digits.wrapped), 10);
    }
    const Cursor::Digits digits = in.readDigits();
    if (in.atEnd()) return std::make_unique<NumParameter>(static_cast<std::int32_t>(digits.wrapped), 10);
    if (in.peek() != '#') throwMessage("Syntax error in number");
    in.skip();
    if (digits.saturated < 2 || digits.saturated > 35) throwMessage("Wrong base");
    const int base = static_cast<int>(digits.saturated);
    std::uint32_t value = 0;
    for (int d = digitValue(in.peek()); d != -1 && d < base; d = digitValue(in.peek())) {
        value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(d);
        in.skip();
    }
    if (!in.atEnd()) throwMessage("Syntax error in number");
    return std::make_unique<NumParameter>(static_cast<std::int32_t>(value), base);
}

} // namespace

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    return -1;
}

std::unique_ptr<Parameter> parseOperand(CPU& cpu, std::string_view text) {
    return parseOperand(cpu, text, cpu.operandEntry);
}

std::unique_ptr<Parameter> parseOperand(CPU& cpu, std::string_view text, const OperandSyntax& syntax) {
    // "*" makes a pointer over the operand that follows; a run of them is
    // parsed innermost first and wrapped outward without nested calls.
    const std::size_t pointerLevels = std::min(text.find_first_not_of('*'), text.size());
    if (pointerLevels > 0) {
        std::unique_ptr<Parameter> operand = parseOperand(cpu, text.substr(pointerLevels), syntax);
        for (std::size_t level = 0; level < pointerLevels; ++level)
            operand = std::make_unique<PointerParameter>(cpu, std::move(operand));
        return operand;
    }

    Cursor in(text);
    const char c = in.peek();
    if (c >= 'a' && c <= 'z') return std::make_unique<StringParameter>(std::string(text));
    if (c == '&') return parseAddressOperand(in);
    if (isDigit(c) || c == '+' || c == '-') {
        if (looksLikeReal(text)) return parseReal(text);
        return parseInteger(in);
    }

    // The set an operand written in `written` letters names itself in.
    const auto shownAs = [&](MnemonicSet written) { return syntax.shownAs.value_or(written); };
    const auto international = [&](MnemonicSet written) { return shownAs(written) == MnemonicSet::International; };
    const Area inputs{cpu.areaE, "E", PK_E};
    const Area outputs{cpu.areaA, "A", PK_A};
    const auto named = [](Area area, const char* name) {
        area.name = name;
        return area;
    };
    constexpr MnemonicSet GERMAN = MnemonicSet::German;
    constexpr MnemonicSet INTERNATIONAL = MnemonicSet::International;

    in.skip();
    switch (c) {
    case 'E':
        if (!syntax.german) break;
        return parseAreaAddress(in, named(inputs, international(GERMAN) ? "I" : "E"));
    case 'I':
        if (!syntax.international) break;
        return parseAreaAddress(in, named(inputs, international(INTERNATIONAL) ? "I" : "E"));
    case 'Q':
        if (!syntax.international) break;
        return parseAreaAddress(in, named(outputs, international(INTERNATIONAL) ? "Q" : "A"));
    case 'A':
        if (in.peek() == 'C') {
            const char n = in.peek(1);
            if (n < '0' || n > '3' || in.peek(2) != '\0' || text.size() != 3) throwMessage("Unknown AC");
            return std::make_unique<AccumulatorParameter>(cpu.accumulators[static_cast<std::size_t>(n - '0')], n - '0');
        }
        if (syntax.international && in.peek(1) == 'W' && (in.peek() == 'I' || in.peek() == 'Q')) {
            const bool input = in.peek() == 'I';
            in.skip(2);
            return parseAnalog(in, cpu, input, INTERNATIONAL, shownAs(INTERNATIONAL));
        }
        if (!syntax.german) break;
        if (in.peek() == 'E' && in.peek(1) == 'W') {
            in.skip(2);
            return parseAnalog(in, cpu, true, GERMAN, shownAs(GERMAN));
        }
        if (in.peek() == 'A' && in.peek(1) == 'W') {
            in.skip(2);
            return parseAnalog(in, cpu, false, GERMAN, shownAs(GERMAN));
        }
        return parseAreaAddress(in, named(outputs, international(GERMAN) ? "Q" : "A"));
    case 'V': return parseAreaAddress(in, {cpu.areaV, "V", PK_V});
    case 'M': return parseAreaAddress(in, {cpu.areaM, "M", PK_M});
    case 'Z':
        if (!syntax.german) break;
        return parseTimerOrCounter(in, cpu, false, shownAs(GERMAN));
    case 'C':
        if (!syntax.international) break;
        return parseTimerOrCounter(in, cpu, false, shownAs(INTERNATIONAL));
    case 'T': return parseTimerOrCounter(in, cpu, true);
    case 'S':
        if (in.peek() == 'B' && in.peek(1) == 'R') return std::make_unique<StringParameter>(std::string(text));
        if (in.peek() == 'M') {
            in.skip();
            return parseAreaAddress(in, {cpu.areaSM, "SM", PK_SM});
        }
        return parseAreaAddress(in, {cpu.areaS, "S", PK_S});
    default: break;
    }
    throwMessage("Unknown Parameter Type");
}

std::optional<MnemonicSet> operandLetters(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of('*'), text.size()));
    const OperandLetters* letters = leadingOperandLetters(text);
    return letters != nullptr ? letters->set : std::nullopt;
}

} // namespace sps
