// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// What the window has a screen reader say without being asked: the problem, the mark, the next
// problem, and the text of every message box. Orca itself hears them in tests/a11y.
#include "AppTestSupport.h"
#include "drill/Texts.h"

#include <QAccessible>

namespace piko::test {
namespace {

// Each time the notification appears: its name, and what had the window's focus then.
class Listener final : public QObject {
public:
    struct Said {
        QString line;
        QWidget *focus;
    };
    std::vector<Said> said;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            auto *widget = static_cast<QWidget *>(watched);
            said.push_back({ widget->accessibleName(), widget->window()->focusWidget() });
        }
        return false;
    }
};

TEST(Announcing, TheProblemAndTheMarkAreSaidAfterTheFocusHasMoved)
{
    Window win;
    QWidget *notification = win.get("Announcer");
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(notification);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Notification);
    Listener listener;
    notification->installEventFilter(&listener);
    const auto &said = listener.said;

    win.choose(0, 3);
    win.clickSurface(100, 300);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].line.toStdString(), win.form->flow().spoken(2));
    EXPECT_EQ(said[0].focus, win.get("Text1(1)")) << "said before the focus's words cut it off";

    win.tapNumber(2, win.state.ProblemHistory.Answer(2, 1));
    win.press("Command5(1)");
    QCoreApplication::sendPostedEvents();
    win.settle();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(said.size(), 3u);
    EXPECT_EQ(said[1].line, QStringLiteral("せいかい（2ばんめ）"));
    EXPECT_EQ(said[2].line.toStdString(), win.form->flow().spoken(2));
    EXPECT_NE(said[2].line.indexOf(QStringLiteral("( 2) せいせき：○")), -1)
        << said[2].line.toStdString();
}

} // namespace
} // namespace piko::test
