// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
#pragma once

#include <functional>
#include <string>

namespace piko {

// What the drill takes from the platform, each behind a small interface that tests replace.

class Clock {
public:
    virtual ~Clock() = default;
    // The time of day as text, "HH:MM:SS".
    virtual std::string timeOfDay() = 0;
};

// Message boxes: no icon, the program's caption. A face may answer a question at once or
// later (a dialog that the pupil closes); the flow waits for the answer without blocking.
class Messages {
public:
    virtual ~Messages() = default;
    // A box with an OK button.
    virtual void inform(const std::string &text) = 0;
    // A box with はい and いいえ; `answer` is called once with true for はい.
    virtual void ask(const std::string &text, std::function<void(bool)> answer) = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

} // namespace piko
