#pragma once

#include <QString>

#include <string>

namespace piko {

class RandomSource;

// What the window takes from the platform, each behind a small interface that tests replace.

class Clock {
public:
    virtual ~Clock() = default;
    // The time of day as text, "HH:MM:SS".
    virtual std::string timeOfDay() = 0;
};

class Screen {
public:
    virtual ~Screen() = default;
    // The screen's width and the width of one pixel, in the same unit.
    virtual double width() = 0;
    virtual double pixelWidth() = 0;
};

class Messages {
public:
    virtual ~Messages() = default;
    // A modal box with an OK button.
    virtual void inform(const QString &text) = 0;
    // A modal box with Yes and No; true for Yes.
    virtual bool ask(const QString &text) = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

struct Seams {
    Clock &clock;
    Screen &screen;
    Messages &messages;
    Beeper &beeper;
    RandomSource &random;
};

// The real platform: the system clock, the primary screen, Qt message boxes, the bell.
class SystemClock final : public Clock {
public:
    std::string timeOfDay() override;
};

class SystemScreen final : public Screen {
public:
    double width() override;
    double pixelWidth() override { return 1.0; }
};

class SystemMessages final : public Messages {
public:
    static inline const QString kCaption = QStringLiteral("ぴこまる01");
    void inform(const QString &text) override;
    bool ask(const QString &text) override;
};

class SystemBeeper final : public Beeper {
public:
    void beep() override;
};

} // namespace piko
