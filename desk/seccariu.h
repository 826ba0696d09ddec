#pragma once

#include "session/kayitlar.h"

#include <QDialog>

namespace velmora {
class ServerConnection;
}

// Customer selection of representatives. For now it confirms the customer the representative
// logged in with; searching and choosing customers, the basket counts and the order status
// board follow with the representative desk work.
class Tseccari : public QDialog {
    Q_OBJECT
public:
    Tseccari(QWidget* parent, velmora::ServerConnection& bag, TSonucBilgisi& bilgim);

    void SepetSayisiYaz();
    void TusSonuclari();

    velmora::ServerConnection& bag;
    TSonucBilgisi& bilgim;
};
