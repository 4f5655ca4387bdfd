#include "radasm/MenuRecordFile.h"

namespace trellane {

// clang-format off
const std::array<AccelKey, 75> AccelKeyTable{{
    {"return", 0x0D}, {"delete", 0x2E}, {"right", 0x27}, {"shift", 0x100}, {"back", 0x08},
    {"ctrl", 0x200},  {"pgup", 0x21},   {"pgdn", 0x22},  {"home", 0x24},   {"left", 0x25},
    {"down", 0x28},   {"num0", 0x60},   {"num1", 0x61},  {"num2", 0x62},   {"num3", 0x63},
    {"num4", 0x64},   {"num5", 0x65},   {"num6", 0x66},  {"num7", 0x67},   {"num8", 0x68},
    {"num9", 0x69},   {"alt", 0x400},   {"f10", 0x79},   {"f11", 0x7A},    {"f12", 0x7B},
    {"tab", 0x09},    {"esc", 0x1B},    {"end", 0x23},   {"ins", 0x2D},    {"f1", 0x70},
    {"f2", 0x71},     {"f3", 0x72},     {"f4", 0x73},    {"f5", 0x74},     {"f6", 0x75},
    {"f7", 0x76},     {"f8", 0x77},     {"f9", 0x78},    {"up", 0x26},     {"0", 0x30},
    {"1", 0x31},      {"2", 0x32},      {"3", 0x33},     {"4", 0x34},      {"5", 0x35},
    {"6", 0x36},      {"7", 0x37},      {"8", 0x38},     {"9", 0x39},      {"a", 0x41},
    {"b", 0x42},      {"c", 0x43},      {"d", 0x44},     {"e", 0x45},      {"f", 0x46},
    {"g", 0x47},      {"h", 0x48},      {"i", 0x49},     {"j", 0x4A},      {"k", 0x4B},
    {"l", 0x4C},      {"m", 0x4D},      {"n", 0x4E},     {"o", 0x4F},      {"p", 0x50},
    {"q", 0x51},      {"r", 0x52},      {"s", 0x53},     {"t", 0x54},      {"u", 0x55},
    {"v", 0x56},      {"w", 0x57},      {"x", 0x58},     {"y", 0x59},      {"z", 0x5A},
}};
// clang-format on

}  // namespace trellane
