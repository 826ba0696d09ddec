#include "proxim.h"

#include "platform/record.h"
#include "yontem_katalogu.h"

#include <any>

using velmora::CallAnswer;
using velmora::RemoteError;
using velmora::RemoteStream;
using velmora::Table;
using velmora::WireError;
namespace wire = velmora::wire;

// One prepared method command and the results of its last run.
struct TServerMethods1Client::Komut {
    const UzakYontem* yontem = nullptr;
    std::unique_ptr<Table> tablo;
    std::any kayit;
    std::unique_ptr<RemoteStream> akis;

    void sonuclariBirak()
    {
        akis.reset();
        tablo.reset();
        kayit.reset();
    }
};

namespace {

QJsonValue oturumDegeri(std::unique_ptr<TSonucBilgisi> bilgi)
{
    // The argument is consumed: its JSON form goes on the wire and the object dies here.
    return velmora::encodeRecord(bilgi.get());
}

template <class F> auto okunabilir(F&& f) -> decltype(f())
{
    try {
        return f();
    } catch (const WireError& e) {
        throw RemoteError(RemoteError::Kind::Malformed, e.message());
    }
}

} // namespace

std::unique_ptr<TSonucBilgisi> kopyasi(const TSonucBilgisi& kaynak)
{
    auto kopya = std::make_unique<TSonucBilgisi>();
    kopya->Kopyala(kaynak);
    return kopya;
}

TServerMethods1Client::TServerMethods1Client(velmora::ServerConnection& connection)
    : m_baglanti(connection)
{
}

TServerMethods1Client::~TServerMethods1Client() = default;

TServerMethods1Client::Komut& TServerMethods1Client::komut(const char* yontem)
{
    auto& slot = m_komutlar[QLatin1String(yontem)];
    if (!slot) {
        slot = std::make_unique<Komut>();
        slot->yontem = uzakYontemBul(QLatin1String(yontem));
        Q_ASSERT_X(slot->yontem, "TServerMethods1Client", yontem);
    }
    return *slot;
}

CallAnswer TServerMethods1Client::cagir(const char* yontem, const QJsonArray& girdiler)
{
    Komut& k = komut(yontem);
    Q_ASSERT(k.yontem->girdiler.size() == girdiler.size());
    k.sonuclariBirak(); // results of the previous run die when the method runs again
    CallAnswer cevap = m_baglanti.call(QLatin1String(yontem), girdiler);
    if (cevap.outputs.size() < k.yontem->ciktilar.size())
        throw RemoteError(
            RemoteError::Kind::Malformed,
            QStringLiteral("Sunucu cevabı okunamadı: %1 çıkış parametreleri eksik").arg(QLatin1String(yontem)));
    return cevap;
}

Table* TServerMethods1Client::tablo(const char* yontem, const QJsonArray& girdiler)
{
    const CallAnswer cevap = cagir(yontem, girdiler);
    Komut& k = komut(yontem);
    k.tablo = std::make_unique<Table>(okunabilir([&] { return wire::decodeTable(cevap.result); }));
    return k.tablo.get();
}

template <class R> R* TServerMethods1Client::kayit(const char* yontem, const QJsonArray& girdiler)
{
    const CallAnswer cevap = cagir(yontem, girdiler);
    auto sonuc = okunabilir([&] { return velmora::decodeRecord<R>(cevap.result); });
    if (!sonuc)
        return nullptr;
    Komut& k = komut(yontem);
    k.kayit = std::make_shared<R>(std::move(*sonuc));
    return std::any_cast<std::shared_ptr<R>&>(k.kayit).get();
}

RemoteStream* TServerMethods1Client::akis(const char* yontem, const QJsonArray& girdiler, QJsonArray* ciktilar)
{
    Komut& k = komut(yontem);
    Q_ASSERT(k.yontem->girdiler.size() == girdiler.size());
    k.sonuclariBirak();
    k.akis = m_baglanti.callStream(QLatin1String(yontem), girdiler, ciktilar);
    if (ciktilar->size() < k.yontem->ciktilar.size())
        throw RemoteError(
            RemoteError::Kind::Malformed,
            QStringLiteral("Sunucu cevabı okunamadı: %1 çıkış parametreleri eksik").arg(QLatin1String(yontem)));
    return k.akis.get();
}

// Session and requests.

TSonucBilgisi* TServerMethods1Client::BuyukGetir(const QString& idsi)
{
    return kayit<TSonucBilgisi>("BuyukGetir", {idsi});
}

void TServerMethods1Client::CikisGonder(std::unique_ptr<TSonucBilgisi> bilgi)
{
    cagir("CikisGonder", {oturumDegeri(std::move(bilgi))});
}

namespace {
QJsonArray cariIstekDizisi(const CariIstekAlanlari& a)
{
    return {a.idsi, a.baslik, a.firmaadi, a.adres1,  a.adres2,       a.ilce,  a.sehir, a.telefon,
            a.fax,  a.vd,     a.vn,       a.yetkili, a.kullaniciadi, a.sifre, a.mail,  a.kargoambar};
}

int tamsayiSonuc(const CallAnswer& cevap, const char* yontem)
{
    return okunabilir([&] { return wire::toInt32(cevap.result, QLatin1String(yontem)); });
}
} // namespace

