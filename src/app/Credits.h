// The libraries this program carries, each asked at run time for its version.
#pragma once

#include "app/about/AboutLogic.h"

namespace velmora {

// Qt, libpng, zlib, SDL2, SDL2_mixer and libX11, in this order; SDL's and
// SDL_mixer's versions as the sound player tells them.
std::vector<TLibraryCredit> CarriedLibraries(const QString& sdlVersion,
                                             const QString& mixerVersion);

} // namespace velmora
