#pragma once

// What every end-to-end window test shares: hooks that record instead of acting, a fresh
// settings folder, the client pointed at a test server, and a way to script modal windows.

#include "platform/system_hooks.h"
#include "platform/ui/message_dialog.h"

#include <QApplication>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QVector>

#include <functional>

class Tgirisform;
Tgirisform* girisFormu(); // the login dialog when it is the active modal window

struct KancaKayitlari {
    QVector<velmora::MessageRequest> mesajlar;
    QVector<int> cevaplar;       // scripted answers, first one used first; default mrOk
    QVector<int> sonlandirmalar; // exit codes asked for
    int beklemeler = 0;          // connection retry waits
    QVector<velmora::SystemSound> sesler;
    QStringList acilanlar; // shell open targets

    bool mesajVar(const QString& metin) const
    {
        for (const auto& m : mesajlar)
            if (m.text == metin)
                return true;
        return false;
    }
};

class GuiTestTabani {
public:
    GuiTestTabani();
    ~GuiTestTabani();
    // Points the client at the server on `port`; public = 127.0.0.1, local = "localhost".
    void sunucuyaYonelt(int port);
    void bilgisayarKimligi(const QString& id);

    KancaKayitlari kayit;
    QTemporaryDir klasor;
};

// Runs scripted steps while modal windows are open: each step waits until its condition holds,
// then acts, then the next step waits. A step that does not come within the time limit ends the
// script and closes every modal window, so a failing test cannot hang.
class ModalSenaryo : public QObject {
public:
    struct Adim {
        QString ad;
        std::function<bool()> kosul;
        std::function<void()> eylem;
    };
    explicit ModalSenaryo(QVector<Adim> adimlar, int sureSiniriMs = 20000);
    bool tamamlandi() const { return m_sira >= m_adimlar.size(); }
    QString takilanAdim() const { return tamamlandi() ? QString() : m_adimlar[m_sira].ad; }

    // Conditions and actions used by most scripts.
    static std::function<bool()> modalAcik(const char* objectName);
    static QWidget* modal();
    // Types the name and password into the login dialog and presses Enter in the password box.
    static Adim girisiDoldur(const QString& ad, const QString& sifre);
    // Closes the named modal window, accepting or rejecting it.
    static Adim pencereyiKapat(const char* objectName, bool kabul = false);

private:
    void tik();
    QVector<Adim> m_adimlar;
    int m_sira = 0;
    int m_kalanMs;
    QTimer m_zamanlayici;
};
