#pragma once

#include "kayitlar.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {
class BusyIndicator;
class ServerConnection;
} // namespace velmora

// The login dialog: remembers the last user, finds the public address, chooses the server
// address, fetches this computer's session record, checks name and password and routes the user.
class Tgirisform : public QDialog {
    Q_OBJECT
public:
    explicit Tgirisform(QWidget* owner);
    ~Tgirisform() override;

    // Set by the main window before showing; not owned.
    velmora::ServerConnection* bagim = nullptr;
    TSonucBilgisi* Bilgim = nullptr;
    // The customer selection of representatives; true when it ended with OK.
    std::function<bool(velmora::ServerConnection&, TSonucBilgisi&)> cariSecimi;

    QString idsi;

    QLabel* Image1 = nullptr;
    QLabel* RxLabel1 = nullptr;
    QLineEdit* adi = nullptr;
    QLineEdit* sifre = nullptr;
    QCheckBox* benihatirla = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    velmora::BusyIndicator* RxGIFAnimator1 = nullptr;

    void Button1Click();
    void Button2Click();
    void Devamet(const QString& adres);
    void AyarOku();
    void AyarKaydet();

    // The public IPv4 address as the echo endpoint sees it; retries every second until it
    // answers or `iptal` is set.
    static QString DisIpAl(const std::atomic<bool>& iptal);
    // Fetches the record the server holds for `idsi` on a clone of `bagim` and fills in this
    // computer's data; false when the server cannot be reached or has no record.
    static bool GirisBilgisiAl(const velmora::ServerConnection& bagim, const QString& idsi, TSonucBilgisi& sonuc,
                               const std::atomic<bool>& iptal);

    static QString ayarDosyasi();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void adiKeyDown();
    void sifreKeyDown();
    void GuncellemeAc();
    void KayitIstegiAc();
    bool CariSectir();
    void bosAlanUyarisi(QLineEdit* alan, const QString& metin);
    void girisiGeriAl();

    std::shared_ptr<std::atomic<bool>> m_iptal = std::make_shared<std::atomic<bool>>(false);
};
