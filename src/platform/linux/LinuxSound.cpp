// The alarm sound over SDL_mixer. The audio device is held only while a sound
// plays, so that the clock does not keep the sound card (or a sound server
// stream) busy the rest of the day. The libraries themselves are loaded when a
// sound starts and unloaded when it stops: linked in or kept, SDL_mixer and the
// decoders and sound servers it brings (a dozen libraries) would cost megabytes
// of memory all day long.
#define SDL_MAIN_HANDLED
#include "platform/linux/LinuxPlatform.h"

#include <QFile>
#include <QLibrary>
#include <SDL.h>
#include <SDL_mixer.h>
#include <malloc.h>
#include <memory>
#include <type_traits>

namespace velmora {

namespace {

// The few functions used, from the libraries loaded while a sound plays.
struct TSdlApi {
    QLibrary Sdl{QStringLiteral("SDL2-2.0"), 0};
    QLibrary Mixer{QStringLiteral("SDL2_mixer-2.0"), 0};
    decltype(&SDL_InitSubSystem) InitSubSystem = nullptr;
    decltype(&SDL_Quit) Quit = nullptr;
    decltype(&SDL_GetError) GetError = nullptr;
    decltype(&SDL_ClearError) ClearError = nullptr;
    decltype(&Mix_OpenAudio) OpenAudio = nullptr;
    decltype(&Mix_CloseAudio) CloseAudio = nullptr;
    decltype(&Mix_LoadMUS) LoadMUS = nullptr;
    decltype(&Mix_PlayMusic) PlayMusic = nullptr;
    decltype(&Mix_HaltMusic) HaltMusic = nullptr;
    decltype(&Mix_FreeMusic) FreeMusic = nullptr;
    decltype(&Mix_Quit) MixQuit = nullptr;
    QString LoadError; // empty once every function is there

    TSdlApi() {
        for (QLibrary* lib : {&Sdl, &Mixer})
            if (!lib->load()) {
                LoadError = lib->errorString();
                return;
            }
        bool all = true;
        auto get = [&all](QLibrary& lib, const char* name, auto& fn) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lib.resolve(name));
            all = all && fn;
        };
        get(Sdl, "SDL_InitSubSystem", InitSubSystem);
        get(Sdl, "SDL_Quit", Quit);
        get(Sdl, "SDL_GetError", GetError);
        get(Sdl, "SDL_ClearError", ClearError);
        get(Mixer, "Mix_OpenAudio", OpenAudio);
        get(Mixer, "Mix_CloseAudio", CloseAudio);
        get(Mixer, "Mix_LoadMUS", LoadMUS);
        get(Mixer, "Mix_PlayMusic", PlayMusic);
        get(Mixer, "Mix_HaltMusic", HaltMusic);
        get(Mixer, "Mix_FreeMusic", FreeMusic);
        get(Mixer, "Mix_Quit", MixQuit);
        if (!all)
            LoadError =
                QStringLiteral("the installed SDL_mixer lacks a function this program uses");
    }
    // SDL and its sound back ends are shut down first (their threads end there),
    // then the libraries go: the clock carries none of them between alarms.
    ~TSdlApi() {
        if (LoadError.isEmpty()) {
            MixQuit();
            Quit();
        }
        Mixer.unload();
        Sdl.unload();
    }
    TSdlApi(const TSdlApi&) = delete;
    TSdlApi& operator=(const TSdlApi&) = delete;

    QString Reason() const {
        const char* e = GetError();
        return e && *e ? QString::fromUtf8(e) : QStringLiteral("unknown audio error");
    }
};

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSize = 4096;

// One alarm sound at a time for the whole process: the audio device is one too.
// The libraries are there only while it plays.
struct TSoundState {
    std::unique_ptr<TSdlApi> Api;
    Mix_Music* Music = nullptr;

    bool Open(QString* error) {
        Close();
        Api = std::make_unique<TSdlApi>();
        if (!Api->LoadError.isEmpty()) {
            if (error)
                *error = Api->LoadError;
            Api.reset();
            return false;
        }
        Api->ClearError();
        if (Api->InitSubSystem(SDL_INIT_AUDIO) != 0 ||
            Api->OpenAudio(kSampleRate, AUDIO_S16SYS, kChannels, kChunkSize) != 0) {
            if (error)
                *error = Api->Reason();
            Api.reset();
            return false;
        }
        return true;
    }

    void Close() {
        if (!Api)
            return;
        Api->HaltMusic();
        if (Music)
            Api->FreeMusic(Music);
        Music = nullptr;
        Api->CloseAudio();
        Api.reset();
        // What the sound libraries used goes back to the system, not only to
        // this process's free lists.
        malloc_trim(0);
    }
    // A program that ends while its alarm sounds must not leave the mixer's
    // thread running into the unloading of the libraries.
    ~TSoundState() { Close(); }
};

TSoundState& Sound() {
    static TSoundState state;
    return state;
}

} // namespace

bool LinuxPlatform::PlaySound(const QString& fileName, QString* error) {
    TSoundState& s = Sound();
    if (!s.Open(error))
        return false;
    s.Music = s.Api->LoadMUS(QFile::encodeName(fileName).constData());
    if (!s.Music || s.Api->PlayMusic(s.Music, -1) != 0) {
        if (error)
            *error = s.Api->Reason();
        s.Close();
        return false;
    }
    return true;
}

void LinuxPlatform::StopSound() {
    Sound().Close();
}

} // namespace velmora
