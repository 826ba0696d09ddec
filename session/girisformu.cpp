#include "girisformu.h"

#include "baglantiu.h"
#include "dosyaindiru.h"
#include "kullanicikayitu.h"
#include "platform/http_get.h"
#include "platform/ini_file.h"
#include "platform/system_hooks.h"
#include "platform/tasks.h"
#include "platform/ui/busy_indicator.h"
#include "program_ayarlari.h"
#include "remote/proxim.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace std::chrono_literals;
using velmora::systemHooks;

namespace {

const QString kBolum = QStringLiteral("kullanici");
const QString kIsim = QStringLiteral("isim");
const QString kSifre = QStringLiteral("sifre");
const QString kHatirla = QStringLiteral("hatırla");

// The dialog's picture: the distributor's name on a steel-blue band.
QPixmap arkaPlanResmi()
{
    QPixmap resim(420, 110);
    QPainter p(&resim);
    QLinearGradient g(0, 0, 420, 110);
    g.setColorAt(0, QColor(22, 52, 88));
    g.setColorAt(1, QColor(58, 110, 165));
    p.fillRect(resim.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 60), 6));
    p.drawEllipse(QPointF(384, 55), 28, 28);
    p.drawEllipse(QPointF(384, 55), 11, 11);
    QFont f(QStringLiteral("DejaVu Sans"), 18, QFont::Bold);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(20, 18, 320, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VELMORA OTOMOTİV"));
    f.setPointSize(10);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(20, 60, 320, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Online Sipariş"));
    return resim;
}

// Every typed letter becomes upper case.
void buyukHarfZorla(QLineEdit* alan)
{
    QObject::connect(alan, &QLineEdit::textEdited, alan, [alan](const QString& metin) {
        const QString buyuk = metin.toUpper();
        if (buyuk == metin)
            return;
        const int imlec = alan->cursorPosition();
        alan->setText(buyuk);
        alan->setCursorPosition(imlec);
    });
}

} // namespace

