#include "yontem_katalogu.h"

namespace {

constexpr const char* kSonucTipi = "baglantiu.TSonucBilgisi";

Parametre metin(const char* ad)
{
    return {ad, DegerTipi::Metin};
}
Parametre tamsayi(const char* ad)
{
    return {ad, DegerTipi::Tamsayi};
}
Parametre tamsayi64(const char* ad)
{
    return {ad, DegerTipi::Tamsayi64};
}
Parametre ondalik(const char* ad)
{
    return {ad, DegerTipi::Ondalik};
}
Parametre oturum(const char* ad)
{
    return {ad, DegerTipi::Kayit, kSonucTipi};
}
Parametre kayit(const char* tip)
{
    return {"Result", DegerTipi::Kayit, tip};
}
Parametre sonuc(DegerTipi tip)
{
    return {"Result", tip};
}

QVector<Parametre> cariIstekAlanlari()
{
    return {metin("idsi"),         metin("baslik"), metin("firmaadi"), metin("adres1"),
            metin("adres2"),       metin("ilce"),   metin("sehir"),    metin("telefon"),
            metin("fax"),          metin("vd"),     metin("vn"),       metin("yetkili"),
            metin("kullaniciadi"), metin("sifre"),  metin("mail"),     metin("kargoambar")};
}

QVector<Parametre> sepetSatiri(const char* onuncu)
{
    return {oturum("bilgim"),  tamsayi("carino"), tamsayi("stokno"), metin("barkod"), metin("stokadi"),
            ondalik("miktar"), ondalik("kdv"),    ondalik("fiyat"),  ondalik("ind1"), tamsayi("verenid"),
            tamsayi(onuncu),   ondalik("ind2"),   ondalik("ind3"),   ondalik("ind4")};
}

QVector<Parametre> bakiyeSatiri()
{
    return {oturum("k"),     tamsayi("stokno"), tamsayi("sepetsirano"), tamsayi("siparissirano"),
            ondalik("Adet"), ondalik("Bakiye"), metin("barkod")};
}

QVector<UzakYontem> katalogYap()
{
    using T = DegerTipi;
    QVector<UzakYontem> y;
    // Session and requests.
    y.append({"BuyukGetir", {metin("idsi")}, {}, kayit(kSonucTipi)});
    y.append({"CikisGonder", {oturum("bilgi")}, {}, sonuc(T::Yok)});
    y.append({"MailGonserCari", cariIstekAlanlari(), {}, sonuc(T::Tamsayi)});
    y.append(
        {"MobilCariBilgisiGetir", {tamsayi("sirano"), metin("_idsi")}, {}, kayit("mobilstokunit.TMobilCariBilgisi")});
    auto normal = cariIstekAlanlari();
    normal.append(metin("konu"));
    y.append({"MailGonserCariNormal", normal, {}, sonuc(T::Tamsayi)});
    // Ordering workspace.
    y.append({"StokAraVelmora2", {metin("kod"), oturum("bilgi")}, {}, sonuc(T::Paket)});
    y.append({"ResimVer5", {tamsayi("stokno")}, {tamsayi64("boy")}, sonuc(T::Akis)});
    y.append({"SepetVer2", {tamsayi("carino")}, {}, sonuc(T::Paket)});
    y.append({"SepetEkle2", sepetSatiri("k"), {}, sonuc(T::Tamsayi)});
    y.append({"SepetGuncelle2", sepetSatiri("_sepetsirano"), {}, sonuc(T::Tamsayi)});
    y.append({"SepetSatirSil", {oturum("bilgi"), tamsayi("satirno"), metin("aciklamam")}, {}, sonuc(T::Tamsayi)});
    y.append({"SepetHepsiniSil", {oturum("bilgi")}, {}, sonuc(T::Tamsayi)});
    y.append({"SepetSecimGuncelle", {tamsayi("sirano"), tamsayi("secim")}, {}, sonuc(T::Yok)});
    y.append({"TeslimVer", {}, {}, sonuc(T::Okuyucu)});
    y.append({"KargoVer", {}, {}, sonuc(T::Okuyucu)});
    y.append({"KargolarVer", {tamsayi("gn")}, {}, sonuc(T::Okuyucu)});
    y.append({"SiparisKaydet",
              {oturum("BB"), tamsayi("_carino"), tamsayi("_teslim"), tamsayi("_kargo"), metin("_aciklama"),
               tamsayi("_verenid"), tamsayi("_kargoyeni")},
              {},
              sonuc(T::Mantiksal)});
    // Account and order history.
    y.append({"OncekiSiparisler", {tamsayi("carino")}, {}, sonuc(T::Okuyucu)});
    y.append({"CariEkstreVer", {tamsayi("carino")}, {}, sonuc(T::Okuyucu)});
    y.append({"YenilerVer2", {tamsayi("carino")}, {}, sonuc(T::Paket)});
    y.append({"KampanyaliVer2", {tamsayi("cario"), tamsayi("satici")}, {}, sonuc(T::Paket)});
    y.append({"DuyuruVer", {}, {}, sonuc(T::Okuyucu)});
    y.append({"SiparisAyrintisi2", {tamsayi("carino"), tamsayi("idnosu")}, {}, sonuc(T::Okuyucu)});
    y.append(
        {"SiparisAytintisiDip", {tamsayi("carino"), tamsayi("siranosu")}, {}, kayit("baglantiu.TSiparisDipAyrinti")});
    y.append({"FaturaGetir", {tamsayi("carino"), tamsayi("idnosu")}, {}, sonuc(T::Okuyucu)});
    y.append({"FaturaAltGetir", {tamsayi("idnosu")}, {}, sonuc(T::Okuyucu)});
    y.append({"Tahsilat", {tamsayi("idnosu")}, {}, sonuc(T::Okuyucu)});
    y.append({"TumSiparislerVer", {tamsayi("carino"), tamsayi("stokno")}, {}, sonuc(T::Okuyucu)});
    y.append({"BakiyelerVer2", {tamsayi("carino")}, {}, sonuc(T::Okuyucu)});
    y.append({"BakiyeDuzenle", bakiyeSatiri(), {}, sonuc(T::Tamsayi)});
    y.append({"BakiyeDegistir", bakiyeSatiri(), {}, sonuc(T::Tamsayi)});
    auto fiyat = bakiyeSatiri();
    fiyat.append(ondalik("fiyat"));
    fiyat.append(ondalik("ind"));
    y.append({"BakiyeFiyatDegistir", fiyat, {}, sonuc(T::Tamsayi)});
    y.append({"DosyaListesi2", {}, {}, sonuc(T::Okuyucu)});
    y.append({"BelgeIndir", {tamsayi("sirano")}, {tamsayi64("size"), metin("adi")}, sonuc(T::Akis)});
    // Representative desk and notices.
    y.append({"CariAra", {oturum("bil"), metin("aranan")}, {}, sonuc(T::Okuyucu)});
    y.append({"CariSepetVer", {oturum("bil"), tamsayi("n")}, {}, sonuc(T::Okuyucu)});
    y.append({"SepetSayisi", {oturum("bil")}, {}, sonuc(T::Tamsayi)});
    y.append({"TusSonuclariVer", {oturum("bil")}, {}, kayit("baglantiu.TTusSonuclari")});
    y.append({"RaporGetir",
              {tamsayi("raporno"), tamsayi("bolum"), tamsayi("idno"), tamsayi("carino"), metin("saticiadi"),
               ondalik("tarih1"), ondalik("tarih2")},
              {tamsayi64("size")},
              sonuc(T::Akis)});
    y.append({"BalonGetir", {oturum("bil")}, {}, sonuc(T::Okuyucu)});
    y.append({"KayanYaziGetir", {}, {}, sonuc(T::Metin)});
    y.append({"BannerResimVer", {}, {tamsayi64("size")}, sonuc(T::Akis)});
    return y;
}

} // namespace

const QVector<UzakYontem>& uzakYontemler()
{
    static const QVector<UzakYontem> katalog = katalogYap();
    return katalog;
}

const UzakYontem* uzakYontemBul(const QString& ad)
{
    for (const UzakYontem& yontem : uzakYontemler()) {
        if (ad == QLatin1String(yontem.ad))
            return &yontem;
    }
    return nullptr;
}

QString degerTipiAdi(DegerTipi tip)
{
    switch (tip) {
    case DegerTipi::Yok:
        return QStringLiteral("none");
    case DegerTipi::Metin:
        return QStringLiteral("text");
    case DegerTipi::Tamsayi:
        return QStringLiteral("int32");
    case DegerTipi::Tamsayi64:
        return QStringLiteral("int64");
    case DegerTipi::Ondalik:
        return QStringLiteral("double");
    case DegerTipi::Mantiksal:
        return QStringLiteral("bool");
    case DegerTipi::Kayit:
        return QStringLiteral("record");
    case DegerTipi::Okuyucu:
        return QStringLiteral("reader");
    case DegerTipi::Paket:
        return QStringLiteral("packet");
    case DegerTipi::Akis:
        return QStringLiteral("stream");
    }
    return {};
}
