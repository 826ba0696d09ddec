// The stock list tab: search box, stock grid, the stock line dialog's variants.

#include "Unit1.h"

#include "durum_resimleri.h"
#include "izgara_sutunu.h"
#include "platform/number_format.h"
#include "platform/tasks.h"
#include "platform/ui/busy_indicator.h"
#include "platform/ui/grid_view.h"
#include "remote/proxim.h"
#include "session/baglantiu.h"
#include "stokayarintiU.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using velmora::CellKind;
using velmora::GridColumn;
using velmora::guarded;

namespace {

GridColumn sutun(const char* alan, const char* baslik, int agirlik, bool gorunur, bool sunulur = true,
                 CellKind tur = CellKind::Text)
{
    return izgaraSutunu("cxGrid1DBTableView1", alan, baslik, agirlik, gorunur, sunulur, tur);
}

GridColumn resimSutunu(const char* alan, const char* baslik, int agirlik, const QVector<QPixmap>& resimler)
{
    GridColumn c = sutun(alan, baslik, agirlik, true, true, CellKind::Image);
    c.images = resimler;
    return c;
}

// The drawn price cell of the narrow layout.
void fiyatBilgisiCiz(QPainter& p, const QStyleOptionViewItem& secenek, const velmora::DataSet& v, int satir)
{
    auto deger = [&](const char* alan) { return v.value(satir, v.fieldIndex(QLatin1String(alan))).toDouble(); };
    const QString metin =
        fiyatBilgisiMetni(deger("LISTEFIYAT1"), deger("KAMPFIYAT"), deger("NETFIYAT"), deger("KDVDAHIL"));
    const QPalette& renkler = secenek.palette;
    if (secenek.state & QStyle::State_Selected)
        p.fillRect(secenek.rect, renkler.highlight());
    else
        p.fillRect(secenek.rect, satir % 2 ? renkler.alternateBase() : renkler.base());
    p.setPen(secenek.state & QStyle::State_Selected ? renkler.highlightedText().color() : renkler.text().color());
    p.drawText(secenek.rect.adjusted(10, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter | Qt::TextWordWrap,
               QString(metin).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed());
}

} // namespace

QWidget* TForm1::stokSekmesiniKur()
{
    cxGrid1 = new velmora::GridView(sstoklistesi);
    cxGrid1->setObjectName(QStringLiteral("cxGrid1"));
    QFont yazi(QStringLiteral("Arial"));
    yazi.setPixelSize(13);
    cxGrid1->setFont(yazi);
    GridColumn fiyatBilgisi;
    fiyatBilgisi.objectName = QStringLiteral("cxGrid1DBTableView1FiyatBilgisi");
    fiyatBilgisi.caption = QStringLiteral("Fiyat Bilgisi");
    fiyatBilgisi.weight = 2;
    fiyatBilgisi.kind = CellKind::Drawn;
    fiyatBilgisi.painter = fiyatBilgisiCiz;
    GridColumn netFiyat = sutun("NETFIYAT", "Net Fiyatı", 2, false, true, CellKind::Number);
    GridColumn ozelkod1 = sutun("OZELKOD1", "Koli Adet", 1, true);
    ozelkod1.alignment = Qt::AlignCenter;
    GridColumn indirimYazi = sutun("INDIRIMYAZI", "İndirim Oran", 2, true);
    indirimYazi.alignment = Qt::AlignCenter;
    cxGrid1->setColumns({
        resimSutunu("DURUM", "Durum", 1, durumResimleri()),
        sutun("OEM1", "Oem1", 2, true),
        sutun("OEM2", "Oem2", 2, true),
        sutun("OEM3", "Oem3", 2, true),
        sutun("ADI", "Açıklama", 3, true),
        sutun("BARKOD", "Barkod", 2, false),
        sutun("OEM4", "Oem4", 2, false),
        sutun("STOK_STOKNO", "", 1, false, false),
        sutun("FINISHKOD", "Finish Kod", 2, true),
        sutun("URETICIKODU", "Üretici Kod", 2, false),
        resimSutunu("RESIM", "Resim", 1, resimVarResimleri()),
        ozelkod1,
        sutun("BARKOD_BARKODNO", "", 1, false, false),
        sutun("DIGERADI", "Diğer Adı", 3, false),
        sutun("DPKOD", "", 2, false, false),
        sutun("OEMNO", "Oem No", 2, false),
        sutun("BIRIM", "Birim", 1, false),
        sutun("MARKA", "Marka", 2, true),
        sutun("MODEL", "Model", 2, false),
        sutun("ANAGRUP", "Ana Grup", 2, false),
        sutun("OZELKOD", "Özel Kod", 2, false),
        sutun("KALAN", "Kalan", 1, false, false, CellKind::Number),
        sutun("PKOD", "", 1, false, false),
        sutun("KDV", "KDV", 1, false, true, CellKind::Number),
        sutun("ALINANSIPARIS", "Alınan Sipariş", 1, false, false, CellKind::Number),
        sutun("VERILENSIPARIS", "Verilen Sipariş", 1, false, false, CellKind::Number),
        sutun("LISTEFIYAT1", "Liste Fiyatı", 2, false, true, CellKind::Number),
        sutun("KAMPFIYAT", "Kampanyalı Fiyat", 2, false, true, CellKind::Number),
        sutun("FIYAT", "Liste Fiyatı", 2, false, true, CellKind::Number),
        resimSutunu("Y", "Yeni", 1, evetHayirResimleri()),
        resimSutunu("K", "Kampanyalı", 1, kampanyaResimleri()),
        indirimYazi,
        netFiyat,
        sutun("KDVDAHIL", "KDV Dahil Fiyat", 3, true, true, CellKind::Number),
        fiyatBilgisi,
    });
    cxGrid1->setSummary(QStringLiteral("cxGrid1DBTableView1OEM1"), velmora::SummaryKind::Count);
    cxGrid1->setHeaderHeight(40);
    cxGrid1->setRowHeight(40);
    cxGrid1->setDataSet(&stok);
    cxGrid1->installEventFilter(this);

    popstok = new QMenu(this);
    popstok->setObjectName(QStringLiteral("popstok"));
    QAction* sepeteEkle = popstok->addAction(QStringLiteral("Sepete Ekle"));
    sepeteEkle->setObjectName(QStringLiteral("S2"));
    popstok->addSeparator();
    popstok->addAction(QStringLiteral("Sipariş Bakiyeleriniz"));
    popstok->addSeparator();
    popstok->addAction(QStringLiteral("Siparişleri Göster"))->setObjectName(QStringLiteral("S3"));
    connect(sepeteEkle, &QAction::triggered, this,
            [this] { guarded([this] { StokSatiriAc(SatirKaynagi::StokListesi); }); });
    connect(cxGrid1, &velmora::GridView::doubleClicked, this,
            [this] { guarded([this] { StokSatiriAc(SatirKaynagi::StokListesi); }); });
    connect(cxGrid1, &velmora::GridView::contextMenuRequested, this,
            [this](int, const QPoint& yer) { popstok->popup(yer); });

    connect(araedit, &QLineEdit::textEdited, this, [this](const QString& metin) {
        const QString eslenen = aramaMetni(metin);
        if (eslenen != metin) {
            const int imlec = araedit->cursorPosition();
            araedit->setText(eslenen);
            araedit->setCursorPosition(imlec);
        }
    });
    araedit->installEventFilter(this);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] {
        if (araedit->isEnabled())
            guarded([this] { AramaBaslat(); });
    });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] {
        if (araedit->isEnabled())
            guarded([this] { Temizle(); });
    });

    auto* duzen = new QVBoxLayout(sstoklistesi);
    duzen->setContentsMargins(0, 0, 0, 0);
    duzen->addWidget(cxGrid1);
    return cxGrid1;
}

