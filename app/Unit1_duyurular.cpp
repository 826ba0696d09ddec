// The notices fetched once after the login, on the start-up task's worker: the news line, the
// banner and the counts in the tab captions. Each uses its own copy of the connection, made from
// the copy `ana` that the task took when it started (the worker never reads the window's state);
// every change to the window is made on the user-interface thread while the worker waits, and
// skipped when the window is gone.

#include "Unit1.h"

#include "duyuru_kurallari.h"
#include "platform/tasks.h"
#include "platform/ui/gif_view.h"
#include "platform/ui/marquee.h"
#include "remote/proxim.h"
#include "session/baglantiu.h"

#include <QTabWidget>

void TForm1::KayanYaziYaz(const QPointer<QObject>& pencere, const velmora::ServerConnection& ana)
{
    const auto baglanti = ana.clone();
    if (!BaglantiKontrol(*baglanti, 1))
        return;
    QString metin;
    {
        TServerMethods1Client proxy(*baglanti);
        metin = proxy.KayanYaziGetir();
    }
    baglanti->close();
    velmora::runOnUiThreadAndWait(pencere, [&] {
        kayanyazi->setActive(false);
        kayanyazi->clearItems();
        if (kayanYaziGosterilir(metin)) {
            kayanyazi->addItem(metin);
            kayanyazi->setItemStyle(0, velmora::Marquee::ItemStyle::Html);
        }
        kayanyazi->setActive(true);
    });
}

void TForm1::BannerREsimAl(const QPointer<QObject>& pencere, const velmora::ServerConnection& ana)
{
    const auto baglanti = ana.clone();
    if (!BaglantiKontrol(*baglanti, 1))
        return;
    // The banner is an ornament: whatever goes wrong leaves it as it was, without a message.
    try {
        TServerMethods1Client proxy(*baglanti);
        qint64 boyut = 0;
        velmora::RemoteStream* akis = proxy.BannerResimVer(boyut);
        if (boyut != 0) {
            // Read until the stream ends: a read may return less than asked while bytes arrive.
            QByteArray resim;
            char blok[1024];
            qint64 okunan = 0;
            while (!akis->atEnd() && (okunan = akis->read(blok, sizeof blok)) > 0)
                resim.append(blok, static_cast<qsizetype>(okunan));
            if (resim.size() == boyut)
                velmora::runOnUiThreadAndWait(pencere, [&] { RxGIFAnimator1->loadGif(resim); });
        }
    } catch (...) {
    }
    baglanti->close();
}

void TForm1::BalonYaz(const QPointer<QObject>& pencere, const velmora::ServerConnection& ana,
                      const TSonucBilgisi& bilgi)
{
    const auto baglanti = ana.clone();
    if (!BaglantiKontrol(*baglanti, 1))
        return;
    {
        TServerMethods1Client proxy(*baglanti);
        const velmora::Table* sayilar = proxy.BalonGetir(kopyasi(bilgi));
        for (const auto& satir : sayilar->rows) {
            if (satir.size() < 5)
                throw std::runtime_error("BalonGetir: bir satırda beş değer yok");
            const BalonSayilari s{satir[0].toInt(), satir[1].toInt(), satir[2].toInt(), satir[3].toInt(),
                                  satir[4].toDouble()};
            velmora::runOnUiThreadAndWait(pencere, [&] {
                const QVector<QString> basliklar = balonBasliklari(s);
                sekmeBasligi(ssepet, basliklar[0]);
                sekmeBasligi(syeniler, basliklar[1]);
                sekmeBasligi(skampanyali, basliklar[2]);
                sekmeBasligi(sTabSheetduyuru, basliklar[3]);
                sekmeBasligi(sTabbakiyeler, basliklar[4]);
            });
        }
    }
    baglanti->close();
}
