// The program's own name and pictures.
#pragma once

#include <QString>

namespace velmora {

inline const QString kApplicationTitle = QStringLiteral("Velmora");

// Makes the program's own pictures (":/app/...") available; call before loading one.
void RegisterAppResources();

} // namespace velmora
