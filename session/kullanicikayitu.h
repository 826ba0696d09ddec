#pragma once

#include "kayitlar.h"

#include <QDialog>

namespace velmora {
class ServerConnection;
}

// The request form for a new account or a password change. For now it tells the user that
// this computer is not registered; the form itself follows with the request work.
class Tkullanicikayit : public QDialog {
    Q_OBJECT
public:
    // A new-account request for a computer that the server does not know.
    static Tkullanicikayit* Yeni(QWidget* parent, velmora::ServerConnection& bag, const TSonucBilgisi& bilgi);

private:
    Tkullanicikayit(QWidget* parent, const TSonucBilgisi& bilgi);
    TSonucBilgisi m_bilgi;
};