void TForm1::AramaBaslat()
{
    sPageControl1->setCurrentWidget(sstoklistesi);
    if (araedit->text().trimmed().size() < 3) {
        MesajVer(QStringLiteral("Lütfen en az 3 harf giriniz !"), MessageKind::Warning, velmora::mbOK, 0,
                 velmora::mbOK);
        return;
    }
    araedit->setEnabled(false);
    gifstokara->start();
    cxGrid1->setDataSet(nullptr);
    cxGrid1->beginUpdate();
    cxGrid1->clearFilters();

    struct Sonuc {
        bool hata = false;
        velmora::Table tablo;
    };
    auto sonuc = std::make_shared<Sonuc>();
    auto klon = std::shared_ptr<velmora::ServerConnection>(bagc.clone());
    velmora::runTask(
        this,
        [sonuc, klon, bilgi = sbilgi, metin = araedit->text()] {
            sonuc->hata = !StokAramaYap(*klon, bilgi, metin, sonuc->tablo);
        },
        [this, sonuc] {
            araedit->setEnabled(true);
            if (!sonuc->hata) {
                stok.disableControls();
                stok.assignData(std::move(sonuc->tablo));
                OndalikBicimle(stok);
                stok.enableControls();
                sekmeBasligi(sstoklistesi, QStringLiteral("%1=Stok Listesi").arg(stok.recordCount()));
            }
            cxGrid1->setDataSet(&stok);
            cxGrid1->endUpdate();
            araedit->selectAll();
            araedit->setFocus();
            gifstokara->stop();
            if (sonuc->hata) {
                MesajVer(QString::fromUtf8(kBaglantiKurulamiyor), MessageKind::Error, velmora::mbOK, 0, velmora::mbOK);
                if (stok.isOpen())
                    stok.emptyDataSet();
                sekmeBasligi(sstoklistesi, QStringLiteral("Stok Listesi"));
            }
            cxGrid1Resize();
        });
}

