#pragma once

#include <cstdint>
#include <string>

namespace sps {

// The time axis of the "Verlauf" window: where its ticks stand and how they
// are labelled. Times are the recording's milliseconds.

// The distance of the labelled ticks: the smallest of 1, 2, 5 times a power
// of ten milliseconds that puts them at least `minPixels` apart at
// `msPerPixel`; never below 1 ms, the recording's resolution.
std::int64_t tickStepMs(double msPerPixel, int minPixels);

// The distance of the unlabelled ticks between two labelled ones: a fifth or
// a quarter of the step (for a step of 2, 20 ...), or 0 when that is no whole
// millisecond.
std::int64_t minorTickStepMs(std::int64_t step);

// A tick's label: in ms while the ticks stand less than 100 ms apart
// ("1230 ms"), else in seconds with as many decimals as the step needs
// ("12,5 s", "13 s"), with a decimal comma.
std::string tickLabel(std::int64_t ms, std::int64_t step);

// The time under the cursor, to the millisecond, in the unit of the ticks:
// "1234 ms" or "12,345 s".
std::string cursorTimeLabel(std::int64_t ms, std::int64_t step);

} // namespace sps
