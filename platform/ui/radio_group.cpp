#include "radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora {

RadioGroup::RadioGroup(const QString& title, QWidget* parent)
    : QGroupBox(title, parent)
    , m_group(new QButtonGroup(this))
    , m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(6, 4, 6, 4);
    m_layout->setSpacing(2);
    m_layout->addStretch();
    connect(m_group, &QButtonGroup::buttonClicked, this, [this] { emit clicked(); });
}

void RadioGroup::clear()
{
    for (QAbstractButton* b : m_group->buttons()) {
        m_group->removeButton(b);
        delete b;
    }
    m_ids.clear();
}

void RadioGroup::addItem(const QString& text, int id)
{
    auto* b = new QRadioButton(text, this);
    b->setObjectName(QStringLiteral("secenek%1").arg(m_ids.size()));
    m_group->addButton(b, static_cast<int>(m_ids.size()));
    m_layout->insertWidget(m_layout->count() - 1, b);
    m_ids.append(id);
}

int RadioGroup::count() const
{
    return static_cast<int>(m_ids.size());
}

int RadioGroup::itemIndex() const
{
    return m_group->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton* b = m_group->button(index)) {
        b->setChecked(true);
        return;
    }
    // No option chosen: lift the exclusivity for a moment to clear the checked one.
    if (QAbstractButton* checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

int RadioGroup::currentId() const
{
    const int i = itemIndex();
    return i >= 0 ? m_ids.value(i, -1) : -1;
}

QString RadioGroup::currentText() const
{
    return itemIndex() >= 0 ? itemText(itemIndex()) : QString();
}

QString RadioGroup::itemText(int index) const
{
    const QAbstractButton* b = m_group->button(index);
    return b ? b->text() : QString();
}

} // namespace velmora
