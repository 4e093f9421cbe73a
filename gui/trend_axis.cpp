#include "gui/trend_axis.h"

#include <cstdlib>

namespace sps {

namespace {

// Below this step the axis counts milliseconds.
constexpr std::int64_t SECONDS_FROM = 100;

// `ms` in seconds with `decimals` (0 to 3) places after a decimal comma.
std::string seconds(std::int64_t ms, int decimals) {
    const std::int64_t magnitude = std::llabs(ms);
    std::string text = (ms < 0 ? "-" : "") + std::to_string(magnitude / 1000);
    if (decimals > 0) {
        std::string fraction = std::to_string(magnitude % 1000);
        fraction.insert(0, 3 - fraction.size(), '0');
        text += ',' + fraction.substr(0, static_cast<std::size_t>(decimals));
    }
    return text + " s";
}

} // namespace

std::int64_t tickStepMs(double msPerPixel, int minPixels) {
    const double least = msPerPixel * minPixels;
    // 1, 2, 5, 10, 20 ... up to about 3000 years, past every recording.
    std::int64_t decade = 1;
    for (int i = 0; i < 18; ++i, decade *= 10)
        for (const std::int64_t mantissa : {1, 2, 5})
            if (static_cast<double>(mantissa * decade) >= least) return mantissa * decade;
    return decade;
}

std::int64_t minorTickStepMs(std::int64_t step) {
    std::int64_t mantissa = step;
    while (mantissa >= 10 && mantissa % 10 == 0) mantissa /= 10;
    const std::int64_t parts = mantissa == 2 ? 4 : 5;
    return step % parts == 0 ? step / parts : 0;
}

std::string tickLabel(std::int64_t ms, std::int64_t step) {
    if (step < SECONDS_FROM) return std::to_string(ms) + " ms";
    return seconds(ms, step % 1000 == 0 ? 0 : 1);
}

std::string cursorTimeLabel(std::int64_t ms, std::int64_t step) {
    if (step < SECONDS_FROM) return std::to_string(ms) + " ms";
    return seconds(ms, 3);
}

} // namespace sps
