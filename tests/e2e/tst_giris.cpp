// Start-up, login and leaving, against a real server with a fixture database.

#include "app/Unit1.h"
#include "gui_test_tabani.h"
#include "platform/ini_file.h"
#include "platform/tasks.h"
#include "session/baglantiu.h"
#include "session/girisformu.h"
#include "test_sunucusu.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace velmora;
using F = FixtureKullanicilari;

namespace {

// After the named message, "Vazgeç" of the login dialog.
ModalSenaryo::Adim mesajdanSonraVazgec(KancaKayitlari& kayit, const QString& mesaj)
{
    return {mesaj,
            [&kayit, mesaj] { return kayit.mesajVar(mesaj) && girisFormu() && girisFormu()->Button1->isEnabled(); },
            [] { girisFormu()->Button2->click(); }};
}

QMap<QString, QString> iniOku(const QString& yol)
{
    // Another INI reader must read the same values back.
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"),
                                             QStringLiteral("import configparser,sys\n"
                                                            "c=configparser.ConfigParser()\n"
                                                            "c.read(sys.argv[1], encoding='utf-8')\n"
                                                            "for k,v in c['kullanici'].items(): print(k+'\\t'+v)\n"),
                                             yol});
    python.waitForFinished(10000);
    QMap<QString, QString> degerler;
    for (const QString& satir :
         QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        degerler.insert(satir.section(QLatin1Char('\t'), 0, 0), satir.section(QLatin1Char('\t'), 1));
    return degerler;
}

} // namespace

class tst_giris : public QObject {
    Q_OBJECT

    std::unique_ptr<TestSunucusu> m_sunucu;
    std::unique_ptr<GuiTestTabani> m_taban;

    KancaKayitlari& kayit() { return m_taban->kayit; }
    QString ayarDosyasi() const { return Tgirisform::ayarDosyasi(); }

    // Builds the main window (which runs the login) while `adimlar` play.
    std::unique_ptr<TForm1> basla(const char* bilgisayar, QVector<ModalSenaryo::Adim> adimlar,
                                  QString* takilan = nullptr)
    {
        m_taban->bilgisayarKimligi(QString::fromLatin1(bilgisayar));
        ModalSenaryo senaryo(std::move(adimlar));
        auto form = std::make_unique<TForm1>();
        if (takilan)
            *takilan = senaryo.takilanAdim();
        return form;
    }

    std::unique_ptr<TForm1> bayiOlarakGir()
    {
        QString takilan;
        auto form =
            basla(F::bayi, {ModalSenaryo::girisiDoldur(QStringLiteral("BAYI"), QStringLiteral("1234"))}, &takilan);
        [&] { QVERIFY2(takilan.isEmpty(), qPrintable(takilan)); }();
        return form;
    }

private slots:
    void initTestCase()
    {
        m_sunucu = std::make_unique<TestSunucusu>(girisFixtureKur);
        QVERIFY2(m_sunucu->calisiyor(), qPrintable(m_sunucu->hata()));
    }

    void init()
    {
        m_taban = std::make_unique<GuiTestTabani>();
        m_taban->sunucuyaYonelt(m_sunucu->port());
        m_sunucu->depo().setClientVersion(18);
    }

    void cleanup() { m_taban.reset(); }

    void cleanupTestCase() { m_sunucu.reset(); }

