#pragma once

#include <memory>
#include <string>

#include "cpu/width.h"

namespace sps {

class KOPDraw;
class Operation;
class Parameter;

// The power flow an element shows: none at all unless `shown`; then whether
// power reaches its input, whether it leaves it (for a box: whether the box
// ran and whether its output carries power), and for a contact whether its
// operand is 1 (drawn filled, with or without power).
struct ElementPower {
    bool shown = false;
    bool in = false;
    bool out = false;
    bool closed = false;
};

// One ladder element: the picture of one instruction, `width` by `height`
// grid cells. An element may show the source operand of a folded move at pin
// `mergeKind` (0 for none) in place of the instruction's own operand.
class KOPE {
public:
    KOPE(const Operation& op, int width, int height) : op_(&op), width_(width), height_(height) {}
    virtual ~KOPE() = default;
    KOPE(const KOPE&) = delete;
    KOPE& operator=(const KOPE&) = delete;

    // Draws the element with the top-left corner of its top-left cell at
    // (x, y); with `power` shown, what carries power in the power colour.
    void draw(KOPDraw& canvas, int x, int y, const ElementPower& power = {}) const { paint(canvas, x, y, power); }

    int width() const { return width_; }
    int height() const { return height_; }
    int mergeKind() const { return mergeKind_; }
    Parameter* mergeOperand() const { return mergeOperand_; }
    Width mergeSize() const { return mergeSize_; }
    const Operation& op() const { return *op_; }

    void setMerge(int kind, Parameter* operand, Width size) {
        mergeKind_ = kind;
        mergeOperand_ = operand;
        mergeSize_ = size;
    }

    std::string label() const;
    // The operand name or live value at a pin, with the folded operand in
    // place; empty for a pin the instruction does not have.
    std::string pinName(int pin) const;
    std::string pinValue(int pin) const;

private:
    virtual void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const = 0;

    const Operation* op_; // owned by the program
    int width_;
    int height_;
    int mergeKind_ = 0;
    Parameter* mergeOperand_ = nullptr; // owned by the folded move instruction
    Width mergeSize_ = Width::Byte;
};

// A contact: two bars on the wire.
class KontaktKOPE : public KOPE {
public:
    explicit KontaktKOPE(const Operation& op) : KOPE(op, 1, 1) {}
    void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const override;
};

// A coil: a pair of parentheses at the end of the wire.
class SpuleKOPE final : public KontaktKOPE {
public:
    explicit SpuleKOPE(const Operation& op) : KontaktKOPE(op) {}
    void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const override;
};

// A jump label or sequence segment start: a small framed label.
class LableKOPE final : public KOPE {
public:
    explicit LableKOPE(const Operation& op) : KOPE(op, 1, 1) {}
    void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const override;
};

// A box with an enable input, one data input and one output.
class Box1KOPE final : public KOPE {
public:
    explicit Box1KOPE(const Operation& op) : KOPE(op, 2, 2) {}
    void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const override;
};

// A box with an enable input, two data inputs and one output.
class Box2KOPE final : public KOPE {
public:
    explicit Box2KOPE(const Operation& op) : KOPE(op, 2, 3) {}
    void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const override;
};

// A timer box: the timer above, the preset at the lower left.
class TimerKOPE final : public KOPE {
public:
    explicit TimerKOPE(const Operation& op) : KOPE(op, 2, 2) {}
    void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const override;
};

// A counter box with one input row per counter input: 3 rows for count up
// and reset, 4 for count up, count down and reset.
class CounterKOPE final : public KOPE {
public:
    CounterKOPE(const Operation& op, int rows) : KOPE(op, 2, rows) {}
    void paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const override;
};

// The element an instruction is drawn as, by its ladder kind; null for the
// logic-stack operations, which have no element of their own.
std::unique_ptr<KOPE> makeElement(const Operation& op);

} // namespace sps
