// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "drill/Placement.h"

#include "drill/Keypad.h"
#include "drill/Operations.h"

namespace piko::design {
namespace {

constexpr const char *kDigitCaptions[] = { "0", "1", "2", "3", "4", "5", "6", "7", "8", "9" };

void apply(Placed &p, const Change &change)
{
    if (!sameName(p.control.name, change.name)
        || (change.index >= 0 && p.control.index != change.index))
        return;
    p.place = { change.left.value_or(p.place.left), change.top.value_or(p.place.top),
        change.width.value_or(p.place.width), change.height.value_or(p.place.height) };
    if (change.points) {
        Font font = p.control.font.value_or(kForm1.font);
        font.points = *change.points;
        p.control.font = font;
    }
    if (change.shown)
        p.control.shown = *change.shown;
}

} // namespace

std::vector<Placed> placeControls(const Layout &layout)
{
    std::vector<Placed> out;
    const auto add = [&out](const Control &c) { out.push_back({ c, pixels(c.place) }); };
    for (const Control &control : kControls) {
        add(control);
        if (!sameName(control.name, "Picture6"))
            continue;
        const int row = control.index + 1;
        for (int d = 0; d <= 9; ++d) {
            Control digit = kDigit;
            digit.index = keypadIndex({ row, d });
            digit.parent = "Picture6";
            digit.parentIndex = control.index;
            digit.place.left = kDigitStep * d;
            digit.caption = kDigitCaptions[d];
            add(digit);
        }
        Control erase = kErase;
        erase.index = control.index;
        erase.parent = "Picture6";
        erase.parentIndex = control.index;
        add(erase);
    }
    for (const OperationDesign &op : operations::kAll) {
        const Panel &panel = op.panel;
        add(panel.picture);
        const auto child = [&](Control c) {
            c.parent = panel.picture.name;
            return c;
        };
        add(child(panel.heading));
        for (int i = 0; i < int(op.captions.size()); ++i) {
            Control option { .kind = Kind::Option,
                .name = panel.options,
                .index = i,
                .parent = panel.picture.name,
                .caption = op.captions[i],
                .back = panel.picture.back,
                .font = kOptionFont,
                .shown = i < op.offered };
            if (layout.options.points)
                option.font->points = *layout.options.points;
            out.push_back({ option, optionPlace(layout, panel, i) });
        }
        add(child(panel.decide));
        add(child(panel.cancel));
    }
    for (Placed &p : out)
        for (int c = 0; c < layout.changeCount; ++c)
            apply(p, layout.changes[c]);
    return out;
}

} // namespace piko::design
