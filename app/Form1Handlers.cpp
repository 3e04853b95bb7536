// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The pupil's actions, handed to the drill flow, and the flow's view put on the controls.
#include "app/DrawingSurface.h"
#include "app/Form1.h"
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
namespace {

// How often the clock is looked at while a mark is shown.
constexpr int kMarkTickMs = 50;

bool isUserInput(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

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

} // namespace

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
            connect(panel.options[i], &QRadioButton::clicked, this,
                [this, handler = options[op], i] { (this->*handler)(i); });
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
        for (auto [box, which] : { std::pair { row.answer, Box::Answer },
                 std::pair { row.remainder, Box::Remainder } }) {
            box->installEventFilter(this);
            connect(box, &QLineEdit::returnPressed, this, [this, r] { Command5_Click(r); });
            connect(box, &QLineEdit::textChanged, this, [this, r, which](const QString &text) {
                if (!m_showing)
                    m_flow->type(r + 1, which, text.toStdString());
            });
        }
    }
}

// Puts the flow's view on the controls.
void Form1::showView()
{
    const View &view = m_flow->view();
    m_showing = true;
    for (int op = 1; op <= 4; ++op) {
        QWidget *panel = m_panels[op - 1].picture;
        const bool shown = view.panel == op;
        if (shown && panel->isHidden()) {
            panel->move(2, view.panelTop);
            panel->show();
            panel->raise();
        } else if (!shown) {
            panel->hide();
        }
    }
    showOptions();
    if (view.surfaceShown) {
        Picture1->move(view.surfaceLeft, 50);
        Picture1->show();
        renderPictures();
    } else {
        Picture1->hide();
    }
    for (int row = 1; row <= 3; ++row)
        showRow(row);
    m_showing = false;

    if (m_flow->holding() && !m_markTimer.isActive())
        m_markTimer.start(kMarkTickMs, this);
    else if (!m_flow->holding())
        m_markTimer.stop();
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
    const RowView &view = m_flow->row(row);
    const RowControls &controls = m_rows[row - 1];
    for (QWidget *w :
        std::initializer_list<QWidget *> { controls.answer, controls.check, controls.keypad })
        w->setVisible(view.open);
    controls.remainder->setVisible(view.remainderShown);
    controls.remainderButton->setVisible(view.remainderShown);
    controls.answer->move(view.answerBox.x, view.answerBox.y);
    controls.remainder->move(view.remainderBox.x, view.remainderBox.y);
    controls.remainderButton->move(view.remainderButton.x, view.remainderButton.y);
    setText(controls.answer, view.answer);
    setText(controls.remainder, view.remainder);
    const bool remainderActive = m_flow->activeBox(row) == Box::Remainder;
    setBoxColour(controls.answer, remainderActive ? design::kInactiveBox : design::kActiveBox);
    setBoxColour(controls.remainder, remainderActive ? design::kActiveBox : design::kInactiveBox);
}

void Form1::tickMark()
{
    m_flow->tick();
}

void Form1::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_markTimer.timerId())
        tickMark();
    else
        QWidget::timerEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // While a mark is shown, the pupil's input to this window waits, in order, for the flow.
    if (m_flow->holding() && isUserInput(event) && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        std::shared_ptr<QEvent> held(event->clone());
        m_flow->hold([receiver = QPointer<QObject>(watched), held] {
            if (receiver)
                QCoreApplication::sendEvent(receiver, held.get());
        });
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (int r = 0; r < 3; ++r) {
            if (watched == m_rows[r].answer)
                Text1_Click(r);
            else if (watched == m_rows[r].remainder)
                Text2_Click(r);
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace piko