bool TForm1::StokAramaYap(const velmora::ServerConnection& bagc, const TSonucBilgisi& bilgi, const QString& metin,
                          velmora::Table& sonuc)
{
    std::unique_ptr<velmora::ServerConnection> klon = bagc.clone();
    if (!BaglantiKontrol(*klon, 0))
        return false;
    try {
        TServerMethods1Client proxy(*klon);
        velmora::Table* paket = proxy.StokAraVelmora2(metin, kopyasi(bilgi));
        if (paket->columnIndex(QStringLiteral("IND1")) < 0)
            return false;
        sonuc = std::move(*paket);
    } catch (const std::exception&) {
        return false;
    }
    klon->close();
    return true;
}

void TForm1::Temizle()
{
    if (stok.isOpen()) {
        stok.emptyDataSet();
        sekmeBasligi(sstoklistesi, QStringLiteral("Stok Listesi"));
    }
    sPageControl1->setCurrentWidget(sstoklistesi);
    cxGrid1->clearFilters();
    araedit->clear();
    araedit->selectAll();
    araedit->setFocus();
}

void TForm1::cxGrid1Resize()
{
    if (!araedit->isEnabled())
        return;
    const bool genis = width() > velmora::kWideLayoutWidth;
    cxGrid1->beginUpdate();
    const QString v = QStringLiteral("cxGrid1DBTableView1");
    if (genis) {
        for (const char* alan : {"KDVDAHIL", "NETFIYAT", "LISTEFIYAT1"})
            cxGrid1->setColumnVisible(v + QLatin1String(alan), true);
        cxGrid1->setColumnVisible(v + QStringLiteral("FiyatBilgisi"), false);
        cxGrid1->setRowHeight(70);
    } else {
        for (const char* alan : {"KDVDAHIL", "NETFIYAT", "KAMPFIYAT", "LISTEFIYAT1"})
            cxGrid1->setColumnVisible(v + QLatin1String(alan), false);
        cxGrid1->setColumnVisible(v + QStringLiteral("FiyatBilgisi"), true);
        cxGrid1->setRowHeight(100);
    }
    cxGrid1->applyWeightWidths(cxGrid1->width());
    if (!genis) {
        for (const char* alan : {"OEM1", "OEM2", "OEM3"})
            cxGrid1->setColumnWidth(v + QLatin1String(alan), 80);
        cxGrid1->setColumnWidth(v + QStringLiteral("FiyatBilgisi"), 150);
    }
    cxGrid1->endUpdate();
}

