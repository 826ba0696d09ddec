#include "seccariu.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tseccari::Tseccari(QWidget* parent, velmora::ServerConnection& bag_, TSonucBilgisi& bilgim_)
    : QDialog(parent)
    , bag(bag_)
    , bilgim(bilgim_)
{
    setObjectName(QStringLiteral("seccari"));
    setWindowTitle(QStringLiteral("Cari Seçimi"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Çalışılacak cari: %1 %2").arg(bilgim.carikod(), bilgim.CariAdi()), this));
    auto* buttons = new QDialogButtonBox(this);
    auto* tamam = buttons->addButton(QStringLiteral("Tamam"), QDialogButtonBox::AcceptRole);
    tamam->setObjectName(QStringLiteral("Tamam"));
    auto* vazgec = buttons->addButton(QStringLiteral("Vazgeç"), QDialogButtonBox::RejectRole);
    vazgec->setObjectName(QStringLiteral("Vazgec"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

// The basket counts of the representative's customers come with the representative desk.
void Tseccari::SepetSayisiYaz() {}

// The order status board comes with the representative desk.
void Tseccari::TusSonuclari() {}
