#pragma once

#include "platform/server_connection.h"
#include "platform/table.h"
#include "session/kayitlar.h"

#include <QObject>

#include <functional>
#include <optional>

namespace velmora {
class DataSet;
}

// The background load of one tab. The work step calls the tab's remote method on its own
// clone of the window's connection and hands back the table; the completion step puts it into
// the tab's data set on the user-interface thread. A show that comes while a load runs is
// remembered and loads once more afterwards, so two loads never fill one data set at a time.
class SekmeYuklemesi : public QObject {
    Q_OBJECT
public:
    // The tab's remote call, run off the user-interface thread on an open clone.
    using Yukleyici = std::function<velmora::Table(velmora::ServerConnection&, const TSonucBilgisi&)>;

    SekmeYuklemesi(QObject* parent, velmora::DataSet& veri, Yukleyici yukleyici);

    // Called on the user-interface thread: before the work starts (busy animation, grid off) and
    // after the data set is filled or the load failed (grid on, failure message when `hata`).
    std::function<void()> basladi;
    std::function<void(bool hata)> bitti;

    void baslat(const velmora::ServerConnection& bagc, const TSonucBilgisi& sbilgi);
    bool calisiyor() const { return m_calisiyor; }
    int yuklemeSayisi() const { return m_yuklemeSayisi; }

private:
    velmora::DataSet& m_veri;
    Yukleyici m_yukleyici;
    bool m_calisiyor = false;
    bool m_bekleyen = false;
    int m_yuklemeSayisi = 0;
    std::unique_ptr<velmora::ServerConnection> m_bekleyenBaglanti;
    std::optional<TSonucBilgisi> m_bekleyenBilgi;
};
