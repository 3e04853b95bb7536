// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The pupil's input, handed to the presenter: clicks, presses, keys, edits and the focus moved
// by the platform; held while a mark is shown; text an input method is still composing; the
// window being closed.
#include "app/Form1.h"
#include "app/WorksheetPrint.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>

#include <cmath>

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

std::optional<Key> keyOf(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Tab:
        return event->modifiers() & Qt::ShiftModifier ? Key::BackTab : Key::Tab;
    case Qt::Key_Backtab:
        return Key::BackTab;
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Down:
        return Key::Down;
    case Qt::Key_Left:
        return Key::Left;
    case Qt::Key_Right:
        return Key::Right;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    case Qt::Key_Space:
        return Key::Space;
    case Qt::Key_Escape:
        return Key::Escape;
    default:
        return std::nullopt;
    }
}

} // namespace

// Clicks (a screen reader's press too), a level chosen and a box's edits go to the presenter as
// they come.
void Form1::connectInput(const FaceControl &control, QWidget *widget)
{
    const ControlId id = control.id;
    if (auto *option = qobject_cast<QRadioButton *>(widget)) {
        // Chosen by a click or by a screen reader's toggle, which is no click.
        connect(option, &QRadioButton::toggled, this, [this, id](bool on) {
            if (on)
                m_presenter->click(id);
        });
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] {
            commitComposition(Presenter::rowOf(id));
            m_presenter->click(id);
        });
    } else if (auto *box = qobject_cast<QLineEdit *>(widget)) {
        // Typed, pasted or committed by an input method: whatever differs from what is shown.
        connect(box, &QLineEdit::textChanged, this, [this, id](const QString &text) {
            const std::string typed = text.toStdString();
            if (typed != m_presenter->view(id).text)
                m_presenter->type(id, typed);
        });
    }
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != this)
        return QWidget::eventFilter(watched, event);
    auto *w = static_cast<QWidget *>(watched);
    // While a mark is shown, the pupil's input to this window waits, in order, for the flow.
    if (m_presenter->holding() && isUserInput(event)) {
        std::shared_ptr<QEvent> held(event->clone());
        m_presenter->hold([receiver = QPointer<QObject>(watched), held] {
            if (receiver)
                QCoreApplication::sendEvent(receiver, held.get());
        });
        return true;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (press(w, event))
            return true;
        break;
    case QEvent::KeyPress:
        if (key(static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::FocusIn:
        if (const Built *built = builtFor(watched))
            m_presenter->focused(built->id);
        break;
    case QEvent::InputMethod:
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            m_composing[box] = static_cast<QInputMethodEvent *>(event)->preeditString();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// A button going down anywhere on the stage, in design pixels; true when it is to be dropped.
bool Form1::press(QWidget *on, QEvent *event)
{
    if (on != m_stage && !m_stage->isAncestorOf(on))
        return false;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    // The design pixel under the middle of the screen's pixel.
    const QPointF at = (on->mapTo(m_stage, mouse->position()) + QPointF(0.5, 0.5)) / m_zoom;
    const MouseButton button = mouse->button() == Qt::RightButton ? MouseButton::Right
        : mouse->button() == Qt::MiddleButton                     ? MouseButton::Middle
                                                                  : MouseButton::Left;
    switch (m_presenter->press({ int(std::floor(at.x())), int(std::floor(at.y())) }, button)) {
    case Press::Native:
    case Press::KeepFocus: // the buttons take no focus from a press (Qt::TabFocus)
        return false;
    case Press::Taken:
        return true;
    }
    return false;
}

// The keys the presenter decides on, for the control with the focus; F11 and printing are the
// window's.
bool Form1::key(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F11) {
        isFullScreen() ? showNormal() : showFullScreen();
        return true;
    }
    if (event->matches(QKeySequence::Print)) {
        printWorksheet();
        return true;
    }
    const std::optional<Key> key = keyOf(event);
    if (!key)
        return false;
    if (const auto focus = m_presenter->focus();
        focus && (*key == Key::Enter || *key == Key::Space))
        commitComposition(Presenter::rowOf(*focus));
    return m_presenter->key(*key);
}

// Digits an input method is still composing belong to the box: they are committed before the
// row's box is read or a keypad digit is added, so none is lost.
void Form1::commitComposition(int row)
{
    if (row < 1 || row > 3)
        return;
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->commit();
    for (const Name name : { Name::Text1, Name::Text2 }) {
        auto *box = qobject_cast<QLineEdit *>(widget({ name, row - 1 }));
        if (!box)
            continue;
        const QString composing = m_composing.take(box);
        if (composing.isEmpty())
            continue;
        QInputMethodEvent commit;
        commit.setCommitString(composing);
        QCoreApplication::sendEvent(box, &commit);
    }
}

// Closing the window while a row is open asks first, as 「ぴこまる」おわり does.
void Form1::closeEvent(QCloseEvent *event)
{
    if (m_presenter->closing())
        event->accept();
    else
        event->ignore();
}

// The chosen level's worksheet in a print preview, from which the system's print dialog
// prints it; the window stays as it is.
void Form1::printWorksheet()
{
    const std::optional<Worksheet> sheet = m_presenter->worksheet();
    if (!sheet)
        return;
    auto *printer = new QPrinter(QPrinter::HighResolution);
    auto *preview = new QPrintPreviewDialog(printer, this);
    preview->setObjectName(QStringLiteral("WorksheetPreview"));
    preview->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview, &QObject::destroyed, [printer] { delete printer; });
    connect(preview, &QPrintPreviewDialog::paintRequested, preview,
        [sheet = *sheet](QPrinter *to) { paintWorksheet(*to, sheet); });
    preview->open();
}

} // namespace piko
