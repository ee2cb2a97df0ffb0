// The versions come from the libraries themselves, not from the headers this
// program was compiled with: a system update of a shared library shows here.
// SDL and SDL_mixer run in the sound player, which tells its own.
#include "app/Credits.h"

#include <QtGlobal>
#include <png.h>
#include <zlib.h>

namespace velmora {

std::vector<TLibraryCredit> CarriedLibraries(const QString& sdlVersion,
                                             const QString& mixerVersion) {
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
        {QStringLiteral("SDL2"), sdlVersion, QStringLiteral("(C) Sam Lantinga and others"),
         QStringLiteral("zlib License"), QStringLiteral("https://www.libsdl.org/")},
        {QStringLiteral("SDL2_mixer"), mixerVersion, QStringLiteral("(C) Sam Lantinga and others"),
         QStringLiteral("zlib License"), QStringLiteral("https://github.com/libsdl-org/SDL_mixer")},
        // libX11 offers no function that tells its version.
        {QStringLiteral("libX11"), QStringLiteral("(no version query)"),
         QStringLiteral("(C) The Open Group and others"), QStringLiteral("MIT/X11 licences"),
         QStringLiteral("https://www.x.org/")},
    };
}

} // namespace velmora
