// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace piko {
namespace {

QAccessibleInterface *notificationFor(const QString &, QObject *object)
{
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(notificationFor);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("Announcer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    resize(0, 0);
    hide();
}

void Announcer::say(const QString &line)
{
    if (line.isEmpty())
        return;
    if (m_waiting.isEmpty())
        QMetaObject::invokeMethod(this, &Announcer::sayWaiting, Qt::QueuedConnection);
    m_waiting << line;
}

// Hidden, renamed and shown again: the showing is what a screen reader speaks.
void Announcer::sayWaiting()
{
    const QString line = m_waiting.join(QLatin1Char(' '));
    m_waiting.clear();
    hide();
    setAccessibleName(line);
    show();
}

} // namespace piko
