#include "Unit1.h"

#include "desk/seccariu.h"
#include "durum_resimleri.h"
#include "platform/system_hooks.h"
#include "platform/tasks.h"
#include "platform/ui/busy_indicator.h"
#include "platform/ui/gif_view.h"
#include "platform/ui/grid_view.h"
#include "platform/ui/marquee.h"
#include "remote/proxim.h"
#include "sekme_resimleri.h"
#include "session/baglantiu.h"
#include "session/girisformu.h"
#include "session/program_ayarlari.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using velmora::guarded;
using velmora::systemHooks;

namespace {

QPixmap logoResmi()
{
    QPixmap resim(180, 80);
    resim.fill(Qt::transparent);
    QPainter p(&resim);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(22, 52, 88));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 6, 180, 68), 10, 10);
    p.setPen(QPen(QColor(255, 255, 255, 90), 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(152, 40), 18, 18);
    p.drawEllipse(QPointF(152, 40), 6, 6);
    QFont f(QStringLiteral("DejaVu Sans"), 15, QFont::Bold);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(12, 10, 120, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VELMORA"));
    f.setPointSize(9);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(12, 44, 120, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Otomotiv"));
    return resim;
}

QLabel* baslikEtiketi(const QString& metin, QWidget* parent)
{
    auto* etiket = new QLabel(metin, parent);
    etiket->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return etiket;
}

QLabel* degerEtiketi(const char* ad, QWidget* parent)
{
    auto* etiket = new QLabel(parent);
    etiket->setObjectName(QLatin1String(ad));
    etiket->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return etiket;
}

} // namespace

TForm1::TForm1()
{
    setObjectName(QStringLiteral("Form1"));
    pencereyiKur();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::pencereyiKur()
{
    QFont yazi(QStringLiteral("Tahoma"));
    yazi.setPixelSize(13);
    yazi.setBold(true);
    setFont(yazi);
    resize(1350, 652);

    auto* merkez = new QWidget(this);
    auto* dikey = new QVBoxLayout(merkez);
    dikey->setContentsMargins(0, 0, 0, 0);
    dikey->setSpacing(0);

    // Header.
    auto* baslik = new QWidget(merkez);
    baslik->setObjectName(QStringLiteral("baslikpanel"));
    baslik->setFixedHeight(100);
    auto* baslikYatay = new QHBoxLayout(baslik);
    // The banner takes the whole height; the logo, labels and menu button are centred.
    baslikYatay->setContentsMargins(10, 0, 10, 0);
    Image2 = new QLabel(baslik);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(logoResmi());
    baslikYatay->addWidget(Image2);
    auto* bilgiler = new QGridLayout;
    bilgiler->setColumnStretch(0, 1);
    bilgiler->setColumnStretch(1, 9);
    kullanicilbl = degerEtiketi("kullanicilbl", baslik);
    cariadilbl = degerEtiketi("cariadilbl", baslik);
    saticilbl = degerEtiketi("saticilbl", baslik);
    bilgiler->addWidget(baslikEtiketi(QStringLiteral("Kullanıcı: "), baslik), 0, 0);
    bilgiler->addWidget(kullanicilbl, 0, 1);
    bilgiler->addWidget(baslikEtiketi(QStringLiteral("Firma: "), baslik), 1, 0);
    bilgiler->addWidget(cariadilbl, 1, 1);
    bilgiler->addWidget(baslikEtiketi(QStringLiteral("Temsilci: "), baslik), 2, 0);
    bilgiler->addWidget(saticilbl, 2, 1);
    baslikYatay->addLayout(bilgiler, 1);
    RxGIFAnimator1 = new velmora::GifView(baslik);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setFixedSize(409, 100);
    baslikYatay->addWidget(RxGIFAnimator1);

    Genelmenu = new QMenu(this);
    Genelmenu->setObjectName(QStringLiteral("Genelmenu"));
    M1 = Genelmenu->addAction(QStringLiteral("Şasi Gönder"));
    M1->setObjectName(QStringLiteral("M1"));
    Genelmenu->addSeparator();
    N4 = Genelmenu->addAction(QStringLiteral("Şifre Değiştirme İsteği"));
    N4->setObjectName(QStringLiteral("N4"));
    Genelmenu->addSeparator();
    SiteMenusu = Genelmenu->addAction(QString());
    SiteMenusu->setObjectName(QStringLiteral("SiteMenusu"));
    Genelmenu->addSeparator();
    G1 = Genelmenu->addAction(QStringLiteral("Çıkış"));
    G1->setObjectName(QStringLiteral("G1"));
    Genelmenu->addSeparator();
    R1 = Genelmenu->addAction(QStringLiteral("Raporlar"));
    R1->setObjectName(QStringLiteral("R1"));
    R1->setVisible(false);
    connect(SiteMenusu, &QAction::triggered, this, [this] { guarded([this] { SiteMenusuClick(); }); });
    connect(G1, &QAction::triggered, this, [this] { guarded([this] { G1Click(); }); });

    Button3 = new QToolButton(baslik);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setText(QStringLiteral("Menü"));
    Button3->setFixedSize(84, 60);
    Button3->setPopupMode(QToolButton::MenuButtonPopup);
    Button3->setMenu(Genelmenu);
    connect(Button3, &QToolButton::clicked, this, [this] { guarded([this] { Button3Click(); }); });
    baslikYatay->addWidget(Button3);
    dikey->addWidget(baslik);

    // Search bar.
    auto* aramaCubugu = new QWidget(merkez);
    aramaCubugu->setObjectName(QStringLiteral("aramapanel"));
    aramaCubugu->setFixedHeight(35);
    auto* aramaYatay = new QHBoxLayout(aramaCubugu);
    aramaYatay->setContentsMargins(10, 0, 10, 0);
    Image1 = new QLabel(aramaCubugu);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(buyutecResmi());
    aramaYatay->addWidget(Image1);
    araedit = new QLineEdit(aramaCubugu);
    araedit->setObjectName(QStringLiteral("araedit"));
    araedit->setFixedWidth(340);
    QFont aramaYazisi(QStringLiteral("Tahoma"));
    aramaYazisi.setPixelSize(20);
    araedit->setFont(aramaYazisi);
    araedit->setPlaceholderText(QStringLiteral("Stok kodu, OEM numarası veya açıklama"));
    aramaYatay->addWidget(araedit);
    SpeedButton2 = new QToolButton(aramaCubugu);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setText(QStringLiteral("Ara"));
    SpeedButton2->setToolTip(QStringLiteral("Ara"));
    aramaYatay->addWidget(SpeedButton2);
    SpeedButton1 = new QToolButton(aramaCubugu);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Temizle"));
    SpeedButton1->setToolTip(QStringLiteral("Temizle"));
    aramaYatay->addWidget(SpeedButton1);
    musteritus = new QPushButton(QStringLiteral("Başka Cari Seç"), aramaCubugu);
    musteritus->setObjectName(QStringLiteral("musteritus"));
    musteritus->setVisible(false);
    aramaYatay->addWidget(musteritus);
    for (auto [alan, ad] : {std::pair{&gifstokara, "gifstokara"}, std::pair{&gifyeniler, "gifyeniler"},
                            std::pair{&gifkampanyali, "gifkampanyali"}, std::pair{&gifduyuru, "gifduyuru"},
                            std::pair{&gifoncekiler, "gifoncekiler"}, std::pair{&gifdosyalar, "gifdosyalar"},
                            std::pair{&gifekstre, "gifekstre"}}) {
        *alan = new velmora::BusyIndicator(aramaCubugu);
        (*alan)->setObjectName(QLatin1String(ad));
        (*alan)->setFixedSize(28, 33);
        aramaYatay->addWidget(*alan);
    }
    aramaYatay->addStretch();
    dikey->addWidget(aramaCubugu);

    // Page control.
    sPageControl1 = new QTabWidget(merkez);
    sPageControl1->setObjectName(QStringLiteral("sPageControl1"));
    sPageControl1->setIconSize(QSize(32, 32));
    // Files have a folder of their own instead of sharing the basket's picture.
    for (auto [alan, ad, baslikMetni, resim] :
         {std::tuple{&sstoklistesi, "sstoklistesi", "Stok Listesi", 0}, std::tuple{&ssepet, "ssepet", "Sepet", 8},
          std::tuple{&sonceki, "sonceki", "Önceki Siparişler", 3},
          std::tuple{&sccariekstre, "sccariekstre", "Cari Ekstre", 1},
          std::tuple{&syeniler, "syeniler", "Yeni Stoklar", 10},
          std::tuple{&skampanyali, "skampanyali", "Kampanyalı Stoklar", 6},
          std::tuple{&sTabSheetduyuru, "sTabSheetduyuru", "Duyurular", 5},
          std::tuple{&sTabbakiyeler, "sTabbakiyeler", "Bakiyeler", 7},
          std::tuple{&tabdosya, "tabdosya", "Dosyalar", 2}}) {
        *alan = new QWidget(sPageControl1);
        (*alan)->setObjectName(QLatin1String(ad));
        sPageControl1->addTab(*alan, QIcon(sekmeResmi(resim)), QString::fromUtf8(baslikMetni));
    }
    sPageControl1->setCurrentWidget(sstoklistesi);
    stokSekmesiniKur();
    sepetSekmesiniKur();
    bilgiSekmeleriniKur();
    connect(sPageControl1, &QTabWidget::currentChanged, this, [this] {
        if (sPageControl1->currentWidget() == ssepet)
            guarded([this] {
                // ssepetShow
                SepetiYenile();
                TeslimKargoYukle();
            });
    });
    dikey->addWidget(sPageControl1, 1);

    // Legend of the availability pictures.
    auto* lejant = new QWidget(merkez);
    lejant->setObjectName(QStringLiteral("lejantpanel"));
    lejant->setFixedHeight(27);
    auto* lejantYatay = new QHBoxLayout(lejant);
    lejantYatay->setContentsMargins(10, 0, 10, 0);
    lejantYatay->setSpacing(2);
    QFont lejantYazisi(QStringLiteral("MS Sans Serif"));
    lejantYazisi.setPixelSize(11);
    lejantYazisi.setBold(true);
    auto lejantEtiketi = [&](const QString& metin) {
        auto* etiket = new QLabel(metin, lejant);
        etiket->setFont(lejantYazisi);
        etiket->setStyleSheet(QStringLiteral("color: rgb(67, 76, 88);"));
        lejantYatay->addWidget(etiket);
    };
    lejantEtiketi(QStringLiteral("Durum Açıklaması:    "));
    for (int durum : {1, 2, 3, 5, 4, 0, 6}) {
        auto* resim = new QLabel(lejant);
        resim->setPixmap(durumResimleri()[durum]);
        lejantYatay->addWidget(resim);
        lejantEtiketi(durumLejantBasligi(durum));
    }
    lejantYatay->addStretch();
    dikey->addWidget(lejant);

    // News line.
    Panel5 = new QWidget(merkez);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedHeight(40);
    auto* haberYatay = new QHBoxLayout(Panel5);
    haberYatay->setContentsMargins(0, 0, 0, 0);
    kayanyazi = new velmora::Marquee(Panel5);
    kayanyazi->setObjectName(QStringLiteral("kayanyazi"));
    QFont haberYazisi(QStringLiteral("Arial"));
    haberYazisi.setPixelSize(24);
    kayanyazi->setFont(haberYazisi);
    kayanyazi->setItemSpacing(5);
    haberYatay->addWidget(kayanyazi);
    dikey->addWidget(Panel5);

    setCentralWidget(merkez);
    araedit->setFocus();
}

void TForm1::FormCreate()
{
    velmora::setMessageFontSize(15);
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora Otomotiv Online Sipariş"));
    setWindowTitle(QStringLiteral("Velmora Otomotiv Sipariş Programı"));

    sbilgi.setBilgiSayarAdi(BilgisayarAdiAl());
    sbilgi.setBilgisayarKullanici(KullaniciAdiAl());
    sbilgi.setIcip(IcIpAl());
    sbilgi.setBILGISAYARID(BilgisayarIdAl());

    bagc.setHostName(programAyarlari().sunucuGenelAdresi);
    bagc.setPort(programAyarlari().port);

    SiteMenusu->setText(programAyarlari().siteAdi);

    if (!GirisYap())
        return;
    m_girisYapildi = true;
    baslangicGoreviniBaslat();
}

bool TForm1::GirisYap()
{
    auto giris = std::make_unique<Tgirisform>(this);
    giris->bagim = &bagc;
    giris->Bilgim = &sbilgi;
    giris->cariSecimi = [this](velmora::ServerConnection& bag, TSonucBilgisi& bilgim) {
        Tseccari secim(this, bag, bilgim);
        secim.SepetSayisiYaz();
        secim.TusSonuclari();
        return secim.exec() == QDialog::Accepted;
    };
    if (giris->exec() != QDialog::Accepted) {
        systemHooks().endProcess(0);
        return false;
    }
    giris.reset();
    if (sbilgi.Disip().trimmed().isEmpty()) {
        systemHooks().endProcess(0);
        return false;
    }
    kullaniciTipineUyarla();
    return true;
}

void TForm1::kullaniciTipineUyarla()
{
    const int tip = sbilgi.MusteriTipi();
    const int kampanyaSekmesi = sPageControl1->indexOf(skampanyali);
    auto goster = [](velmora::GridView* grid, const QString& sutun, bool gorunur) {
        grid->setColumnVisible(sutun, gorunur);
        grid->setColumnOffered(sutun, gorunur);
    };
    if (tip == 1 || tip == 2) {
        musteritus->setVisible(true);
        for (const char* alan : {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"})
            goster(cxGrid1, QStringLiteral("cxGrid1DBTableView1") + QLatin1String(alan), true);
        goster(cxGrid2, QStringLiteral("cxGridDBTableView1KALAN"), true);
        R1->setVisible(true);
    } else if (tip == 3) {
        goster(cxGrid2, QStringLiteral("cxGridDBTableView1DURUM"), false);
        R1->setVisible(false);
    } else if (tip == 4) {
        sPageControl1->setTabVisible(kampanyaSekmesi, false);
        goster(cxGrid1, QStringLiteral("cxGrid1DBTableView1KAMPFIYAT"), false);
        goster(cxGrid1, QStringLiteral("cxGrid1DBTableView1K"), false);
        R1->setVisible(false);
    }
}

void TForm1::bilgiSekmeleriniKur()
{
    for (auto [grid, sekme, ad] :
         {std::tuple{&cxGrid3, sonceki, "cxGrid3"}, std::tuple{&cxGrid5, sccariekstre, "cxGrid5"},
          std::tuple{&cxGrid6, syeniler, "cxGrid6"}, std::tuple{&cxkampanyali, skampanyali, "cxkampanyali"},
          std::tuple{&cxGridduyuru, sTabSheetduyuru, "cxGridduyuru"},
          std::tuple{&cxgriddosyalar, tabdosya, "cxgriddosyalar"}}) {
        *grid = new velmora::GridView(sekme);
        (*grid)->setObjectName(QLatin1String(ad));
        auto* duzen = new QVBoxLayout(sekme);
        duzen->setContentsMargins(0, 0, 0, 0);
        duzen->addWidget(*grid);
    }
    cxGrid3->setDataSet(&ONCEKILER);
    cxGrid5->setDataSet(&EKSTRE);
    cxGrid6->setDataSet(&YENILER);
    cxkampanyali->setDataSet(&kampstok);
    cxGridduyuru->setDataSet(&duyurular);
    cxgriddosyalar->setDataSet(&dosyatable);
    connect(cxGrid6, &velmora::GridView::doubleClicked, this,
            [this] { guarded([this] { StokSatiriAc(SatirKaynagi::YeniStoklar); }); });
    connect(cxkampanyali, &velmora::GridView::doubleClicked, this,
            [this] { guarded([this] { StokSatiriAc(SatirKaynagi::Kampanyali); }); });

    poponceki = new QMenu(this);
    poponceki->setObjectName(QStringLiteral("poponceki"));
    poponceki->addAction(QStringLiteral("Siparişi İncele"))->setObjectName(QStringLiteral("S1"));
    poponceki->addSeparator();
    poponceki->addAction(QStringLiteral("Sipariş Bakiyeleriniz"))
        ->setObjectName(QStringLiteral("SipariBakiyeleriniz1"));
    poponceki->addSeparator();
    poponceki->addAction(QStringLiteral("Tüm Siparişler"))->setObjectName(QStringLiteral("T1"));
    popekstre = new QMenu(this);
    popekstre->setObjectName(QStringLiteral("popekstre"));
    popekstre->addAction(QStringLiteral("Hareket İncele"))->setObjectName(QStringLiteral("H1"));
    connect(cxGrid3, &velmora::GridView::contextMenuRequested, this,
            [this](int, const QPoint& yer) { poponceki->popup(yer); });
    connect(cxGrid5, &velmora::GridView::contextMenuRequested, this,
            [this](int, const QPoint& yer) { popekstre->popup(yer); });
}

void TForm1::sekmeBasligi(QWidget* sekme, const QString& baslik)
{
    sPageControl1->setTabText(sPageControl1->indexOf(sekme), baslik);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == araedit && event->type() == QEvent::KeyPress) {
        const int tus = static_cast<QKeyEvent*>(event)->key();
        if (tus == Qt::Key_Return || tus == Qt::Key_Enter) {
            guarded([this] { AramaBaslat(); });
            return true;
        }
    } else if (event->type() == QEvent::Resize) {
        if (watched == cxGrid1)
            guarded([this] { cxGrid1Resize(); });
        else if (watched == cxGrid2)
            guarded([this] { cxGrid2Resize(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::baslangicGoreviniBaslat()
{
    // One worker, strictly one after the other: the header (on the user-interface thread once it
    // processes messages again), the news line, the banner and the tab counts.
    const QPointer<QObject> pencere(this);
    std::shared_ptr<const velmora::ServerConnection> ana = bagc.clone();
    std::shared_ptr<const TSonucBilgisi> bilgi = kopyasi(sbilgi);
    velmora::runTask(this, [this, pencere, ana, bilgi] {
        if (!velmora::runOnUiThreadAndWait(pencere, [this] { AnaBilgiAl(); }))
            return;
        KayanYaziYaz(pencere, *ana);
        BannerREsimAl(pencere, *ana);
        BalonYaz(pencere, *ana, *bilgi);
    });
}

void TForm1::AnaBilgiAl()
{
    kullanicilbl->setText(sbilgi.ADI());
    cariadilbl->setText(sbilgi.CariAdi());
    saticilbl->setText(sbilgi.SaticiAdi() + QStringLiteral(" Telefonu: ") + sbilgi.SaticiTelefon() +
                       QStringLiteral(" email: ") + sbilgi.SaticiMail());
}

void TForm1::Button3Click()
{
    Genelmenu->popup(QCursor::pos());
}

void TForm1::SiteMenusuClick()
{
    systemHooks().shellOpen(programAyarlari().siteAdresi, QString());
    araedit->selectAll();
    araedit->setFocus();
}

void TForm1::G1Click()
{
    close();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    bool kapanabilir = false;
    guarded([&] { kapanabilir = FormCloseQuery(); });
    if (kapanabilir)
        event->accept();
    else
        event->ignore();
}

bool TForm1::FormCloseQuery()
{
    if (m_cikisBasladi)
        return true;
    if (_sepettevar &&
        MesajVer(QStringLiteral("Sepette ürünler bulunmaktadır. !\r\nKontrol Etmek İster misiniz !"),
                 MessageKind::Confirmation, velmora::mbYes | velmora::mbNo, 0, velmora::mbYes) == velmora::mrYes) {
        sPageControl1->setCurrentWidget(ssepet);
        return false;
    }
    if (MesajVer(QStringLiteral("Programdan Çıkmak İstiyor musunuz ?"), MessageKind::Confirmation,
                 velmora::mbYes | velmora::mbNo, 0, velmora::mbYes) != velmora::mrYes)
        return false;
    CikisGonder();
    return true;
}

void TForm1::CikisGonder()
{
    m_cikisBasladi = true;
    // The logout notice is best effort: whatever happens, the completion ends the process.
    auto klon = std::shared_ptr<velmora::ServerConnection>(bagc.clone());
    auto bilgi = std::shared_ptr<TSonucBilgisi>(kopyasi(sbilgi));
    velmora::runTask(
        this,
        [klon, bilgi] {
            try {
                if (!BaglantiKontrol(*klon, 0))
                    return;
                TServerMethods1Client proxy(*klon);
                auto gonderilen = std::make_unique<TSonucBilgisi>();
                gonderilen->Kopyala(*bilgi);
                proxy.CikisGonder(std::move(gonderilen));
            } catch (...) {
                // hata: nothing is shown at the end of the program
            }
        },
        [] { systemHooks().endProcess(0); });
}
