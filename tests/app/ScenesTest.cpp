// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The pupil's scenes of tests/scenes/scenes.json, played on the real window as the page plays
// them in a browser: mouse, touch and key events at the controls' places (the zoom applied), the
// clock held still and moved on only by the scene, real message boxes. What is looked at is what
// a pupil or a screen reader meets: object names, visibility, focus, texts and names.
#include "AppTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPointingDevice>

namespace piko::test {
namespace {

const QJsonArray &scenes()
{
    static const QJsonArray all = [] {
        QFile file(QFileInfo(QStringLiteral(__FILE__)).dir().filePath("../scenes/scenes.json"));
        file.open(QIODevice::ReadOnly);
        return QJsonDocument::fromJson(file.readAll()).array();
    }();
    return all;
}

std::string nameOfScene(int i)
{
    return scenes()[i]["name"].toString().toStdString();
}

QString json(const QJsonValue &v)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray { v }).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

QString nameOf(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

// Every line a screen reader is told unasked: the showing of a notification.
class Announcements final : public QObject {
public:
    QJsonArray lines;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(watched);
            if (a && a->role() == QAccessible::Notification)
                lines.append(a->text(QAccessible::Name));
        }
        return false;
    }
};

class Scene final {
public:
    explicit Scene(const QJsonObject &scene)
    {
        const QStringList time = scene["time"].toString().split(':');
        clock.advancing = false;
        clock.set(time[0].toInt(), time[1].toInt(), time[2].toInt());
        clock.onReading = [this](int) { ++readings; };
        const int width = scene["screen"][0].toInt(), height = scene["screen"][1].toInt();
        screen.widthValue = width;
        screen.free = { 0, 0, width, height };
        form = std::make_unique<Form1>(state, Seams { clock, screen, messages, beeper, random });
        messages.setWindow(form.get());
        form->move(0, 0);
        form->show();
        if (const QJsonArray size = scene["window"].toArray(); !size.isEmpty())
            form->resize(size[0].toInt(), size[1].toInt());
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        qApp->installEventFilter(&announcements);
        settle();
    }
    ~Scene() { delete dialog(); }

    QStringList differences() const { return differencesFromPresenter(*form); }

    // Plays one step; what was seen instead, where it was not as the step expects.
    QString play(const QJsonObject &step)
    {
        QString what; // the step's one word beside "at" and "button"
        for (const QString &key : step.keys())
            if (key != "at" && key != "button")
                what = key;
        const QJsonValue v = step[what];
        if (what == "press" || what == "touch" || what == "answer") {
            QWidget *w = control(v.toString());
            if (!w || !w->isVisible())
                return QStringLiteral("%1 is not shown").arg(v.toString());
            const QJsonArray at = step["at"].toArray();
            const QPoint local = at.isEmpty() ? w->rect().center()
                                              : QPoint(qRound(at[0].toDouble() * form->zoom()),
                                                  qRound(at[1].toDouble() * form->zoom()));
            QWindow *window = w->window()->windowHandle();
            const QPoint p = w->mapTo(w->window(), local);
            if (what == "touch") {
                static QPointingDevice *finger = QTest::createTouchDevice();
                QTest::touchEvent(window, finger).press(0, p, window);
                QTest::touchEvent(window, finger).release(0, p, window);
            } else {
                static const QHash<QString, Qt::MouseButton> buttons
                    = { { "right", Qt::RightButton }, { "middle", Qt::MiddleButton } };
                QTest::mouseClick(
                    window, buttons.value(step["button"].toString(), Qt::LeftButton), {}, p);
            }
        } else if (what == "key") {
            for (const QString &key : v.toString().split(' ')) {
                QTest::keyClick(focusWindow(), keys[key].key(), keys[key].keyboardModifiers());
                settle();
            }
        } else if (what == "type") {
            for (QChar c : v.toString())
                QTest::keyClick(focusWindow(), c.toLatin1());
        } else if (what == "wait") {
            for (int second = 0; second < v.toInt(); ++second) {
                clock.pass();
                const int before = readings;
                // The window looks at the clock while a mark is shown, and only then.
                if (form->flow().holding() && !QTest::qWaitFor([&] { return readings > before; }))
                    return QStringLiteral("the clock was not looked at during a mark");
            }
        } else if (what == "close") {
            // The window system's close button; a question it asks is answered as the step says.
            form->close();
            settle();
            asked = dialog() != nullptr;
            if (asked)
                return play({ { "answer", v.toString() == "leave" ? "yes" : "no" } });
        } else {
            return expect(what, v);
        }
        settle();
        return {};
    }

private:
    QString expect(const QString &what, const QJsonValue &v)
    {
        QJsonValue now(QJsonValue::Undefined);
        if (what == "focus")
            now = focus();
        else if (what == "said")
            now = std::exchange(announcements.lines, {});
        else if (what == "message")
            now = dialog() ? QJsonValue(dialog()->findChild<QLabel *>()->text()) : QJsonValue();
        else if (what == "asked")
            now = asked;
        else if (what == "closed")
            now = !form->isVisible();
        if (!now.isUndefined())
            return now == v ? QString() : QStringLiteral("the %1 is %2").arg(what, json(now));
        QStringList wrong;
        const bool listed = v.isArray();
        const QStringList names = listed ? v.toVariant().toStringList() : v.toObject().keys();
        for (const QString &name : names) {
            QWidget *w = control(name);
            if (!w)
                return name + " does not exist";
            auto *box = qobject_cast<QLineEdit *>(w);
            const QString seen = what == "name" ? nameOf(w) : box ? box->text() : QString();
            if ((what == "name" || what == "text") && seen != v[name].toString())
                wrong << QStringLiteral("%1 is %2").arg(name, json(seen));
            else if ((what == "shown" && !w->isVisible()) || (what == "hidden" && w->isVisible())
                || (what == "enabled" && !w->isEnabled()) || (what == "disabled" && w->isEnabled()))
                wrong << QStringLiteral("%1 is not %2").arg(name, what);
        }
        return wrong.join("; ");
    }

