#pragma once

#include <QString>

namespace velmora {

// Registers the resources compiled into the widget library (the style sheets). A static library's
// resources are not registered on their own; applyStyle calls this first.
void initPlatformResources();

// Applies the style sheet carried as the resource ":/styles/<name>.qss" to the application.
// When it cannot be applied, shows the error and keeps the default look; returns false then.
bool applyStyle(const QString& name);

} // namespace velmora