    void girisKabulEdilir()
    {
        QVERIFY(!QFile::exists(ayarDosyasi()));
        auto form = bayiOlarakGir();
        QVERIFY(form->girisYapildi());
        QVERIFY(kayit().sonlandirmalar.isEmpty());
        QCOMPARE(form->sbilgi.ADI(), QStringLiteral("BAYI"));
        QCOMPARE(form->sbilgi.CariAdi(), QStringLiteral("Özgür Oto Yedek Parça Ltd. Şti."));
        QCOMPARE(form->sbilgi.BILGISAYARID(), QString::fromLatin1(F::bayi));
        QCOMPARE(form->sbilgi.Disip(), QStringLiteral("127.0.0.1"));
        // The echo answered the server's public address: inside the network, the local one is used.
        QCOMPARE(form->bagc.hostName(), QStringLiteral("localhost"));

        // The start-up task fills the header once the event loop runs.
        QTRY_COMPARE(form->kullanicilbl->text(), QStringLiteral("BAYI"));
        QCOMPARE(form->cariadilbl->text(), QStringLiteral("Özgür Oto Yedek Parça Ltd. Şti."));
        QCOMPARE(form->saticilbl->text(),
                 QStringLiteral("Kemal Aydın Telefonu: 0532 555 11 22 email: kemal.aydin@velmora.example"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Velmora Otomotiv Sipariş Programı"));

        const auto ini = iniOku(ayarDosyasi());
        QCOMPARE(ini.value(QStringLiteral("isim")), QStringLiteral("BAYI"));
        QCOMPARE(ini.value(QStringLiteral("sifre")), QStringLiteral("1234"));
        QCOMPARE(ini.value(QStringLiteral("hatırla")), QStringLiteral("1"));
        QCOMPARE(QFile::permissions(ayarDosyasi()) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
    }

    void hatirlananKullaniciDoldurulur_data()
    {
        QTest::addColumn<bool>("hatirla");
        QTest::newRow("hatırla") << true;
        QTest::newRow("hatırlama") << false;
    }

    void hatirlananKullaniciDoldurulur()
    {
        QFETCH(bool, hatirla);
        IniFile ini(ayarDosyasi());
        ini.writeString(QStringLiteral("kullanici"), QStringLiteral("isim"), QStringLiteral("BAYI"));
        ini.writeString(QStringLiteral("kullanici"), QStringLiteral("sifre"), QStringLiteral("1234"));
        ini.writeBool(QStringLiteral("kullanici"), QStringLiteral("hatırla"), hatirla);
        ini.save();
        Tgirisform f(nullptr);
        QCOMPARE(f.benihatirla->isChecked(), hatirla);
        QCOMPARE(f.adi->text(), hatirla ? QStringLiteral("BAYI") : QString());
        QCOMPARE(f.sifre->text(), hatirla ? QStringLiteral("1234") : QString());
    }

    void ilkAcilistaAlanlarBosKutuIsaretli()
    {
        Tgirisform f(nullptr);
        QVERIFY(f.benihatirla->isChecked());
        QVERIFY(f.adi->text().isEmpty());
        QCOMPARE(f.sifre->echoMode(), QLineEdit::Password);
        // Typed letters become upper case.
        QTest::keyClicks(f.adi, QStringLiteral("bayi"));
        QCOMPARE(f.adi->text(), QStringLiteral("BAYI"));
    }

    void girisReddedilir_data()
    {
        QTest::addColumn<QByteArray>("bilgisayar");
        QTest::addColumn<QString>("ad");
        QTest::addColumn<QString>("sifre");
        QTest::addColumn<bool>("ayarYazilir");
        QTest::newRow("yanlış ad") << QByteArray(F::bayi) << "BAYİ"
                                   << "1234" << false;
        QTest::newRow("yanlış şifre") << QByteArray(F::bayi) << "BAYI"
                                      << "4321" << false;
        QTest::newRow("pasif hesap") << QByteArray(F::pasif) << "PASIF"
                                     << "1234" << true;
    }

    void girisReddedilir()
    {
        QFETCH(QByteArray, bilgisayar);
        QFETCH(QString, ad);
        QFETCH(QString, sifre);
        QFETCH(bool, ayarYazilir);
        const QString mesaj = QStringLiteral("Kullanıcı Adı ve Şifre Hatalı Lütfen Tekrar Deneyiniz !");
        QString takilan;
        auto form = basla(bilgisayar.constData(),
                          {ModalSenaryo::girisiDoldur(ad, sifre), mesajdanSonraVazgec(kayit(), mesaj)}, &takilan);
        QVERIFY2(takilan.isEmpty(), qPrintable(takilan));
        QVERIFY(!form->girisYapildi());
        QCOMPARE(kayit().sonlandirmalar.value(0, -1), 0);
        QCOMPARE(kayit().mesajlar.size(), 1);
        QCOMPARE(kayit().mesajlar[0].kind, MessageKind::Warning);
        QCOMPARE(QFile::exists(ayarDosyasi()), ayarYazilir);
        if (ayarYazilir)
            QCOMPARE(iniOku(ayarDosyasi()).value(QStringLiteral("isim")), ad);
    }

    void bosAdVeSifreUyarir()
    {
        Tgirisform f(nullptr);
        QTest::keyClick(f.adi, Qt::Key_Return);
        f.adi->setText(QStringLiteral("BAYI"));
        QTest::keyClick(f.sifre, Qt::Key_Return);
        QCOMPARE(kayit().mesajlar.size(), 2);
        QCOMPARE(kayit().mesajlar[0].text, QStringLiteral("Lütfen kullanıcı adını giriniz !"));
        QCOMPARE(kayit().mesajlar[1].text, QStringLiteral("Lütfen kullanıcı şifresini giriniz !"));
        QCOMPARE(kayit().mesajlar[0].source, MessageSource::StandardBox);
        QCOMPARE(kayit().sesler, (QVector<SystemSound>{SystemSound::Hand, SystemSound::Hand}));
        QVERIFY(f.Button1->isEnabled()); // nothing started
    }

    void bilinmeyenBilgisayarKayitIstegineGider()
    {
        // Even with a wrong password the request form comes, and the program ends after it.
        QString takilan;
        auto form = basla(F::bilinmeyen,
                          {ModalSenaryo::girisiDoldur(QStringLiteral("KIMSE"), QStringLiteral("0000")),
                           ModalSenaryo::pencereyiKapat("kullanicikayit")},
                          &takilan);
        QVERIFY2(takilan.isEmpty(), qPrintable(takilan));
        QVERIFY(!form->girisYapildi());
        QCOMPARE(kayit().sonlandirmalar.value(0, -1), 0);
        QVERIFY(kayit().mesajlar.isEmpty());
    }

    void farkliSurumGuncellemeyeGider_data()
    {
        QTest::addColumn<int>("surum");
        QTest::newRow("17") << 17;
        QTest::newRow("19") << 19;
    }

    void farkliSurumGuncellemeyeGider()
    {
        QFETCH(int, surum);
        m_sunucu->depo().setClientVersion(surum);
        QString takilan;
        auto form = basla(F::bayi,
                          {ModalSenaryo::girisiDoldur(QStringLiteral("BAYI"), QStringLiteral("1234")),
                           ModalSenaryo::pencereyiKapat("dosyaindir")},
                          &takilan);
        QVERIFY2(takilan.isEmpty(), qPrintable(takilan));
        // When the update window returns, the login goes on.
        QVERIFY(form->girisYapildi());
        QCOMPARE(form->sbilgi.Version(), surum);
    }

    void temsilciCariSecimineGider_data()
    {
        QTest::addColumn<bool>("kabul");
        QTest::newRow("seçti") << true;
        QTest::newRow("vazgeçti") << false;
    }

    void temsilciCariSecimineGider()
    {
        QFETCH(bool, kabul);
        QString takilan;
        auto form = basla(F::temsilci,
                          {ModalSenaryo::girisiDoldur(QStringLiteral("TEMSILCI"), QStringLiteral("1234")),
                           ModalSenaryo::pencereyiKapat("seccari", kabul)},
                          &takilan);
        QVERIFY2(takilan.isEmpty(), qPrintable(takilan));
        QCOMPARE(form->girisYapildi(), kabul);
        QCOMPARE(kayit().sonlandirmalar.isEmpty(), kabul);
    }

    void vazgecSifirIleBiter()
    {
        QString takilan;
        auto form = basla(
            F::bayi,
            {{QStringLiteral("vazgeç"), ModalSenaryo::modalAcik("girisform"), [] { girisFormu()->Button2->click(); }}},
            &takilan);
        QVERIFY2(takilan.isEmpty(), qPrintable(takilan));
        QVERIFY(!form->girisYapildi());
        QCOMPARE(kayit().sonlandirmalar.value(0, -1), 0);
    }

    void kullaniciTipineUyarlanir_data()
    {
        QTest::addColumn<QByteArray>("bilgisayar");
        QTest::addColumn<QString>("ad");
        QTest::addColumn<bool>("cariSecimi");
        QTest::addColumn<bool>("raporlar");
        QTest::addColumn<bool>("kampanyali");
        QTest::newRow("tip 1") << QByteArray(F::temsilci) << "TEMSILCI" << true << true << true;
        QTest::newRow("tip 2") << QByteArray(F::tip2) << "YONETICI" << true << true << true;
        QTest::newRow("tip 3") << QByteArray(F::bayi) << "BAYI" << false << false << true;
        QTest::newRow("tip 4") << QByteArray(F::tip4) << "KAMPANYASIZ" << false << false << false;
    }

    void kullaniciTipineUyarlanir()
    {
        QFETCH(QByteArray, bilgisayar);
        QFETCH(QString, ad);
        QFETCH(bool, cariSecimi);
        QFETCH(bool, raporlar);
        QFETCH(bool, kampanyali);
        QVector<ModalSenaryo::Adim> adimlar{ModalSenaryo::girisiDoldur(ad, QStringLiteral("1234"))};
        if (cariSecimi)
            adimlar.append(ModalSenaryo::pencereyiKapat("seccari", true));
        QString takilan;
        auto form = basla(bilgisayar.constData(), adimlar, &takilan);
        QVERIFY2(takilan.isEmpty(), qPrintable(takilan));
        QVERIFY(form->girisYapildi());
        QCOMPARE(!form->musteritus->isHidden(), cariSecimi);
        QCOMPARE(form->R1->isVisible(), raporlar);
        QCOMPARE(form->sPageControl1->isTabVisible(form->sPageControl1->indexOf(form->skampanyali)), kampanyali);
    }

    void kapatmaSorulari_data()
    {
        QTest::addColumn<bool>("sepetteVar");
        QTest::addColumn<QVector<int>>("cevaplar");
        QTest::addColumn<QStringList>("sorular");
        QTest::addColumn<bool>("kapanir");
        QTest::addColumn<bool>("sepetSekmesi");
        const QString sepet = QStringLiteral("Sepette ürünler bulunmaktadır. !\r\nKontrol Etmek İster misiniz !");
        const QString cikis = QStringLiteral("Programdan Çıkmak İstiyor musunuz ?");
        QTest::newRow("sepete bak") << true << QVector<int>{mrYes} << QStringList{sepet} << false << true;
        QTest::newRow("sepete bakma, kalma")
            << true << QVector<int>{mrNo, mrNo} << QStringList{sepet, cikis} << false << false;
        QTest::newRow("sepete bakma, çık")
            << true << QVector<int>{mrNo, mrYes} << QStringList{sepet, cikis} << true << false;
        QTest::newRow("boş sepet, kalma") << false << QVector<int>{mrNo} << QStringList{cikis} << false << false;
        QTest::newRow("boş sepet, çık") << false << QVector<int>{mrYes} << QStringList{cikis} << true << false;
    }

    void kapatmaSorulari()
    {
        QFETCH(bool, sepetteVar);
        QFETCH(QVector<int>, cevaplar);
        QFETCH(QStringList, sorular);
        QFETCH(bool, kapanir);
        QFETCH(bool, sepetSekmesi);
        auto form = bayiOlarakGir();
        QVERIFY(form->girisYapildi());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const auto oncekiGunluk = m_sunucu->depo().sessionLog();
        const int oncekiCikislar = int(std::count_if(oncekiGunluk.begin(), oncekiGunluk.end(),
                                                     [](const auto& s) { return s.event == QLatin1String("cikis"); }));
        form->_sepettevar = sepetteVar;
        kayit().mesajlar.clear();
        kayit().cevaplar = cevaplar;

        form->G1->trigger(); // "Çıkış" behaves like the close box
        QStringList sorulan;
        for (const auto& m : kayit().mesajlar) {
            sorulan << m.text;
            QCOMPARE(m.kind, MessageKind::Confirmation);
            QCOMPARE(m.buttons, MessageButtons(mbYes | mbNo));
            QCOMPARE(m.defaultButton, mbYes);
        }
        QCOMPARE(sorulan, sorular);
        QCOMPARE(form->isVisible(), !kapanir);
        QCOMPARE(form->sPageControl1->currentWidget() == form->ssepet, sepetSekmesi);
        if (kapanir) {
            // The logout notice reaches the server, then the process ends with 0.
            QTRY_COMPARE(kayit().sonlandirmalar, QVector<int>{0});
            const auto gunluk = m_sunucu->depo().sessionLog();
            const int cikislar = int(std::count_if(gunluk.begin(), gunluk.end(),
                                                   [](const auto& s) { return s.event == QLatin1String("cikis"); }));
            QCOMPARE(cikislar, oncekiCikislar + 1);
            QCOMPARE(gunluk.last().record.ADI(), QStringLiteral("BAYI"));
        } else {
            waitForTaskWork();
            QApplication::processEvents();
            QVERIFY(kayit().sonlandirmalar.isEmpty());
        }
    }

    void siteMenusuAcarVeAramayaDoner()
    {
        auto form = bayiOlarakGir();
        QVERIFY(form->girisYapildi());
        QVERIFY(!form->SiteMenusu->text().isEmpty());
        form->araedit->setText(QStringLiteral("FİLTRE"));
        form->SiteMenusu->trigger();
        QCOMPARE(kayit().acilanlar.size(), 1);
        QCOMPARE(form->araedit->selectedText(), QStringLiteral("FİLTRE"));
    }

    void baglantiKontroluKapaliPort_data()
    {
        QTest::addColumn<int>("mesajgoster");
        QTest::addColumn<int>("mesajSayisi");
        QTest::newRow("mesajlı") << 1 << 1;
        QTest::newRow("mesajsız") << 0 << 0;
    }

    void baglantiKontroluKapaliPort()
    {
        QFETCH(int, mesajgoster);
        QFETCH(int, mesajSayisi);
        // Nothing listens on port 1 of loopback: every attempt is refused.
        ServerConnection baglanti(QStringLiteral("127.0.0.1"), 1);
        QVERIFY(!BaglantiKontrol(baglanti, mesajgoster));
        QCOMPARE(kayit().beklemeler, 11);
        QCOMPARE(kayit().mesajlar.size(), mesajSayisi);
        if (mesajSayisi) {
            QCOMPARE(kayit().mesajlar[0].text, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
            QCOMPARE(kayit().mesajlar[0].kind, MessageKind::Error);
        }
        // The same check against the running server opens at once.
        ServerConnection acik(QStringLiteral("127.0.0.1"), m_sunucu->port());
        QVERIFY(BaglantiKontrol(acik, 1));
        QCOMPARE(kayit().beklemeler, 11);
    }
};

QTEST_MAIN(tst_giris)
#include "tst_giris.moc"
