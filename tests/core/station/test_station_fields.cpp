#include <gtest/gtest.h>

#include "station/station_fields.h"
#include "support/station_bench.h"

using namespace sps;

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

TEST(StationFields, FreshStationInFieldOrder) {
    StationBench bench;
    const Fields expected = {
        {"switchIn", "00000000"}, {"inputE10", "0"},         {"ledOut", "00000000"},  {"outputA10", "0"},
        {"outputA11", "0"},       {"buttonIn", "0000"},      {"joystickUp", "0.000"}, {"joystickRight", "0.000"},
        {"analogValue", "0.000"}, {"carrierSpeed", "0.000"}, {"carrierPos", "0"},     {"carrierDir", "0"},
        {"carrierDrive", "0"},    {"lastTime", "0"},         {"motionBlocked", "0"},  {"ejectorPos", "0"},
        {"sonarRange", "0"},      {"partState", "0"},        {"partAtEjector", "0"},  {"magnetShown", "0"},
        {"kapShown", "0"},        {"indShown", "0"},         {"optShown", "0"},       {"partFlags", "0"},
    };
    EXPECT_EQ(stationFields(bench.target), expected);
}

TEST(StationFields, ValuesAfterOperationsAndSteps) {
    StationBench bench;
    Target& t = bench.target;
    t.toggleSwitch(5);
    t.toggleButton(0);
    t.setJoystick(-33, 66);
    t.togglePartFlag(0);
    t.togglePartFlag(4);
    t.selectSonarRange(3);
    t.toggleEntryBarrier();
    bench.bus->writeOutput(0, 7, 1);
    bench.analogOut(0, 1000);
    bench.step(1234);

    const Fields fields = stationFields(t);
    const auto value = [&fields](const std::string& name) {
        for (const auto& [n, v] : fields)
            if (n == name) return v;
        return std::string("<missing>");
    };
    EXPECT_EQ(value("switchIn"), "00000100");
    EXPECT_EQ(value("ledOut"), "00000001");
    EXPECT_EQ(value("buttonIn"), "1000");
    EXPECT_EQ(value("joystickUp"), "-0.500");
    EXPECT_EQ(value("joystickRight"), "0.000");
    EXPECT_EQ(value("analogValue"), "2.894");
    EXPECT_EQ(value("lastTime"), "1234");
    EXPECT_EQ(value("motionBlocked"), "1");
    EXPECT_EQ(value("sonarRange"), "3");
    EXPECT_EQ(value("inputE10"), "1");
    EXPECT_EQ(value("partFlags"), "17");
}

} // namespace
