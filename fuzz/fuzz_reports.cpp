// Report evaluation and the settings snapshot on arbitrary input, on the main window built
// on fakes. Whatever the line delivers, evaluation must neither crash nor raise the error
// box, and must leave the echo guard cleared.
//
// Input: one mode byte, then the text. Mode bits 0-1: 0 report bodies separated by '\n',
// 1 raw line text cut into bodies as the poll does, 2 a configuration block (bit 2 adds the
// DC2 ... ETX frame around it), 3 the same block and then report bodies. Bit 3 turns zone-2
// mode on, bits 4-6 check the three 6.1/ES key options.

#include "link/FrameCutter.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <cstdlib>

namespace {
MainWindowFixture *g_fixture = nullptr;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void evaluate(Form_ControlCenter &form, const QStringList &bodies)
{
    for (const QString &body : bodies) {
        // Shows each report without the display pause, which would only slow the run.
        MainWindowFixture::controls(form).ReportPauseTaken = true;
        inside(form).DatenAuswerten(body);
        check(!MainWindowFixture::controls(form).UpdatingFromReceiver);
    }
}

void snapshot(Form_ControlCenter &form, const QString &received)
{
    const QString block = ReceiverLink::fixSettingsQuirk(received);
    form.SetOrvaneSettings(block);
    MainWindowFixture::setInputButtonVisible(form, block.mid(1, 5));
    inside(form).SetSettings();
    check(!MainWindowFixture::controls(form).UpdatingFromReceiver);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    g_fixture = new MainWindowFixture();
    // The window goes before the application object does when the run ends.
    std::atexit([] {
        delete g_fixture;
        g_fixture = nullptr;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t mode = data[0];
    const QString text = QString::fromLatin1(reinterpret_cast<const char *>(data + 1),
                                             qsizetype(size - 1));
    Form_ControlCenter &form = g_fixture->w();
    MainWindowFixture::controls(form).Menu_Mode_Zone2->setChecked(mode & 0x08);
    for (int option = 1; option <= 3; ++option)
        MainWindowFixture::controls(form).Menu_Extras_61_ES(option)->setChecked(mode & (0x08 << option));

    switch (mode & 0x03) {
    case 0:
        evaluate(form, text.split(QLatin1Char('\n')));
        break;
    case 1: {
        FrameCutter cutter;
        evaluate(form, cutter.cut(text));
        break;
    }
    default: {
        const qsizetype end = (mode & 0x03) == 3 ? text.indexOf(QLatin1Char('\n')) : -1;
        QString block = end < 0 ? text : text.left(end);
        if (mode & 0x04)
            block = QChar(18) + block + QChar(3);
        snapshot(form, block);
        if (end >= 0)
            evaluate(form, text.mid(end + 1).split(QLatin1Char('\n')));
        break;
    }
    }
    check(g_fixture->errors.isEmpty());
    return 0;
}
