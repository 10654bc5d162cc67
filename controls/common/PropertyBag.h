#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>
#include <utility>

// The host form's store of a control's saved properties: key/value pairs kept in
// the order they were written, looked up without regard to case (host forms keep
// some keys in lower case). Header-only so both control libraries and the host
// share one definition without linking each other. Its code is compiled into each of
// them, so a private implementation pointer would not let it change either: instead its
// one field, a Qt list of pairs, is its fixed layout, and a change to it needs a new major
// version of both libraries.
class PropertyBag
{
public:
    PropertyBag() = default;
    PropertyBag(std::initializer_list<std::pair<QString, QVariant>> pairs)
    {
        for (const auto &pair : pairs)
            WriteProperty(pair.first, pair.second);
    }

    // A value equal to a given default is not stored (and an earlier value under
    // the key is dropped), so reading falls back to that default. Without a
    // default the value is always stored.
    void WriteProperty(const QString &key, const QVariant &value, const QVariant &defaultValue = {})
    {
        const qsizetype at = indexOf(key);
        if (defaultValue.isValid() && value == defaultValue) {
            if (at >= 0)
                m_pairs.removeAt(at);
            return;
        }
        if (at >= 0)
            m_pairs[at] = {key, value};
        else
            m_pairs.append({key, value});
    }

    QVariant ReadProperty(const QString &key, const QVariant &defaultValue) const
    {
        const qsizetype at = indexOf(key);
        return at >= 0 ? m_pairs.at(at).second : defaultValue;
    }

    bool contains(const QString &key) const { return indexOf(key) >= 0; }
    void remove(const QString &key)
    {
        if (const qsizetype at = indexOf(key); at >= 0)
            m_pairs.removeAt(at);
    }
    void clear() { m_pairs.clear(); }
    qsizetype count() const { return m_pairs.size(); }
    bool isEmpty() const { return m_pairs.isEmpty(); }

    QStringList keys() const
    {
        QStringList result;
        result.reserve(m_pairs.size());
        for (const auto &pair : m_pairs)
            result.append(pair.first);
        return result;
    }

private:
    qsizetype indexOf(const QString &key) const
    {
        for (qsizetype i = 0; i < m_pairs.size(); ++i) {
            if (m_pairs.at(i).first.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    QList<std::pair<QString, QVariant>> m_pairs;
};

static_assert(sizeof(PropertyBag) == sizeof(QList<std::pair<QString, QVariant>>),
              "the property bag's layout is part of the control libraries' binary interface");
