#include "soundoutput.h"

#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr qint64 kAheadMicroseconds = 500'000;

class Speakers final : public SoundOutput {
public:
    bool play(const std::vector<float> &samples, int sampleRate) override
    {
        stop();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return false;
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(1);
        // In the output's own sample format where it is 16-bit integers, as
        // PulseAudio's outputs are unless set otherwise, so that the sound
        // server need not convert them; else in floats, which most others
        // take, else in 16-bit integers.
        format.setSampleFormat(device.preferredFormat().sampleFormat() == QAudioFormat::Int16 ? QAudioFormat::Int16
                                                                                             : QAudioFormat::Float);
        if (!device.isFormatSupported(format)) {
            format.setSampleFormat(QAudioFormat::Int16);
            if (!device.isFormatSupported(format))
                return false;
        }
        QByteArray bytes;
        if (format.sampleFormat() == QAudioFormat::Float) {
            bytes = QByteArray(reinterpret_cast<const char *>(samples.data()),
                               static_cast<qsizetype>(samples.size() * sizeof(float)));
        } else {
            std::vector<std::int16_t> whole(samples.size());
            std::transform(samples.begin(), samples.end(), whole.begin(), [](float s) {
                return static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
            });
            bytes = QByteArray(reinterpret_cast<const char *>(whole.data()),
                               static_cast<qsizetype>(whole.size() * sizeof(std::int16_t)));
        }
        m_buffer = std::make_unique<QBuffer>();
        m_buffer->setData(bytes);
        m_buffer->open(QIODevice::ReadOnly);
        m_sink = std::make_unique<QAudioSink>(device, format);
        // Half a second ahead: the samples are all there from the start, and
        // a busy moment of the window, or of the computer, must not leave the
        // output without them, which a listener hears as a gap.
        m_sink->setBufferSize(format.bytesForDuration(kAheadMicroseconds));
        m_sink->start(m_buffer.get());
        if (m_sink->error() == QAudio::NoError)
            return true;
        stop();
        return false;
    }

    void stop() override
    {
        if (m_sink)
            m_sink->stop();
        m_sink.reset(); // before the buffer it reads
        m_buffer.reset();
    }

    ~Speakers() override { stop(); }

private:
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};

} // namespace

std::unique_ptr<SoundOutput> makeSpeakers() { return std::make_unique<Speakers>(); }
