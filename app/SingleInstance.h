// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace piko {

// One drill per pupil and screen: the first start listens on a local socket in the user's runtime
// folder, named after the display; a later start finds it, asks it to bring its window forward and
// ends.
class SingleInstance final : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);

    // True when another start already runs and has been asked to come forward.
    bool alreadyRunning();
    // From now on, a later start brings `window` forward.
    void serve(QWidget *window);

private:
    static QString socketName();
    bool askRunningOne();

    QLocalServer *m_server = nullptr;
};

} // namespace piko
