#include "state/ReportTables.h"

namespace {

struct DisplayRow
{
    QStringView code;
    QStringView line1;
    QStringView line2;
};

constexpr DisplayRow kDisplayRows[] = {
    {u"0100", u"Warning", u"Over Current"},
    {u"0101", u"Warning", u"DC"},
    {u"0102", u"Warning", u"Power trouble"},
    {u"0103", u"Warning", u"Over Heat"},
    {u"2C04", u"SLEEP OFF", u""},
    {u"2C03", u"SLEEP 30min.", u""},
    {u"2C02", u"SLEEP 60min.", u""},
    {u"2C01", u"SLEEP 90min.", u""},
    {u"2C00", u"SLEEP 120min.", u""},
    {u"2000", u"POWER OFF", u""},
};

struct InputModeRow
{
    QStringView code;
    int mode;
    QStringView text;
};

constexpr InputModeRow kInputModeRows[] = {
    {u"2200", 1, u"AUTO"},    {u"2201", 4, u"D.D. RF"}, {u"2202", 5, u"DTS"},
    {u"2203", 2, u"DIGITAL"}, {u"2204", 3, u"ANALOG"},
};

} // namespace

namespace ReportTables {

int inputFromReportDigit(QChar c)
{
    switch (c.unicode()) {
    case u'0':
        return 13;
    case u'1':
        return 12;
    case u'2':
        return 11;
    case u'3':
        return 10;
    case u'4':
        return 9;
    case u'5':
        return 8;
    case u'6':
        return 1;
    case u'7':
        return 2;
    case u'8':
        return 3;
    case u'9':
        return 4;
    case u'A':
        return 5;
    case u'B':
        return 6;
    case u'C':
        return 7;
    default:
        return 0;
    }
}

int inputFromBlockDigit(int digit)
{
    return digit > 5 ? digit - 5 : 13 - digit;
}

std::optional<DisplayText> displayText(QStringView codeAndData)
{
    for (const DisplayRow &row : kDisplayRows)
        if (codeAndData == row.code)
            return DisplayText {row.line1.toString(), row.line2.toString()};
    return std::nullopt;
}

std::optional<InputModeReport> inputMode(QStringView codeAndData)
{
    for (const InputModeRow &row : kInputModeRows)
        if (codeAndData == row.code)
            return InputModeReport {row.mode, row.text.toString()};
    return std::nullopt;
}

} // namespace ReportTables
