// The basket tab: reload, totals, adding and changing lines, selection, deletion, export, and
// sending the selected lines as an order.

#include "Unit1.h"

#include "durum_resimleri.h"
#include "izgara_sutunu.h"
#include "onaysipU.h"
#include "platform/number_format.h"
#include "platform/tasks.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/grid_export.h"
#include "platform/ui/grid_view.h"
#include "platform/ui/radio_group.h"
#include "remote/proxim.h"
#include "session/baglantiu.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

using velmora::CellKind;
using velmora::GridColumn;
using velmora::guarded;
using velmora::mbNo;
using velmora::mbOK;
using velmora::mbYes;
using velmora::mrYes;

namespace {

GridColumn sepetSutunu(const char* alan, const char* baslik, int agirlik, bool gorunur = true, bool sunulur = true,
                       CellKind tur = CellKind::Text)
{
    return izgaraSutunu("cxGridDBTableView1", alan, baslik, agirlik, gorunur, sunulur, tur);
}

QString tutarMetni(double d)
{
    return velmora::formatNumber(d, QString::fromLatin1(velmora::kAmountFormat));
}

} // namespace

QWidget* TForm1::sepetSekmesiniKur()
{
    cxGrid2 = new velmora::GridView(ssepet);
    cxGrid2->setObjectName(QStringLiteral("cxGrid2"));
    QFont yazi(QStringLiteral("Tahoma"));
    yazi.setPixelSize(13);
    cxGrid2->setFont(yazi);
    GridColumn sec = sepetSutunu("SEC", "Seç", 1, true, false, CellKind::CheckBox);
    GridColumn indirim = sepetSutunu("INDIRIMYAZI", "İndirim Oran", 2);
    indirim.alignment = Qt::AlignCenter;
    GridColumn durum = sepetSutunu("DURUM", "Durum", 1, true, true, CellKind::Image);
    durum.images = durumResimleri().mid(0, 6); // the basket shows no picture for 6
    QVector<GridColumn> sutunlar{
        sec,
        sepetSutunu("VERILISTARIHI", "Sipariş Tarihi", 1),
        sepetSutunu("BARKOD", "Barkod", 2),
        sepetSutunu("FINISHKOD", "FinishKod", 2),
        sepetSutunu("OEMNO", "OEMNo", 2),
        sepetSutunu("STOKADI", "Stok Açıklama", 3),
        sepetSutunu("MIKTAR", "Miktar", 1, true, true, CellKind::Number),
        sepetSutunu("BIRIMFIYAT", "Birim Fiyat", 1, true, true, CellKind::Number),
        sepetSutunu("TUTAR", "Tutar", 1, true, true, CellKind::Number),
        indirim,
        sepetSutunu("NETBIRIMFIYAT", "Net Fiyat", 1, true, true, CellKind::Number),
        sepetSutunu("KDV", "KDV", 1, true, true, CellKind::Number),
        sepetSutunu("VERGITUTARI", "Vergi Tutarı", 1, true, true, CellKind::Number),
        sepetSutunu("NETTUTAR", "Net Tutar", 1, true, true, CellKind::Number),
        sepetSutunu("VEREN", "Veren", 1),
        durum,
    };
    // Hidden columns the user may show.
    for (auto [alan, baslik] :
         {std::pair{"SIPARISNO", "Sipariş No"}, std::pair{"TARIH", "Tarih"}, std::pair{"KUR", "Kur"},
          std::pair{"SAAT", "Saat"}, std::pair{"ACIKLAMA", "Açıklama"}, std::pair{"OEM1", "OEM1"},
          std::pair{"OEM2", "OEM2"}, std::pair{"OEM3", "OEM3"}, std::pair{"OEM4", "OEM4"},
          std::pair{"DIGERADI", "DIGERADI"}, std::pair{"DPKOD", "DPKOD"}, std::pair{"MARKA", "Marka"},
          std::pair{"MODEL", "Model"}, std::pair{"ANAGRUP", "Ana Grup"}, std::pair{"OZELKOD", "Özel Kod"},
          std::pair{"PKOD", "PKOD"}, std::pair{"INDIRIMORANI4", "INDIRIMORANI4"}})
        sutunlar.append(sepetSutunu(
            alan, baslik, QByteArray(alan) == "SIPARISNO" || QByteArray(alan) == "INDIRIMORANI4" ? 0 : 1, false));
    // Hidden columns never offered.
    for (const char* alan : {"SIRANO", "CARINO", "AKTAR", "STOKNO", "INDIRIMORANI1", "INDIRIMORANI2", "INDIRIMORANI3",
                             "INDIRIMTUTAR", "KURTL", "VERENIDNO", "TESLIMID", "KARGOID", "IDNO", "VERENSIRANO",
                             "CARIKOD", "CARIADI", "STOK_STOKNO", "URETICIKODU"}) {
        const QByteArray a(alan);
        const bool sifir = a == "SIRANO" || a == "CARINO" || a == "AKTAR" || a == "STOKNO";
        sutunlar.append(sepetSutunu(alan, alan, sifir ? 0 : 1, false, false));
    }
    sutunlar.append(sepetSutunu("KALAN", "Kalan", 1, false, false, CellKind::Number));
    cxGrid2->setColumns(sutunlar);
    cxGrid2->setSummary(QStringLiteral("cxGridDBTableView1VERILISTARIHI"), velmora::SummaryKind::Count);
    cxGrid2->setSummary(QStringLiteral("cxGridDBTableView1MIKTAR"), velmora::SummaryKind::Sum);
    cxGrid2->setSummary(QStringLiteral("cxGridDBTableView1NETTUTAR"), velmora::SummaryKind::Sum);
    cxGrid2->setRowHeight(70);
    cxGrid2->setHeaderHeight(40);
    cxGrid2->setDataSet(&sepet);
    cxGrid2->installEventFilter(this);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* degistir = PopupMenu1->addAction(QStringLiteral("Satır Değiştir"));
    degistir->setObjectName(QStringLiteral("Deitir1"));
    PopupMenu1->addSeparator();
    QAction* sil = PopupMenu1->addAction(QStringLiteral("Satır Sil"));
    sil->setObjectName(QStringLiteral("SatrSil1"));
    PopupMenu1->addSeparator();
    QAction* hepsiniSil = PopupMenu1->addAction(QStringLiteral("Hepsini Sil"));
    hepsiniSil->setObjectName(QStringLiteral("HepsiniSil1"));
    connect(degistir, &QAction::triggered, this, [this] { guarded([this] { Deitir1Click(); }); });
    connect(sil, &QAction::triggered, this, [this] { guarded([this] { SatrSil1Click(); }); });
    connect(hepsiniSil, &QAction::triggered, this, [this] { guarded([this] { HepsiniSil1Click(); }); });
    connect(cxGrid2, &velmora::GridView::doubleClicked, this, [this] { guarded([this] { Deitir1Click(); }); });
    connect(cxGrid2, &velmora::GridView::contextMenuRequested, this,
            [this](int, const QPoint& yer) { PopupMenu1->popup(yer); });

    Button4 = new QPushButton(QStringLiteral("Hepsini Seç"), ssepet);
    Button4->setObjectName(QStringLiteral("Button4"));
    Button5 = new QPushButton(QStringLiteral("Seçimleri Kaldır"), ssepet);
    Button5->setObjectName(QStringLiteral("Button5"));
    connect(Button4, &QPushButton::clicked, this, [this] { guarded([this] { Button4Click(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] { guarded([this] { Button5Click(); }); });
    auto* secimCubugu = new QHBoxLayout;
    secimCubugu->addWidget(Button4);
    secimCubugu->addWidget(Button5);
    secimCubugu->addStretch();

    // Order panel.
    auto* panel = new QWidget(ssepet);
    panel->setObjectName(QStringLiteral("siparispanel"));
    panel->setFixedHeight(131);
    auto* panelDuzen = new QHBoxLayout(panel);
    panelDuzen->setContentsMargins(4, 2, 4, 2);
    teslimbox = new velmora::RadioGroup(QStringLiteral("Teslim Durumu"), panel);
    teslimbox->setObjectName(QStringLiteral("teslimbox"));
    teslimbox->setFixedWidth(135);
    boxkargo = new velmora::RadioGroup(QStringLiteral("Kargo Türleri"), panel);
    boxkargo->setObjectName(QStringLiteral("boxkargo"));
    boxkargo->setFixedWidth(208);
    connect(boxkargo, &velmora::RadioGroup::clicked, this, [this] { guarded([this] { boxkargoClick(); }); });
    auto* kargoGrubu = new QGroupBox(QStringLiteral("Kargo"), panel);
    kargoGrubu->setFixedWidth(224);
    auto* kargoDuzen = new QVBoxLayout(kargoGrubu);
    kargocombo = new QComboBox(kargoGrubu);
    kargocombo->setObjectName(QStringLiteral("kargocombo"));
    uyarikargo = new QLabel(kargoGrubu);
    uyarikargo->setObjectName(QStringLiteral("uyarikargo"));
    uyarikargo->setFixedSize(210, 59);
    uyarikargo->setWordWrap(true);
    uyarikargo->setStyleSheet(QStringLiteral("color: rgb(170, 40, 40);"));
    kargoDuzen->addWidget(kargocombo);
    kargoDuzen->addWidget(uyarikargo);
    connect(kargocombo, &QComboBox::currentIndexChanged, this, [this] { guarded([this] { kargocomboChange(); }); });
    auto* mesajGrubu = new QGroupBox(QStringLiteral("Mesaj"), panel);
    auto* mesajDuzen = new QHBoxLayout(mesajGrubu);
    aciklamagir = new QPlainTextEdit(mesajGrubu);
    aciklamagir->setObjectName(QStringLiteral("aciklamagir"));
    QFont mesajYazisi(QStringLiteral("Tahoma"));
    mesajYazisi.setPixelSize(11);
    mesajYazisi.setBold(true);
    aciklamagir->setFont(mesajYazisi);
    aciklamagir->setStyleSheet(QStringLiteral("QPlainTextEdit { background-color: rgb(246, 249, 251); }"));
    mesajDuzen->addWidget(aciklamagir, 1);
    // Five rows of totals in the panel's fixed height: no spacing between them.
    auto* toplamlar = new QGridLayout;
    toplamlar->setVerticalSpacing(0);
    mesajDuzen->setContentsMargins(6, 0, 6, 2);
    auto toplamSatiri = [&](int satir, const char* baslik, QLabel*& deger, const char* ad, bool kalin) {
        auto* b = new QLabel(QString::fromUtf8(baslik), mesajGrubu);
        deger = new QLabel(QStringLiteral("0,00"), mesajGrubu);
        deger->setObjectName(QLatin1String(ad));
        deger->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        deger->setMinimumWidth(110);
        if (kalin) {
            QFont f = b->font();
            f.setBold(true);
            b->setFont(f);
            deger->setFont(f);
        }
        toplamlar->addWidget(b, satir, 0, Qt::AlignRight);
        toplamlar->addWidget(deger, satir, 1);
    };
    toplamSatiri(0, "Toplam:", aratoplaml, "aratoplaml", false);
    toplamSatiri(1, "İndirim Toplam:", indiriml, "indiriml", false);
    toplamSatiri(2, "Ara Toplam:", nettutarl, "nettutarl", false);
    toplamSatiri(3, "Vergi:", vergil, "vergil", false);
    toplamSatiri(4, "Genel Toplam:", geneltoplaml, "geneltoplaml", true);
    mesajDuzen->addLayout(toplamlar);
    Button1 = new QPushButton(QStringLiteral("Gönder"), panel);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Excel Kaydet"), panel);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(Button1, &QPushButton::clicked, this, [this] { guarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { guarded([this] { Button2Click(); }); });
    auto* gonderDuzen = new QVBoxLayout;
    gonderDuzen->addWidget(Button1);
    gonderDuzen->addWidget(Button2);
    gonderDuzen->addStretch();
    panelDuzen->addWidget(teslimbox);
    panelDuzen->addWidget(boxkargo);
    panelDuzen->addWidget(kargoGrubu);
    panelDuzen->addWidget(mesajGrubu, 1);
    panelDuzen->addLayout(gonderDuzen);

    auto* duzen = new QVBoxLayout(ssepet);
    duzen->setContentsMargins(0, 0, 0, 0);
    duzen->addWidget(cxGrid2, 1);
    duzen->addLayout(secimCubugu);
    duzen->addWidget(panel);
    return cxGrid2;
}

void TForm1::SepetiYenile()
{
    std::unique_ptr<velmora::ServerConnection> klon = bagc.clone();
    if (!BaglantiKontrol(*klon, 1))
        return;
    {
        TServerMethods1Client proxy(*klon);
        velmora::Table* paket = proxy.SepetVer2(sbilgi.CARINO());
        sepet.disableControls();
        sepet.assignData(std::move(*paket));
        OndalikBicimle(sepet);
        sepet.enableControls();
    }
    klon->close();
    sekmeBasligi(ssepet, QStringLiteral("%1=Sepet").arg(sepet.recordCount()));
    _sepettevar = sepet.recordCount() > 0;
    ToplamlariHesapla();
}

void TForm1::ToplamlariHesapla()
{
    const SepetToplamlari t = sepetToplamlari(sepetSatirlari(sepet));
    aratoplaml->setText(tutarMetni(t.toplam));
    indiriml->setText(tutarMetni(t.indirim));
    nettutarl->setText(tutarMetni(t.araToplam));
    vergil->setText(tutarMetni(t.vergi));
    geneltoplaml->setText(tutarMetni(t.genelToplam));
}

void TForm1::SatirEkle(const velmora::DataSet& kaynak, double miktar)
{
    if (!BaglantiKontrol(bagc, 1))
        return;
    auto deger = [&](const char* alan) { return kaynak.value(QLatin1String(alan)); };
    int sonuc = 0;
    {
        TServerMethods1Client proxy(bagc);
        sonuc =
            proxy.SepetEkle2(kopyasi(sbilgi), sbilgi.CARINO(), deger("STOK_STOKNO").toInt(), deger("BARKOD").toString(),
                             deger("ADI").toString(), miktar, static_cast<double>(deger("KDV").toInt()),
                             deger("FIYAT").toDouble(), deger("IND1").toDouble(), sbilgi.Sirano(), deger("K").toInt(),
                             deger("IND2").toDouble(), deger("IND3").toDouble(), deger("IND4").toDouble());
    }
    bagc.close();
    if (sonuc == 1)
        SepetiYenile();
}

void TForm1::SatirGuncelle(int sirano, double miktar, double fiyat)
{
    if (!BaglantiKontrol(bagc, 1))
        return;
    auto deger = [&](const char* alan) { return sepet.value(QLatin1String(alan)); };
    int sonuc = 0;
    {
        TServerMethods1Client proxy(bagc);
        sonuc = proxy.SepetGuncelle2(kopyasi(sbilgi), sbilgi.CARINO(), 0, deger("BARKOD").toString(),
                                     deger("STOKADI").toString(), miktar, static_cast<double>(deger("KDV").toInt()),
                                     fiyat, deger("INDIRIMORANI1").toDouble(), sbilgi.Sirano(), sirano,
                                     deger("INDIRIMORANI2").toDouble(), deger("INDIRIMORANI3").toDouble(),
                                     deger("INDIRIMORANI4").toDouble());
    }
    bagc.close();
    if (sonuc == 1)
        SepetiYenile();
}

void TForm1::SecimGonder(int sirano, int secim)
{
    std::unique_ptr<velmora::ServerConnection> klon = bagc.clone();
    if (!BaglantiKontrol(*klon, 1))
        return;
    {
        TServerMethods1Client proxy(*klon);
        proxy.SepetSecimGuncelle(sirano, secim);
    }
    klon->close();
}

void TForm1::Deitir1Click()
{
    const int satir = cxGrid2->focusedRow();
    if (satir < 0)
        return;
    const int sirano = sepet.value(satir, sepet.fieldIndex(QStringLiteral("SIRANO"))).toInt();
    sepet.locate(QStringLiteral("SIRANO"), sirano);
    const int sutun = cxGrid2->columnIndex(cxGrid2->focusedColumn());
    if (sutun < 0 || cxGrid2->columns()[sutun].caption != QStringLiteral("Seç")) {
        SatirDuzenle(sirano);
        return;
    }
    const int yeni = sepet.value(QStringLiteral("SEC")).toInt() == 0 ? 1 : 0;
    sepet.edit();
    sepet.setValue(QStringLiteral("SEC"), yeni);
    sepet.post();
    SecimGonder(sirano, yeni);
    ToplamlariHesapla();
}

void TForm1::secimleriDegistir(int secim)
{
    for (int satir = 0; satir < sepet.recordCount(); ++satir) {
        sepet.moveTo(satir);
        sepet.edit();
        sepet.setValue(QStringLiteral("SEC"), secim);
        sepet.post();
        SecimGonder(sepet.value(QStringLiteral("SIRANO")).toInt(), secim);
    }
    ToplamlariHesapla();
    if (araedit->isEnabled()) {
        araedit->selectAll();
        araedit->setFocus();
    }
}

void TForm1::Button4Click()
{
    secimleriDegistir(1);
}

void TForm1::Button5Click()
{
    secimleriDegistir(0);
}

void TForm1::SatrSil1Click()
{
    const int satir = cxGrid2->focusedRow();
    if (satir < 0)
        return;
    const int sirano = sepet.value(satir, sepet.fieldIndex(QStringLiteral("SIRANO"))).toInt();
    sepet.locate(QStringLiteral("SIRANO"), sirano);
    if (MesajVer(QStringLiteral("Satırı silmek istiyor musunuz "), MessageKind::Confirmation, mbYes | mbNo, 0, mbNo) !=
        mrYes)
        return;
    if (!BaglantiKontrol(bagc, 1))
        return;
    {
        TServerMethods1Client proxy(bagc);
        proxy.SepetSatirSil(kopyasi(sbilgi), sirano,
                            sepet.value(QStringLiteral("BARKOD")).toString() + QLatin1Char('-') +
                                sepet.value(QStringLiteral("STOKADI")).toString());
    }
    bagc.close();
    SepetiYenile();
    MesajVer(QStringLiteral("Satır silindi !"), MessageKind::Information, mbOK, 0, mbOK);
}

void TForm1::HepsiniSil1Click()
{
    if (!sepet.isOpen() || sepet.isEmpty())
        return;
    if (MesajVer(QStringLiteral("Tüm Sepeti Silmek İstiyor musunuz "), MessageKind::Confirmation, mbYes | mbNo, 0,
                 mbNo) != mrYes)
        return;
    if (!BaglantiKontrol(bagc, 1))
        return;
    {
        TServerMethods1Client proxy(bagc);
        proxy.SepetHepsiniSil(kopyasi(sbilgi));
    }
    MesajVer(QStringLiteral("Sepet Silindi !"), MessageKind::Information, mbOK, 0, mbOK);
    bagc.close();
    SepetiYenile();
}

void TForm1::Button2Click()
{
    const QString ad = velmora::askSaveFileName(this, QStringLiteral("Excel Kaydet"), QStringLiteral("Excel|*.xls*"));
    if (ad.isEmpty())
        return;
    velmora::exportGridToXls(*cxGrid2, ad);
}

void TForm1::cxGrid2Resize()
{
    if (!cxGrid2->isEnabled())
        return;
    const QScreen* ekran = screen();
    cxGrid2->applyWidthRule(ekran ? ekran->geometry().width() : width(), cxGrid2->width());
}

void TForm1::TeslimKargoYukle()
{
    std::unique_ptr<velmora::ServerConnection> klon = bagc.clone();
    if (!BaglantiKontrol(*klon, 1))
        return;
    {
        TServerMethods1Client proxy(*klon);
        const velmora::Table* teslimler = proxy.TeslimVer();
        teslimbox->clear();
        for (const auto& satir : teslimler->rows)
            teslimbox->addItem(satir.value(1).toString(), satir.value(0).toInt());
        teslimbox->setItemIndex(std::min(1, teslimbox->count() - 1));
    }
    {
        TServerMethods1Client proxy(*klon);
        const velmora::Table* turler = proxy.KargoVer();
        boxkargo->clear();
        for (const auto& satir : turler->rows)
            boxkargo->addItem(satir.value(1).toString(), satir.value(0).toInt());
        boxkargo->setItemIndex(-1);
    }
    klon->close();
}

void TForm1::boxkargoClick()
{
    uyarikargo->clear();
    if (boxkargo->itemIndex() >= 0)
        KargoFirmalariYukle(boxkargo->currentId());
}

void TForm1::KargoFirmalariYukle(int kargoTuru)
{
    if (!BaglantiKontrol(bagc, 1))
        return;
    {
        TServerMethods1Client proxy(bagc);
        kargo.loadFromTable(*proxy.KargolarVer(kargoTuru));
    }
    bagc.close();
    const QSignalBlocker sessiz(kargocombo);
    kargocombo->clear();
    kargocombo->addItem(QStringLiteral(" "));
    const int ad = kargo.fieldIndex(QStringLiteral("ADI"));
    for (int satir = 0; satir < kargo.recordCount(); ++satir)
        kargocombo->addItem(kargo.value(satir, ad).toString());
    kargocombo->setCurrentIndex(-1);
}

void TForm1::kargocomboChange()
{
    try {
        kargo.first();
        if (kargo.isOpen() && kargo.locate(QStringLiteral("ADI"), kargocombo->currentText()))
            uyarikargo->setText(kargo.value(QStringLiteral("UYARI")).toString());
        else
            uyarikargo->clear();
    } catch (const std::exception&) {
        uyarikargo->clear();
    }
}

void TForm1::Button1Click()
{
    auto uyar = [](const QString& metin) { MesajVer(metin, MessageKind::Warning, mbOK, 0, mbOK); };
    if (!SeciliVarmi(sepet)) {
        uyar(QStringLiteral("Gönderilecek Parça Yok "));
        return;
    }
    if (teslimbox->itemIndex() < 0) {
        uyar(QStringLiteral("Lütfen Teslim Durumu Seçiniz !"));
        return;
    }
    if (boxkargo->itemIndex() < 0) {
        uyar(QStringLiteral("Lütfen Kargo Türünü Seçiniz !"));
        return;
    }
    if (kargocombo->currentIndex() <= 0) {
        uyar(QStringLiteral("Lütfen Kargo  Seçiniz !"));
        if (QLineEdit* yazi = kargocombo->lineEdit())
            yazi->selectAll();
        kargocombo->setFocus();
        return;
    }
    int kargoFirmasi = 0;
    if (kargo.locate(QStringLiteral("ADI"), kargocombo->currentText()))
        kargoFirmasi = kargo.value(QStringLiteral("SIRANO")).toInt();

    TONAYSIP onay(this);
    onay.Label2->setText(
        siparisOzetiMetni({sbilgi.ADI(), sbilgi.CariAdi(), teslimbox->currentText(), boxkargo->currentText(),
                           geneltoplaml->text(), kargocombo->currentText(), aciklamagir->toPlainText()}));
    if (onay.exec() != QDialog::Accepted)
        return;
    if (SiparisiGonder(teslimbox->currentId(), boxkargo->currentId(), kargoFirmasi)) {
        MesajVer(QStringLiteral("Siparişiniz Gönderildi !"), MessageKind::Information, mbOK, 0, mbOK);
        SepetiYenile();
        aciklamagir->clear();
    } else {
        MesajVer(QStringLiteral("Sipariş Göndermede Hata"), MessageKind::Error, mbOK, 0, mbOK);
    }
}

bool TForm1::SiparisiGonder(int teslim, int kargoTuru, int kargoFirmasi)
{
    if (!BaglantiKontrol(bagc, 1))
        return false;
    bool sonuc = false;
    {
        TServerMethods1Client proxy(bagc);
        sonuc = proxy.SiparisKaydet(kopyasi(sbilgi), sbilgi.CARINO(), teslim, kargoTuru, aciklamagir->toPlainText(),
                                    sbilgi.Sirano(), kargoFirmasi);
    }
    bagc.close();
    return sonuc;
}
