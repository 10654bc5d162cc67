#pragma once

#include "ControlError.h"

#include <QFont>
#include <QMetaType>
#include <QVariant>
#include <cmath>

// Converts values read from a property bag to the types the controls keep,
// failing with the usual error numbers when a stored value does not fit.
struct PropertyValue
{
    static bool toBoolean(const QVariant &value)
    {
        switch (value.typeId()) {
        case QMetaType::Bool:
            return value.toBool();
        case QMetaType::QString: {
            const QString text = value.toString().trimmed();
            if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
                return true;
            if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
                return false;
            return toDouble(value) != 0.0;
        }
        default:
            return toDouble(value) != 0.0;
        }
    }

    static double toDouble(const QVariant &value)
    {
        bool ok = false;
        const double result = isNumberLike(value) ? value.toDouble(&ok) : 0.0;
        if (!ok || !std::isfinite(result))
            throw ControlError(ControlError::kTypeMismatch, QStringLiteral("Type mismatch"));
        return result;
    }

    // A 32-bit value, stored either signed or unsigned (colours with the high bit
    // set arrive both ways).
    static quint32 toLong(const QVariant &value)
    {
        const double number = std::round(toDouble(value));
        if (number < -2147483648.0 || number > 4294967295.0)
            throw ControlError(ControlError::kOverflow, QStringLiteral("Overflow"));
        return number < 0 ? quint32(qint32(number)) : quint32(number);
    }

    static QString toText(const QVariant &value)
    {
        if (!value.canConvert<QString>() || value.typeId() == QMetaType::QFont)
            throw ControlError(ControlError::kTypeMismatch, QStringLiteral("Type mismatch"));
        return value.toString();
    }

    static QFont toFont(const QVariant &value)
    {
        if (value.typeId() != QMetaType::QFont)
            throw ControlError(ControlError::kTypeMismatch, QStringLiteral("Type mismatch"));
        return value.value<QFont>();
    }

    // Font sizes in points, within what a font can be drawn at.
    static double toFontSize(const QVariant &value)
    {
        const double size = toDouble(value);
        if (size <= 0.0 || size > 2048.0)
            throw ControlError(ControlError::kInvalidPropertyValue,
                               QStringLiteral("Invalid property value"));
        return size;
    }

private:
    static bool isNumberLike(const QVariant &value)
    {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Float:
        case QMetaType::Double:
        case QMetaType::QString:
        case QMetaType::QByteArray:
            return true;
        default:
            return false;
        }
    }
};
