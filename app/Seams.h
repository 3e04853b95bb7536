// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include "drill/Canvas.h"
#include "drill/Seams.h"

#include <functional>
#include <memory>

class QAudioDevice;
class QAudioSink;
class QBuffer;
class QWidget;

namespace piko {

class RandomSource;

class Screen {
public:
    virtual ~Screen() = default;
    // The screen's width and the width of one pixel, in the same unit.
    virtual double width() = 0;
    virtual double pixelWidth() = 0;
    // What windows may cover, in pixels: the screen less its taskbars and panels.
    virtual Area available() = 0;
};

// What the window takes from the platform.
struct Seams {
    Clock &clock;
    Screen &screen;
    Messages &messages;
    Beeper &beeper;
    RandomSource &random;
};

// The real platform: the system clock, the primary screen, Qt message boxes, the sound output.
class SystemClock final : public Clock {
public:
    std::string timeOfDay() override;
};

class SystemScreen final : public Screen {
public:
    double width() override;
    double pixelWidth() override { return 1.0; }
    Area available() override;
};

// Message boxes that do not block: the answer comes when the pupil closes the box. They stand
// over the window they are given (and go with it).
class SystemMessages final : public Messages {
public:
    void setWindow(QWidget *window) { m_window = window; }
    void inform(const std::string &text) override;
    void ask(const std::string &text, std::function<void(bool)> answer) override;

private:
    QWidget *m_window = nullptr;
};

// A short tone through the system's sound output (classroom desktops mostly mute the X bell);
// the bell only where there is no output.
class SystemBeeper final : public Beeper {
public:
    SystemBeeper();
    // Plays on `output`; a null device means there is none, and `bell` rings instead.
    SystemBeeper(const QAudioDevice &output, std::function<void()> bell);
    ~SystemBeeper() override;
    void beep() override;
    // Whether a beep plays through a sound output (else it rings the bell).
    bool playsSound() const;

private:
    std::unique_ptr<QAudioSink> m_sink;
    std::unique_ptr<QBuffer> m_tone;
    std::function<void()> m_bell;
};

} // namespace piko
