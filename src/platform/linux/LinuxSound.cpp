// The alarm sound over SDL_mixer. The audio device is held only while a sound
// plays, so that the clock does not keep the sound card (or a sound server
// stream) busy the rest of the day. The libraries themselves are loaded the first
// time a sound plays: linked in, SDL_mixer and the decoders and sound servers it
// brings (a dozen libraries) would cost megabytes of memory all day long.
#define SDL_MAIN_HANDLED
#include "platform/linux/LinuxPlatform.h"

#include <QFile>
#include <QLibrary>
#include <SDL.h>
#include <SDL_mixer.h>
#include <type_traits>

namespace velmora {

namespace {

// The few functions used, from the libraries loaded at first use.
struct TSdlApi {
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_QuitSubSystem) QuitSubSystem = nullptr;
    decltype(&SDL_GetError) GetError = nullptr;
    decltype(&SDL_ClearError) ClearError = nullptr;
    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_LoadMUS) LoadMUS = nullptr;
    decltype(&Mix_PlayMusic) PlayMusic = nullptr;
    decltype(&Mix_HaltMusic) HaltMusic = nullptr;
    decltype(&Mix_FreeMusic) FreeMusic = nullptr;
    QString LoadError; // empty once every function is there
};

TSdlApi LoadSdl() {
    TSdlApi a;
    QLibrary sdl(QStringLiteral("SDL2-2.0"), 0);
    QLibrary mixer(QStringLiteral("SDL2_mixer-2.0"), 0);
    for (QLibrary* lib : {&sdl, &mixer})
        if (!lib->load()) {
            a.LoadError = lib->errorString();
            return a;
        }
    bool all = true;
    auto get = [&all](QLibrary& lib, const char* name, auto& fn) {
        fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lib.resolve(name));
        all = all && fn;
    };
    get(sdl, "SDL_InitSubSystem", a.InitSubSystem);
    get(sdl, "SDL_QuitSubSystem", a.QuitSubSystem);
    get(sdl, "SDL_GetError", a.GetError);
    get(sdl, "SDL_ClearError", a.ClearError);
    get(mixer, "Mix_OpenAudio", a.OpenAudio);
    get(mixer, "Mix_CloseAudio", a.CloseAudio);
    get(mixer, "Mix_LoadMUS", a.LoadMUS);
    get(mixer, "Mix_PlayMusic", a.PlayMusic);
    get(mixer, "Mix_HaltMusic", a.HaltMusic);
    get(mixer, "Mix_FreeMusic", a.FreeMusic);
    if (!all)
        a.LoadError = QStringLiteral("the installed SDL_mixer lacks a function this program uses");
    return a; // the libraries stay loaded: QLibrary unloads only when asked
}

// Never destroyed: the sound state's own destructor may still need it at exit.
const TSdlApi& Sdl() {
    static const TSdlApi* api = new TSdlApi(LoadSdl());
    return *api;
}

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
        const TSdlApi& sdl = Sdl();
        sdl.HaltMusic();
        if (Music)
            sdl.FreeMusic(Music);
        Music = nullptr;
        sdl.CloseAudio();
        sdl.QuitSubSystem(SDL_INIT_AUDIO);
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
    const char* e = Sdl().GetError();
    return e && *e ? QString::fromUtf8(e) : QStringLiteral("unknown audio error");
}

bool OpenAudio(QString* error) {
    const TSdlApi& sdl = Sdl();
    if (!sdl.LoadError.isEmpty()) {
        if (error)
            *error = sdl.LoadError;
        return false;
    }
    sdl.ClearError();
    if (sdl.InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error)
            *error = SdlReason();
        return false;
    }
    if (sdl.OpenAudio(kSampleRate, AUDIO_S16SYS, kChannels, kChunkSize) != 0) {
        if (error)
            *error = SdlReason();
        sdl.QuitSubSystem(SDL_INIT_AUDIO);
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
    s.Music = Sdl().LoadMUS(QFile::encodeName(fileName).constData());
    if (!s.Music || Sdl().PlayMusic(s.Music, -1) != 0) {
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
