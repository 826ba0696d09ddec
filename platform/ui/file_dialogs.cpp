#include "file_dialogs.h"

#include <QFileDialog>

namespace velmora {

namespace {
SaveFileHook& saveHook()
{
    static SaveFileHook hook;
    return hook;
}
} // namespace

QString askSaveFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    if (saveHook())
        return saveHook()(caption, filter);
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter);
}

void setSaveFileHook(SaveFileHook hook)
{
    saveHook() = std::move(hook);
}

} // namespace velmora
