#pragma once

#include <QDialog>

class QLabel;

// The order confirmation: the summary in a fixed-pitch font and the question under it.
class TONAYSIP : public QDialog {
    Q_OBJECT
public:
    explicit TONAYSIP(QWidget* owner);

    QLabel* Label2 = nullptr;
};
