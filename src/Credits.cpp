// The versions come from the libraries themselves, not from the headers this
// program was compiled with: a system update of a shared library shows here.
#include "Credits.h"

#include <QLibrary>
#include <QtGlobal>
#include <SDL_version.h>
#include <png.h>
#include <zlib.h>

namespace velmora {

namespace {

QString SdlVersion(const SDL_version& v) {
    return QStringLiteral("%1.%2.%3").arg(v.major).arg(v.minor).arg(v.patch);
}

// The clock loads SDL and SDL_mixer only when an alarm first sounds, so they are
// asked here through the same shared objects, loaded for the question. Empty
// when a library is not installed.
QString LoadedSdlVersion() {
    QLibrary lib(QStringLiteral("SDL2-2.0"), 0);
    using TGetVersion = void (*)(SDL_version*);
    const auto get = reinterpret_cast<TGetVersion>(lib.resolve("SDL_GetVersion"));
    if (!get)
        return {};
    SDL_version v{};
    get(&v);
    return SdlVersion(v);
}

QString LoadedMixerVersion() {
    QLibrary lib(QStringLiteral("SDL2_mixer-2.0"), 0);
    using TLinkedVersion = const SDL_version* (*)();
    const auto get = reinterpret_cast<TLinkedVersion>(lib.resolve("Mix_Linked_Version"));
    const SDL_version* v = get ? get() : nullptr;
    return v ? SdlVersion(*v) : QString();
}

} // namespace

std::vector<TLibraryCredit> CarriedLibraries() {
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
        {QStringLiteral("SDL2"), LoadedSdlVersion(), QStringLiteral("(C) Sam Lantinga and others"),
         QStringLiteral("zlib License"), QStringLiteral("https://www.libsdl.org/")},
        {QStringLiteral("SDL2_mixer"), LoadedMixerVersion(),
         QStringLiteral("(C) Sam Lantinga and others"), QStringLiteral("zlib License"),
         QStringLiteral("https://github.com/libsdl-org/SDL_mixer")},
        // libX11 offers no function that tells its version.
        {QStringLiteral("libX11"), QStringLiteral("(no version query)"),
         QStringLiteral("(C) The Open Group and others"), QStringLiteral("MIT/X11 licences"),
         QStringLiteral("https://www.x.org/")},
    };
}

} // namespace velmora