int TServerMethods1Client::MailGonserCari(const CariIstekAlanlari& alanlar)
{
    return tamsayiSonuc(cagir("MailGonserCari", cariIstekDizisi(alanlar)), "MailGonserCari");
}

TMobilCariBilgisi* TServerMethods1Client::MobilCariBilgisiGetir(int sirano, const QString& _idsi)
{
    return kayit<TMobilCariBilgisi>("MobilCariBilgisiGetir", {sirano, _idsi});
}

int TServerMethods1Client::MailGonserCariNormal(const CariIstekAlanlari& alanlar, const QString& konu)
{
    QJsonArray girdiler = cariIstekDizisi(alanlar);
    girdiler.append(konu);
    return tamsayiSonuc(cagir("MailGonserCariNormal", girdiler), "MailGonserCariNormal");
}

// Ordering workspace.

Table* TServerMethods1Client::StokAraVelmora2(const QString& kod, std::unique_ptr<TSonucBilgisi> bilgi)
{
    return tablo("StokAraVelmora2", {kod, oturumDegeri(std::move(bilgi))});
}

RemoteStream* TServerMethods1Client::ResimVer5(int stokno, qint64& boy)
{
    QJsonArray ciktilar;
    RemoteStream* sonuc = akis("ResimVer5", {stokno}, &ciktilar);
    boy = okunabilir([&] { return wire::toInt64(ciktilar.at(0), QStringLiteral("boy")); });
    return sonuc;
}

Table* TServerMethods1Client::SepetVer2(int carino)
{
    return tablo("SepetVer2", {carino});
}

int TServerMethods1Client::SepetEkle2(std::unique_ptr<TSonucBilgisi> bilgim, int carino, int stokno,
                                      const QString& barkod, const QString& stokadi, double miktar, double kdv,
                                      double fiyat, double ind1, int verenid, int k, double ind2, double ind3,
                                      double ind4)
{
    return tamsayiSonuc(cagir("SepetEkle2", {oturumDegeri(std::move(bilgim)), carino, stokno, barkod, stokadi, miktar,
                                             kdv, fiyat, ind1, verenid, k, ind2, ind3, ind4}),
                        "SepetEkle2");
}

int TServerMethods1Client::SepetGuncelle2(std::unique_ptr<TSonucBilgisi> bilgim, int carino, int stokno,
                                          const QString& barkod, const QString& stokadi, double miktar, double kdv,
                                          double fiyat, double ind1, int verenid, int _sepetsirano, double ind2,
                                          double ind3, double ind4)
{
    return tamsayiSonuc(cagir("SepetGuncelle2", {oturumDegeri(std::move(bilgim)), carino, stokno, barkod, stokadi,
                                                 miktar, kdv, fiyat, ind1, verenid, _sepetsirano, ind2, ind3, ind4}),
                        "SepetGuncelle2");
}

int TServerMethods1Client::SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi, int satirno, const QString& aciklamam)
{
    return tamsayiSonuc(cagir("SepetSatirSil", {oturumDegeri(std::move(bilgi)), satirno, aciklamam}), "SepetSatirSil");
}

int TServerMethods1Client::SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi)
{
    return tamsayiSonuc(cagir("SepetHepsiniSil", {oturumDegeri(std::move(bilgi))}), "SepetHepsiniSil");
}

void TServerMethods1Client::SepetSecimGuncelle(int sirano, int secim)
{
    cagir("SepetSecimGuncelle", {sirano, secim});
}

Table* TServerMethods1Client::TeslimVer()
{
    return tablo("TeslimVer", {});
}

Table* TServerMethods1Client::KargoVer()
{
    return tablo("KargoVer", {});
}

Table* TServerMethods1Client::KargolarVer(int gn)
{
    return tablo("KargolarVer", {gn});
}

bool TServerMethods1Client::SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB, int _carino, int _teslim, int _kargo,
                                          const QString& _aciklama, int _verenid, int _kargoyeni)
{
    const CallAnswer cevap = cagir(
        "SiparisKaydet", {oturumDegeri(std::move(BB)), _carino, _teslim, _kargo, _aciklama, _verenid, _kargoyeni});
    return okunabilir([&] { return wire::toBool(cevap.result, QStringLiteral("SiparisKaydet")); });
}

// Account and order history.

Table* TServerMethods1Client::OncekiSiparisler(int carino)
{
    return tablo("OncekiSiparisler", {carino});
}

Table* TServerMethods1Client::CariEkstreVer(int carino)
{
    return tablo("CariEkstreVer", {carino});
}

Table* TServerMethods1Client::YenilerVer2(int carino)
{
    return tablo("YenilerVer2", {carino});
}

Table* TServerMethods1Client::KampanyaliVer2(int cario, int satici)
{
    return tablo("KampanyaliVer2", {cario, satici});
}

Table* TServerMethods1Client::DuyuruVer()
{
    return tablo("DuyuruVer", {});
}

