// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <QStringList>
#include <QWidget>

namespace piko {

// Hands a screen reader a line to say at once, beside whatever the control with the focus says:
// an invisible notification that shows itself anew with each line as its name. Screen readers
// speak a notification as it appears, while the name of a control without the focus, or a
// change of text that the toolkit sends without the text, goes unsaid. Lines said in one turn of
// the event loop are said together, after the focus has moved, so that the focus's own words do
// not cut them off.
class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void say(const QString &line);

private:
    void sayWaiting();

    QStringList m_waiting;
};

} // namespace piko
