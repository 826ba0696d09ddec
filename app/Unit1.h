#pragma once

#include "platform/data_set.h"
#include "platform/server_connection.h"
#include "session/kayitlar.h"
#include "siparis_kurallari.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;

class QComboBox;
class QPlainTextEdit;

namespace velmora {
class BusyIndicator;
class GifView;
class GridView;
class Marquee;
class RadioGroup;
} // namespace velmora

// The main window: header, search bar and the page control with the working tabs. Its
// creation runs the login; it becomes visible only after a successful one.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1();
    ~TForm1() override;

    // False when the login did not end with a user (the process has been asked to end).
    bool girisYapildi() const { return m_girisYapildi; }

    TSonucBilgisi sbilgi;
    velmora::ServerConnection bagc;
    bool _sepettevar = false;
    bool _indirmeyapiliyormu = false;
    QWidget* benimbakiyesiparisler = nullptr;

    // Header.
    QLabel* Image2 = nullptr;
    QLabel* kullanicilbl = nullptr;
    QLabel* cariadilbl = nullptr;
    QLabel* saticilbl = nullptr;
    velmora::GifView* RxGIFAnimator1 = nullptr; // the banner
    QToolButton* Button3 = nullptr;
    QMenu* Genelmenu = nullptr;
    QAction* M1 = nullptr;
    QAction* N4 = nullptr;
    QAction* SiteMenusu = nullptr;
    QAction* G1 = nullptr;
    QAction* R1 = nullptr;

    // Search bar.
    QLabel* Image1 = nullptr; // the magnifier
    QLineEdit* araedit = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* musteritus = nullptr;
    velmora::BusyIndicator* gifstokara = nullptr;
    velmora::BusyIndicator* gifyeniler = nullptr;
    velmora::BusyIndicator* gifkampanyali = nullptr;
    velmora::BusyIndicator* gifduyuru = nullptr;
    velmora::BusyIndicator* gifoncekiler = nullptr;
    velmora::BusyIndicator* gifdosyalar = nullptr;
    velmora::BusyIndicator* gifekstre = nullptr;

    // Page control and its tabs.
    QTabWidget* sPageControl1 = nullptr;
    QWidget* sstoklistesi = nullptr;
    QWidget* ssepet = nullptr;
    QWidget* sonceki = nullptr;
    QWidget* sccariekstre = nullptr;
    QWidget* syeniler = nullptr;
    QWidget* skampanyali = nullptr;
    QWidget* sTabSheetduyuru = nullptr;
    QWidget* sTabbakiyeler = nullptr;
    QWidget* tabdosya = nullptr;

    // News line at the bottom.
    QWidget* Panel5 = nullptr;
    velmora::Marquee* kayanyazi = nullptr;

    // Data sets of the tabs.
    velmora::DataSet stok;
    velmora::DataSet sepet;
    velmora::DataSet kargo;
    velmora::DataSet ONCEKILER;
    velmora::DataSet EKSTRE;
    velmora::DataSet YENILER;
    velmora::DataSet kampstok;
    velmora::DataSet duyurular;
    velmora::DataSet dosyatable;

    // Stock list tab.
    velmora::GridView* cxGrid1 = nullptr;
    QMenu* popstok = nullptr;

    // Basket tab and the order panel.
    velmora::GridView* cxGrid2 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    velmora::RadioGroup* teslimbox = nullptr;
    velmora::RadioGroup* boxkargo = nullptr;
    QComboBox* kargocombo = nullptr;
    QLabel* uyarikargo = nullptr;
    QPlainTextEdit* aciklamagir = nullptr;
    QLabel* aratoplaml = nullptr;
    QLabel* indiriml = nullptr;
    QLabel* nettutarl = nullptr;
    QLabel* vergil = nullptr;
    QLabel* geneltoplaml = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

    // Grids of the information tabs; their loaders come with the history work.
    velmora::GridView* cxGrid3 = nullptr;
    velmora::GridView* cxGrid5 = nullptr;
    velmora::GridView* cxGrid6 = nullptr;
    velmora::GridView* cxkampanyali = nullptr;
    velmora::GridView* cxGridduyuru = nullptr;
    velmora::GridView* cxgriddosyalar = nullptr;
    QMenu* poponceki = nullptr;
    QMenu* popekstre = nullptr;

    bool GirisYap();
    void AnaBilgiAl();
    // Notices, run by the start-up task off the user-interface thread.
    void KayanYaziYaz(const QPointer<QObject>& pencere, const velmora::ServerConnection& ana);
    void BannerREsimAl(const QPointer<QObject>& pencere, const velmora::ServerConnection& ana);
    void BalonYaz(const QPointer<QObject>& pencere, const velmora::ServerConnection& ana, const TSonucBilgisi& bilgi);
    void Button3Click();
    void SiteMenusuClick();
    void G1Click();
    bool FormCloseQuery();
    void CikisGonder();

    // Stock search.
    void AramaBaslat();
    void Temizle();
    // The search call on a clone of `bagc`; false on any failure.
    static bool StokAramaYap(const velmora::ServerConnection& bagc, const TSonucBilgisi& bilgi, const QString& metin,
                             velmora::Table& sonuc);
    void cxGrid1Resize();

    // Stock line dialog and basket.
    void StokSatiriAc(SatirKaynagi kaynak);
    void SatirDuzenle(int sirano);
    void SepetiYenile();
    void ToplamlariHesapla();
    void SatirEkle(const velmora::DataSet& kaynak, double miktar);
    void SatirGuncelle(int sirano, double miktar, double fiyat);
    void SecimGonder(int sirano, int secim);
    void Deitir1Click();
    void SatrSil1Click();
    void HepsiniSil1Click();
    void Button4Click();
    void Button5Click();
    void Button2Click();
    void cxGrid2Resize();

    // Order.
    void TeslimKargoYukle();
    void boxkargoClick();
    void KargoFirmalariYukle(int kargoTuru);
    void kargocomboChange();
    void Button1Click();
    bool SiparisiGonder(int teslim, int kargoTuru, int kargoFirmasi);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pencereyiKur();
    void FormCreate();
    void kullaniciTipineUyarla();
    void baslangicGoreviniBaslat();
    QWidget* stokSekmesiniKur();
    QWidget* sepetSekmesiniKur();
    void bilgiSekmeleriniKur();
    void sekmeBasligi(QWidget* sekme, const QString& baslik);
    void secimleriDegistir(int secim);

    bool m_girisYapildi = false;
    bool m_cikisBasladi = false;
};
