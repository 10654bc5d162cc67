#pragma once

#include "errors/OrvaneError.h"

#include <QList>
#include <QPointer>
#include <map>

// An indexed group of like controls (menu items, labels) with its bounds. Asking
// for a member that does not exist is a run-time error, as callers rely on.
template<typename T>
class ControlArray
{
public:
    void add(int index, T *control) { m_members[index] = control; }

    T *operator()(int index) const
    {
        const auto it = m_members.find(index);
        if (it == m_members.end() || !it->second)
            throw OrvaneError(OrvaneError::kNoSuchElement,
                              QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        return it->second;
    }

    bool contains(int index) const { return m_members.count(index) != 0; }
    int lbound() const { return m_members.empty() ? 0 : m_members.begin()->first; }
    int ubound() const { return m_members.empty() ? -1 : m_members.rbegin()->first; }

    QList<int> indices() const
    {
        QList<int> result;
        for (const auto &[index, control] : m_members)
            result.append(index);
        return result;
    }

    int indexOf(const T *control) const
    {
        for (const auto &[index, member] : m_members)
            if (member == control)
                return index;
        return -1;
    }

private:
    std::map<int, QPointer<T>> m_members;
};
