#include "stokayarintiU.h"

#include "platform/data_set.h"
#include "platform/number_format.h"
#include "platform/tasks.h"
#include "platform/ui/message_dialog.h"
#include "remote/proxim.h"
#include "session/baglantiu.h"
#include "siparis_kurallari.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

using velmora::IkiHaneYuvarla;

namespace {

constexpr int kEnBuyukMiktar = 10000;

QString tutarMetni(double deger)
{
    return velmora::formatNumber(deger, QString::fromLatin1(velmora::kAmountFormat));
}

QLineEdit* tutarKutusu(const char* ad, QWidget* parent)
{
    auto* kutu = new QLineEdit(parent);
    kutu->setObjectName(QLatin1String(ad));
    kutu->setReadOnly(true);
    kutu->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return kutu;
}

QLabel* kodEtiketi(const char* ad, QWidget* parent)
{
    auto* etiket = new QLabel(parent);
    etiket->setObjectName(QLatin1String(ad));
    etiket->setWordWrap(true);
    etiket->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return etiket;
}

double deger(const velmora::DataSet& v, const char* alan)
{
    return v.value(QLatin1String(alan)).toDouble();
}
QString metin(const velmora::DataSet& v, const char* alan)
{
    return v.value(QLatin1String(alan)).toString();
}

} // namespace

Tstokayarinti::Tstokayarinti(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("stokayarinti"));
    setWindowTitle(QStringLiteral("Sepete Ekle"));
    resize(550, 631);

    QFont kodYazisi(QStringLiteral("Tahoma"));
    kodYazisi.setPixelSize(11);
    QFont tutarYazisi(QStringLiteral("Tahoma"));
    tutarYazisi.setPixelSize(20);

    auto* kodlar = new QGridLayout;
    barkod = kodEtiketi("barkod", this);
    adi = kodEtiketi("adi", this);
    finishkod = kodEtiketi("finishkod", this);
    marka = kodEtiketi("marka", this);
    model = kodEtiketi("model", this);
    int satir = 0;
    for (auto [baslik, etiket] :
         {std::pair{"Barkod:", barkod}, std::pair{"Açıklama:", adi}, std::pair{"Finish Kod:", finishkod},
          std::pair{"Marka:", marka}, std::pair{"Model:", model}}) {
        auto* b = new QLabel(QString::fromUtf8(baslik), this);
        for (QLabel* l : {b, etiket}) {
            l->setFont(kodYazisi);
            l->setStyleSheet(QStringLiteral("color: rgb(67, 76, 88);"));
        }
        kodlar->addWidget(b, satir, 0, Qt::AlignRight | Qt::AlignTop);
        kodlar->addWidget(etiket, satir++, 1);
    }
    kodlar->setColumnStretch(1, 1);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setMinimumHeight(240);
    Image1->setPixmap(varsayilanResim());

    adet = new QSpinBox(this);
    adet->setObjectName(QStringLiteral("adet"));
    adet->setRange(1, kEnBuyukMiktar);
    adet->setValue(1);
    adet->setStyleSheet(QStringLiteral("QSpinBox { background-color: rgb(246, 249, 251); }"));
    Label2 = new QLabel(QStringLiteral("Fiyat:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    birimfiyat = tutarKutusu("birimfiyat", this);
    indirimoran = new QLabel(QStringLiteral("İndirim:"), this);
    indirimoran->setObjectName(QStringLiteral("indirimoran"));
    indtutar = tutarKutusu("indtutar", this);
    kdvdahiltutar = tutarKutusu("kdvdahiltutar", this);
    geneltutar = tutarKutusu("geneltutar", this);

    auto* tutarlar = new QGridLayout;
    satir = 0;
    for (auto [baslik, kutu] :
         {std::pair<QWidget*, QWidget*>{new QLabel(QStringLiteral("Adet:"), this), adet},
          std::pair<QWidget*, QWidget*>{Label2, birimfiyat}, std::pair<QWidget*, QWidget*>{indirimoran, indtutar},
          std::pair<QWidget*, QWidget*>{new QLabel(QStringLiteral("KDV Dahil:"), this), kdvdahiltutar},
          std::pair<QWidget*, QWidget*>{new QLabel(QStringLiteral("Tutar:"), this), geneltutar}}) {
        baslik->setFont(tutarYazisi);
        kutu->setFont(tutarYazisi);
        tutarlar->addWidget(baslik, satir, 0, Qt::AlignRight);
        tutarlar->addWidget(kutu, satir++, 1);
    }

    ParcaliTus1 = new QPushButton(QStringLiteral("Sipariş ekle"), this);
    ParcaliTus1->setObjectName(QStringLiteral("ParcaliTus1"));
    ParcaliTus2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    ParcaliTus2->setObjectName(QStringLiteral("ParcaliTus2"));
    for (QPushButton* b : {ParcaliTus1, ParcaliTus2}) {
        b->setAutoDefault(false);
        b->setMinimumSize(120, 36);
    }
    connect(ParcaliTus1, &QPushButton::clicked, this, &QDialog::accept);
    connect(ParcaliTus2, &QPushButton::clicked, this, &QDialog::reject);
    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch();
    dugmeler->addWidget(ParcaliTus1);
    dugmeler->addWidget(ParcaliTus2);

    auto* duzen = new QVBoxLayout(this);
    duzen->addLayout(kodlar);
    duzen->addWidget(Image1, 1);
    duzen->addLayout(tutarlar);
    duzen->addLayout(dugmeler);

    connect(adet, &QSpinBox::valueChanged, this, [this] { velmora::guarded([this] { tutariHesapla(); }); });
    adet->installEventFilter(this);
    birimfiyat->installEventFilter(this);
    adet->setFocus();
    if (owner)
        move(owner->geometry().center() - rect().center());
}

QPixmap Tstokayarinti::varsayilanResim()
{
    // A neutral part silhouette: a disc with bolt holes on a light field.
    QPixmap resim(320, 240);
    resim.fill(QColor(238, 242, 246));
    QPainter p(&resim);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 163, 178), 6));
    p.setBrush(QColor(214, 221, 229));
    p.drawEllipse(QPointF(160, 110), 80, 80);
    p.setBrush(QColor(238, 242, 246));
    p.drawEllipse(QPointF(160, 110), 24, 24);
    for (int i = 0; i < 5; ++i) {
        const double aci = i * 2 * M_PI / 5;
        p.drawEllipse(QPointF(160 + 50 * std::cos(aci), 110 + 50 * std::sin(aci)), 7, 7);
    }
    p.setPen(QColor(120, 133, 148));
    p.drawText(QRect(0, 200, 320, 30), Qt::AlignCenter, QStringLiteral("Resim yok"));
    return resim;
}

