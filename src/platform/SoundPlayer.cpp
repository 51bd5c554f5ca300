#include "SoundPlayer.h"

#include <sndfile.h>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QFile>
#include <QMediaDevices>
#include <algorithm>
#include <cstring>
#include <vector>

namespace sw::ui {
namespace {

// libsndfile reads from memory through these callbacks.
struct MemoryReader {
    const QByteArray* bytes;
    sf_count_t position = 0;
};

sf_count_t Length(void* user) {
    return static_cast<MemoryReader*>(user)->bytes->size();
}

sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    const sf_count_t base = whence == SEEK_CUR   ? reader->position
                            : whence == SEEK_END ? reader->bytes->size()
                                                 : 0;
    reader->position = std::clamp<sf_count_t>(base + offset, 0, reader->bytes->size());
    return reader->position;
}

sf_count_t Read(void* out, sf_count_t count, void* user) {
    auto* reader = static_cast<MemoryReader*>(user);
    const sf_count_t available = reader->bytes->size() - reader->position;
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, available);
    std::memcpy(out, reader->bytes->constData() + reader->position, static_cast<size_t>(n));
    reader->position += n;
    return n;
}

sf_count_t Write(const void*, sf_count_t, void*) {
    return 0;
}
sf_count_t Tell(void* user) {
    return static_cast<MemoryReader*>(user)->position;
}

// Many outputs take any rate, but some insist on their own: resample by linear interpolation.
QByteArray Resample(const AudioSoundPlayer::Clip& clip, int rate) {
    const auto* in = reinterpret_cast<const qint16*>(clip.pcm.constData());
    const qsizetype frames = clip.pcm.size() / (2 * clip.channels);
    const qsizetype outFrames = frames * rate / clip.sampleRate;
    QByteArray out(outFrames * 2 * clip.channels, Qt::Uninitialized);
    auto* samples = reinterpret_cast<qint16*>(out.data());
    for (qsizetype f = 0; f < outFrames; ++f) {
        const double source = static_cast<double>(f) * clip.sampleRate / rate;
        const auto i = static_cast<qsizetype>(source);
        const double t = source - static_cast<double>(i);
        for (int c = 0; c < clip.channels; ++c) {
            const qint16 a = in[i * clip.channels + c];
            const qint16 b = i + 1 < frames ? in[(i + 1) * clip.channels + c] : a;
            samples[f * clip.channels + c] = static_cast<qint16>(a + (b - a) * t);
        }
    }
    return out;
}

}  // namespace

AudioSoundPlayer::AudioSoundPlayer(QObject* parent) : QObject(parent) {}

AudioSoundPlayer::~AudioSoundPlayer() {
    Stop();
}

AudioSoundPlayer::Clip AudioSoundPlayer::Decode(const QByteArray& wave) {
    MemoryReader reader{&wave};
    SF_VIRTUAL_IO io{Length, Seek, Read, Write, Tell};
    SF_INFO info{};
    SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &reader);
    if (file == nullptr) {
        return {};
    }
    std::vector<short> samples(static_cast<size_t>(info.frames * info.channels));
    const sf_count_t frames = sf_readf_short(file, samples.data(), info.frames);
    sf_close(file);
    Clip clip;
    clip.sampleRate = info.samplerate;
    clip.channels = info.channels;
    clip.pcm = QByteArray(reinterpret_cast<const char*>(samples.data()),
                          static_cast<qsizetype>(frames * info.channels * 2));
    return clip;
}

void AudioSoundPlayer::Stop() {
    if (m_sink) {
        m_sink->stop();
    }
    m_sink.reset();
    m_buffer.reset();
}

void AudioSoundPlayer::Play(int id) {
    Stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return;  // no audio output: silence, never an error
    }
    if (!m_clips.contains(id)) {
        QFile resource(QStringLiteral(":/wave/%1").arg(id));
        m_clips.insert(id,
                       resource.open(QIODevice::ReadOnly) ? Decode(resource.readAll()) : Clip{});
    }
    const Clip& clip = m_clips[id];
    if (clip.pcm.isEmpty()) {
        return;
    }
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setChannelCount(clip.channels);
    format.setSampleRate(clip.sampleRate);
    QByteArray pcm = clip.pcm;
    if (!device.isFormatSupported(format)) {
        format.setSampleRate(device.preferredFormat().sampleRate());
        pcm = Resample(clip, format.sampleRate());
    }
    m_buffer = std::make_unique<QBuffer>();
    m_buffer->setData(pcm);
    m_buffer->open(QIODevice::ReadOnly);
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->start(m_buffer.get());
}

}  // namespace sw::ui
