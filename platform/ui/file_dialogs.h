#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace velmora {

// Asks where to save a file; empty when the user cancels. Tests replace the dialog with a hook
// that gets the caption and filter and answers a path.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter);
using SaveFileHook = std::function<QString(const QString& caption, const QString& filter)>;
void setSaveFileHook(SaveFileHook hook); // an empty hook restores the real dialog

} // namespace velmora
