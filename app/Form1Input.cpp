// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The pupil's input before it becomes an action: held while a mark is shown, keys for the
// keyboard-only pupil, text an input method is still composing, presses on what is only a
// picture, and the window being closed.
#include "app/DrawingSurface.h"
#include "app/Form1.h"
#include "app/RowButton.h"
#include "drill/Operations.h"

#include <QApplication>
#include <QCloseEvent>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimerEvent>

namespace piko {
namespace {

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

bool isPress(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
        || event->type() == QEvent::MouseButtonDblClick;
}

} // namespace

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
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != this)
        return QWidget::eventFilter(watched, event);
    // While a mark is shown, the pupil's input to this window waits, in order, for the flow.
    if (m_flow->holding() && isUserInput(event)) {
        std::shared_ptr<QEvent> held(event->clone());
        m_flow->hold([receiver = QPointer<QObject>(watched), held] {
            if (receiver)
                QCoreApplication::sendEvent(receiver, held.get());
        });
        return true;
    }
    // The prompt and the pictures are only to look at: a press there is not a press on the rows.
    if (isPress(event)
        && (watched == Label1 || watched == Picture2 || watched == Picture3 || watched == Picture4))
        return true;
    if (event->type() == QEvent::KeyPress && handleKey(watched, static_cast<QKeyEvent *>(event)))
        return true;
    for (int r = 0; r < 3; ++r) {
        for (int b = 0; b < 2; ++b) {
            QLineEdit *box = b == 0 ? m_rows[r].answer : m_rows[r].remainder;
            if (watched != box)
                continue;
            // The box with the focus is the active one, whatever put the focus there.
            if ((event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress)
                && !m_showing)
                b == 0 ? Text1_Click(r) : Text2_Click(r);
            if (event->type() == QEvent::InputMethod)
                m_composing[2 * r + b] = static_cast<QInputMethodEvent *>(event)->preeditString();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Keys a pupil without a mouse needs: Enter presses the focused button, the arrow keys choose
// a level and move between rows, F11 shows the drill on the whole screen.
bool Form1::handleKey(QObject *watched, QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_F11) {
        isFullScreen() ? showNormal() : showFullScreen();
        return true;
    }
    auto *button = qobject_cast<QAbstractButton *>(watched);
    if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        button->click();
        return true;
    }
    if (auto *option = qobject_cast<QRadioButton *>(watched)) {
        for (int op = 1; op <= 4; ++op) {
            const auto &options = m_panels[op - 1].options;
            const int i = int(std::find(options.begin(), options.end(), option) - options.begin());
            if (i == int(options.size()))
                continue;
            if (key == Qt::Key_Tab) { // on from the list to its けってい
                m_panels[op - 1].decide->setFocus(Qt::TabFocusReason);
                return true;
            }
            const int column = operations::of(op).panel.secondColumnFrom;
            const int step = key == Qt::Key_Up ? -1
                : key == Qt::Key_Down          ? 1
                : key == Qt::Key_Left          ? -column
                : key == Qt::Key_Right         ? column
                                               : 0;
            const int target = i + step;
            if (step == 0 || target < 0 || target >= int(options.size())
                || options[target]->isHidden())
                return step != 0;
            options[target]->setFocus(Qt::OtherFocusReason);
            options[target]->click();
            return true;
        }
    }
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        for (int r = 0; r < 3; ++r) {
            const RowControls &row = m_rows[r];
            if (watched == row.row || watched == row.answer || watched == row.remainder) {
                focusRow(r + 1 + (key == Qt::Key_Up ? -1 : 1));
                return true;
            }
        }
    }
    return false;
}

// Row 1..3 gets the focus: its answer box when it is open, else the row itself.
void Form1::focusRow(int row)
{
    if (row < 1 || row > m_flow->rowCount())
        return;
    const RowControls &controls = m_rows[row - 1];
    QWidget *target = m_flow->row(row).open ? static_cast<QWidget *>(controls.answer)
                                            : static_cast<QWidget *>(controls.row);
    if (target->isVisible())
        target->setFocus(Qt::OtherFocusReason);
}

// Digits an input method is still composing belong to the box: they are committed before the
// row's box is read or a keypad digit is added, so none is lost.
void Form1::commitComposition(int row)
{
    if (row < 1 || row > 3)
        return;
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->commit();
    for (int b = 0; b < 2; ++b) {
        QString &composing = m_composing[2 * (row - 1) + b];
        if (composing.isEmpty())
            continue;
        QInputMethodEvent commit;
        commit.setCommitString(composing);
        composing.clear();
        QCoreApplication::sendEvent(
            b == 0 ? m_rows[row - 1].answer : m_rows[row - 1].remainder, &commit);
    }
}

// Closing the window while a row is open asks first, as 「ぴこまる」おわり does.
void Form1::closeEvent(QCloseEvent *event)
{
    if (m_flow->view().ended || !m_flow->anyRowOpen()) {
        event->accept();
        return;
    }
    event->ignore();
    Command2_Click();
    if (m_flow->view().ended) // answered at once
        event->accept();
}

} // namespace piko
