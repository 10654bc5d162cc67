#pragma once

#include "app/ControlArray.h"

#include <QObject>
#include <QRadioButton>
#include <optional>

class QButtonGroup;

// An indexed group of option buttons of which at most one is selected; "none
// selected" is a real state. Selecting a member in code runs its click handler
// exactly when it changes from unselected to selected; a user click always does.
class OptionArray : public QObject
{
    Q_OBJECT
public:
    explicit OptionArray(QObject *parent = nullptr);

    void add(int index, QRadioButton *button);
    QRadioButton *operator()(int index) const { return m_buttons(index); }
    bool contains(int index) const { return m_buttons.contains(index); }
    int lbound() const { return m_buttons.lbound(); }
    int ubound() const { return m_buttons.ubound(); }
    QList<int> indices() const { return m_buttons.indices(); }

    // Selects a member (throws for a missing index); emits Click when it changed.
    void select(int index);
    bool isSelected(int index) const;
    std::optional<int> selected() const;
    // Back to "none selected", without running any handler.
    void clearSelection();
    void setAllEnabled(bool enabled);

signals:
    void Click(int index);

private:
    ControlArray<QRadioButton> m_buttons;
    QButtonGroup *m_group;
};
