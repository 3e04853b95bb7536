// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The flow's view put on the controls: panels, options, the surface, each row's controls, where
// the keyboard's focus goes, and what a screen reader hears.
#include "app/DrawingSurface.h"
#include "app/Form1.h"
#include "app/RowButton.h"
#include "drill/Design.h"
#include "drill/Texts.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace piko {
namespace {

// How often the clock is looked at while a mark is shown.
constexpr int kMarkTickMs = 50;

void setBoxColour(QLineEdit *box, Rgb colour)
{
    const QColor wanted(colour.r, colour.g, colour.b);
    if (box->palette().color(QPalette::Base) == wanted)
        return;
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, wanted);
    box->setPalette(palette);
}

void setText(QLineEdit *box, const std::string &text)
{
    const QString wanted = QString::fromStdString(text);
    if (box->text() != wanted)
        box->setText(wanted);
}

void nameFor(QWidget *widget, const QString &name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

} // namespace

// Puts the flow's view on the controls.
void Form1::showView()
{
    const View &view = m_flow->view();
    const View before = m_shown;
    m_showing = true;
    for (int op = 1; op <= 4; ++op) {
        QWidget *panel = m_panels[op - 1].picture;
        const bool shown = view.panel == op;
        if (shown && panel->isHidden()) {
            place(
                panel, QRect(QPoint(design::kPanelLeft, view.panelTop), built(panel).place.size()));
            panel->show();
            panel->raise();
        } else if (!shown) {
            panel->hide();
        }
    }
    showOptions();
    // Under a level panel the rows are out of reach, for the keyboard too.
    Picture1->setEnabled(view.panel == 0);
    if (view.surfaceShown) {
        place(Picture1,
            QRect(QPoint(view.surfaceLeft, design::kSurfaceTop), built(Picture1).place.size()));
        Picture1->show();
        renderPictures();
    } else {
        Picture1->hide();
    }
    for (int row = 1; row <= 3; ++row)
        showRow(row);
    showFocus(before);
    m_shown = view;
    m_showing = false;

    if (m_flow->holding() && !m_markTimer.isActive())
        m_markTimer.start(kMarkTickMs, this);
    else if (!m_flow->holding())
        m_markTimer.stop();
    if (view.markRow != 0 && before.markRow == 0) {
        QAccessibleEvent alert(m_rows[view.markRow - 1].row, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
    if (view.ended) {
        close();
        QCoreApplication::quit();
    }
}

// An option shows as chosen exactly when the flow's chosen level is its level.
void Form1::showOptions()
{
    const View &view = m_flow->view();
    for (int op = 1; op <= 4; ++op) {
        const auto &options = m_panels[op - 1].options;
        for (int i = 0; i < int(options.size()); ++i) {
            const bool chosen = view.chosenOperation == op && view.chosenLevel == i + 1;
            if (options[i]->isChecked() == chosen)
                continue;
            options[i]->setAutoExclusive(false);
            options[i]->setChecked(chosen);
            options[i]->setAutoExclusive(true);
        }
    }
}

void Form1::showRow(int row)
{
    const View &all = m_flow->view();
    const RowView &view = m_flow->row(row);
    const RowControls &controls = m_rows[row - 1];
    for (QWidget *w :
        std::initializer_list<QWidget *> { controls.answer, controls.check, controls.keypad })
        w->setVisible(view.open);
    controls.remainder->setVisible(view.remainderShown);
    controls.remainderButton->setVisible(view.remainderShown);
    const auto at
        = [this](QWidget *w, Point p) { place(w, QRect(QPoint(p.x, p.y), built(w).place.size())); };
    at(controls.answer, view.answerBox);
    at(controls.remainder, view.remainderBox);
    at(controls.remainderButton, view.remainderButton);
    setText(controls.answer, view.answer);
    setText(controls.remainder, view.remainder);
    const bool remainderPink = m_flow->activeBox(row) == Box::Remainder;
    setBoxColour(controls.answer, remainderPink ? design::kInactiveBox : design::kActiveBox);
    setBoxColour(controls.remainder, remainderPink ? design::kActiveBox : design::kInactiveBox);

    // The row as a screen reader hears it: what the pupil reads there, the mark first while
    // it shows.
    controls.row->setVisible(all.decided && all.surfaceShown && row <= m_flow->rowCount());
    const QString mark = all.markRow != row
        ? QString()
        : QString::fromUtf8(all.markRight ? names::kRight : names::kWrong);
    nameFor(controls.row, QString::fromStdString(m_flow->spoken(row)));
    if (controls.answer->accessibleDescription() != mark)
        controls.answer->setAccessibleDescription(mark);
}

// The keyboard's focus follows the drill: into a panel when it opens, onto the first row when
// the rows appear, into a row's answer box when the row opens, gets a new problem or its
// mark ends, and always onto the box that turns pink.
void Form1::showFocus(const View &before)
{
    const View &view = m_flow->view();
    QWidget *focus = nullptr;
    if (view.panel != 0 && view.panel != before.panel) {
        const PanelControls &panel = m_panels[view.panel - 1];
        const int chosen = view.chosenOperation == view.panel ? view.chosenLevel - 1 : 0;
        focus = panel.options[std::clamp(chosen, 0, int(panel.options.size()) - 1)];
    } else if (view.surfaceShown && view.decided && !(before.surfaceShown && before.decided)) {
        focus = m_rows[0].row;
    }
    for (int row = 1; row <= 3; ++row) {
        const RowView &now = view.rows[row - 1], &was = before.rows[row - 1];
        const RowControls &controls = m_rows[row - 1];
        const int problem = m_flow->state().ProblemHistory.ProblemCount(row);
        if (!now.open || view.panel != 0)
            continue;
        const Box active = m_flow->activeBox(row);
        if (!was.open || problem != m_shownProblem[row - 1]
            || (before.markRow == row && view.markRow == 0))
            focus = controls.answer;
        else if (active != m_shownActive[row - 1])
            focus = active == Box::Remainder ? controls.remainder : controls.answer;
        m_shownProblem[row - 1] = problem;
        m_shownActive[row - 1] = active;
    }
    if (focus && focus->isVisible())
        focus->setFocus(Qt::OtherFocusReason);
}

} // namespace piko