void Tstokayarinti::setKoliadet(int adetSayisi)
{
    m_koliadet = std::max(1, adetSayisi);
    adet->setSingleStep(m_koliadet);
    adet->setMinimum(std::min(m_koliadet, kEnBuyukMiktar));
    adet->setValue(m_koliadet);
}

void Tstokayarinti::setBirimFiyat(double d)
{
    m_birimFiyat = d;
    birimfiyat->setText(tutarMetni(d));
}

void Tstokayarinti::setNetFiyat(double d)
{
    m_netFiyat = d;
    indtutar->setText(tutarMetni(d));
}

void Tstokayarinti::setKdvDahil(double d)
{
    m_kdvDahil = d;
    kdvdahiltutar->setText(tutarMetni(d));
}

double Tstokayarinti::miktar() const
{
    bool tamam = false;
    const double d = QLocale().toDouble(adet->text(), &tamam);
    if (!tamam)
        throw std::runtime_error(QStringLiteral("'%1' geçerli bir sayı değil").arg(adet->text()).toStdString());
    return d;
}

void Tstokayarinti::kodlariDoldur(const velmora::DataSet& kaynak, const char* adAlani)
{
    barkod->setText(metin(kaynak, "BARKOD"));
    adi->setText(metin(kaynak, adAlani));
    marka->setText(metin(kaynak, "MARKA"));
    finishkod->setText(metin(kaynak, "FINISHKOD"));
    model->setText(metin(kaynak, "MODEL"));
}

void Tstokayarinti::yeniSatirStok(const velmora::DataSet& stok)
{
    kodlariDoldur(stok, "ADI");
    bool okundu = false;
    const int koli = stok.value(QStringLiteral("OZELKOD1")).toString().trimmed().toInt(&okundu);
    setKoliadet(okundu ? koli : 1);
    setBirimFiyat(deger(stok, "FIYAT"));
    setKdvDahil(deger(stok, "KDVDAHIL"));
    setNetFiyat(deger(stok, "NETFIYAT"));
    kdvlifiyat = deger(stok, "KDVDAHIL");
    if (deger(stok, "K") > 0) {
        Label2->setText(QStringLiteral("Kampanyalı Fiyat:"));
        indirimoran->setText(QStringLiteral("Kampanyalı ") + metin(stok, "INDIRIMYAZI"));
    } else {
        indirimoran->setText(QStringLiteral("İndirim: %") + metin(stok, "INDIRIMYAZI"));
    }
}

