// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// GUI tests run on Qt's offscreen platform unless told otherwise.
#include "AppTestSupport.h"
#include "app/Style.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    piko::applyProgramStyle();
    if (const QString file = qEnvironmentVariable(piko::test::kRenderDrillTo); !file.isEmpty())
        return piko::test::renderDrillTo(file) ? 0 : 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
