// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Worksheet.h"

#include <span>
#include <string>
#include <string_view>

// What the program is asked to do on its command line: open the window (no arguments), answer
// --help or --version, or print a worksheet to a PDF file without a window.
namespace piko {

struct CommandLine {
    enum class Action : std::uint8_t { Window, Help, Version, Worksheet, Mistake };
    Action action = Action::Window;
    WorksheetRequest request;
    bool seedGiven = false; // otherwise the caller seeds from the time of day
    std::string output; // the PDF file
    std::string mistake; // what is wrong, in Japanese and in English, for Action::Mistake
};

// The arguments after the program's name.
CommandLine readCommandLine(std::span<const std::string_view> arguments);

// --help's text, and --version's ("pikomaru 1.0.1").
std::string helpText();
std::string versionText(std::string_view version);

// Exit status for a command line that cannot be carried out.
inline constexpr int kUsageStatus = 2;

} // namespace piko
