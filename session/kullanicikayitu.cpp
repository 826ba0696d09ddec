#include "kullanicikayitu.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

Tkullanicikayit* Tkullanicikayit::Yeni(QWidget* parent, velmora::ServerConnection&, const TSonucBilgisi& bilgi)
{
    return new Tkullanicikayit(parent, bilgi);
}

Tkullanicikayit::Tkullanicikayit(QWidget* parent, const TSonucBilgisi& bilgi)
    : QDialog(parent)
{
    m_bilgi.Kopyala(bilgi);
    setObjectName(QStringLiteral("kullanicikayit"));
    setWindowTitle(QStringLiteral("Kullanıcı Kayıt İsteği"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(
        QStringLiteral("Bu bilgisayar sistemde kayıtlı değil.\nBilgisayar kimliği: %1").arg(m_bilgi.BILGISAYARID()),
        this);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
