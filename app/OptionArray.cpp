#include "app/OptionArray.h"

#include <QButtonGroup>

OptionArray::OptionArray(QObject *parent)
    : QObject(parent)
    , m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
}

void OptionArray::add(int index, QRadioButton *button)
{
    button->setAutoExclusive(false);
    m_buttons.add(index, button);
    m_group->addButton(button, index);
    connect(button, &QRadioButton::clicked, this, [this, index] { emit Click(index); });
}

void OptionArray::select(int index)
{
    QRadioButton *button = m_buttons(index);
    if (button->isChecked())
        return;
    button->setChecked(true);
    emit Click(index);
}

bool OptionArray::isSelected(int index) const
{
    return m_buttons.contains(index) && m_buttons(index)->isChecked();
}

std::optional<int> OptionArray::selected() const
{
    for (int index : m_buttons.indices())
        if (m_buttons(index)->isChecked())
            return index;
    return std::nullopt;
}

void OptionArray::clearSelection()
{
    m_group->setExclusive(false);
    for (int index : m_buttons.indices())
        m_buttons(index)->setChecked(false);
    m_group->setExclusive(true);
}

void OptionArray::setAllEnabled(bool enabled)
{
    for (int index : m_buttons.indices())
        m_buttons(index)->setEnabled(enabled);
}
