// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// Any bytes as the text of an answer box: reading must not crash or hang, and for plain ASCII
// texts it must agree with a simple reading done here another way.
#include "drill/BoxReading.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Drop the blanks, then take a sign, digits, one point and digits, and let strtod read that.
double simpleReading(std::string_view text)
{
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            compact += c;
    std::size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-'))
        ++i;
    bool digits = false, point = false;
    for (; i < compact.size(); ++i) {
        if (compact[i] >= '0' && compact[i] <= '9')
            digits = true;
        else if (compact[i] == '.' && !point)
            point = true;
        else
            break;
    }
    return digits ? std::strtod(compact.substr(0, i).c_str(), nullptr) : 0.0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const double value = piko::boxValue(text);
    bool ascii = true;
    for (unsigned char c : text)
        ascii = ascii && c > 0 && c < 0x80;
    if (!ascii)
        return 0;
    const double expected = simpleReading(text);
    const bool bothTiny = std::fabs(value) < 1e-300 && std::fabs(expected) < 1e-300;
    if (!(value == expected || bothTiny))
        std::abort();
    return 0;
}
