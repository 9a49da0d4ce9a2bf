// SPDX-FileCopyrightText: 2026 the tracciacurve authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound.h"

#include <QAudioSink>
#include <QBasicTimer>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QPointer>

#include "core/sound.h"

namespace tc {

namespace {

// The output of the sound being played. A child of the application, so
// that it goes before the toolkit's audio service does at the end.
class Output : public QObject {
public:
    using QObject::QObject;

    bool play(const Sound& sound)
    {
        stop();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        QAudioFormat format;
        format.setSampleRate(sound.rate);
        format.setChannelCount(sound.channels);
        format.setSampleFormat(QAudioFormat::Int16);
        if (device.isNull() || !device.isFormatSupported(format))
            return false;
        sink_ = new QAudioSink(device, format, this);
        auto* data = new QBuffer(sink_);
        data->setData(reinterpret_cast<const char*>(sound.samples.data()),
                      qsizetype(sound.samples.size() * sizeof(sound.samples[0])));
        data->open(QIODevice::ReadOnly);
        durationUs_ = sound.frames() * 1'000'000 / sound.rate;
        sink_->start(data);
        if (sink_->state() == QAudio::StoppedState || sink_->error() != QAudio::NoError) {
            stop();
            return false;
        }
        data_ = data;
        draining_.invalidate();
        watch_.start(watchMs, this);
        return true;
    }

    void stop()
    {
        watch_.stop();
        if (sink_) {
            sink_->stop();
            sink_->deleteLater();
        }
        sink_ = nullptr;
        data_ = nullptr;
    }

    bool playing() const { return sink_ != nullptr; }

protected:
    void timerEvent(QTimerEvent*) override
    {
        if (!sink_ || sink_->state() == QAudio::StoppedState) {
            stop(); // the sound server went away
            return;
        }
        // All handed over: the sink goes idle as soon as the device has
        // taken the last samples, a buffer's time before they are heard, so
        // the end is when the device has played them all.
        if (!data_->atEnd())
            return;
        if (!draining_.isValid())
            draining_.start();
        const qint64 bufferMs = sink_->format().durationForBytes(qint32(sink_->bufferSize())) / 1000;
        if (sink_->processedUSecs() >= durationUs_ || draining_.elapsed() > 2 * bufferMs + 250)
            stop();
    }

private:
    static constexpr int watchMs = 10;
    QPointer<QAudioSink> sink_;
    QBuffer* data_ = nullptr;
    qint64 durationUs_ = 0;
    QElapsedTimer draining_;
    QBasicTimer watch_;
};

Output& output()
{
    static QPointer<Output> made;
    if (!made)
        made = new Output(QCoreApplication::instance());
    return *made;
}

} // namespace

bool playSound(const Sound& sound) { return output().play(sound); }
void stopSound() { output().stop(); }
bool soundPlaying() { return output().playing(); }

} // namespace tc
