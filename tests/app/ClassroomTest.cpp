// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The window as a classroom meets it, where the scenes cannot see: any screen, F11, a Japanese
// input method, the message boxes' look, and the colours of the design.
#include "AppTestSupport.h"
#include "generators/Generators.h"

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLabel>

namespace piko::test {
namespace {

int answer(const Window &win, int row)
{
    const auto &h = win.state.ProblemHistory;
    return h.Answer(row, h.ProblemCount(row));
}

TEST(AnyScreen, TheWindowFitsAndZoomsAsAWhole)
{
    // A netbook's free area: the window shrinks to fit it, every control with it.
    Window small(1024, 1, { 0, 0, 1024, 600 });
    const double zoom = small.form->zoom();
    EXPECT_NEAR(zoom, (600.0 - Form1::kTitleBar) / 731, 0.002);
    EXPECT_LE(small.form->height(), 600 - Form1::kTitleBar);
    EXPECT_EQ(small.get("Command1(1)")->geometry(),
        QRect(qRound(144 * zoom), qRound(4 * zoom), qRound(265 * zoom) - qRound(144 * zoom),
            qRound(45 * zoom) - qRound(4 * zoom)));
    EXPECT_EQ(small.get("Command1(0)")->font().pixelSize(), qRound(27 * zoom));

    // On the whole of a projector's 1920 × 1080 the design is 1.48 times its size, centred,
    // drawn anew at that size, and clicks land where they are drawn.
    Window win;
    win.choose(0, 3);
    win.clickSurface(100, 100);
    const QImage atOne = win.form->surface().image();
    win.form->resize(1920, 1080);
    EXPECT_NEAR(win.form->zoom(), 1080.0 / 731, 1e-9);
    EXPECT_EQ(win.form->stage().geometry(), QRect((1920 - 1504) / 2, 0, 1504, 1080));
    EXPECT_EQ(win.form->surface().image().size(), win.form->surface().size());
    EXPECT_TRUE(win.state.ProblemHistory.RowStarted(1));
    QTest::mouseClick(&win.form->surface(), Qt::LeftButton, Qt::NoModifier,
        QPoint(qRound(100 * win.form->zoom()), qRound(300 * win.form->zoom())));
    EXPECT_EQ(win.state.CurrentRow, 2);

    // Sharp, not stretched: at twice the size the surface has twice the pixels and more detail
    // than the small picture blown up, yet scaled down it is the small picture.
    win.form->resize(2 * 1018, 2 * 731);
    win.clickSurface(200, 1000); // a margin: nothing changes
    const QImage atTwo = win.form->surface().image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(atTwo.size(), atOne.size() * 2);
    QImage rowTwoOpenAtOne = atOne.convertToFormat(QImage::Format_RGB32);
    const QRect firstRow(0, 0, atOne.width(), 265);
    const QImage down = atTwo.scaled(atOne.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(meanDifference(down.copy(firstRow), rowTwoOpenAtOne.copy(firstRow)), 6.0);
    const QImage up = rowTwoOpenAtOne.scaled(atTwo.size());
    EXPECT_GT(
        meanDifference(atTwo.copy(0, 0, atTwo.width(), 530), up.copy(0, 0, up.width(), 530)), 0.3);
}

// The box the keyboard moves into turns pink; F11 is the window's own.
// The row with the focus shows the design's outline, as thick at any zoom; F11 fills the screen.
TEST(Keyboard, TheFocusedRowsOutlineAndF11)
{
    Window win;
    QApplication::setActiveWindow(win.form.get());
    win.choose(0, 3);
    QWidget *row = win.get("Row(0)");
    ASSERT_TRUE(row->hasFocus());
    for (QSize size : { QSize(1018, 731), QSize(1920, 1080) }) {
        win.form->resize(size);
        const QImage seen = row->grab().toImage();
        int line = 0; // blue pixels across the outline's left side, half way down
        for (int x = 0; x < seen.width() / 4; ++x)
            line += qBlue(seen.pixel(x, seen.height() / 2)) > 120
                && qRed(seen.pixel(x, seen.height() / 2)) < 80;
        EXPECT_NEAR(line, design::kRowFocus.width * win.form->zoom(), 1.0) << size.width();
    }
    for (bool whole : { true, false }) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F11);
        EXPECT_EQ(win.form->isFullScreen(), whole);
    }
}

TEST(InputMethod, ComposingDigitsAreCommittedBeforeTheBoxIsRead)
{
    Window win;
    win.choose(0, 14);
    win.clickSurface(100, 100);
    const auto compose = [&](const QString &box, const QString &text) {
        QInputMethodEvent preedit(text, {});
        QApplication::sendEvent(win.get(box), &preedit);
    };
    QString fullWidth;
    for (QChar c : QString::number(answer(win, 1)))
        fullWidth += QChar(0xFF10 + c.digitValue());
    compose("Text1(0)", fullWidth);
    EXPECT_EQ(win.text("Text1(0)"), QString()); // still being composed
    win.click("Command5(0)");
    EXPECT_EQ(win.state.ProblemHistory.outcomeOf(1, 1), ProblemOutcome::RightAtOnce);

    compose("Text1(0)", QStringLiteral("７"));
    win.click("Command6(4)");
    EXPECT_EQ(win.text("Text1(0)"), QStringLiteral("７4"));
}

TEST(Questions, EndingWorkWaitsForHai)
{
    SystemMessages messages;
    std::vector<bool> answers;
    const auto box = [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("MessageBox") && w->isVisible())
                return static_cast<QDialog *>(w);
        return static_cast<QDialog *>(nullptr);
    };
    messages.ask("けいさんれんしゅうは、みなさん　おわりましたか？",
        [&](bool yes) { answers.push_back(yes); });
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->windowTitle(), QStringLiteral("ぴこまる01"));
    QLabel *label = box()->findChild<QLabel *>();
    EXPECT_FALSE(label->wordWrap());
    EXPECT_GE(label->width(), label->sizeHint().width()); // on one line
    QTest::keyClick(box(), Qt::Key_Escape);
    EXPECT_EQ(answers, std::vector<bool> { false });
    messages.inform("こたえをタイプしてください。");
    EXPECT_EQ(box()->windowTitle(), QStringLiteral("ぴこまる01"));
    QTest::keyClick(box(), Qt::Key_Return);
    EXPECT_EQ(box(), nullptr);

    // Qt's own texts, such as the boxes' menu, are Japanese.
    EXPECT_NE(QCoreApplication::translate("QLineEdit", "&Copy"), QStringLiteral("&Copy"));
}

TEST(Look, ButtonsShowTheirColours)
{
    Window win;
    win.choose(3, 4);
    win.clickSurface(100, 100);
    const QImage window = win.form->grab().toImage();
    const auto near = [](QRgb p, QColor c) {
        return std::abs(qRed(p) - c.red()) <= 3 && std::abs(qGreen(p) - c.green()) <= 3
            && std::abs(qBlue(p) - c.blue()) <= 3;
    };
    const auto probe = [&](const char *name) {
        QWidget *w = win.get(name);
        return window.pixel(w->mapTo(win.form.get(), QPoint(6, w->height() / 2)));
    };
    EXPECT_TRUE(near(probe("Command1(0)"), QColor(0, 192, 192)));
    EXPECT_TRUE(near(probe("Command6(5)"), QColor(192, 255, 192)));
    EXPECT_TRUE(near(probe("Command5(0)"), QColor(192, 255, 192)));
    EXPECT_EQ(win.get("Command3")->palette().color(QPalette::Button),
        QApplication::palette().color(QPalette::Button));
}

} // namespace
} // namespace piko::test
