// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The floor for the start-up benchmark: the least a Qt Widgets program can show, one Japanese
// button and one label in a window.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QPushButton(QStringLiteral("たしざん")));
    layout->addWidget(new QLabel(QStringLiteral("つぎのけいさんをしましょう。")));
    window.show();
    return app.exec();
}
