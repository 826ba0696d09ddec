#include "baglantiu.h"

#include "platform/system_hooks.h"
#include "platform/tasks.h"

#include <QCoreApplication>
#include <QDir>

using namespace std::chrono_literals;

int MesajVer(const QString& metin, MessageKind tip, MessageButtons dugmeler, int /*yardimBaglami*/,
             MessageButton varsayilan)
{
    int sonuc = velmora::mrNone;
    velmora::runOnUiThreadAndWait(qApp, [&] {
        sonuc = velmora::showMessage({metin, tip, dugmeler, varsayilan, velmora::MessageSource::Message});
    });
    return sonuc;
}

bool BaglantiKontrol(velmora::ServerConnection& baglanti, int mesajgoster)
{
    constexpr int kDenemeSayisi = 11;
    baglanti.close();
    for (int deneme = 0; deneme < kDenemeSayisi && !baglanti.isOpen(); ++deneme) {
        try {
            baglanti.open();
        } catch (...) {
            baglanti.close();
            velmora::systemHooks().retryWait(500ms);
        }
    }
    if (!baglanti.isOpen() && mesajgoster == 1)
        MesajVer(QString::fromUtf8(kBaglantiKurulamiyor), MessageKind::Error, velmora::mbOK, 0, velmora::mbOK);
    return baglanti.isOpen();
}

QString AyarKlasoru()
{
    const QString temel = velmora::systemHooks().appDataFolder();
    // Without an application-data folder the sub-folder is taken relative to the current folder.
    const QString klasor =
        temel.isEmpty() ? QStringLiteral("velmora") : QDir(temel).filePath(QStringLiteral("velmora"));
    QDir().mkpath(klasor);
    return QDir::cleanPath(klasor);
}

QString BelgelerKlasoru()
{
    return velmora::systemHooks().documentsFolder();
}
