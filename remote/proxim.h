#pragma once

#include "mobilstokunit.h"
#include "platform/server_connection.h"
#include "platform/table.h"
#include "session/kayitlar.h"

#include <QJsonArray>
#include <QString>

#include <map>
#include <memory>

// The fields of an account or password-change request, in the order the server takes them.
struct CariIstekAlanlari {
    QString idsi, baslik, firmaadi, adres1, adres2, ilce, sehir, telefon, fax, vd, vn, yetkili, kullaniciadi, sifre,
        mail, kargoambar;
};

// Client proxy of the application server's methods, made on an open connection for one
// operation. Ownership, as callers rely on it:
// - a record argument is consumed by the call (pass a fresh copy, see kopyasi());
// - a table, record or stream result belongs to the proxy and lives until the proxy is freed or
//   the same method runs again on it; take it over (copy, move the table out) before that.
class TServerMethods1Client {
public:
    explicit TServerMethods1Client(velmora::ServerConnection& connection);
    ~TServerMethods1Client();
    TServerMethods1Client(const TServerMethods1Client&) = delete;
    TServerMethods1Client& operator=(const TServerMethods1Client&) = delete;

    // Session and requests.
    TSonucBilgisi* BuyukGetir(const QString& idsi);
    void CikisGonder(std::unique_ptr<TSonucBilgisi> bilgi);
    int MailGonserCari(const CariIstekAlanlari& alanlar);
    TMobilCariBilgisi* MobilCariBilgisiGetir(int sirano, const QString& _idsi);
    int MailGonserCariNormal(const CariIstekAlanlari& alanlar, const QString& konu);

    // Ordering workspace.
    velmora::Table* StokAraVelmora2(const QString& kod, std::unique_ptr<TSonucBilgisi> bilgi);
    velmora::RemoteStream* ResimVer5(int stokno, qint64& boy);
    velmora::Table* SepetVer2(int carino);
    int SepetEkle2(std::unique_ptr<TSonucBilgisi> bilgim, int carino, int stokno, const QString& barkod,
                   const QString& stokadi, double miktar, double kdv, double fiyat, double ind1, int verenid, int k,
                   double ind2, double ind3, double ind4);
    int SepetGuncelle2(std::unique_ptr<TSonucBilgisi> bilgim, int carino, int stokno, const QString& barkod,
                       const QString& stokadi, double miktar, double kdv, double fiyat, double ind1, int verenid,
                       int _sepetsirano, double ind2, double ind3, double ind4);
    int SepetSatirSil(std::unique_ptr<TSonucBilgisi> bilgi, int satirno, const QString& aciklamam);
    int SepetHepsiniSil(std::unique_ptr<TSonucBilgisi> bilgi);
    void SepetSecimGuncelle(int sirano, int secim);
    velmora::Table* TeslimVer();
    velmora::Table* KargoVer();
    velmora::Table* KargolarVer(int gn);
    bool SiparisKaydet(std::unique_ptr<TSonucBilgisi> BB, int _carino, int _teslim, int _kargo,
                       const QString& _aciklama, int _verenid, int _kargoyeni);

    // Account and order history.
    velmora::Table* OncekiSiparisler(int carino);
    velmora::Table* CariEkstreVer(int carino);
    velmora::Table* YenilerVer2(int carino);
    velmora::Table* KampanyaliVer2(int cario, int satici);
    velmora::Table* DuyuruVer();
    velmora::Table* SiparisAyrintisi2(int carino, int idnosu);
    TSiparisDipAyrinti* SiparisAytintisiDip(int carino, int siranosu);
    velmora::Table* FaturaGetir(int carino, int idnosu);
    velmora::Table* FaturaAltGetir(int idnosu);
    velmora::Table* Tahsilat(int idnosu);
    velmora::Table* TumSiparislerVer(int carino, int stokno);
    velmora::Table* BakiyelerVer2(int carino);
    int BakiyeDuzenle(std::unique_ptr<TSonucBilgisi> k, int stokno, int sepetsirano, int siparissirano, double Adet,
                      double Bakiye, const QString& barkod);
    int BakiyeDegistir(std::unique_ptr<TSonucBilgisi> k, int stokno, int sepetsirano, int siparissirano, double Adet,
                       double Bakiye, const QString& barkod);
    int BakiyeFiyatDegistir(std::unique_ptr<TSonucBilgisi> k, int stokno, int sepetsirano, int siparissirano,
                            double Adet, double Bakiye, const QString& barkod, double fiyat, double ind);
    velmora::Table* DosyaListesi2();
    velmora::RemoteStream* BelgeIndir(int sirano, qint64& size, QString& adi);

    // Representative desk and notices.
    velmora::Table* CariAra(std::unique_ptr<TSonucBilgisi> bil, const QString& aranan);
    velmora::Table* CariSepetVer(std::unique_ptr<TSonucBilgisi> bil, int n);
    int SepetSayisi(std::unique_ptr<TSonucBilgisi> bil);
    TTusSonuclari* TusSonuclariVer(std::unique_ptr<TSonucBilgisi> bil);
    velmora::RemoteStream* RaporGetir(int raporno, int bolum, int idno, int carino, const QString& saticiadi,
                                      double tarih1, double tarih2, qint64& size);
    velmora::Table* BalonGetir(std::unique_ptr<TSonucBilgisi> bil);
    QString KayanYaziGetir();
    velmora::RemoteStream* BannerResimVer(qint64& size);

    // How many method commands this proxy has prepared (one per method, on first use).
    int hazirlananKomutSayisi() const { return static_cast<int>(m_komutlar.size()); }

private:
    struct Komut;
    Komut& komut(const char* yontem);
    velmora::CallAnswer cagir(const char* yontem, const QJsonArray& girdiler);
    velmora::Table* tablo(const char* yontem, const QJsonArray& girdiler);
    velmora::RemoteStream* akis(const char* yontem, const QJsonArray& girdiler, QJsonArray* ciktilar);
    template <class R> R* kayit(const char* yontem, const QJsonArray& girdiler);

    velmora::ServerConnection& m_baglanti;
    std::map<QString, std::unique_ptr<Komut>> m_komutlar;
};

// A fresh copy of the running session record, for a call that consumes it.
std::unique_ptr<TSonucBilgisi> kopyasi(const TSonucBilgisi& kaynak);
