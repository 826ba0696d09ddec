#include "test_sunucusu.h"

#include "server/ordering_data.h"

#include <QRegularExpression>

using namespace velmora::server;

TestSunucusu::TestSunucusu(const std::function<void(Storage&)>& hazirla)
{
    {
        Storage depo(m_veri.path());
        if (hazirla)
            hazirla(depo);
    }
    const QString program = qEnvironmentVariable("VELMORA_SERVER_BIN");
    if (program.isEmpty()) {
        m_hata = QStringLiteral("VELMORA_SERVER_BIN is not set");
        return;
    }
    m_surec.setProgram(program);
    m_surec.setArguments({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), m_veri.path()});
    m_surec.setProcessChannelMode(QProcess::SeparateChannels);
    m_surec.start();
    if (!m_surec.waitForStarted(10000)) {
        m_hata = m_surec.errorString();
        return;
    }
    const QRegularExpression satir(QStringLiteral("^listening on [^:]+:(\\d+)"));
    QByteArray cikti;
    while (m_surec.waitForReadyRead(10000)) {
        cikti += m_surec.readAllStandardOutput();
        for (const QByteArray& s : cikti.split('\n')) {
            const auto eslesme = satir.match(QString::fromUtf8(s));
            if (eslesme.hasMatch()) {
                m_port = eslesme.captured(1).toInt();
                return;
            }
        }
    }
    m_hata = QStringLiteral("server did not start: ") + QString::fromUtf8(m_surec.readAllStandardError());
}

TestSunucusu::~TestSunucusu()
{
    m_depo.reset();
    if (m_surec.state() != QProcess::NotRunning) {
        m_surec.terminate();
        if (!m_surec.waitForFinished(10000))
            m_surec.kill();
    }
}

Storage& TestSunucusu::depo()
{
    if (!m_depo)
        m_depo = std::make_unique<Storage>(m_veri.path());
    return *m_depo;
}

void girisFixtureKur(Storage& depo)
{
    Representative temsilci;
    temsilci.name = QStringLiteral("Kemal Aydın");
    temsilci.phone = QStringLiteral("0532 555 11 22");
    temsilci.mail = QStringLiteral("kemal.aydin@velmora.example");
    const qint32 temsilciNo = depo.addRepresentative(temsilci);

    CustomerAccount cari;
    cari.code = QStringLiteral("120.01.001");
    cari.name = QStringLiteral("Özgür Oto Yedek Parça Ltd. Şti.");
    cari.city = QStringLiteral("İzmir");
    cari.representative = temsilciNo;
    const qint32 cariNo = depo.addCustomerAccount(cari);

    auto kullanici = [&](const char* bilgisayar, const char* ad, qint32 aktif, qint32 tip) {
        User u;
        u.name = QString::fromUtf8(ad);
        u.password = QStringLiteral("1234");
        u.active = aktif;
        u.type = tip;
        u.account = cariNo;
        u.representative = tip <= 2 ? temsilciNo : 0;
        depo.registerInstallation(QString::fromUtf8(bilgisayar), depo.addUser(u));
    };
    kullanici(FixtureKullanicilari::bayi, "BAYI", 1, 3);
    kullanici(FixtureKullanicilari::pasif, "PASIF", 0, 3);
    kullanici(FixtureKullanicilari::temsilci, "TEMSILCI", 1, 1);
    kullanici(FixtureKullanicilari::tip2, "YONETICI", 1, 2);
    kullanici(FixtureKullanicilari::tip4, "KAMPANYASIZ", 1, 4);
}

void siparisFixtureKur(Storage& depo)
{
    girisFixtureKur(depo);
    const qint32 marka = addBrand(depo, QStringLiteral("Vaxtor"));
    auto urun = [&](const char* kod, const char* ad, qint32 koli, double fiyat, double kampanya, qint32 durum) {
        StockItem s;
        s.code = QString::fromUtf8(kod);
        s.name = QString::fromUtf8(ad);
        s.oem1 = QStringLiteral("OEM-") + s.code;
        s.finishCode = QStringLiteral("F") + s.code;
        s.brand = marka;
        s.model = QStringLiteral("Doblo");
        s.packQuantity = koli;
        s.vat = 18;
        s.state = durum;
        s.listPrice = fiyat;
        s.campaignPrice = kampanya;
        return addStockItem(depo, s);
    };
    urun("BLT-1001", "Fren Balatası Ön", 12, 100.0, 0, 1);
    urun("BLT-1002", "Fren Balatası Arka", 1, 80.0, 0, 2);
    urun("FLT-2001", "Yağ Filtresi", 1, 50.0, 40.0, 3);
    setCustomerDiscounts(depo, depo.sessionFor(QString::fromLatin1(FixtureKullanicilari::bayi))->CARINO(), 0,
                         {20, 0, 0, 0});
    addDeliveryKind(depo, 1, QStringLiteral("Kargo"));
    addDeliveryKind(depo, 2, QStringLiteral("Ambar"));
    addDeliveryKind(depo, 3, QStringLiteral("Gel Al"));
    addCargoKind(depo, 1, QStringLiteral("Alıcı Ödemeli"));
    addCargoKind(depo, 2, QStringLiteral("Gönderici Ödemeli"));
    addCargoCompany(depo, QStringLiteral("Hızlı Kargo"), QStringLiteral("Cumartesi teslimat yoktur."), {1, 2});
    addCargoCompany(depo, QStringLiteral("Anadolu Ambar"), QString(), {1});
}
