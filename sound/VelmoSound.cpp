// VelmoSound: plays one mp3 or wav file in a loop for the clock, in a process of
// its own. The clock starts it when an alarm sounds and closes its input to stop
// it. Kept out of the clock's process because SDL's sound servers' libraries can
// never be unloaded once loaded (they are marked so), so the first alarm would
// leave megabytes in the clock for the rest of its life; and because a decoder
// that trips over a hostile file then takes down this helper, not the clock.
//
//   VelmoSound FILE       plays FILE until its standard input ends
//   VelmoSound --versions prints the SDL and SDL_mixer versions it runs with
//
// Its first line on standard output says how it went: "playing", or "error: "
// and the reason in SDL's words (then it ends with exit code 1).
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChannels = 2;
constexpr int kChunkSize = 4096;

int Fail(const char* reason) {
    std::printf("error: %s\n", reason && *reason ? reason : "unknown audio error");
    std::fflush(stdout);
    return 1;
}

int PrintVersions() {
    SDL_version sdl{};
    SDL_GetVersion(&sdl);
    const SDL_version* mixer = Mix_Linked_Version();
    std::printf("SDL %d.%d.%d\nSDL_mixer %d.%d.%d\n", sdl.major, sdl.minor, sdl.patch, mixer->major,
                mixer->minor, mixer->patch);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// Blocks until standard input ends (or fails): the clock closed it, or ended.
void WaitForEndOfInput() {
    char buffer[256];
    for (;;) {
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (poll(&in, 1, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN))
            return;
    }
}

int Play(const char* fileName) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, kChannels, kChunkSize) != 0)
        return Fail(SDL_GetError());
    Mix_Music* music = Mix_LoadMUS(fileName);
    if (!music || Mix_PlayMusic(music, -1) != 0) {
        const int rc = Fail(SDL_GetError());
        if (music)
            Mix_FreeMusic(music);
        Mix_CloseAudio();
        SDL_Quit();
        return rc;
    }
    std::printf("playing\n");
    std::fflush(stdout);
    WaitForEndOfInput();
    // Silence at once, then end without SDL's orderly close: that waits out
    // the buffers still queued (a quarter second or more), and the clock waits
    // on this process. The device and the sound server's stream go with it.
    Mix_HaltMusic();
    std::_Exit(0);
}

} // namespace

int main(int argc, char** argv) {
    SDL_SetMainReady();
    if (argc == 2 && std::strcmp(argv[1], "--versions") == 0)
        return PrintVersions();
    if (argc != 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: %s FILE | --versions\n", argc ? argv[0] : "VelmoSound");
        return 2;
    }
    return Play(argv[1]);
}
