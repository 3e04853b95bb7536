// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Fonts.h"
#include "app/Seams.h"
#include "drill/Texts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTime>

namespace piko {

std::string SystemClock::timeOfDay()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
}

double SystemScreen::width()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().width() : 1024.0;
}

namespace {

// Message boxes carry no icon and the program's caption, their buttons are labelled in Japanese
// whatever the system's language, and their text is large enough to read from a pupil's seat.
// They keep the pupil's input away from the window until closed, without blocking the program.
QMessageBox *messageBox(const std::string &text)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, QString::fromUtf8(texts::kCaption),
        QString::fromStdString(text), QMessageBox::NoButton, QApplication::activeWindow());
    box->setFont(designFont({ design::kPGothic, 15.75, false }));
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    return box;
}

} // namespace

void SystemMessages::inform(const std::string &text)
{
    QMessageBox *box = messageBox(text);
    box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->show();
}

void SystemMessages::ask(const std::string &text, std::function<void(bool)> answer)
{
    QMessageBox *box = messageBox(text);
    QPushButton *yes = box->addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton *no = box->addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box->setDefaultButton(yes);
    box->setEscapeButton(no);
    QObject::connect(box, &QMessageBox::finished, box,
        [box, yes, answer = std::move(answer)] { answer(box->clickedButton() == yes); });
    box->show();
}

void SystemBeeper::beep()
{
    QApplication::beep();
}

} // namespace piko
