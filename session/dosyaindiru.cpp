#include "dosyaindiru.h"

#include "program_ayarlari.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tdosyaindir::Tdosyaindir(QWidget* parent, int sunucuSurumu)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("dosyaindir"));
    setWindowTitle(QStringLiteral("Güncelleme"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Programın yeni sürümü (%1) yayında. Kullandığınız sürüm: %2.\n"
                                       "Kurulum dosyası: %3")
                            .arg(sunucuSurumu)
                            .arg(programAyarlari().surum)
                            .arg(programAyarlari().kurulumAdresi),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    layout->addWidget(Label1);
    auto* buttons = new QDialogButtonBox(this);
    auto* kapat = buttons->addButton(QStringLiteral("Kapat"), QDialogButtonBox::RejectRole);
    kapat->setObjectName(QStringLiteral("Kapat"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}
