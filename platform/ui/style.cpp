#include "style.h"

#include "message_dialog.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initResourcesOnce()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(done);
}

namespace velmora {

void initPlatformResources()
{
    initResourcesOnce();
}

bool applyStyle(const QString& name)
{
    initPlatformResources();
    QFile file(QStringLiteral(":/styles/%1.qss").arg(name));
    QString sheet;
    if (file.open(QIODevice::ReadOnly | QIODevice::Text))
        sheet = QString::fromUtf8(file.readAll());
    if (sheet.trimmed().isEmpty()) {
        showMessage({QStringLiteral("Görünüm uygulanamadı: %1").arg(name), MessageKind::Error, mbOK, mbOK,
                     MessageSource::Message});
        return false;
    }
    // The sheet is written against Fusion, which draws the same on every desktop.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    qApp->setStyleSheet(sheet);
    return true;
}

} // namespace velmora
