// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// What the presenter has the window do: each control shown as its view says, the keyboard's
// focus, what a screen reader is told, the clock while a mark is shown, and the end.
#include "app/Announcer.h"
#include "app/DrawingSurface.h"
#include "app/Form1.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimerEvent>

namespace piko {

// Everything a view says, each changed only where it differs: a screen reader hears every
// change of a name.
void Form1::showControl(ControlId id, const ControlView &view)
{
    const auto at = m_byId.find(id);
    if (at == m_byId.end())
        return;
    Built &built = m_built[at->second];
    QWidget *w = built.widget;
    if (built.place != view.place || built.fontPixels != view.fontPixels) {
        built.place = view.place;
        built.fontPixels = view.fontPixels;
        place(built);
    }
    if (w->isEnabled() != view.enabled)
        w->setEnabled(view.enabled);
    const QString name = QString::fromStdString(view.name);
    if (w->accessibleName() != name)
        w->setAccessibleName(name);
    const QString description = QString::fromStdString(view.description);
    if (w->accessibleDescription() != description)
        w->setAccessibleDescription(description);
    if (auto *box = qobject_cast<QLineEdit *>(w)) {
        const QString text = QString::fromStdString(view.text);
        if (box->text() != text)
            box->setText(text);
        if (view.back) {
            const QColor back(view.back->r, view.back->g, view.back->b);
            if (box->palette().color(QPalette::Base) != back) {
                QPalette palette = box->palette();
                palette.setColor(QPalette::Base, back);
                box->setPalette(palette);
            }
        }
    }
    if (auto *option = qobject_cast<QRadioButton *>(w);
        option && option->isChecked() != view.checked) {
        // Shown as chosen or not without unchecking the others or counting as a click.
        option->setAutoExclusive(false);
        option->setChecked(view.checked);
        option->setAutoExclusive(true);
    }
    if (w->isHidden() == view.shown)
        w->setVisible(view.shown);
    if (w == m_surface && view.shown)
        renderPictures();
}

void Form1::Events::show(ControlId id, const ControlView &view)
{
    m_form.showControl(id, view);
}

void Form1::Events::focus(ControlId id)
{
    if (QWidget *w = m_form.widget(id))
        w->setFocus(Qt::OtherFocusReason);
}

void Form1::Events::announce(const std::string &text)
{
    m_form.m_announcer->say(QString::fromStdString(text));
}

void Form1::Events::tickEvery(int ms)
{
    if (ms > 0)
        m_form.m_markTimer.start(ms, &m_form);
    else
        m_form.m_markTimer.stop();
}

// A screen reader hears the row with its mark as an alert.
void Form1::Events::markShown(int row, bool)
{
    if (QWidget *w = m_form.widget({ Name::Row, row - 1 })) {
        QAccessibleEvent alert(w, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void Form1::Events::close()
{
    m_form.close();
    QCoreApplication::quit();
}

void Form1::tickMark()
{
    m_presenter->tick();
}

void Form1::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_markTimer.timerId())
        tickMark();
    else
        QWidget::timerEvent(event);
}

} // namespace piko
