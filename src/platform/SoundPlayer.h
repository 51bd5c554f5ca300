// Plays the program's WAVE resources (":/wave/<id>") asynchronously: the call returns at once
// and a new sound cuts off the one playing. Without an audio device it stays silent.
#pragma once

#include <QHash>
#include <QObject>
#include <memory>

class QAudioSink;
class QBuffer;

namespace sw::ui {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play(int id) = 0;
};

// Decodes the Microsoft ADPCM clips with libsndfile and plays the PCM with QAudioSink.
class AudioSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit AudioSoundPlayer(QObject* parent = nullptr);
    ~AudioSoundPlayer() override;
    void Play(int id) override;

    struct Clip {
        int sampleRate = 0;
        int channels = 0;
        QByteArray pcm;  // signed 16-bit, interleaved
    };
    // The decoded resource, or an empty clip when it is missing or cannot be decoded.
    static Clip Decode(const QByteArray& wave);

private:
    void Stop();

    QHash<int, Clip> m_clips;  // decoded once, on first use
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QAudioSink> m_sink;
};

}  // namespace sw::ui
