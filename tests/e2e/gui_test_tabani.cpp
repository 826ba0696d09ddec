#include "gui_test_tabani.h"

#include "platform/tasks.h"
#include "session/girisformu.h"

#include "session/program_ayarlari.h"
#include <QLineEdit>
#include <QTest>

#include <QWidget>

using namespace velmora;

GuiTestTabani::GuiTestTabani()
{
    SystemHooks& h = systemHooks();
    h.endProcess = [this](int kod) { kayit.sonlandirmalar.append(kod); };
    h.retryWait = [this](std::chrono::milliseconds) { ++kayit.beklemeler; };
    h.playSound = [this](SystemSound s) { kayit.sesler.append(s); };
    h.shellOpen = [this](const QString& hedef, const QString&) {
        kayit.acilanlar << hedef;
        return true;
    };
    const QString yol = klasor.path();
    h.appDataFolder = [yol] { return yol + QStringLiteral("/appdata"); };
    h.documentsFolder = [yol] { return yol + QStringLiteral("/belgeler"); };
    h.desktopFolder = [yol] { return yol + QStringLiteral("/masaustu"); };
    h.networkAddress = [] { return QString(); };
    setMessageHook([this](const MessageRequest& istek) {
        kayit.mesajlar.append(istek);
        return kayit.cevaplar.isEmpty() ? int(mrOk) : kayit.cevaplar.takeFirst();
    });
}

GuiTestTabani::~GuiTestTabani()
{
    waitForTaskWork();
    QApplication::processEvents();
    setMessageHook({});
    systemHooks() = defaultSystemHooks();
    programAyarlari() = derlenmisAyarlar();
}

void GuiTestTabani::sunucuyaYonelt(int port)
{
    ProgramAyarlari& a = programAyarlari();
    a.sunucuGenelAdresi = QStringLiteral("127.0.0.1");
    a.sunucuYerelAdresi = QStringLiteral("localhost");
    a.port = port;
    a.ekoAdresi = QStringLiteral("http://127.0.0.1:%1/ip.php").arg(port);
    a.kurulumAdresi = QStringLiteral("http://127.0.0.1:%1/exe/VelmoraSetup.exe").arg(port);
}

void GuiTestTabani::bilgisayarKimligi(const QString& id)
{
    systemHooks().diskSerial = [id] { return id; };
}

ModalSenaryo::ModalSenaryo(QVector<Adim> adimlar, int sureSiniriMs)
    : m_adimlar(std::move(adimlar))
    , m_kalanMs(sureSiniriMs)
{
    m_zamanlayici.setInterval(20);
    connect(&m_zamanlayici, &QTimer::timeout, this, [this] { tik(); });
    m_zamanlayici.start();
}

QWidget* ModalSenaryo::modal()
{
    return QApplication::activeModalWidget();
}

std::function<bool()> ModalSenaryo::modalAcik(const char* objectName)
{
    return [objectName] {
        QWidget* m = modal();
        return m && m->objectName() == QLatin1String(objectName);
    };
}

void ModalSenaryo::tik()
{
    m_kalanMs -= m_zamanlayici.interval();
    if (tamamlandi()) {
        m_zamanlayici.stop();
        return;
    }
    if (m_kalanMs <= 0) {
        m_zamanlayici.stop();
        // Unwind: close every modal window so the test gets control back and fails cleanly.
        while (QWidget* m = modal()) {
            m->close();
            QApplication::processEvents();
            if (modal() == m)
                break;
        }
        return;
    }
    Adim& adim = m_adimlar[m_sira];
    if (adim.kosul()) {
        ++m_sira;
        adim.eylem();
    }
}

Tgirisform* girisFormu()
{
    return qobject_cast<Tgirisform*>(ModalSenaryo::modal());
}

ModalSenaryo::Adim ModalSenaryo::girisiDoldur(const QString& ad, const QString& sifre)
{
    return {QStringLiteral("giriş formu"), modalAcik("girisform"), [ad, sifre] {
                Tgirisform* f = girisFormu();
                f->adi->setText(ad);
                f->sifre->setText(sifre);
                QTest::keyClick(f->sifre, Qt::Key_Return);
            }};
}

ModalSenaryo::Adim ModalSenaryo::pencereyiKapat(const char* objectName, bool kabul)
{
    return {QString::fromLatin1(objectName), modalAcik(objectName), [kabul] {
                auto* d = qobject_cast<QDialog*>(modal());
                kabul ? d->accept() : d->reject();
            }};
}
