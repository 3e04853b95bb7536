#include "app/Fonts.h"
#include "app/Seams.h"

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
void setUp(QMessageBox &box)
{
    box.setFont(designFont(kPGothic, 15.75, false));
    box.setWindowModality(Qt::ApplicationModal);
}

} // namespace

void SystemMessages::inform(const QString &text)
{
    QMessageBox box(
        QMessageBox::NoIcon, kCaption, text, QMessageBox::NoButton, QApplication::activeWindow());
    setUp(box);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

bool SystemMessages::ask(const QString &text)
{
    QMessageBox box(
        QMessageBox::NoIcon, kCaption, text, QMessageBox::NoButton, QApplication::activeWindow());
    setUp(box);
    QPushButton *yes = box.addButton(QStringLiteral("はい"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("いいえ"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void SystemBeeper::beep()
{
    QApplication::beep();
}

} // namespace piko
