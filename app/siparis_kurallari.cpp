#include "siparis_kurallari.h"

#include "platform/data_set.h"
#include "platform/number_format.h"

using velmora::IkiHaneYuvarla;

SepetToplamlari sepetToplamlari(const QVector<SepetSatiri>& satirlar)
{
    SepetToplamlari t;
    for (const SepetSatiri& s : satirlar) {
        if (s.SEC != 1)
            continue;
        t.toplam = IkiHaneYuvarla(t.toplam + s.TUTAR);
        t.indirim = IkiHaneYuvarla(t.indirim + s.INDIRIMTUTAR);
    }
    t.araToplam = IkiHaneYuvarla(t.toplam - t.indirim);
    t.vergi = IkiHaneYuvarla(t.araToplam * 1.18) - t.araToplam;
    t.genelToplam = IkiHaneYuvarla(t.araToplam + t.vergi);
    return t;
}

QVector<SepetSatiri> sepetSatirlari(const velmora::DataSet& sepet)
{
    QVector<SepetSatiri> satirlar;
    const int sec = sepet.fieldIndex(QStringLiteral("SEC"));
    const int tutar = sepet.fieldIndex(QStringLiteral("TUTAR"));
    const int indirim = sepet.fieldIndex(QStringLiteral("INDIRIMTUTAR"));
    satirlar.reserve(sepet.recordCount());
    for (int r = 0; r < sepet.recordCount(); ++r)
        satirlar.append(
            {sepet.value(r, sec).toInt(), sepet.value(r, tutar).toDouble(), sepet.value(r, indirim).toDouble()});
    return satirlar;
}

int koliyeYuvarla(int miktar, int koliAdet)
{
    if (koliAdet <= 1)
        return miktar;
    const int artik = miktar % koliAdet;
    return artik > 0 ? miktar + koliAdet - artik : miktar;
}

SatirKaynagi satirKaynagiSec(SatirKaynagi gridKaynagi, bool sepetteVar)
{
    return sepetteVar ? SatirKaynagi::SepetSatiri : gridKaynagi;
}

QString fiyatBilgisiMetni(double listeFiyati, double kampanyaFiyati, double netFiyat, double kdvDahil)
{
    const QString bicim = QString::fromLatin1(velmora::kAmountFormat);
    const QLocale yerel;
    const QString satirSonu = QStringLiteral("\r\n");
    QString metin = QStringLiteral("Liste Fiyatı: ") + velmora::formatNumber(listeFiyati, bicim, yerel) + satirSonu;
    if (kampanyaFiyati > 0)
        metin += QStringLiteral("Kampanyalı Fiyat: ") + velmora::formatNumber(kampanyaFiyati, bicim, yerel) + satirSonu;
    metin += QStringLiteral("NetFiyat: ") + velmora::formatNumber(netFiyat, bicim, yerel) + satirSonu;
    metin += QStringLiteral("KDV li Fiyat: ") + velmora::formatNumber(kdvDahil, bicim, yerel) + satirSonu;
    return metin;
}

QChar aramaHarfi(QChar yazilan)
{
    switch (yazilan.unicode()) {
    case 0x011F: // ğ
        return QLatin1Char('g');
    case 0x00FC: // ü
        return QLatin1Char('u');
    case 0x015F: // ş
        return QLatin1Char('s');
    case 0x00F6: // ö
        return QLatin1Char('o');
    case 0x00E7: // ç
        return QLatin1Char('c');
    case 0x011E: // Ğ
        return QLatin1Char('G');
    case 0x00DC: // Ü
        return QLatin1Char('U');
    case 0x015E: // Ş
        return QLatin1Char('S');
    case 0x0130: // İ
        return QLatin1Char('I');
    case 0x00D6: // Ö
        return QLatin1Char('O');
    case 0x00C7: // Ç
        return QLatin1Char('C');
    case 0x0131: // ı
        return QLatin1Char('I');
    default:
        return yazilan;
    }
}

QString aramaMetni(const QString& yazilan)
{
    QString metin;
    metin.reserve(yazilan.size());
    for (const QChar c : yazilan)
        metin += aramaHarfi(c);
    return metin.toUpper();
}

QString satirAramaMetni(const QString& barkod, const QString& marka)
{
    QString metin = barkod + QLatin1Char(' ') + marka;
    metin.replace(QChar(0x011E), QLatin1Char('G'))
        .replace(QChar(0x00DC), QLatin1Char('U'))
        .replace(QChar(0x015E), QLatin1Char('S'))
        .replace(QChar(0x0130), QLatin1Char('I'))
        .replace(QChar(0x00D6), QLatin1Char('O'))
        .replace(QChar(0x00C7), QLatin1Char('C'))
        .replace(QChar(0x0131), QChar(0x0130));
    return metin;
}

QString siparisOzetiMetni(const SiparisOzeti& o)
{
    const QStringList satirlar{
        QStringLiteral("Kullanıcı: ") + o.kullanici, QStringLiteral("Cari     : ") + o.cari,
        QStringLiteral("Teslim   : ") + o.teslim,    QStringLiteral("Kargo    : ") + o.kargoTuru,
        QStringLiteral("Tutar    : ") + o.tutar,     QStringLiteral("Kargo    : ") + o.kargoFirmasi,
        QStringLiteral("Açıklama : ") + o.aciklama,
    };
    return satirlar.join(QStringLiteral("\r\n"));
}
