// Hostile values of the settings file, each read by the real module at the
// start of a fresh host process (one test process per value): none crashes,
// and each gives the mode the scale rules give. The rules: the value's first
// 15 characters are read with the C runtime's atof (which reads no "inf" or
// "nan", and no hexadecimal), rounded to single precision; 0 is automatic,
// above 1 a fixed scale, anything else native size. No cursor is built
// above 256 pixels a side; a scale whose product leaves a positive int
// loads the file's own size.
#include <string.h>

#include <string>

#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "tests/module/module_fixture.h"
#include "window/cursor_window.h"

namespace {

enum Mode { AUTOMATIC, FIXED, NATIVE };

struct HostileValue {
    const char* name;
    std::string value;
    Mode mode;
    int shown;  // side of the 32-pixel default at start-up, client 1280 by 960
};

std::string repeat(char c, size_t count) { return std::string(count, c); }

const HostileValue VALUES[] = {
    // Long values: only the first 15 characters count.
    {"LongDigits", "2" + repeat('0', 100000), FIXED, 32},  // 2e14: beyond any size
    {"LongFractionOfOne", "1." + repeat('0', 300) + "5", NATIVE, 32},
    {"LongZeros", "0." + repeat('0', 500) + "3", AUTOMATIC, 64},
    {"FifteenCharactersRead", "000000000000002.5", FIXED, 64},
    {"LongMinusZero", "-0.000000000000001", AUTOMATIC, 64},
    {"LongText", repeat('x', 10000), AUTOMATIC, 64},
    // Not ASCII.
    {"FullWidthDigits", "\xef\xbc\x92.\xef\xbc\x90", AUTOMATIC, 64},
    {"NumberThenLatin1", "2.0\x80\xe9", FIXED, 64},
    {"Latin1First", "\xe9" "2", AUTOMATIC, 64},
    // Huge and tiny exponents, infinities and NaN.
    {"Exponent308", "1e308", FIXED, 32},  // infinite in single precision
    {"HugeExponent", "1e999999", FIXED, 32},
    {"HugeNegativeExponent", "1e-999999", AUTOMATIC, 64},
    {"MinusHugeExponent", "-1e999", NATIVE, 32},
    {"Denormal", "1e-40", NATIVE, 32},
    {"Underflow", "1e-50", AUTOMATIC, 64},
    {"HugeInteger", "4294967296", FIXED, 32},
    {"Inf", "inf", AUTOMATIC, 64},
    {"Infinity", "Infinity", AUTOMATIC, 64},
    {"MinusInf", "-inf", AUTOMATIC, 64},
    {"NaN", "NaN", AUTOMATIC, 64},
    {"MinusNanInd", "-nan(ind)", AUTOMATIC, 64},
    {"PrintedInfinity", "1.#INF", NATIVE, 32},  // reads as 1
    {"PrintedIndefinite", "-1.#IND", NATIVE, 32},
    {"Hexadecimal", "0x10", AUTOMATIC, 64},
    // Separators.
    {"CommaAfterOne", "1,5", NATIVE, 32},
    {"Semicolon", "2;5", FIXED, 64},
    {"SpaceInside", "2 5", FIXED, 64},
    {"TwoPoints", "1.5.5", FIXED, 48},
    {"PlusSign", "+1.5", FIXED, 48},
    {"DoubleMinus", "--2", AUTOMATIC, 64},
    {"TabsAround", "\t1.5\t", FIXED, 48},
    {"ControlCharacter", "2\x01", FIXED, 64},
    {"Empty", "", AUTOMATIC, 64},
    // Large fixed scales: no side above 256.
    {"Eight", "8", FIXED, 256},
    {"Sixteen", "16", FIXED, 256},
    {"ThirtyThree", "33", FIXED, 256},
    {"Thousand", "1000", FIXED, 256},
};

void PrintTo(const HostileValue& value, std::ostream* out) { *out << value.name; }

class HostileSettings : public ModuleInHost, public testing::WithParamInterface<HostileValue> {};

TEST_P(HostileSettings, StartTheModuleInTheModeOfTheRules) {
    const HostileValue& c = GetParam();
    write_size_setting(c.value.c_str());
    set_client_size(window, 1280, 960);
    PluginLoad plugin = start_plugin();
    ASSERT_TRUE(plugin.initialised);
    EXPECT_EQ(c.shown, shown_cursor_size().cx);

    // Only automatic mode reloads at the rescale timer, here at 1.5.
    count_module_loads(plugin.module);
    set_client_size(window, 960, 720);
    SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);
    EXPECT_EQ(c.mode == AUTOMATIC ? LOADS_PER_DEFAULT_SET : 0, module_loads.calls);
    EXPECT_EQ(c.mode == AUTOMATIC ? 48 : c.shown, shown_cursor_size().cx);
    // The host goes on: its own messages reach it.
    int timers = host_proc_log.timer_messages;
    SendMessageA(window, WM_TIMER, 7, 0);
    EXPECT_EQ(timers + 1, host_proc_log.timer_messages);
}

INSTANTIATE_TEST_SUITE_P(Values, HostileSettings, testing::ValuesIn(VALUES),
                         [](const testing::TestParamInfo<HostileValue>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
