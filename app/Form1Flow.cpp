// The drill flow: choosing, rows, answer entry, checking, finishing and exit.
#include "app/DrawingSurface.h"
#include "app/Form1.h"
#include "drill/BoxReading.h"
#include "generators/Generators.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>

namespace piko {
namespace {

const QColor kActiveBox(255, 200, 200);
const QColor kInactiveBox(200, 200, 200);

void setBoxColour(QLineEdit *box, QColor colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

int rowTop(int row)
{
    return 200 * (row - 1);
}

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

} // namespace

// Operation buttons: たしざん, ひきざん, かけざん, わりざん.
void Form1::Command1_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    m_state.Level = 0;
    m_state.Operation = static_cast<std::int16_t>(index + 1);
    for (Panel &panel : m_panels)
        panel.picture->hide();
    clearOptionSelection();
    Panel &panel = panelOf(m_state.Operation);
    panel.picture->move(2, m_state.ScreenWidth >= 1000 ? 50 : 35);
    panel.picture->show();
    panel.picture->raise();
}

void Form1::Option1_Click(int index)
{
    optionClicked(Division, index);
}
void Form1::Option2_Click(int index)
{
    optionClicked(Addition, index);
}
void Form1::Option3_Click(int index)
{
    optionClicked(Subtraction, index);
}
void Form1::Option4_Click(int index)
{
    optionClicked(Multiplication, index);
}

void Form1::optionClicked(int operation, int index)
{
    m_state.Level = static_cast<std::int16_t>(index + 1);
    const bool remainder = operation == Division
        && (index == 3 || index == 6 || index == 8 || index == 10 || index == 12 || index == 13
            || (index >= 16 && index <= 25));
    m_state.RemainderMode = remainder ? 1 : 0;
}

void Form1::Command10_Click()
{
    decide(Addition);
}
void Form1::Command12_Click()
{
    decide(Subtraction);
}
void Form1::Command14_Click()
{
    decide(Multiplication);
}
void Form1::Command3_Click()
{
    decide(Division);
}
void Form1::Command11_Click()
{
    cancel(Addition);
}
void Form1::Command13_Click()
{
    cancel(Subtraction);
}
void Form1::Command15_Click()
{
    cancel(Multiplication);
}
void Form1::Command4_Click()
{
    cancel(Division);
}

void Form1::decide(int operation)
{
    if (m_state.Level == 0) {
        m_seams.messages.inform(
            QStringLiteral("レベルをきめてから、けっていボタンをおしてください。"));
        return;
    }
    drawEmptyRows();
    Picture1->setForeColor(kBlack);
    for (int y : { 140, 340, 540 }) {
        Picture1->setCurrentX(40);
        Picture1->setCurrentY(y);
        Picture1->print(QStringLiteral("ここをクリックしてください。"));
    }
    // An open row stays open: show its status line and problem again rather than an
    // invitation beside its answer box.
    for (int row = 1; row <= 3; ++row)
        if (m_state.ProblemHistory.RowStarted(row) != 0)
            reprintOpenRow(row);
    panelOf(operation).picture->hide();
    renderPictures();
    Picture1->move(operation == Multiplication ? 4 : 8, 50);
    Picture1->show();
}

// Cancelling leaves no level chosen, so no option shows as chosen either.
void Form1::cancel(int operation)
{
    m_state.Level = 0;
    panelOf(operation).picture->hide();
    clearOptionSelection();
}

void Form1::clearOptionSelection()
{
    for (Panel &panel : m_panels) {
        for (QRadioButton *option : panel.options) {
            if (!option->isChecked())
                continue;
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(true);
        }
    }
}

void Form1::drawEmptyRows()
{
    const int rows = m_state.ScreenWidth > 1000 ? 3 : 2;
    for (int row = 1; row <= rows; ++row)
        drawRowFrame(row);
}

// A row's white rounded frame, which wipes whatever the row showed.
void Form1::drawRowFrame(int row)
{
    const int y0 = rowTop(row);
    Picture1->setForeColor(kWhite);
    Picture1->setFillColor(kWhite);
    Picture1->setSolidFill(true);
    Picture1->roundRect(20, y0 + 70, 770, y0 + 260, 30, 30);
}

void Form1::reprintOpenRow(int row)
{
    const int y0 = rowTop(row);
    drawRowFrame(row);
    Picture1->setForeColor(kBlack);
    Picture1->setCurrentX(20);
    Picture1->setCurrentY(y0 + 80);
    Picture1->print(m_shownStatus[row]);
    Picture1->setCurrentX(80);
    Picture1->setCurrentY(y0 + 160);
    Picture1->print(m_shownProblem[row]);
}

// A click into the drill surface opens the row under it (or only makes it current when open).
void Form1::Picture1_MouseDown(int, int, int x, int y)
{
    const bool across = 20 < x && x < 770;
    int row = 0;
    if (across && 70 < y && y < 260)
        row = 1;
    else if (across && 270 < y && y < 460)
        row = 2;
    else if (across && 470 < y && y < 660 && m_state.ScreenWidth > 1000)
        row = 3;
    if (row == 0) {
        m_seams.beeper.beep();
        return;
    }
    m_state.CurrentRow = static_cast<std::int16_t>(row);
    auto &h = m_state.ProblemHistory;
    if (h.RowStarted(row) != 0)
        return;
    h.setRowStarted(row, 1);
    h.clearSlots(row, 1, 200);
    prepareRow();
    const int i = row - 1;
    Text1[i]->show();
    Command5[i]->show();
    Picture6[i]->show();
    Command9[i]->setVisible(m_state.RemainderMode == 1);
    Text2[i]->setVisible(m_state.RemainderMode == 1);
}

// Wipes the current row, has the generator make its next problem, prints it and places the
// answer box (and the remainder button and box) just after the printed text.
void Form1::prepareRow()
{
    const int row = m_state.CurrentRow;
    if (row < 1 || row > 3)
        return;
    const int i = row - 1;
    const int y0 = rowTop(row);
    drawRowFrame(row);
    Picture1->refresh();

    if (!makeProblem(m_state, m_seams.random, *Picture1))
        return;
    m_shownStatus[row] = statusLine(m_state, row, m_state.ProblemHistory.ProblemCount(row));
    m_shownProblem[row] = m_state.ProblemText;

    Picture1->setCurrentX(80);
    Picture1->setCurrentY(y0 + 160);
    Picture1->setForeColor(kBlack);
    const QString text = QString::fromStdString(m_state.ProblemText);
    Picture1->print(text);
    const int w = Picture1->textWidth(text);
    Text1[i]->move(w + 90, y0 + 157);
    setBoxColour(Text1[i], kActiveBox);
    if (m_state.RemainderMode == 1) {
        Text2[i]->move(w + 311, y0 + 157);
        Command9[i]->move(w + 220, y0 + 160);
        m_state.InputTarget[row] = 0;
        setBoxColour(Text2[i], kInactiveBox);
    }
    // A row that stays open across a change of level shows the remainder box exactly when its
    // new problem asks for a remainder: without it a right answer could not be given.
    Command9[i]->setVisible(m_state.RemainderMode == 1);
    Text2[i]->setVisible(m_state.RemainderMode == 1);
    m_state.InputTarget[row] = 0;
    Text1[i]->clear();
    Text2[i]->clear();
}

// Keypad digits: Command6(0..9) row 1, (10..19) row 2, (20..29) row 3, digits running down
// from 9 on rows 2 and 3.
void Form1::Command6_Click(int index)
{
    int row = 0, digit = 0;
    if (index >= 0 && index <= 9) {
        row = 1;
        digit = index;
    } else if (index >= 10 && index <= 19) {
        row = 2;
        digit = 19 - index;
    } else if (index >= 20 && index <= 29) {
        row = 3;
        digit = 29 - index;
    } else {
        return;
    }
    QLineEdit *target = m_state.InputTarget[row] != 0 ? Text2[row - 1] : Text1[row - 1];
    target->setText(target->text() + QString::number(digit));
}

// けす empties the whole active box of its row.
void Form1::Command7_Click(int index)
{
    if (index < 0 || index > 2)
        return;
    QLineEdit *target = m_state.InputTarget[index + 1] != 0 ? Text2[index] : Text1[index];
    target->clear();
}

void Form1::Command9_Click(int index)
{
    setActiveBox(index, true);
}

void Form1::Text1_Click(int index)
{
    setActiveBox(index, false);
}

void Form1::Text2_Click(int index)
{
    setActiveBox(index, true);
}

void Form1::setActiveBox(int index, bool remainder)
{
    if (index < 0 || index > 2)
        return;
    m_state.InputTarget[index + 1] = remainder ? 1 : 0;
    setBoxColour(Text1[index], remainder ? kInactiveBox : kActiveBox);
    setBoxColour(Text2[index], remainder ? kActiveBox : kInactiveBox);
}

// ﾁｪｯｸ: judges the row's answer (and remainder), shows ○ or × for a moment, records the attempt,
// and moves on to the next problem after a right answer or the third wrong one.
void Form1::Command5_Click(int index)
{
    if (index < 0 || index > 2 || m_blinking)
        return;
    const int row = index + 1;
    m_state.CurrentRow = static_cast<std::int16_t>(row);
    auto &h = m_state.ProblemHistory;
    if (h.RowStarted(row) == 0)
        return; // a closed row has nothing to check
    if (Text1[index]->text().isEmpty()) {
        m_seams.messages.inform(QStringLiteral("こたえをタイプしてください。"));
        return;
    }
    m_state.InputTarget[row] = 0;
    const double A = boxValue(Text1[index]->text().toStdString());
    const double R = boxValue(Text2[index]->text().toStdString());
    const int n = h.ProblemCount(row);
    const int attempt = std::min(h.Attempts(row, n) + 1, 3);
    h.setField(row, n, Field::Attempts, attempt);

    const int y0 = rowTop(row);
    Picture1->setCurrentX(50);
    Picture1->setCurrentY(y0 + 158);
    Picture1->setForeColor(kRed);
    const bool right = A == h.Answer(row, n) && R == h.Remainder(row, n);
    const QString mark = right ? QStringLiteral("○") : QStringLiteral("×");
    // The white square alone can leave the edge of a large mark behind: keep what lay under the
    // mark's whole cell and put it back after the square.
    const QRect cell = QRect(50, y0 + 158, Picture1->textWidth(mark), Picture1->textHeight())
                           .united(QRect(50, y0 + 156, 25, 25));
    const QImage under = Picture1->snapshot(cell);
    Picture1->print(mark);
    blink();
    Picture1->fillSquare(50, y0 + 156, 25, kWhite);
    Picture1->restore(cell, under);

    if (right) {
        h.setField(row, n, Field::Outcome, attempt == 1 ? 1 : 2);
        h.setAttemptResult(row, n, attempt, 1);
        prepareRow();
    } else {
        Text1[index]->clear();
        Text2[index]->clear();
        setBoxColour(Text1[index], kActiveBox);
        setBoxColour(Text2[index], kInactiveBox);
        h.setAttemptResult(row, n, attempt, 3);
        if (attempt == 3) {
            h.setField(row, n, Field::Outcome, 3);
            prepareRow();
        }
    }
    releaseHeldInput();
}

// The mark stays on screen for one to two seconds after the beep: two changes of the clock's
// second. Meanwhile the window keeps painting, and the pupil's clicks and keys wait, in order,
// until the mark is gone.
void Form1::blink()
{
    Picture1->refresh();
    m_seams.beeper.beep();
    m_blinking = true;
    qApp->installEventFilter(this);
    for (int i = 0; i < 2; ++i) {
        const std::string noted = m_seams.clock.timeOfDay();
        while (m_seams.clock.timeOfDay() == noted) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
            QThread::msleep(5);
        }
    }
    qApp->removeEventFilter(this);
    m_blinking = false;
}

