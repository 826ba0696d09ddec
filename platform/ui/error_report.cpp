#include "error_report.h"

#include "message_dialog.h"
#include "platform/system_hooks.h"
#include "platform/tasks.h"

#include <QApplication>

namespace velmora {

void installErrorReport()
{
    // Errors are normally reported from guarded steps on the user-interface thread; one raised
    // elsewhere is shown there too, since widgets belong to that thread alone.
    setErrorReporter([](const QString& text) {
        runOnUiThreadAndWait(qApp, [&text] {
            showMessage({text, MessageKind::Error, mbOK, mbOK, MessageSource::ErrorReport});
        });
    });
    systemHooks().playSound = [](SystemSound) { QApplication::beep(); };
}

} // namespace velmora
