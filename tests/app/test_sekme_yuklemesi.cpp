// A tab's background load against a small in-process server whose answers take a while, so a
// second show arrives while the first load still runs.

#include "app/sekme_yuklemesi.h"
#include "platform/data_set.h"
#include "platform/system_hooks.h"
#include "platform/tasks.h"
#include "remote/proxim.h"

#include <QTest>

#include <httplib.h>

#include <atomic>
#include <thread>

class TestSekmeYuklemesi : public QObject {
    Q_OBJECT

    httplib::Server m_sunucu;
    std::thread m_is;
    int m_port = 0;
    std::atomic<int> m_ayni{0};
    std::atomic<int> m_enCok{0};
    std::atomic<int> m_cagri{0};

private slots:
    void initTestCase()
    {
        m_sunucu.Get("/datasnap/", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(R"({"server":"test"})", "application/json");
        });
        m_sunucu.Post("/datasnap/TServerMethods1.DuyuruVer", [this](const httplib::Request&, httplib::Response& res) {
            const int simdi = ++m_ayni;
            m_enCok = std::max(m_enCok.load(), simdi);
            const int no = ++m_cagri;
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            --m_ayni;
            res.set_content(
                R"({"result":{"columns":[{"name":"BASLIK","type":"text"},{"name":"TUTAR","type":"double"}],)"
                R"("rows":[["yükleme )" +
                    std::to_string(no) + R"(",1234.5]]},"outputs":[]})",
                "application/json");
        });
        m_port = m_sunucu.bind_to_any_port("127.0.0.1");
        m_is = std::thread([this] { m_sunucu.listen_after_bind(); });
        while (!m_sunucu.is_running())
            std::this_thread::yield();
        velmora::systemHooks().retryWait = [](std::chrono::milliseconds) {};
    }

    void cleanupTestCase()
    {
        m_sunucu.stop();
        m_is.join();
    }

    void ikinciGosterimIlkYuklemeBitinceYuklenir()
    {
        velmora::DataSet duyurular;
        SekmeYuklemesi yukleme(this, duyurular, [](velmora::ServerConnection& baglanti, const TSonucBilgisi&) {
            TServerMethods1Client proxy(baglanti);
            return std::move(*proxy.DuyuruVer());
        });
        int baslama = 0;
        QVector<bool> bitisler;
        yukleme.basladi = [&] { ++baslama; };
        yukleme.bitti = [&](bool hata) {
            bitisler.append(hata);
            // Nothing else fills the data set while its completion runs.
            QVERIFY(!yukleme.calisiyor());
        };
        velmora::ServerConnection bagc(QStringLiteral("127.0.0.1"), m_port);
        TSonucBilgisi sbilgi;
        yukleme.baslat(bagc, sbilgi);
        QVERIFY(yukleme.calisiyor());
        yukleme.baslat(bagc, sbilgi); // shown again while the first load runs
        yukleme.baslat(bagc, sbilgi); // and again: one more load covers both
        QTRY_COMPARE_WITH_TIMEOUT(bitisler.size(), 2, 10000);
        QCOMPARE(bitisler, (QVector<bool>{false, false}));
        QCOMPARE(baslama, 2);
        QCOMPARE(m_enCok.load(), 1);
        QCOMPARE(duyurular.recordCount(), 1);
        QCOMPARE(duyurular.value(QStringLiteral("BASLIK")).toString(), QStringLiteral("yükleme 2"));
        QCOMPARE(duyurular.fields()[1].displayFormat, QStringLiteral("#,###,##0.00"));
    }

    void baglantiYoksaHataIleBiter()
    {
        velmora::DataSet veri;
        SekmeYuklemesi yukleme(this, veri, [](velmora::ServerConnection& b, const TSonucBilgisi&) {
            TServerMethods1Client proxy(b);
            return std::move(*proxy.DuyuruVer());
        });
        QVector<bool> bitisler;
        yukleme.bitti = [&](bool hata) { bitisler.append(hata); };
        velmora::ServerConnection kapali(QStringLiteral("127.0.0.1"), 1);
        yukleme.baslat(kapali, TSonucBilgisi{});
        QTRY_COMPARE_WITH_TIMEOUT(bitisler, QVector<bool>{true}, 10000);
        QVERIFY(!veri.isOpen());
    }
};

QTEST_GUILESS_MAIN(TestSekmeYuklemesi)
#include "test_sekme_yuklemesi.moc"