// Held input is handled first in, first out; input held by a blink that a held click starts
// joins the end of the same queue, so everything is handled in the order it came.
void Form1::releaseHeldInput()
{
    while (!m_heldInput.empty() && !m_blinking) {
        auto [receiver, event] = std::move(m_heldInput.front());
        m_heldInput.pop_front();
        if (receiver)
            QCoreApplication::sendEvent(receiver, event.get());
    }
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (m_blinking && isUserInput(event) && watched->isWidgetType()) {
        m_heldInput.emplace_back(watched, std::unique_ptr<QEvent>(event->clone()));
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 3; ++i) {
            if (watched == Text1[i])
                Text1_Click(i);
            else if (watched == Text2[i])
                Text2_Click(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// 終わる: after a Yes, every row closes and its records go; the level panel comes back.
void Form1::Command8_Click()
{
    if (!m_seams.messages.ask(QStringLiteral("けいさんれんしゅうは、みなさん　おわりましたか？")))
        return;
    Picture1->hide();
    Panel &panel = panelOf(m_state.Operation);
    panel.picture->show();
    panel.picture->raise();
    for (int row = 1; row <= 3; ++row) {
        const int i = row - 1;
        Command9[i]->hide();
        Text1[i]->hide();
        Command5[i]->hide();
        Picture6[i]->hide();
        Text2[i]->hide();
        m_state.ProblemHistory.clearRow(row);
        m_state.InputTarget[row] = 0;
    }
}

// 「ぴこまる」おわり: after a Yes the program ends at once. Nothing is saved.
void Form1::Command2_Click()
{
    if (!m_seams.messages.ask(QStringLiteral("「ぴこまる」を　終わります。")))
        return;
    close();
    QCoreApplication::quit();
}

} // namespace piko
