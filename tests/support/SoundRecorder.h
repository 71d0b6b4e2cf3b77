#pragma once
// Puts a recording device behind the game's sound player, so a test can see
// which clips were started, in order, without any audio server.

#include "resources/SoundModule.h"
#include "resources/WavPlayer.h"

#include <QIODevice>
#include <QStringList>

class SoundRecorder {
public:
    SoundRecorder()
    {
        auto output = std::make_unique<Output>();
        m_output = output.get();
        SoundModule::Player()->setOutput(std::move(output));
    }
    ~SoundRecorder() { SoundModule::Player()->setOutput(std::make_unique<Output>()); }

    // Clip names ("ROLL", "GLASS", "CLAP") in the order they were started.
    // The player works on a thread of its own: wait for it first.
    const QStringList &played() const
    {
        SoundModule::Player()->sync();
        return m_output->played;
    }
    void clear()
    {
        SoundModule::Player()->sync();
        m_output->played.clear();
    }

private:
    struct Output final : AudioOutput {
        QStringList played;
        bool available() override { return true; }
        void start(const QAudioFormat &, QIODevice *pcm) override
        {
            // The clips differ in their number of sample bytes.
            for (const char *name : {"ROLL", "GLASS", "CLAP"}) {
                const auto info = parseWav(SoundModule::LoadResSound(QLatin1String(name)));
                if (info && info->dataSize == pcm->size())
                    played.append(QLatin1String(name));
            }
        }
        void stop() override {}
    };
    Output *m_output;
};
