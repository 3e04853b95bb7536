// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "app/DrawingSurface.h"
#include "app/Form1.h"
#include "app/Seams.h"
#include "drill/Flow.h"
#include "drill/Keypad.h"
#include "generators/Random.h"

#include <QDebug>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace piko::test {

// A clock that moves on one second at every reading, so a blink passes at once; a test can
// also run something at a given reading (to act "during" a blink).
class FakeClock final : public Clock {
public:
    std::string timeOfDay() override
    {
        const int t = advancing ? m_seconds++ : m_seconds;
        if (onReading)
            onReading(t);
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", t / 3600 % 24, t / 60 % 60, t % 60);
        return text;
    }
    void set(int h, int m, int s) { m_seconds = 3600 * h + 60 * m + s; }
    void pass() { ++m_seconds; } // a second, for a clock that does not move by itself
    std::function<void(int)> onReading;
    bool advancing = true; // on by one second at every reading

private:
    int m_seconds = 0;
};

class FakeScreen final : public Screen {
public:
    double width() override { return widthValue; }
    double pixelWidth() override { return pixel; }
    Area available() override { return free; }
    double widthValue = 1024;
    double pixel = 1;
    Area free { 0, 0, 4000, 3000 };
};

// Answers questions at once from a queue (Yes when it is empty) and keeps every text shown.
class FakeMessages final : public Messages {
public:
    void inform(const std::string &text) override { shown.push_back(QString::fromStdString(text)); }
    void ask(const std::string &text, std::function<void(bool)> answer) override
    {
        shown.push_back(QString::fromStdString(text));
        bool yes = true;
        if (!answers.empty()) {
            yes = answers.front();
            answers.pop_front();
        }
        answer(yes);
    }
    std::vector<QString> shown;
    std::deque<bool> answers;
};

class FakeBeeper final : public Beeper {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

// A seeded source that remembers the seed it was given and counts its draws.
class RecordingRandom final : public RandomSource {
public:
    double next() override
    {
        ++draws;
        return m_source.next();
    }
    void reseed(std::uint32_t seed) override
    {
        seeds.push_back(seed);
        m_source.reseed(seed);
    }
    std::vector<std::uint32_t> seeds;
    long long draws = 0;

private:
    SeededRandom m_source;
};

// Whether a row of the surface shows exactly `text` at `place` (given for row 1) and nothing
// else in that line: the surface's pixels beside the same text printed on a fresh frame.
inline bool showsText(const DrawingSurface &surface, int row, Point place, const std::string &text)
{
    DrawingSurface reference(QColor(255, 255, 192));
    reference.resize(surface.size());
    reference.setPrintFont(surface.printFont());
    reference.setForeColor(kWhite);
    reference.setFillColor(kWhite);
    reference.setSolidFill(true);
    const int y0 = rows::y0(row);
    reference.roundRect(rows::kFrameLeft, y0 + rows::kFrameTop, rows::kFrameRight,
        y0 + rows::kFrameBottom, rows::kCorner, rows::kCorner);
    reference.setForeColor(kBlack);
    const Point at = rows::onRow(place, row);
    reference.setCurrentX(at.x);
    reference.setCurrentY(at.y);
    reference.print(text);
    const qreal ratio = reference.image().devicePixelRatio();
    const QRectF line(21, at.y - 5, 740, reference.textHeight() + 6);
    const QRect area = QRectF(line.topLeft() * ratio, line.size() * ratio).toRect();
    return surface.image().copy(area) == reference.image().copy(area);
}
inline bool showsStatusLine(const DrawingSurface &surface, int row, const std::string &text)
{
    return showsText(surface, row, rows::kStatusLine, text);
}

// Mean difference of two images of one size, per channel, 0..255.
inline double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// Set in the environment, the test program renders one drill to this file and exits (the
// high-density test starts it so at another pixel ratio).
// Every control of the window as the presenter says it shows: within the pupil's reach exactly
// when the presenter says so, and where shown at its place and size of letters at the zoom, with
// its name, description, text, colour and choice. What differs, one line each.
inline QStringList differencesFromPresenter(const Form1 &form)
{
    QStringList wrong;
    const Presenter &presenter = form.presenter();
    const auto z = [&form](int v) { return qRound(v * form.zoom()); };
    for (const FaceControl &c : presenter.controls()) {
        const QString id = QString::fromStdString(idText(c.id));
        const auto *w = form.stage().findChild<QWidget *>(id);
        const ControlView &v = presenter.view(c.id);
        const auto differs = [&](const char *what, const auto &seen, const auto &wanted) {
            if (seen == wanted)
                return;
            QString line;
            QDebug(&line).noquote() << id << what << seen << "for" << wanted;
            wrong << line;
        };
        if (!w) {
            wrong << id + QStringLiteral(" is missing");
            continue;
        }
        differs("within reach", w->isVisibleTo(&form.stage()) && w->isEnabled(),
            presenter.reachable(c.id));
        if (!v.shown)
            continue;
        const Rect &p = v.place;
        differs("place", w->geometry(),
            QRect(QPoint(z(p.left), z(p.top)),
                QPoint(z(p.left + p.width) - 1, z(p.top + p.height) - 1)));
        if (v.fontPixels > 0)
            differs("letters", w->font().pixelSize(), qMax(1, z(v.fontPixels)));
        differs("name", w->accessibleName(), QString::fromStdString(v.name));
        differs("description", w->accessibleDescription(), QString::fromStdString(v.description));
        if (const auto *box = qobject_cast<const QLineEdit *>(w))
            differs("text", box->text(), QString::fromStdString(v.text));
        if (const auto *option = qobject_cast<const QRadioButton *>(w))
            differs("chosen", option->isChecked(), v.checked);
        if (v.back)
            differs("colour", w->palette().color(QPalette::Base).name(),
                QColor(v.back->r, v.back->g, v.back->b).name());
    }
    return wrong;
}

inline const char *kRenderDrillTo = "PIKOMARU_RENDER_DRILL_TO";
bool renderDrillTo(const QString &file);

// One window on a screen of the given width, with every seam faked.
struct Window {
    explicit Window(
        double screenWidth = 1024, double pixelWidth = 1, Area free = { 0, 0, 4000, 3000 })
    {
        screen.widthValue = screenWidth;
        screen.pixel = pixelWidth;
        screen.free = free;
        form = std::make_unique<Form1>(state, Seams { clock, screen, messages, beeper, random });
        form->show();
    }