    QWidget *control(const QString &name) const
    {
        if (QPushButton *button = dialogButton(name))
            return button;
        return form->findChild<QWidget *>(name);
    }
    static QDialog *dialog()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QDialog *>(w); box && box->isVisible())
                return box;
        return nullptr;
    }
    // はい, いいえ and OK, named as in the page.
    static QString buttonName(QWidget *w)
    {
        static const QHash<QString, QString> names
            = { { "はい", "Yes" }, { "いいえ", "No" }, { "OK", "Ok" } };
        auto *button = qobject_cast<QPushButton *>(w);
        return button && w->window() == dialog() ? names.value(button->text()) : QString();
    }
    static QPushButton *dialogButton(const QString &name)
    {
        for (QPushButton *b :
            dialog() ? dialog()->findChildren<QPushButton *>() : QList<QPushButton *>())
            if (buttonName(b).compare(name, Qt::CaseInsensitive) == 0)
                return b;
        return nullptr;
    }
    static QString focus()
    {
        QWidget *w = QApplication::focusWidget();
        return !w ? QStringLiteral("nothing") : dialog() ? buttonName(w) : w->objectName();
    }
    QWindow *focusWindow() const
    {
        QWindow *window = QGuiApplication::focusWindow();
        return window ? window : form->windowHandle();
    }
    // Lets what the last action started run: posted events, a message box showing. A window
    // manager gives the window back its activation when its message box has gone; the offscreen
    // platform leaves that to the scene.
    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
        if (!QGuiApplication::focusWindow() && form->isVisible() && !dialog()) {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        }
    }

    const QHash<QString, QKeyCombination> keys = { { "Tab", Qt::Key_Tab },
        { "Shift+Tab", Qt::ShiftModifier | Qt::Key_Backtab }, { "Up", Qt::Key_Up },
        { "Down", Qt::Key_Down }, { "Left", Qt::Key_Left }, { "Right", Qt::Key_Right },
        { "Enter", Qt::Key_Return }, { "Space", Qt::Key_Space }, { "Escape", Qt::Key_Escape } };
    DrillState state;
    FakeClock clock;
    FakeScreen screen;
    SystemMessages messages;
    FakeBeeper beeper;
    SeededRandom random;
    std::unique_ptr<Form1> form;
    Announcements announcements;
    int readings = 0;
    bool asked = false; // whether closing the window asked first
};

class Scenes : public ::testing::TestWithParam<int> { };

TEST_P(Scenes, PlayAsThePupilExpects)
{
    const QJsonObject scene = scenes()[GetParam()].toObject();
    Scene played(scene);
    const QJsonArray steps = scene["steps"].toArray();
    for (int i = 0; i < steps.size(); ++i) {
        const QString seen = played.play(steps[i].toObject());
        ASSERT_TRUE(seen.isEmpty()) << "step " << i + 1 << " " << json(steps[i]).toStdString()
                                    << ": " << seen.toStdString();
        // And every control as the presenter says it shows, after each step.
        ASSERT_EQ(played.differences(), QStringList()) << "after step " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(, Scenes, ::testing::Range(0, int(scenes().size())),
    [](const ::testing::TestParamInfo<int> &scene) { return nameOfScene(scene.param); });

} // namespace
} // namespace piko::test
