#include "sekme_yuklemesi.h"

#include "platform/data_set.h"
#include "platform/tasks.h"
#include "session/baglantiu.h"

SekmeYuklemesi::SekmeYuklemesi(QObject* parent, velmora::DataSet& veri, Yukleyici yukleyici)
    : QObject(parent)
    , m_veri(veri)
    , m_yukleyici(std::move(yukleyici))
{
}

void SekmeYuklemesi::baslat(const velmora::ServerConnection& bagc, const TSonucBilgisi& sbilgi)
{
    if (m_calisiyor) {
        m_bekleyen = true;
        m_bekleyenBaglanti = bagc.clone();
        m_bekleyenBilgi = sbilgi;
        return;
    }
    m_calisiyor = true;
    ++m_yuklemeSayisi;
    if (basladi)
        basladi();

    struct Sonuc {
        bool hata = false;
        velmora::Table tablo;
    };
    auto sonuc = std::make_shared<Sonuc>();
    auto klon = std::shared_ptr<velmora::ServerConnection>(bagc.clone());
    auto bilgi = std::make_shared<TSonucBilgisi>(sbilgi);
    velmora::runTask(
        this,
        [sonuc, klon, bilgi, yukleyici = m_yukleyici] {
            if (!BaglantiKontrol(*klon, 0)) {
                sonuc->hata = true;
                return;
            }
            try {
                sonuc->tablo = yukleyici(*klon, *bilgi);
            } catch (const std::exception&) {
                sonuc->hata = true;
            }
            klon->close();
        },
        [this, sonuc] {
            if (!sonuc->hata) {
                m_veri.disableControls();
                m_veri.assignData(std::move(sonuc->tablo));
                OndalikBicimle(m_veri);
                m_veri.enableControls();
            }
            m_calisiyor = false;
            if (bitti)
                bitti(sonuc->hata);
            if (m_bekleyen) {
                m_bekleyen = false;
                const auto baglanti = std::move(m_bekleyenBaglanti);
                baslat(*baglanti, *m_bekleyenBilgi);
            }
        });
}
