// The connection and the proxy against a small in-process HTTP server that answers what each
// case needs: good answers, every kind of malformed answer, streams that break off.

#include "platform/server_connection.h"
#include "remote/proxim.h"
#include "remote/yontem_katalogu.h"

#include <QJsonDocument>
#include <QTest>

#include <httplib.h>

#include <thread>

using velmora::RemoteError;
using velmora::ServerConnection;

class tst_baglanti : public QObject {
    Q_OBJECT

    httplib::Server m_sunucu;
    std::thread m_is;
    int m_port = 0;
    // The answer of the method under test: status, body, content type, extra headers.
    struct Cevap {
        int status = 200;
        std::string govde;
        std::vector<std::pair<std::string, std::string>> basliklar;
        size_t kisaKes = 0; // for streams: announce this many more bytes than are sent
    };
    Cevap m_cevap;
    std::mutex m_kilit;
    std::string m_sonIstek;
    std::string m_sonYol;

    void cevapla(Cevap c)
    {
        std::lock_guard lock(m_kilit);
        m_cevap = std::move(c);
    }

    std::unique_ptr<ServerConnection> acikBaglanti()
    {
        auto b = std::make_unique<ServerConnection>(QStringLiteral("127.0.0.1"), m_port);
        b->open();
        return b;
    }

private slots:
    void initTestCase()
    {
        m_sunucu.Get("/datasnap/", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(R"({"server":"test"})", "application/json");
        });
        m_sunucu.Post(R"(/datasnap/TServerMethods1\.(\w+))",
                      [this](const httplib::Request& req, httplib::Response& res) {
                          Cevap c;
                          {
                              std::lock_guard lock(m_kilit);
                              c = m_cevap;
                              m_sonIstek = req.body;
                              m_sonYol = req.path;
                          }
                          res.status = c.status;
                          for (const auto& [k, v] : c.basliklar)
                              res.set_header(k, v);
                          if (c.kisaKes == 0) {
                              res.set_content(c.govde, "application/json");
                              return;
                          }
                          const std::string govde = c.govde;
                          res.set_content_provider(govde.size() + c.kisaKes, "application/octet-stream",
                                                   [govde](size_t offset, size_t, httplib::DataSink& sink) {
                                                       if (offset < govde.size()) {
                                                           sink.write(govde.data() + offset, govde.size() - offset);
                                                           return true;
                                                       }
                                                       return false; // the connection breaks off short
                                                   });
                      });
        m_port = m_sunucu.bind_to_any_port("127.0.0.1");
        QVERIFY(m_port > 0);
        m_is = std::thread([this] { m_sunucu.listen_after_bind(); });
        while (!m_sunucu.is_running())
            std::this_thread::yield();
    }

    void cleanupTestCase()
    {
        m_sunucu.stop();
        m_is.join();
    }

    void cagriYoluVeParametreler()
    {
        cevapla({200, R"({"result":7,"outputs":[]})", {}, 0});
        auto b = acikBaglanti();
        TServerMethods1Client proxy(*b);
        TSonucBilgisi bilgi;
        bilgi.setADI(QStringLiteral("ÇAĞRI"));
        QCOMPARE(proxy.SepetSatirSil(kopyasi(bilgi), 42, QStringLiteral("açıklama \"tırnak\"")), 7);
        QCOMPARE(QString::fromStdString(m_sonYol), QStringLiteral("/datasnap/TServerMethods1.SepetSatirSil"));
        const QJsonArray params =
            QJsonDocument::fromJson(QByteArray::fromStdString(m_sonIstek)).object()["params"].toArray();
        QCOMPARE(params.size(), 3);
        QCOMPARE(params[0].toObject()["type"].toString(), QStringLiteral("baglantiu.TSonucBilgisi"));
        QCOMPARE(params[0].toObject()["fields"].toObject()["FADI"].toString(), QStringLiteral("ÇAĞRI"));
        QCOMPARE(params[1].toInt(), 42);
        QCOMPARE(params[2].toString(), QStringLiteral("açıklama \"tırnak\""));
    }

    void komutBirKezHazirlanirSonucIkinciCagridaBirakilir()
    {
        cevapla({200,
                 R"({"result":{"type":"baglantiu.TTusSonuclari","fields":{"FAlindi":1,"FOnaylandi":2,)"
                 R"("FParcaliHazirlandi":3,"FSevkEdildi":4,"FHazirlandi":5,"FGoruldu":6}},"outputs":[]})",
                 {},
                 0});
        auto b = acikBaglanti();
        TServerMethods1Client proxy(*b);
        QCOMPARE(proxy.hazirlananKomutSayisi(), 0);
        TTusSonuclari* ilk = proxy.TusSonuclariVer(std::make_unique<TSonucBilgisi>());
        QVERIFY(ilk);
        QCOMPARE(ilk->Goruldu(), 6);
        TTusSonuclari* ikinci = proxy.TusSonuclariVer(std::make_unique<TSonucBilgisi>());
        QVERIFY(ikinci);
        QCOMPARE(ikinci->SevkEdildi(), 4);
        QCOMPARE(proxy.hazirlananKomutSayisi(), 1);

        cevapla({200, R"({"result":null,"outputs":[]})", {}, 0});
        QVERIFY(proxy.TusSonuclariVer(nullptr) == nullptr);
        const QJsonArray params =
            QJsonDocument::fromJson(QByteArray::fromStdString(m_sonIstek)).object()["params"].toArray();
        QVERIFY(params[0].isNull());
    }

    void bozukCevaplar_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("govde");
        QTest::addColumn<int>("tur");
        QTest::addColumn<QString>("mesajParcasi");
        const int sunucu = int(RemoteError::Kind::Server);
        const int bozuk = int(RemoteError::Kind::Malformed);
        QTest::newRow("json değil") << 200 << QByteArray("<html>oops") << bozuk << "okunamadı";
        QTest::newRow("result yok") << 200 << QByteArray(R"({"outputs":[]})") << bozuk << "result";
        QTest::newRow("outputs yok") << 200 << QByteArray(R"({"result":1})") << bozuk << "outputs";
        QTest::newRow("yanlış tip") << 200 << QByteArray(R"({"result":"bir","outputs":[]})") << bozuk << "tam sayı";
        QTest::newRow("kesirli sayı") << 200 << QByteArray(R"({"result":1.5,"outputs":[]})") << bozuk << "tam sayı";
        QTest::newRow("sunucu hatası") << 500
                                       << QByteArray(
                                              R"({"error":{"class":"EDatabase","message":"Veritabanı kilitli"}})")
                                       << sunucu << "Veritabanı kilitli";
        QTest::newRow("hata biçimsiz") << 502 << QByteArray("Bad Gateway") << bozuk << "502";
    }

    void bozukCevaplar()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, govde);
        QFETCH(int, tur);
        QFETCH(QString, mesajParcasi);
        cevapla({status, govde.toStdString(), {}, 0});
        auto b = acikBaglanti();
        TServerMethods1Client proxy(*b);
        try {
            proxy.SepetHepsiniSil(std::make_unique<TSonucBilgisi>());
            QFAIL("hata bekleniyordu");
        } catch (const RemoteError& e) {
            QCOMPARE(int(e.kind()), tur);
            QVERIFY2(e.message().contains(mesajParcasi), qPrintable(e.message()));
        }
    }

    void bozukKayitVeTablo_data()
    {
        QTest::addColumn<QByteArray>("sonuc");
        QTest::newRow("eksik alan") << QByteArray(R"({"type":"baglantiu.TSonucBilgisi","fields":{"FADI":"A"}})");
        QTest::newRow("başka sınıf") << QByteArray(R"({"type":"baglantiu.TTusSonuclari","fields":{}})");
        QTest::newRow("alan tipi") << QByteArray(R"({"type":"baglantiu.TSonucBilgisi","fields":[]})");
    }

    void bozukKayitVeTablo()
    {
        QFETCH(QByteArray, sonuc);
        cevapla({200, "{\"result\":" + sonuc.toStdString() + ",\"outputs\":[]}", {}, 0});
        auto b = acikBaglanti();
        TServerMethods1Client proxy(*b);
        QVERIFY_THROWS_EXCEPTION(RemoteError, proxy.BuyukGetir(QStringLiteral("X")));
        cevapla({200, R"({"result":{"columns":[{"name":"A","type":"int32"}],"rows":[[1,2]]},"outputs":[]})", {}, 0});
        QVERIFY_THROWS_EXCEPTION(RemoteError, proxy.DuyuruVer());
    }

    void akisOkunurCiktilarBasliktan()
    {
        std::string bayt(300000, '\0');
        for (size_t i = 0; i < bayt.size(); ++i)
            bayt[i] = char(i * 7);
        Cevap c{200, bayt, {{"X-Velmora-Outputs", R"({"outputs":[300000,"Fiyat Listesi \u015eubat.pdf"]})"}}, 0};
        cevapla(c);
        auto b = acikBaglanti();
        TServerMethods1Client proxy(*b);
        qint64 boy = 0;
        QString adi;
        velmora::RemoteStream* akis = proxy.BelgeIndir(5, boy, adi);
        QCOMPARE(boy, qint64(300000));
        QCOMPARE(adi, QStringLiteral("Fiyat Listesi Şubat.pdf"));
        QCOMPARE(akis->size(), qint64(300000));
        QCOMPARE(akis->readAllOrThrow(), QByteArray::fromStdString(bayt));
    }

    void kisaAkisHataOlur()
    {
        cevapla({200, std::string(1000, 'x'), {{"X-Velmora-Outputs", R"({"outputs":[2000]})"}}, 1000});
        auto b = acikBaglanti();
        TServerMethods1Client proxy(*b);
        qint64 boy = 0;
        velmora::RemoteStream* akis = proxy.BannerResimVer(boy);
        QCOMPARE(boy, qint64(2000));
        QVERIFY_THROWS_EXCEPTION(RemoteError, akis->readAllOrThrow());
    }

    void kapaliPortaBaglanilamaz()
    {
        // Nothing listens on port 1 of loopback: the connection is refused at once.
        ServerConnection b(QStringLiteral("127.0.0.1"), 1);
        try {
            b.open();
            QFAIL("bağlantı açılmamalıydı");
        } catch (const RemoteError& e) {
            QCOMPARE(e.kind(), RemoteError::Kind::Transport);
        }
        QVERIFY(!b.isOpen());
    }

    void katalogIkiTarafaAyniYontemleriVerir()
    {
        // Every proxy method is in the catalogue with its ordinals.
        const UzakYontem* resim = uzakYontemBul(QStringLiteral("ResimVer5"));
        QVERIFY(resim);
        QCOMPARE(resim->girdiler.size(), 1);
        QCOMPARE(resim->ciktilar.size(), 1);
        QCOMPARE(resim->sonuc.tip, DegerTipi::Akis);
        QCOMPARE(uzakYontemBul(QStringLiteral("SepetEkle2"))->girdiler.size(), 14);
        QCOMPARE(uzakYontemBul(QStringLiteral("MailGonserCariNormal"))->girdiler.size(), 17);
        QVERIFY(!uzakYontemBul(QStringLiteral("EchoString")));
    }
};

QTEST_GUILESS_MAIN(tst_baglanti)
#include "tst_baglanti.moc"