void Tstokayarinti::yeniSatirYeniler(const velmora::DataSet& yeniler)
{
    kodlariDoldur(yeniler, "ADI");
    setBirimFiyat(deger(yeniler, "FIYAT"));
    setNetFiyat(deger(yeniler, "NETFIYAT"));
    kdvlifiyat = deger(yeniler, "KDVDAHIL");
    if (deger(yeniler, "K") > 0) {
        setKdvDahil(deger(yeniler, "KDVDAHIL"));
        Label2->setText(QStringLiteral("Kampanyalı Fiyat:"));
        indirimoran->setText(QStringLiteral("Kampanyalı ") + metin(yeniler, "INDIRIMYAZI"));
    } else {
        setKdvDahil(IkiHaneYuvarla(deger(yeniler, "NETFIYAT") * (deger(yeniler, "KDV") / 100 + 1)));
        indirimoran->setText(QStringLiteral("İndirim:  % ") + metin(yeniler, "INDIRIMYAZI"));
    }
}

void Tstokayarinti::yeniSatirKampanya(const velmora::DataSet& kampstok)
{
    kodlariDoldur(kampstok, "ADI");
    setBirimFiyat(deger(kampstok, "FIYAT"));
    setKdvDahil(deger(kampstok, "KDVDAHIL"));
    setNetFiyat(deger(kampstok, "NETFIYAT"));
    kdvlifiyat = deger(kampstok, "KDVDAHIL");
    Label2->setText(QStringLiteral("Kampanyalı Fiyat:"));
    indirimoran->setText(QStringLiteral("Kampanyalı ") + metin(kampstok, "INDIRIMYAZI"));
}

void Tstokayarinti::mevcutSatir(const velmora::DataSet& sepet, int koliAdet)
{
    kodlariDoldur(sepet, "STOKADI");
    setKoliadet(koliAdet);
    setBirimFiyat(deger(sepet, "BIRIMFIYAT"));
    const double kdvDahil = IkiHaneYuvarla(deger(sepet, "NETBIRIMFIYAT") * (deger(sepet, "KDV") / 100 + 1));
    setKdvDahil(kdvDahil);
    setNetFiyat(deger(sepet, "NETBIRIMFIYAT"));
    kdvlifiyat = kdvDahil;
    adet->setValue(static_cast<int>(deger(sepet, "MIKTAR")));
}

void Tstokayarinti::ResimYukle(velmora::ServerConnection& bagc, int stokno)
{
    if (!BaglantiKontrol(bagc, 1))
        return;
    try {
        TServerMethods1Client proxy(bagc);
        qint64 boy = 0;
        velmora::RemoteStream* akis = proxy.ResimVer5(stokno, boy);
        if (boy > 0) {
            // Read what arrives; a transfer that breaks off leaves fewer bytes than announced.
            QByteArray baytlar;
            char blok[1024];
            qint64 okunan = 0;
            while (!akis->atEnd() && (okunan = akis->read(blok, sizeof blok)) > 0)
                baytlar.append(blok, static_cast<qsizetype>(okunan));
            if (baytlar.size() == boy) {
                QPixmap resim;
                if (!resim.loadFromData(baytlar, "JPG"))
                    throw std::runtime_error("EInvalidGraphic: JPEG resmi okunamadı");
                Image1->setPixmap(resim.scaled(Image1->width(), std::max(Image1->minimumHeight(), Image1->height()),
                                               Qt::KeepAspectRatio, Qt::SmoothTransformation));
            }
        }
    } catch (const std::exception& e) {
        velmora::showMessage({QString::fromUtf8(e.what()), velmora::MessageKind::Error, velmora::mbOK, velmora::mbOK,
                              velmora::MessageSource::StandardBox});
    }
    bagc.close();
}

void Tstokayarinti::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    velmora::guarded([this] {
        m_genelTutar = IkiHaneYuvarla(adet->value() * kdvlifiyat);
        geneltutar->setText(tutarMetni(m_genelTutar));
        adet->selectAll();
    });
}

void Tstokayarinti::tutariHesapla()
{
    m_genelTutar = IkiHaneYuvarla(m_kdvDahil * adet->value());
    geneltutar->setText(tutarMetni(m_genelTutar));
}

void Tstokayarinti::koliyeTamamla()
{
    adet->setValue(koliyeYuvarla(adet->value(), m_koliadet));
}

bool Tstokayarinti::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == adet && event->type() == QEvent::FocusOut) {
        velmora::guarded([this] { koliyeTamamla(); });
    } else if (event->type() == QEvent::KeyPress) {
        const int tus = static_cast<QKeyEvent*>(event)->key();
        if (tus == Qt::Key_Return || tus == Qt::Key_Enter) {
            if (watched == adet) {
                // Confirming with Enter rounds to the pack quantity as leaving the box does.
                velmora::guarded([this] {
                    adet->interpretText();
                    koliyeTamamla();
                    accept();
                });
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
