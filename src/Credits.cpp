// The versions come from the libraries themselves, not from the headers this
// program was compiled with: a system update of a shared library shows here.
#include "Credits.h"

#include <QtGlobal>
#include <SDL.h>
#include <SDL_mixer.h>
#include <png.h>
#include <zlib.h>

namespace velmora {

namespace {

QString SdlVersion(const SDL_version& v) {
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.patch);
}

} // namespace

std::vector<TLibraryCredit> CarriedLibraries() {
    SDL_version sdl{};
    SDL_GetVersion(&sdl);
    const SDL_version* mixer = Mix_Linked_Version();
    // Licence notices are legal names and stay as their authors wrote them.
    return {
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion()),
         QStringLiteral("(C) The Qt Company Ltd. and others"), QStringLiteral("GNU LGPL version 3"),
         QStringLiteral("https://www.qt.io/")},
        {QStringLiteral("libpng"), QString::fromLatin1(png_get_libpng_ver(nullptr)),
         QStringLiteral("(C) The PNG Reference Library Authors"),
         QStringLiteral("PNG Reference Library License v2"),
         QStringLiteral("http://www.libpng.org/pub/png/libpng.html")},
        {QStringLiteral("zlib"), QString::fromLatin1(zlibVersion()),
         QStringLiteral("(C) Jean-loup Gailly and Mark Adler"), QStringLiteral("zlib License"),
         QStringLiteral("https://zlib.net/")},
        {QStringLiteral("SDL2"), SdlVersion(sdl), QStringLiteral("(C) Sam Lantinga and others"),
         QStringLiteral("zlib License"), QStringLiteral("https://www.libsdl.org/")},
        {QStringLiteral("SDL2_mixer"), mixer ? SdlVersion(*mixer) : QString(),
         QStringLiteral("(C) Sam Lantinga and others"), QStringLiteral("zlib License"),
         QStringLiteral("https://github.com/libsdl-org/SDL_mixer")},
        // libX11 offers no function that tells its version.
        {QStringLiteral("libX11"), QStringLiteral("(no version query)"),
         QStringLiteral("(C) The Open Group and others"), QStringLiteral("MIT/X11 licences"),
         QStringLiteral("https://www.x.org/")},
    };
}

} // namespace velmora
