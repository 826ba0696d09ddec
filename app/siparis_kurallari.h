#pragma once

// Rules of the ordering workspace that need no window: basket totals, pack-size steps, the
// stock line dialog's variant, texts of the price cell and of the order summary, the search
// box's letter mapping.

#include <QChar>
#include <QString>
#include <QVector>

namespace velmora {
class DataSet;
}

// One basket line as the totals see it.
struct SepetSatiri {
    int SEC = 0;
    double TUTAR = 0;
    double INDIRIMTUTAR = 0;
};

struct SepetToplamlari {
    double toplam = 0;      // T, "Toplam:"
    double indirim = 0;     // I, "İndirim Toplam:"
    double araToplam = 0;   // N, "Ara Toplam:"
    double vergi = 0;       // V, "Vergi:" (18 % of N)
    double genelToplam = 0; // G, "Genel Toplam:"
};

// Totals of the selected lines (SEC = 1), each step rounded to two decimals.
SepetToplamlari sepetToplamlari(const QVector<SepetSatiri>& satirlar);
// The lines of a basket data set (columns SEC, TUTAR, INDIRIMTUTAR), in data set order.
QVector<SepetSatiri> sepetSatirlari(const velmora::DataSet& sepet);

// A quantity raised to the next multiple of the pack quantity (13 with 12 gives 24).
int koliyeYuvarla(int miktar, int koliAdet);

// Where the stock line dialog takes its item from.
enum class SatirKaynagi {
    StokListesi, // stok
    YeniStoklar, // YENILER
    Kampanyali,  // kampstok
    SepetSatiri, // an existing basket line
};
// An item already in the basket opens its line; otherwise a new line from the grid's source.
SatirKaynagi satirKaynagiSec(SatirKaynagi gridKaynagi, bool sepetteVar);

// The multi-line text of the drawn price cell; amounts with "#,###,##0.00".
QString fiyatBilgisiMetni(double listeFiyati, double kampanyaFiyati, double netFiyat, double kdvDahil);

// The search box's mapping of Turkish letters typed by hand.
QChar aramaHarfi(QChar yazilan);
QString aramaMetni(const QString& yazilan);

// The text a basket line searches the stock list with when no stock list is loaded: code and
// brand, with Turkish capitals replaced (ı becomes İ, as the search expects).
QString satirAramaMetni(const QString& barkod, const QString& marka);

struct SiparisOzeti {
    QString kullanici, cari, teslim, kargoTuru, tutar, kargoFirmasi, aciklama;
};
// The seven lines of the confirmation, captions padded to 11 characters, CR LF between lines.
QString siparisOzetiMetni(const SiparisOzeti& ozet);
