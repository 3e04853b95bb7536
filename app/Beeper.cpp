// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
// The beep of a mark and of a press beside the rows.
#include "app/Seams.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <cmath>
#include <numbers>

namespace piko {

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 0.15;
constexpr double kPitch = 880.0; // A5: clear over a classroom's murmur, not shrill
constexpr double kVolume = 0.5;
constexpr double kFadeSeconds = 0.01; // no click at either end

// The tone as 16-bit mono samples.
QByteArray tone()
{
    const int count = int(kRate * kSeconds);
    QByteArray data(count * int(sizeof(qint16)), Qt::Uninitialized);
    auto *samples = reinterpret_cast<qint16 *>(data.data());
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        const double fade = std::min({ 1.0, t / kFadeSeconds, (kSeconds - t) / kFadeSeconds });
        samples[i] = qint16(
            std::lround(32767 * kVolume * fade * std::sin(2 * std::numbers::pi * kPitch * t)));
    }
    return data;
}

} // namespace

SystemBeeper::SystemBeeper()
    : SystemBeeper(QMediaDevices::defaultAudioOutput(), [] { QApplication::beep(); })
{
}

SystemBeeper::SystemBeeper(const QAudioDevice &output, std::function<void()> bell)
    : m_bell(std::move(bell))
{
    QAudioFormat format;
    format.setSampleRate(kRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (output.isNull() || !output.isFormatSupported(format))
        return;
    m_tone = std::make_unique<QBuffer>();
    m_tone->setData(tone());
    m_tone->open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(output, format);
}

SystemBeeper::~SystemBeeper()
{
    if (m_sink)
        m_sink->stop();
}

// A beep during a beep starts it again: each mark is heard.
void SystemBeeper::beep()
{
    if (!m_sink) {
        m_bell();
        return;
    }
    m_sink->stop();
    m_tone->seek(0);
    m_sink->start(m_tone.get());
    if (m_sink->error() != QAudio::NoError) // the output went away meanwhile
        m_bell();
}

bool SystemBeeper::playsSound() const
{
    return m_sink != nullptr;
}

} // namespace piko