    template<typename W = QWidget> W *get(const QString &name) const
    {
        auto *w = form->findChild<W *>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    // A click, as the pupil makes it; press() leaves a mark it starts showing.
    void press(const QString &name) const
    {
        if (auto *w = get<QAbstractButton>(name))
            QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    }
    void click(const QString &name)
    {
        press(name);
        settle();
    }
    void clickSurface(int x, int y)
    {
        QTest::mouseClick(&form->surface(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
        settle();
    }
    // Lets a mark's time pass (the fake clock moves on at every reading), as the window's
    // timer would; input held meanwhile is handled then.
    void settle()
    {
        while (form->flow().holding())
            form->tickMark();
    }
    QString text(const QString &box) const { return get<QLineEdit>(box)->text(); }
    QRgb pixel(int x, int y) const { return form->surface().image().pixel(x, y); }

    // Operation (0..3), then the option of the level, then けってい.
    void choose(int operation, int level)
    {
        const char *options[] = { "Option2", "Option3", "Option4", "Option1" };
        const char *decides[] = { "Command10", "Command12", "Command14", "Command3" };
        click(QStringLiteral("Command1(%1)").arg(operation));
        click(QStringLiteral("%1(%2)").arg(QLatin1String(options[operation])).arg(level - 1));
        click(QLatin1String(decides[operation]));
    }
    // Types the digits of v on the keypad of a row.
    void tapNumber(int row, long long v)
    {
        for (QChar c : QString::number(v)) {
            const int d = c.digitValue();
            click(QStringLiteral("Command6(%1)").arg(keypadIndex({ row, d })));
        }
    }

    DrillState state;
    FakeClock clock;
    FakeScreen screen;
    FakeMessages messages;
    FakeBeeper beeper;
    RecordingRandom random;
    std::unique_ptr<Form1> form;
};

} // namespace piko::test
