#pragma once

#include <QGroupBox>

class QButtonGroup;
class QVBoxLayout;

namespace velmora {

// A framed list of options of which at most one is chosen; every option carries an integer id.
class RadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit RadioGroup(const QString& title, QWidget* parent = nullptr);

    void clear();
    void addItem(const QString& text, int id);
    int count() const;
    int itemIndex() const; // -1 when none is chosen
    void setItemIndex(int index);
    int currentId() const;       // -1 when none is chosen
    QString currentText() const; // empty when none is chosen
    QString itemText(int index) const;

signals:
    void clicked(); // the user chose an option

private:
    QButtonGroup* m_group;
    QVBoxLayout* m_layout;
    QVector<int> m_ids;
};

} // namespace velmora
