#pragma once

#include <QString>

namespace velmora {

// Applies the style sheet carried as the resource ":/styles/<name>.qss" to the application.
// When it cannot be applied, shows the error and keeps the default look; returns false then.
bool applyStyle(const QString& name);

} // namespace velmora
