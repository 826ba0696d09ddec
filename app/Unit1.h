#pragma once

#include "platform/server_connection.h"
#include "session/kayitlar.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace velmora {
class BusyIndicator;
}

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
    QToolButton* Button3 = nullptr;
    QMenu* Genelmenu = nullptr;
    QAction* M1 = nullptr;
    QAction* N4 = nullptr;
    QAction* SiteMenusu = nullptr;
    QAction* G1 = nullptr;
    QAction* R1 = nullptr;

    // Search bar.
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

    bool GirisYap();
    void AnaBilgiAl();
    void Button3Click();
    void SiteMenusuClick();
    void G1Click();
    bool FormCloseQuery();
    void CikisGonder();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void pencereyiKur();
    void FormCreate();
    void kullaniciTipineUyarla();
    void baslangicGoreviniBaslat();

    bool m_girisYapildi = false;
    bool m_cikisBasladi = false;
};