Table* TServerMethods1Client::SiparisAyrintisi2(int carino, int idnosu)
{
    return tablo("SiparisAyrintisi2", {carino, idnosu});
}

TSiparisDipAyrinti* TServerMethods1Client::SiparisAytintisiDip(int carino, int siranosu)
{
    return kayit<TSiparisDipAyrinti>("SiparisAytintisiDip", {carino, siranosu});
}

Table* TServerMethods1Client::FaturaGetir(int carino, int idnosu)
{
    return tablo("FaturaGetir", {carino, idnosu});
}

Table* TServerMethods1Client::FaturaAltGetir(int idnosu)
{
    return tablo("FaturaAltGetir", {idnosu});
}

Table* TServerMethods1Client::Tahsilat(int idnosu)
{
    return tablo("Tahsilat", {idnosu});
}

Table* TServerMethods1Client::TumSiparislerVer(int carino, int stokno)
{
    return tablo("TumSiparislerVer", {carino, stokno});
}

Table* TServerMethods1Client::BakiyelerVer2(int carino)
{
    return tablo("BakiyelerVer2", {carino});
}

int TServerMethods1Client::BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k, int stokno, int sepetsirano,
                                         int siparissirano, double Adet, double Bakiye, const QString& barkod)
{
    return tamsayiSonuc(
        cagir("BakiyeDuzenle", {oturumDegeri(std::move(k)), stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod}),
        "BakiyeDuzenle");
}

int TServerMethods1Client::BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k, int stokno, int sepetsirano,
                                          int siparissirano, double Adet, double Bakiye, const QString& barkod)
{
    return tamsayiSonuc(
        cagir("BakiyeDegistir", {oturumDegeri(std::move(k)), stokno, sepetsirano, siparissirano, Adet, Bakiye, barkod}),
        "BakiyeDegistir");
}

int TServerMethods1Client::BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k, int stokno, int sepetsirano,
                                               int siparissirano, double Adet, double Bakiye, const QString& barkod,
                                               double fiyat, double ind)
{
    return tamsayiSonuc(cagir("BakiyeFiyatDegistir", {oturumDegeri(std::move(k)), stokno, sepetsirano, siparissirano,
                                                      Adet, Bakiye, barkod, fiyat, ind}),
                        "BakiyeFiyatDegistir");
}

Table* TServerMethods1Client::DosyaListesi2()
{
    return tablo("DosyaListesi2", {});
}

RemoteStream* TServerMethods1Client::BelgeIndir(int sirano, qint64& size, QString& adi)
{
    QJsonArray ciktilar;
    RemoteStream* sonuc = akis("BelgeIndir", {sirano}, &ciktilar);
    okunabilir([&] {
        size = wire::toInt64(ciktilar.at(0), QStringLiteral("size"));
        adi = wire::toText(ciktilar.at(1), QStringLiteral("adi"));
        return 0;
    });
    return sonuc;
}

// Representative desk and notices.

Table* TServerMethods1Client::CariAra(std::unique_ptr<TSonucBilgisi> bil, const QString& aranan)
{
    return tablo("CariAra", {oturumDegeri(std::move(bil)), aranan});
}

Table* TServerMethods1Client::CariSepetVer(std::unique_ptr<TSonucBilgisi> bil, int n)
{
    return tablo("CariSepetVer", {oturumDegeri(std::move(bil)), n});
}

int TServerMethods1Client::SepetSayisi(std::unique_ptr<TSonucBilgisi> bil)
{
    return tamsayiSonuc(cagir("SepetSayisi", {oturumDegeri(std::move(bil))}), "SepetSayisi");
}

TTusSonuclari* TServerMethods1Client::TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil)
{
    return kayit<TTusSonuclari>("TusSonuclariVer", {oturumDegeri(std::move(bil))});
}

RemoteStream* TServerMethods1Client::RaporGetir(int raporno, int bolum, int idno, int carino, const QString& saticiadi,
                                                double tarih1, double tarih2, qint64& size)
{
    QJsonArray ciktilar;
    RemoteStream* sonuc = akis("RaporGetir", {raporno, bolum, idno, carino, saticiadi, tarih1, tarih2}, &ciktilar);
    size = okunabilir([&] { return wire::toInt64(ciktilar.at(0), QStringLiteral("size")); });
    return sonuc;
}

Table* TServerMethods1Client::BalonGetir(std::unique_ptr<TSonucBilgisi> bil)
{
    return tablo("BalonGetir", {oturumDegeri(std::move(bil))});
}

QString TServerMethods1Client::KayanYaziGetir()
{
    const CallAnswer cevap = cagir("KayanYaziGetir", {});
    return okunabilir([&] { return wire::toText(cevap.result, QStringLiteral("KayanYaziGetir")); });
}

RemoteStream* TServerMethods1Client::BannerResimVer(qint64& size)
{
    QJsonArray ciktilar;
    RemoteStream* sonuc = akis("BannerResimVer", {}, &ciktilar);
    size = okunabilir([&] { return wire::toInt64(ciktilar.at(0), QStringLiteral("size")); });
    return sonuc;
}
