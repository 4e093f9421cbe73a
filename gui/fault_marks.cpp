#include "gui/fault_marks.h"

#include <cstring>

#include <QPainter>
#include <QPen>

#include "station/fault_inputs.h"
#include "station/target.h"

namespace sps {

namespace {

// The parts that stand still, by input name (places as station_drawing.cpp draws them).
struct FixedPart {
    const char* name;
    QRect rect;
};

constexpr QRect EJECTOR{670, 270, 42, 62};
constexpr FixedPart FIXED_PARTS[] = {
    {"ElMag", {630, 93, 24, 12}},
    {"EinLS", {620, 318, 24, 12}},
    {"KapNS", {630, 143, 24, 12}},
    {"OptNS", {630, 63, 24, 12}},
    {"IndNS", {630, 264, 24, 12}},
    {"IndMitte", {630, 264, 24, 12}},
    {"EndOben", {580, 10, 32, 16}},
    {"EndUnten", {580, 302, 32, 16}},
    {"GlasLS", {660, 318, 10, 12}},
    {"ZylAus", EJECTOR},
    {"ZylEin", EJECTOR},
    {"ZylWert", EJECTOR},
    {"Zylinder", EJECTOR},
    {"JoyHoch", {10, 350, 156, 156}},
    {"JoyRechts", {10, 350, 156, 156}},
};
// A whole slave without parts of its own in the drawing: the analog display.
constexpr QRect ANALOG_PANEL{10, 310, 71, 33};

constexpr int ELEMENT = 62;
constexpr int PITCH = 70;
const QColor MARK(220, 0, 0);

QRect carrierRect(const Target& target) {
    const double travel = static_cast<double>(target.carrierPos()) / Target::CARRIER_MAX;
    return {580, static_cast<int>(travel * 288 + 14), 32, 12};
}

std::optional<QRect> inputPartRect(const FaultInput& input, const Target& target) {
    if (input.place == InputPlace::Switch) return QRect(10 + PITCH * (7 - input.index), 240, ELEMENT, ELEMENT);
    if (input.place == InputPlace::SlaveBit && input.address == 1)
        return QRect(290 + PITCH * (3 - input.index), 460, ELEMENT, ELEMENT);
    if (input.place == InputPlace::CarrierDrive || std::strcmp(input.name, "Sonar") == 0) return carrierRect(target);
    for (const FixedPart& part : FIXED_PARTS)
        if (std::strcmp(part.name, input.name) == 0) return part.rect;
    return std::nullopt;
}

void frame(QPainter& painter, const QRect& rect) { painter.drawRect(rect.adjusted(-2, -2, 2, 2)); }

} // namespace

std::optional<QRect> faultPartRect(int row, const Target& target) {
    const auto inputs = faultInputs();
    const FaultInput& input = inputs[static_cast<std::size_t>(row)];
    if (input.place != InputPlace::Slave) return inputPartRect(input, target);
    // A lost slave: the united parts of its inputs.
    QRect united;
    for (const FaultInput& other : inputs)
        if ((other.place == InputPlace::SlaveBit || other.place == InputPlace::SlaveChannel) &&
            other.address == input.address)
            if (const auto rect = inputPartRect(other, target)) united |= *rect;
    if (input.address == 2) united = ANALOG_PANEL;
    if (united.isNull()) return std::nullopt;
    return united;
}

void drawFaultMarks(QPainter& painter, const Target& target) {
    if (target.faults().empty()) return;
    painter.save();
    painter.setPen(QPen(MARK, 2));
    painter.setBrush(Qt::NoBrush);
    for (const Fault& fault : target.faults().faults())
        if (const auto rect = faultPartRect(fault.input, target)) frame(painter, *rect);
    painter.restore();
}

} // namespace sps
