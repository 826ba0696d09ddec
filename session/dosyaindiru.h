#pragma once

#include <QDialog>

class QLabel;

// The update window. For now it tells the user that a newer version is out and where the
// installer comes from; downloading and starting it follows with the self-update work.
class Tdosyaindir : public QDialog {
    Q_OBJECT
public:
    Tdosyaindir(QWidget* parent, int sunucuSurumu);

    QLabel* Label1 = nullptr;
};
