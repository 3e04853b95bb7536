// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Design.h"
#include "drill/Operations.h"

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Every control of the window by a name the compiler checks: the design's names, and Row, each
// problem row's own button. A control's id in a face (objectName, element id) is its name with
// its index: "Command6(12)", "Text1(2)", "Command2".
namespace piko {

enum class Name : std::uint8_t {
    Command1,
    Command2,
    Picture1,
    Label1,
    Command8,
    Picture3,
    Picture2,
    Picture4,
    Text1,
    Text2,
    Command9,
    Command5,
    Picture6,
    Command6,
    Command7,
    Row,
    Picture7,
    Picture8,
    Picture9,
    Picture5,
    Label2,
    Option2,
    Option3,
    Option4,
    Option1,
    Command10,
    Command11,
    Command12,
    Command13,
    Command14,
    Command15,
    Command3,
    Command4,
};
inline constexpr std::array<const char *, 33> kNames { "Command1", "Command2", "Picture1", "Label1",
    "Command8", "Picture3", "Picture2", "Picture4", "Text1", "Text2", "Command9", "Command5",
    "Picture6", "Command6", "Command7", "Row", "Picture7", "Picture8", "Picture9", "Picture5",
    "Label2", "Option2", "Option3", "Option4", "Option1", "Command10", "Command11", "Command12",
    "Command13", "Command14", "Command15", "Command3", "Command4" };

constexpr const char *text(Name name)
{
    return kNames[static_cast<std::size_t>(name)];
}
constexpr std::optional<Name> nameOf(std::string_view text)
{
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (text == kNames[i])
            return static_cast<Name>(i);
    return std::nullopt;
}

struct ControlId {
    Name name = Name::Command2;
    int index = -1; // its place in its control array; -1 for a single control
    bool operator==(const ControlId &) const = default;
    auto operator<=>(const ControlId &) const = default;
};

// "Command6(12)", "Command2".
std::string idText(ControlId id);
// The control an id names; none for anything else.
std::optional<ControlId> parseId(std::string_view text);

// The operation (1..4) whose panel a control belongs to, its level options, けってい and
// ｷｬﾝｾﾙ; 0 for any other control.
constexpr int panelOperation(Name name)
{
    for (const OperationDesign &op : operations::kAll)
        for (const char *member :
            { op.panel.picture.name, op.panel.options, op.panel.decide.name, op.panel.cancel.name })
            if (std::string_view(member) == text(name))
                return op.code;
    return 0;
}

// Every name in the design tables is one of the names above.
constexpr bool designNamesKnown()
{
    for (const design::Control &c : design::kControls)
        if (!nameOf(c.name) || !nameOf(c.parent == std::string_view("Form1") ? "Row" : c.parent))
            return false;
    for (const design::Panel &p : design::kPanels)
        for (const char *name :
            { p.picture.name, p.heading.name, p.options, p.decide.name, p.cancel.name })
            if (!nameOf(name))
                return false;
    return nameOf(design::kDigit.name) && nameOf(design::kErase.name);
}
static_assert(designNamesKnown(), "a control of the design has no Name");

} // namespace piko