Tgirisform::Tgirisform(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("girisform"));
    setWindowTitle(QStringLiteral("Giriş"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(arkaPlanResmi());
    RxLabel1 = new QLabel(
        QStringLiteral("Sanayi Mah. Yedek Parça Cad. No: 18 Kartal / İstanbul\nTel: 0 (216) 555 18 18"), this);
    RxLabel1->setObjectName(QStringLiteral("RxLabel1"));
    RxLabel1->setAlignment(Qt::AlignCenter);

    adi = new QLineEdit(this);
    adi->setObjectName(QStringLiteral("adi"));
    sifre = new QLineEdit(this);
    sifre->setObjectName(QStringLiteral("sifre"));
    sifre->setEchoMode(QLineEdit::Password);
    buyukHarfZorla(adi);
    buyukHarfZorla(sifre);
    benihatirla = new QCheckBox(QStringLiteral("Beni hatırla"), this);
    benihatirla->setObjectName(QStringLiteral("benihatirla"));
    benihatirla->setChecked(true);

    Button1 = new QPushButton(QStringLiteral("Giriş"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Vazgeç"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {Button1, Button2}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(30);
    }
    RxGIFAnimator1 = new velmora::BusyIndicator(this);
    RxGIFAnimator1->setObjectName(QStringLiteral("RxGIFAnimator1"));
    RxGIFAnimator1->setFixedSize(28, 28);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral(" Kullanıcı Adı:"), this), 0, 0);
    form->addWidget(adi, 0, 1, 1, 2);
    form->addWidget(new QLabel(QStringLiteral(" Şifre:"), this), 1, 0);
    form->addWidget(sifre, 1, 1, 1, 2);
    form->addWidget(benihatirla, 2, 1);
    form->addWidget(RxGIFAnimator1, 2, 2, Qt::AlignRight);
    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch();
    dugmeler->addWidget(Button1);
    dugmeler->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->addWidget(Image1);
    layout->addWidget(RxLabel1);
    auto* icerik = new QVBoxLayout;
    icerik->setContentsMargins(16, 8, 16, 0);
    icerik->addLayout(form);
    icerik->addLayout(dugmeler);
    layout->addLayout(icerik);
    setFixedSize(sizeHint());

    connect(Button1, &QPushButton::clicked, this, [this] { velmora::guarded([this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { velmora::guarded([this] { Button2Click(); }); });
    adi->installEventFilter(this);
    sifre->installEventFilter(this);

    // FormCreate
    idsi = BilgisayarIdAl();
    AyarOku();
    adi->setFocus();
    if (const QScreen* ekran = QGuiApplication::primaryScreen())
        move(ekran->availableGeometry().center() - rect().center());
}

Tgirisform::~Tgirisform()
{
    // A lookup still retrying in the background gives up.
    m_iptal->store(true);
}

QString Tgirisform::ayarDosyasi()
{
    return QDir(AyarKlasoru()).filePath(QStringLiteral("ayar.ini"));
}

void Tgirisform::AyarOku()
{
    const velmora::IniFile ini(ayarDosyasi());
    if (!ini.exists())
        return;
    benihatirla->setChecked(ini.readBool(kBolum, kHatirla, true));
    if (benihatirla->isChecked()) {
        adi->setText(ini.readString(kBolum, kIsim));
        sifre->setText(ini.readString(kBolum, kSifre));
    }
}

void Tgirisform::AyarKaydet()
{
    velmora::IniFile ini(ayarDosyasi());
    ini.writeString(kBolum, kIsim, adi->text());
    ini.writeString(kBolum, kSifre, sifre->text());
    ini.writeBool(kBolum, kHatirla, benihatirla->isChecked());
    ini.save();
}

bool Tgirisform::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int tus = static_cast<QKeyEvent*>(event)->key();
        if (tus == Qt::Key_Return || tus == Qt::Key_Enter) {
            velmora::guarded([&] {
                if (watched == adi)
                    adiKeyDown();
                else if (watched == sifre)
                    sifreKeyDown();
            });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tgirisform::bosAlanUyarisi(QLineEdit* alan, const QString& metin)
{
    systemHooks().playSound(velmora::SystemSound::Hand);
    velmora::showMessage(
        {metin, MessageKind::Warning, velmora::mbOK, velmora::mbOK, velmora::MessageSource::StandardBox});
    alan->selectAll();
    alan->setFocus();
}

void Tgirisform::adiKeyDown()
{
    if (adi->text().trimmed().isEmpty()) {
        bosAlanUyarisi(adi, QStringLiteral("Lütfen kullanıcı adını giriniz !"));
        return;
    }
    sifre->selectAll();
    sifre->setFocus();
}

void Tgirisform::sifreKeyDown()
{
    if (sifre->text().trimmed().isEmpty()) {
        bosAlanUyarisi(sifre, QStringLiteral("Lütfen kullanıcı şifresini giriniz !"));
        return;
    }
    if (Button1->isEnabled())
        Button1Click();
}

void Tgirisform::Button1Click()
{
    Button1->setText(QStringLiteral("Bağlanıyor..."));
    Button1->setEnabled(false);
    RxGIFAnimator1->start();
    auto adres = std::make_shared<QString>();
    auto iptal = m_iptal;
    velmora::runTask(
        this, [adres, iptal] { *adres = DisIpAl(*iptal); },
        [this, adres] {
            Button1->setText(QStringLiteral("Giriş!"));
            RxGIFAnimator1->stop();
            Devamet(*adres);
        });
}

void Tgirisform::Button2Click()
{
    systemHooks().endProcess(0);
    reject();
}

QString Tgirisform::DisIpAl(const std::atomic<bool>& iptal)
{
    while (!iptal.load()) {
        try {
            return QString::fromUtf8(velmora::httpGet(programAyarlari().ekoAdresi, 15000ms, 1500ms)).trimmed();
        } catch (const std::exception&) {
            systemHooks().retryWait(1000ms);
        }
    }
    return {};
}

bool Tgirisform::GirisBilgisiAl(const velmora::ServerConnection& bagim, const QString& idsi, TSonucBilgisi& sonuc,
                                const std::atomic<bool>& iptal)
{
    std::unique_ptr<velmora::ServerConnection> klon = bagim.clone();
    if (!BaglantiKontrol(*klon, 0))
        return false;
    try {
        TServerMethods1Client proxy(*klon);
        const TSonucBilgisi* kayit = proxy.BuyukGetir(idsi);
        if (!kayit)
            return false;
        sonuc.Kopyala(*kayit);
    } catch (const std::exception&) {
        return false;
    }
    klon->close();

    sonuc.setBilgiSayarAdi(BilgisayarAdiAl());
    sonuc.setBilgisayarKullanici(KullaniciAdiAl());
    sonuc.setIcip(IcIpAl());
    sonuc.setBILGISAYARID(BilgisayarIdAl());
    sonuc.setDisip(DisIpAl(iptal));
    return true;
}

void Tgirisform::girisiGeriAl()
{
    Button1->setEnabled(true);
    adi->selectAll();
    adi->setFocus();
}

void Tgirisform::Devamet(const QString& adres)
{
    if (adres.trimmed().isEmpty()) {
        MesajVer(QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyiniz !"), MessageKind::Error, velmora::mbOK, 0,
                 velmora::mbOK);
        Button1->setEnabled(true);
        return;
    }
    Bilgim->setDisip(adres);
    const ProgramAyarlari& ayarlar = programAyarlari();
    bagim->setHostName(adres == ayarlar.sunucuGenelAdresi ? ayarlar.sunucuYerelAdresi : ayarlar.sunucuGenelAdresi);

    // The record is fetched into a copy in the background and taken over here, on this thread.
    struct Durum {
        bool dogrusonuc = false;
        TSonucBilgisi kayit;
    };
    auto durum = std::make_shared<Durum>();
    auto iptal = m_iptal;
    auto klon = std::shared_ptr<velmora::ServerConnection>(bagim->clone());
    velmora::runTask(
        this, [durum, iptal, klon, id = idsi] { durum->dogrusonuc = GirisBilgisiAl(*klon, id, durum->kayit, *iptal); },
        [this, durum] {
            if (!durum->dogrusonuc) {
                MesajVer(QStringLiteral("Bağlantı Kurulamadı !"), MessageKind::Error, velmora::mbOK, 0, velmora::mbOK);
                girisiGeriAl();
                return;
            }
            Bilgim->Kopyala(durum->kayit);
            if (Bilgim->Version() != programAyarlari().surum)
                GuncellemeAc();
            if (!Bilgim->Varmi()) {
                KayitIstegiAc();
                return;
            }
            if (Bilgim->ADI() == adi->text() && Bilgim->SIFRE() == sifre->text()) {
                AyarKaydet();
                if (Bilgim->AKTIF() == 1) {
                    if ((Bilgim->MusteriTipi() == 1 || Bilgim->MusteriTipi() == 2) && !CariSectir())
                        return;
                    accept();
                    return;
                }
            }
            MesajVer(QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !"), MessageKind::Warning,
                     velmora::mbOK, 0, velmora::mbOK);
            girisiGeriAl();
        });
}

void Tgirisform::GuncellemeAc()
{
    Tdosyaindir pencere(this, Bilgim->Version());
    pencere.exec();
}

void Tgirisform::KayitIstegiAc()
{
    std::unique_ptr<Tkullanicikayit> form(Tkullanicikayit::Yeni(this, *bagim, *Bilgim));
    form->exec();
    form.reset();
    systemHooks().endProcess(0);
    reject();
}

bool Tgirisform::CariSectir()
{
    if (cariSecimi && cariSecimi(*bagim, *Bilgim))
        return true;
    systemHooks().endProcess(0);
    reject();
    return false;
}
