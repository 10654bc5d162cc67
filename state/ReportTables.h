#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The receiver's report codes as the main window shows them. Codes are the report
// body from its third character: two characters of code and two of data.
namespace ReportTables {

// Input index shown by an input report's last character: "0" PHONO … "5" DVD, "6" LD …
// "C" V-AUX; 0 for any other character (CD-R has no code).
int inputFromReportDigit(QChar c);

// The receiver numbers its sources 0 (PHONO) to C (V-AUX) in the configuration block; the
// input panel numbers them from LD (1). Digits above C count on by the same rule.
int inputFromBlockDigit(int digit);

// Reports that only put a text on the display.
struct DisplayText
{
    QString line1;
    QString line2;
};
std::optional<DisplayText> displayText(QStringView codeAndData);

// Input-mode reports: the mode button (1 to 5) and the text for the second line.
struct InputModeReport
{
    int mode;
    QString text;
};
std::optional<InputModeReport> inputMode(QStringView codeAndData);

} // namespace ReportTables
