// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#include "app/Fonts.h"
#include "app/Seams.h"
#include "drill/Presenter.h"
#include "drill/Texts.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QVBoxLayout>

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

Area SystemScreen::available()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    return { area.left(), area.top(), area.width(), area.height() };
}

namespace {

// A message box: the program's caption, no icon, the text on one line (a Japanese line may break
// anywhere, so it is not broken at all), buttons labelled in Japanese whatever the system's
// language, and letters large enough to read from a pupil's seat. It keeps the pupil's input
// away from the window until closed, without blocking the program. The answer is true for はい
// and OK; Escape and the window's close button answer as kEscapeAnswers says.
QDialog *messageBox(QWidget *window, const std::string &text,
    std::initializer_list<DialogButton> buttons, DialogButton focus,
    std::function<void(bool)> answer)
{
    enum { Escaped = 0, Yes = 1, No = 2 };
    auto *box = new QDialog(window ? window : QApplication::activeWindow());
    box->setObjectName(QStringLiteral("MessageBox"));
    box->setWindowTitle(QString::fromUtf8(texts::kCaption));
    // A screen reader reads a dialog's description as it opens: its few words of Japanese are
    // too few for it to read the text itself.
    box->setAccessibleDescription(QString::fromStdString(text));
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setFont(designFont(design::kMessageFont));
    auto *label = new QLabel(QString::fromStdString(text), box);
    label->setWordWrap(false);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (const DialogButton which : buttons) {
        const bool no = which == DialogButton::No;
        auto *button = new QPushButton(QString::fromUtf8(no                 ? texts::kNo
                                               : which == DialogButton::Yes ? texts::kYes
                                                                            : texts::kOk),
            box);
        button->setObjectName(QLatin1String(no ? "No" : which == DialogButton::Yes ? "Yes" : "Ok"));
        button->setAutoDefault(true);
        if (which == focus) {
            button->setDefault(true);
            button->setFocus();
        }
        QObject::connect(
            button, &QPushButton::clicked, box, [box, no] { box->done(no ? No : Yes); });
        row->addWidget(button);
    }
    row->addStretch();
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(18);
    layout->addWidget(label);
    layout->addLayout(row);
    QObject::connect(box, &QDialog::finished, box, [answer = std::move(answer)](int result) {
        answer(result == Yes || (result == Escaped && kEscapeAnswers));
    });
    box->setFixedSize(box->sizeHint());
    return box;
}

} // namespace

void SystemMessages::inform(const std::string &text)
{
    messageBox(m_window, text, { DialogButton::Ok }, DialogButton::Ok, [](bool) {})->show();
}

// A question that would end work waits for はい: Enter and Escape both keep the drill.
void SystemMessages::ask(const std::string &text, std::function<void(bool)> answer)
{
    messageBox(
        m_window, text, { DialogButton::Yes, DialogButton::No }, kQuestionFocus, std::move(answer))
        ->show();
}

} // namespace piko
