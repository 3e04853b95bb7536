// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QWidget>

namespace piko {

namespace {

constexpr int kAnswerMs = 2000; // a running drill answers at once; a hung one is not waited for
const QByteArray kForward = "forward\n";

} // namespace

SingleInstance::SingleInstance(QObject *parent) : QObject(parent) { }

// In the user's own runtime folder, which nobody else can write into (in the shared temporary
// folder another user could take the name first and keep the drill from starting), named after
// the window system and its display: a second screen has a drill of its own. Empty where the user
// has no such folder.
QString SingleInstance::socketName()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return {};
    const QByteArray where = QGuiApplication::platformName().toUtf8() + ':'
        + qgetenv("WAYLAND_DISPLAY") + ':' + qgetenv("DISPLAY");
    return folder + QStringLiteral("/pikomaru-")
        + QString::fromLatin1(
            QCryptographicHash::hash(where, QCryptographicHash::Sha1).toHex().left(12));
}

bool SingleInstance::askRunningOne()
{
    if (socketName().isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketName());
    if (!socket.waitForConnected(kAnswerMs))
        return false;
    socket.write(kForward);
    return socket.waitForBytesWritten(kAnswerMs);
}

bool SingleInstance::alreadyRunning()
{
    if (askRunningOne())
        return true;
    if (socketName().isEmpty())
        return false; // nowhere safe to listen: this start runs on its own
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(socketName()))
        return false;
    // Either another start won the race and listens now, or a crashed one left its socket.
    if (askRunningOne())
        return true;
    QLocalServer::removeServer(socketName());
    if (!m_server->listen(socketName())) {
        delete m_server; // this start runs on its own
        m_server = nullptr;
    }
    return false;
}

void SingleInstance::serve(QWidget *window)
{
    if (!m_server)
        return;
    connect(m_server, &QLocalServer::newConnection, window, [this, window] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, window, [socket, window] {
                if (!socket->readAll().contains(kForward))
                    return;
                window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
                window->show();
                window->raise();
                window->activateWindow();
            });
        }
    });
}

} // namespace piko