void TForm1::StokSatiriAc(SatirKaynagi kaynak)
{
    velmora::GridView* grid = cxGrid1;
    velmora::DataSet* veri = &stok;
    if (kaynak == SatirKaynagi::YeniStoklar) {
        grid = cxGrid6;
        veri = &YENILER;
    } else if (kaynak == SatirKaynagi::Kampanyali) {
        grid = cxkampanyali;
        veri = &kampstok;
    }
    const int satir = grid->focusedRow();
    if (satir < 0)
        return;
    const QVariant stokno = veri->value(satir, veri->fieldIndex(QStringLiteral("STOK_STOKNO")));
    veri->locate(QStringLiteral("STOK_STOKNO"), stokno);
    if (!sepet.isOpen())
        SepetiYenile();
    if (!sepet.isOpen())
        return; // the connection message has been shown
    const bool sepette = sepet.locate(QStringLiteral("STOKNO"), stokno);
    switch (satirKaynagiSec(kaynak, sepette)) {
    case SatirKaynagi::SepetSatiri:
        SatirDuzenle(sepet.value(QStringLiteral("SIRANO")).toInt());
        return;
    case SatirKaynagi::StokListesi:
    case SatirKaynagi::YeniStoklar:
    case SatirKaynagi::Kampanyali:
        break;
    }
    Tstokayarinti pencere(this);
    pencere.ResimYukle(bagc, stokno.toInt());
    if (kaynak == SatirKaynagi::StokListesi)
        pencere.yeniSatirStok(*veri);
    else if (kaynak == SatirKaynagi::YeniStoklar)
        pencere.yeniSatirYeniler(*veri);
    else
        pencere.yeniSatirKampanya(*veri);
    if (pencere.exec() == QDialog::Accepted)
        SatirEkle(*veri, pencere.miktar());
}

void TForm1::SatirDuzenle(int sirano)
{
    if (!sepet.locate(QStringLiteral("SIRANO"), sirano))
        return;
    const QVariant stokno = sepet.value(QStringLiteral("STOKNO"));
    int koliAdet = 1;
    try {
        if (stok.isOpen() && stok.recordCount() > 0) {
            if (stok.value(QStringLiteral("STOKNO")) == stokno || stok.value(QStringLiteral("STOK_STOKNO")) == stokno)
                koliAdet = stok.value(QStringLiteral("OZELKOD1")).toString().trimmed().toInt();
        } else if (!stok.isOpen()) {
            // No stock list yet: search the line's item so its pack quantity can be read.
            araedit->setText(satirAramaMetni(sepet.value(QStringLiteral("BARKOD")).toString(),
                                             sepet.value(QStringLiteral("MARKA")).toString()));
            velmora::Table sonuc;
            if (StokAramaYap(bagc, sbilgi, araedit->text(), sonuc)) {
                stok.assignData(std::move(sonuc));
                OndalikBicimle(stok);
                sekmeBasligi(sstoklistesi, QStringLiteral("%1=Stok Listesi").arg(stok.recordCount()));
            }
            stok.first();
            koliAdet = stok.value(QStringLiteral("OZELKOD1")).toString().trimmed().toInt();
        }
    } catch (const std::exception&) {
        koliAdet = 1;
    }
    if (koliAdet < 1)
        koliAdet = 1;

    Tstokayarinti pencere(this);
    pencere.ResimYukle(bagc, stokno.toInt());
    pencere.mevcutSatir(sepet, koliAdet);
    if (pencere.exec() != QDialog::Accepted)
        return;
    SatirGuncelle(sirano, pencere.miktar(), pencere.birimFiyatDegeri());
    SepetiYenile();
}
