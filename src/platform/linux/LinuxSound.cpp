// The alarm sound over SDL_mixer. The audio device is held only while a sound
// plays, so that the clock does not keep the sound card (or a sound server
// stream) busy the rest of the day.
#define SDL_MAIN_HANDLED
#include "platform/linux/LinuxPlatform.h"

#include <QFile>
#include <SDL.h>
#include <SDL_mixer.h>

namespace velmora {

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSize = 4096;

// One alarm sound at a time for the whole process: the audio device is one too.
struct TSoundState {
    bool AudioOpen = false;
    Mix_Music* Music = nullptr;

    void Close() {
        if (!AudioOpen)
            return;
        Mix_HaltMusic();
        if (Music)
            Mix_FreeMusic(Music);
        Music = nullptr;
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        AudioOpen = false;
    }
    // A program that ends while its alarm sounds must not leave the mixer's
    // thread running into the unloading of the libraries.
    ~TSoundState() { Close(); }
};

TSoundState& Sound() {
    static TSoundState state;
    return state;
}

QString SdlReason() {
    const char* e = SDL_GetError();
    return e && *e ? QString::fromUtf8(e) : QStringLiteral("unknown audio error");
}

bool OpenAudio(QString* error) {
    SDL_ClearError();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error)
            *error = SdlReason();
        return false;
    }
    if (Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, kChannels, kChunkSize) != 0) {
        if (error)
            *error = SdlReason();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Sound().AudioOpen = true;
    return true;
}

} // namespace

bool LinuxPlatform::PlaySound(const QString& fileName, QString* error) {
    StopSound();
    if (!OpenAudio(error))
        return false;
    TSoundState& s = Sound();
    s.Music = Mix_LoadMUS(QFile::encodeName(fileName).constData());
    if (!s.Music || Mix_PlayMusic(s.Music, -1) != 0) {
        if (error)
            *error = SdlReason();
        StopSound();
        return false;
    }
    return true;
}

void LinuxPlatform::StopSound() {
    Sound().Close();
}

} // namespace velmora
