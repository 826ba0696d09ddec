#pragma once

// A real velmora-server on a free loopback port with a small fixture database, and the client
// configured against it. Hooks that must not act for real are replaced and record what they saw.

#include "server/storage.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class TestSunucusu {
public:
    // `hazirla` fills the database before the server starts.
    explicit TestSunucusu(const std::function<void(velmora::server::Storage&)>& hazirla);
    ~TestSunucusu();

    bool calisiyor() const { return m_port > 0; }
    int port() const { return m_port; }
    QString veriKlasoru() const { return m_veri.path(); }
    // A connection to the database while the server runs (for checks and changes).
    velmora::server::Storage& depo();
    QString hata() const { return m_hata; }

private:
    QTemporaryDir m_veri;
    QProcess m_surec;
    int m_port = 0;
    QString m_hata;
    std::unique_ptr<velmora::server::Storage> m_depo;
};

// The small catalogue of users the login tests need: one computer identifier per case.
struct FixtureKullanicilari {
    static constexpr const char* bayi = "PCBAYI01";
    static constexpr const char* pasif = "PCPASIF01";
    static constexpr const char* temsilci = "PCTEMSILCI01";
    static constexpr const char* tip2 = "PCTIP2";
    static constexpr const char* tip4 = "PCTIP4";
    static constexpr const char* bilinmeyen = "PCYOK99";
};
void girisFixtureKur(velmora::server::Storage& depo);
// The login fixture plus a small catalogue (brake pads in boxes of 12, a filter on campaign, an
// oil), discounts for the dealer, delivery kinds, cargo kinds and companies.
void siparisFixtureKur(velmora::server::Storage& depo);
