// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The pupil's actions, handed to the drill flow.
#include "app/DrawingSurface.h"
#include "app/Form1.h"
#include "app/RowButton.h"
#include "drill/Design.h"
#include "drill/Keypad.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimerEvent>

namespace piko {
void Form1::Command1_Click(int index)
{
    m_flow->chooseOperation(index + 1);
}
void Form1::Option1_Click(int index)
{
    m_flow->chooseLevel(Division, index + 1);
}
void Form1::Option2_Click(int index)
{
    m_flow->chooseLevel(Addition, index + 1);
}
void Form1::Option3_Click(int index)
{
    m_flow->chooseLevel(Subtraction, index + 1);
}
void Form1::Option4_Click(int index)
{
    m_flow->chooseLevel(Multiplication, index + 1);
}
void Form1::Command10_Click()
{
    m_flow->decide(Addition);
}
void Form1::Command12_Click()
{
    m_flow->decide(Subtraction);
}
void Form1::Command14_Click()
{
    m_flow->decide(Multiplication);
}
void Form1::Command3_Click()
{
    m_flow->decide(Division);
}
void Form1::Command11_Click()
{
    m_flow->cancel(Addition);
}
void Form1::Command13_Click()
{
    m_flow->cancel(Subtraction);
}
void Form1::Command15_Click()
{
    m_flow->cancel(Multiplication);
}
void Form1::Command4_Click()
{
    m_flow->cancel(Division);
}
void Form1::Picture1_MouseDown(int, int, int x, int y)
{
    m_flow->pressSurface(x, y);
}
void Form1::Command6_Click(int index)
{
    commitComposition(keypadKey(index).value_or(KeypadKey {}).row);
    m_flow->pressKey(index);
}
void Form1::Command7_Click(int index)
{
    m_flow->erase(index + 1);
}
void Form1::Command9_Click(int index)
{
    m_flow->chooseBox(index + 1, Box::Remainder);
}
void Form1::Text1_Click(int index)
{
    m_flow->chooseBox(index + 1, Box::Answer);
}
void Form1::Text2_Click(int index)
{
    m_flow->chooseBox(index + 1, Box::Remainder);
}
void Form1::Command5_Click(int index)
{
    commitComposition(index + 1);
    m_flow->check(index + 1);
}
void Form1::Command8_Click()
{
    m_flow->finish();
}
void Form1::Command2_Click()
{
    m_flow->exit();
}

void Form1::connectHandlers()
{
    for (int i = 0; i < 4; ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(Picture1, &DrawingSurface::mouseDown, this, &Form1::Picture1_MouseDown);

    using OptionHandler = void (Form1::*)(int);
    using Handler = void (Form1::*)();
    const OptionHandler options[] = { &Form1::Option2_Click, &Form1::Option3_Click,
        &Form1::Option4_Click, &Form1::Option1_Click };
    const Handler decides[] = { &Form1::Command10_Click, &Form1::Command12_Click,
        &Form1::Command14_Click, &Form1::Command3_Click };
    const Handler cancels[] = { &Form1::Command11_Click, &Form1::Command13_Click,
        &Form1::Command15_Click, &Form1::Command4_Click };
    for (int op = 0; op < 4; ++op) {
        const PanelControls &panel = m_panels[op];
        for (int i = 0; i < int(panel.options.size()); ++i)
            // Chosen by a click, the keyboard or a screen reader's toggle alike.
            connect(panel.options[i], &QRadioButton::toggled, this,
                [this, handler = options[op], i](bool on) {
                    if (on && !m_showing)
                        (this->*handler)(i);
                });
        connect(panel.decide, &QPushButton::clicked, this, decides[op]);
        connect(panel.cancel, &QPushButton::clicked, this, cancels[op]);
    }

    for (int r = 0; r < 3; ++r) {
        const RowControls &row = m_rows[r];
        for (int d = 0; d <= 9; ++d) {
            const int index = keypadIndex({ r + 1, d });
            connect(row.digits[d], &QPushButton::clicked, this,
                [this, index] { Command6_Click(index); });
        }
        connect(row.erase, &QPushButton::clicked, this, [this, r] { Command7_Click(r); });
        connect(row.remainderButton, &QPushButton::clicked, this, [this, r] { Command9_Click(r); });
        connect(row.check, &QPushButton::clicked, this, [this, r] { Command5_Click(r); });
        connect(row.row, &RowButton::clicked, this, [this, r] { m_flow->openRow(r + 1); });
        for (auto [box, which] : { std::pair { row.answer, Box::Answer },
                 std::pair { row.remainder, Box::Remainder } }) {
            connect(box, &QLineEdit::returnPressed, this, [this, r] { Command5_Click(r); });
            connect(box, &QLineEdit::textChanged, this, [this, r, which](const QString &text) {
                if (!m_showing)
                    m_flow->type(r + 1, which, text.toStdString());
            });
        }
    }
}

} // namespace piko
