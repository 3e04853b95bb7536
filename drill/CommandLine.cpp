// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/CommandLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace piko {
namespace {

template<typename Number> std::optional<Number> wholeNumber(std::string_view text)
{
    Number value {};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc {} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

CommandLine mistake(std::string japanese, std::string english)
{
    CommandLine line;
    line.action = CommandLine::Action::Mistake;
    line.mistake = "pikomaru: " + japanese + "\npikomaru: " + english + "\n"
        + "（pikomaru --help で つかいかたを みられます。See pikomaru --help.）";
    return line;
}

std::string quoted(std::string_view s)
{
    return "「" + std::string(s) + "」";
}

// Qt's own options for the window (-platform offscreen, -style fusion ...), which Qt reads itself;
// how many values each takes.
std::optional<int> toolkitOption(std::string_view a)
{
    if (a.starts_with("--"))
        a.remove_prefix(1);
    static constexpr std::array<std::string_view, 12> kWithValue { "-platform",
        "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-qwindowicon",
        "-qwindowtitle", "-display", "-geometry", "-style", "-stylesheet", "-session" };
    static constexpr std::array<std::string_view, 5> kAlone { "-reverse", "-widgetcount", "-nograb",
        "-dograb", "-sync" };
    if (std::find(kWithValue.begin(), kWithValue.end(), a) != kWithValue.end())
        return 1;
    if (std::find(kAlone.begin(), kAlone.end(), a) != kAlone.end())
        return 0;
    return std::nullopt;
}

CommandLine readOperationLevel(CommandLine line, std::string_view text)
{
    const std::size_t colon = text.find(':');
    const std::optional<int> operation = operationNamed(text.substr(0, colon));
    if (colon == std::string_view::npos || !operation)
        return mistake(quoted(text)
                + " の けいさんが わかりません。たしざん:3 や div:4 の ように かいてください"
                  "（けいさんは 1〜4、たしざん ひきざん かけざん わりざん、add sub mul div）。",
            "cannot read the operation in '" + std::string(text)
                + "': write OP:LEVEL such as add:3 or div:4 (OP is 1-4, add, sub, mul or div).");
    std::string_view level = text.substr(colon + 1);
    if (!level.empty() && (level[0] == 'L' || level[0] == 'l'))
        level.remove_prefix(1);
    const std::optional<int> number = wholeNumber<int>(level);
    if (!number || !worksheet::offered(*operation, *number)) {
        int last = 1;
        while (worksheet::offered(*operation, last + 1))
            ++last;
        const std::string range = "1〜" + std::to_string(last);
        return mistake(std::string(worksheet::operationName(*operation)) + "に " + quoted(level)
                + " の レベルは ありません（えらべるのは " + range + "）。",
            "no level '" + std::string(level) + "' for this operation (levels 1-"
                + std::to_string(last) + " can be chosen).");
    }
    line.request.operation = *operation;
    line.request.level = *number;
    return line;
}

} // namespace

CommandLine readCommandLine(std::span<const std::string_view> arguments)
{
    CommandLine line;
    if (arguments.empty())
        return line;
    bool worksheet = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view a = arguments[i];
        if (a == "--help" || a == "-h") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (a == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
        if (const std::optional<int> values = toolkitOption(a)) {
            i += std::size_t(*values);
            continue;
        }
        const bool takesValue
            = a == "--worksheet" || a == "--count" || a == "--seed" || a == "-o" || a == "--output";
        if (!takesValue)
            return mistake(
                quoted(a) + " は わかりません。", "unknown argument '" + std::string(a) + "'.");
        if (i + 1 == arguments.size())
            return mistake(quoted(a) + " の あとに あたいが ありません。",
                "'" + std::string(a) + "' needs a value after it.");
        const std::string_view value = arguments[++i];
        if (a == "--worksheet") {
            line = readOperationLevel(std::move(line), value);
            if (line.action == CommandLine::Action::Mistake)
                return line;
            worksheet = true;
        } else if (a == "--count") {
            const std::optional<int> count = wholeNumber<int>(value);
            const int most = worksheet::kLayout.most;
            if (!count || *count < 1 || *count > most)
                return mistake("もんだいの かず " + quoted(value) + " は 1〜" + std::to_string(most)
                        + " に してください。",
                    "the count '" + std::string(value) + "' must be 1-" + std::to_string(most)
                        + ".");
            line.request.count = *count;
        } else if (a == "--seed") {
            const std::optional<std::uint32_t> seed = wholeNumber<std::uint32_t>(value);
            if (!seed)
                return mistake(
                    "シード " + quoted(value) + " は 0〜4294967295 の せいすうに してください。",
                    "the seed '" + std::string(value) + "' must be a whole number 0-4294967295.");
            line.request.seed = *seed;
            line.seedGiven = true;
        } else {
            if (value.empty())
                return mistake("ファイルの なまえが からです。", "the output file name is empty.");
            line.output = value;
        }
    }
    if (!worksheet && line.request.count == 0 && !line.seedGiven && line.output.empty())
        return line; // the window, with the toolkit's options
    if (!worksheet)
        return mistake("--worksheet で けいさんと レベルを えらんでください。",
            "choose the operation and level with --worksheet OP:LEVEL.");
    if (line.output.empty())
        return mistake("-o で PDF ファイルの なまえを きめてください。",
            "name the PDF file with -o FILE.pdf.");
    line.action = CommandLine::Action::Worksheet;
    return line;
}

std::string helpText()
{
    return "つかいかた / Usage:\n"
           "  pikomaru                  ドリルの ウィンドウを ひらきます。Opens the drill's "
           "window.\n"
           "  pikomaru --worksheet OP:LEVEL [--count N] [--seed S] -o FILE.pdf\n"
           "                            プリントを PDF に します（ウィンドウは ひらきません）。\n"
           "                            Writes a worksheet and its answers to a PDF, with no "
           "window.\n"
           "      OP     1〜4、たしざん ひきざん かけざん わりざん、add sub mul div\n"
           "      LEVEL  ウィンドウで えらべる レベル / a level the window offers (div:4, 3:L12)\n"
           "      N      もんだいの かず 1〜99（ない ときは A4 1まい ぶん）/ problems, 1-99 "
           "(default: one A4 sheet)\n"
           "      S      おなじ プリントを また つくる ための シード（ない ときは じこく）/\n"
           "             the seed, to print the same sheet again (default: the time of day)\n"
           "  pikomaru --help            この せつめい / this help\n"
           "  pikomaru --version         バージョン / the version\n"
           "まちがった ひきすうの ときは 2 で おわります。Exits with status 2 on a wrong "
           "argument.\n";
}

std::string versionText(std::string_view version)
{
    return "pikomaru " + std::string(version) + "\n";
}

} // namespace piko
