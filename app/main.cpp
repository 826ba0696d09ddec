#include "Unit1.h"

#include "platform/ui/error_report.h"
#include "platform/ui/style.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    velmora::installErrorReport();
    velmora::applyStyle(QStringLiteral("Brivo"));
    // The process ends when the logout notice has been sent, not when the window closes.
    app.setQuitOnLastWindowClosed(false);

    TForm1 form;
    if (!form.girisYapildi())
        return 0;
    form.showMaximized();
    return app.exec();
}
