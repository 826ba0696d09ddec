#include "onaysipU.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TONAYSIP::TONAYSIP(QWidget* owner)
    : QDialog(owner, Qt::Tool)
{
    setObjectName(QStringLiteral("ONAYSIP"));
    setWindowTitle(QStringLiteral("Sipariş Onay"));
    setFixedSize(527, 334);

    auto* cerceve = new QFrame(this);
    cerceve->setFrameShape(QFrame::StyledPanel);
    auto* cerceveDuzen = new QVBoxLayout(cerceve);
    Label2 = new QLabel(cerceve);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont sabit(QStringLiteral("Courier New"));
    sabit.setStyleHint(QFont::Monospace);
    sabit.setFixedPitch(true);
    sabit.setPixelSize(16);
    sabit.setBold(true);
    Label2->setFont(sabit);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cerceveDuzen->addWidget(Label2);

    auto* soru = new QLabel(QStringLiteral("Yukarıda bilgileri verilen siparişi onaylıyor musunuz ?"), this);
    QFont soruYazisi(QStringLiteral("Tahoma"));
    soruYazisi.setPixelSize(20);
    soruYazisi.setBold(true);
    soru->setFont(soruYazisi);
    soru->setAlignment(Qt::AlignCenter);
    soru->setWordWrap(true);

    auto* evet = new QPushButton(QStringLiteral("Evet"), this);
    evet->setObjectName(QStringLiteral("Evet"));
    auto* hayir = new QPushButton(QStringLiteral("Hayır"), this);
    hayir->setObjectName(QStringLiteral("Hayir"));
    connect(evet, &QPushButton::clicked, this, &QDialog::accept);
    connect(hayir, &QPushButton::clicked, this, &QDialog::reject);
    auto* dugmeler = new QHBoxLayout;
    dugmeler->addStretch();
    dugmeler->addWidget(evet);
    dugmeler->addWidget(hayir);

    auto* duzen = new QVBoxLayout(this);
    duzen->addWidget(cerceve, 1);
    duzen->addWidget(soru);
    duzen->addLayout(dugmeler);
    if (owner)
        move(owner->geometry().center() - rect().center());
}
