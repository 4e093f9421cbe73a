#include "ladder/kop_elements.h"

#include "base/writer.h"
#include "canvas/canvases.h"
#include "cpu/operation.h"

namespace sps {

// Element geometry: a grid cell is 20 units wide and 7 high, the wire runs 4
// units below the cell top. Boxes stand 10 units right of their left edge
// with their data inputs at the lower left and the output at the lower right.

namespace {

// The drawing frame of one element: pixel positions from whole and half units
// relative to the element's top-left corner.
class Frame {
public:
    Frame(KOPDraw& canvas, int x, int y)
        : canvas_(canvas), x_(x), y_(y), u_(canvas.unitWidth()), v_(canvas.unitHeight()) {}

    int u() const { return u_; }
    int v() const { return v_; }
    int px(int units) const { return x_ + units * u_; }
    int py(int units) const { return y_ + units * v_; }
    int pyHalves(int halves) const { return y_ + halfUnits(halves, v_); }

    void line(int x1, int y1, int x2, int y2) { canvas_.line(x1, y1, x2, y2); }
    // The lines that follow carry power when `on`; nothing happens while the
    // element shows no power flow, so its primitives stay as they always were.
    void power(bool on) {
        if (power_.shown) canvas_.setPowered(on);
    }
    void showPower(const ElementPower& power) { power_ = power; }
    const ElementPower& elementPower() const { return power_; }
    void rectangle(int left, int top, int right, int bottom) {
        line(left, top, right, top);
        line(left, bottom, right, bottom);
        line(left, top, left, bottom);
        line(right, top, right, bottom);
    }
    // Every text is drawn, also an empty one (a pin the instruction does not
    // have), so that the list of primitives is the same for every element.
    void text(int x, int y, const std::string& s) { canvas_.text(x, y, s); }
    void textRight(int x, int y, const std::string& s) { canvas_.textRight(x, y, s); }

private:
    KOPDraw& canvas_;
    int x_;
    int y_;
    int u_;
    int v_;
    ElementPower power_;
};

// Wire level of the first row: the lead into every element.
constexpr int WIRE_ROW = 4;

void drawLead(Frame& f, int toUnits) { f.line(f.px(0), f.py(WIRE_ROW), f.px(toUnits), f.py(WIRE_ROW)); }

// Pins 1 and 2 of contacts and coils: names at the left, values at the
// right, pin 1 above the wire and pin 2 below it.
void drawContactPins(Frame& f, const KOPE& e) {
    f.text(f.px(3), f.py(2), e.pinName(1));
    f.text(f.px(13), f.py(2), e.pinValue(1));
    f.text(f.px(3), f.py(5), e.pinName(2));
    f.text(f.px(13), f.py(5), e.pinValue(2));
}

// The box frame from `top` units down to `bottom` units with the label at
// its top edge.
void drawBox(Frame& f, const KOPE& e, int top, int bottom) {
    f.rectangle(f.px(10), f.py(top), f.px(30), f.py(bottom));
    f.text(f.px(20), f.py(top), e.label());
}

// A data input at the box's left edge: the stub on `stubHalves` half units,
// name and value right-aligned before it on the rows `nameRow` and below.
void drawInput(Frame& f, const KOPE& e, int pin, int stubHalves, int nameRow) {
    f.line(f.px(9), f.pyHalves(stubHalves), f.px(10), f.pyHalves(stubHalves));
    f.textRight(f.px(8), f.py(nameRow), e.pinName(pin));
    f.textRight(f.px(8), f.py(nameRow + 1), e.pinValue(pin));
}

// The output (pin 5) at the box's lower right.
void drawOutput(Frame& f, const KOPE& e) {
    f.line(f.px(30), f.pyHalves(21), f.px(31), f.pyHalves(21));
    f.text(f.px(31), f.py(10), e.pinName(5));
    f.text(f.px(32), f.py(11), e.pinValue(5));
}

// The timer or counter itself (pin 1) above the box.
void drawRecordPin(Frame& f, const KOPE& e) {
    f.text(f.px(13), f.py(1), e.pinName(1));
    f.text(f.px(25), f.py(1), e.pinValue(1));
}

} // namespace

std::string KOPE::label() const { return op_->boxLabel(); }

std::string KOPE::pinName(int pin) const {
    StringWriter writer;
    op_->pinName(writer, pin, mergeKind_, mergeOperand_);
    return writer.takeText();
}

std::string KOPE::pinValue(int pin) const {
    StringWriter writer;
    op_->pinValue(writer, pin, mergeKind_, mergeOperand_);
    return writer.takeText();
}

namespace {

// While the element shows power flow, the closed contact's inside is filled.
void fillWhenClosed(const Frame& f, KOPDraw& canvas) {
    if (f.elementPower().shown && f.elementPower().closed) canvas.fill(f.px(2), f.py(3), f.px(15), f.py(5));
}

} // namespace

void KontaktKOPE::paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const {
    Frame f(canvas, x, y);
    f.showPower(power);
    fillWhenClosed(f, canvas);
    f.power(power.in);
    drawLead(f, 2);
    f.power(power.out);
    f.line(f.px(15), f.py(WIRE_ROW), f.px(20), f.py(WIRE_ROW));
    f.line(f.px(2), f.py(3), f.px(2), f.py(5));
    f.line(f.px(15), f.py(3), f.px(15), f.py(5));
    f.power(false);
    f.text(f.px(3), f.py(WIRE_ROW) - f.v() / 2, label());
    drawContactPins(f, *this);
}

void SpuleKOPE::paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const {
    Frame f(canvas, x, y);
    f.showPower(power);
    const int halfU = f.u() / 2;
    f.power(power.in);
    drawLead(f, 2);
    f.line(f.px(2), f.pyHalves(7), f.px(2) + halfU, f.py(3));
    f.line(f.px(2), f.pyHalves(7), f.px(2), f.pyHalves(9));
    f.line(f.px(2), f.pyHalves(9), f.px(2) + halfU, f.py(5));
    f.line(f.px(15), f.pyHalves(7), f.px(15), f.pyHalves(9));
    f.line(f.px(15), f.pyHalves(7), f.px(15) - halfU, f.py(3));
    f.line(f.px(15) - halfU, f.py(5), f.px(15), f.pyHalves(9));
    f.power(false);
    f.text(f.px(4), f.py(WIRE_ROW) - f.v() / 2, label());
    drawContactPins(f, *this);
}

void LableKOPE::paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const {
    Frame f(canvas, x, y);
    f.showPower(power);
    f.power(power.in);
    drawLead(f, 2);
    f.rectangle(f.px(2), f.py(3), f.px(12), f.py(5));
    f.power(false);
    f.text(f.px(3), f.py(WIRE_ROW), label());
    f.text(f.px(3), f.py(2), pinName(1));
    f.text(f.px(13), f.py(2), pinValue(1));
}

void Box1KOPE::paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const {
    Frame f(canvas, x, y);
    f.showPower(power);
    f.power(power.in);
    drawLead(f, 10);
    drawBox(f, *this, 1, 12);
    f.power(false);
    drawInput(f, *this, 3, 21, 10);
    f.power(power.out);
    drawOutput(f, *this);
    f.power(false);
}

void Box2KOPE::paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const {
    Frame f(canvas, x, y);
    f.showPower(power);
    f.power(power.in);
    drawLead(f, 10);
    drawBox(f, *this, 1, 12);
    f.power(false);
    drawInput(f, *this, 3, 17, 8);
    drawInput(f, *this, 4, 21, 10);
    f.power(power.out);
    drawOutput(f, *this);
    f.power(false);
}

void TimerKOPE::paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const {
    Frame f(canvas, x, y);
    f.showPower(power);
    f.power(power.in);
    drawLead(f, 10);
    f.power(power.out);
    drawBox(f, *this, 2, 12);
    f.power(false);
    f.line(f.px(9), f.pyHalves(21), f.px(10), f.pyHalves(21));
    drawRecordPin(f, *this);
    f.textRight(f.px(8), f.py(10), pinName(3));
    f.textRight(f.px(8), f.py(11), pinValue(3));
}

void CounterKOPE::paint(KOPDraw& canvas, int x, int y, const ElementPower& power) const {
    Frame f(canvas, x, y);
    f.showPower(power);
    const int rows = height();
    for (int row = 0; row < rows - 1; ++row) {
        const int wire = 7 * row + WIRE_ROW;
        // The top input's wire carries the top of the stack as the counter ran.
        f.power(row == 0 && power.in);
        f.line(f.px(0), f.py(wire), f.px(10), f.py(wire));
    }
    f.power(power.out);
    const int bottom = 7 * rows;
    drawBox(f, *this, 2, bottom - 2);
    f.power(false);
    f.line(f.px(9), f.pyHalves(2 * bottom - 7), f.px(10), f.pyHalves(2 * bottom - 7));
    drawRecordPin(f, *this);
    f.textRight(f.px(8), f.py(bottom - 4), pinName(3));
    f.textRight(f.px(8), f.py(bottom - 3), pinValue(3));
}

std::unique_ptr<KOPE> makeElement(const Operation& op) {
    switch (op.ladderKind()) {
    case LK_COIL: return std::make_unique<SpuleKOPE>(op);
    case LK_CONTACT: return std::make_unique<KontaktKOPE>(op);
    case LK_TIMER: return std::make_unique<TimerKOPE>(op);
    case LK_BOX1: return std::make_unique<Box1KOPE>(op);
    case LK_BOX2: return std::make_unique<Box2KOPE>(op);
    case LK_LABEL: return std::make_unique<LableKOPE>(op);
    case LK_UPDOWN_COUNTER: return std::make_unique<CounterKOPE>(op, 4);
    case LK_UP_COUNTER: return std::make_unique<CounterKOPE>(op, 3);
    case LK_NONE: break;
    }
    return nullptr;
}

} // namespace sps
