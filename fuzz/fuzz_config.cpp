// The configuration file with arbitrary content: loading it must not crash (values that
// name no menu item are reported, as for a hand-edited file), and what the program saves
// from it must load back to the same menu state.

#include "platform/QSettingsStore.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace {
void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Reads the file afresh on every load: each run gets a new store on a new file.
class SwitchingStore : public SettingsStore
{
public:
    void use(const QString &path) { m_store = std::make_unique<QSettingsStore>(path); }
    Pairs readSection(const QString &section) override { return m_store->readSection(section); }
    QString readValue(const QString &section, const QString &key) override
    {
        return m_store->readValue(section, key);
    }
    void writeValue(const QString &section, const QString &key, const QString &value) override
    {
        m_store->writeValue(section, key, value);
    }
    QString flush() override { return m_store->flush(); }

private:
    std::unique_ptr<QSettingsStore> m_store;
};

// Every checkable menu item the configuration sets, and the shell command.
QString menuState(const Form_ControlCenter &form)
{
    QString state;
    for (const QAction *action : form.findChildren<QAction *>())
        if (action->isCheckable())
            state += action->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    for (int index : MainWindowFixture::controls(form).Menu_Extras_61_ES.indices())
        state += QLatin1Char('|') + MainWindowFixture::controls(form).Menu_Extras_61_ES(index)->data().toString();
    return state;
}

QTemporaryDir *g_folder = nullptr;
SwitchingStore *g_store = nullptr;
MainWindowFixture *g_fixture = nullptr;
int g_run = 0;
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    g_folder = new QTemporaryDir();
    g_store = new SwitchingStore();
    g_store->use(g_folder->filePath(QStringLiteral("start.conf")));
    g_fixture = new MainWindowFixture({}, nullptr, g_store);
    // The window goes before the application object does when the run ends.
    std::atexit([] {
        delete g_fixture;
        g_fixture = nullptr;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = g_folder->filePath(QStringLiteral("run%1.conf").arg(++g_run));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    Form_ControlCenter &form = g_fixture->w();
    g_store->use(path);
    inside(form).LoadConfig();
    const QString loaded = menuState(form);

    inside(form).SaveConfig();
    g_store->use(path);
    inside(form).LoadConfig();
    check(menuState(form) == loaded);

    g_store->use(g_folder->filePath(QStringLiteral("start.conf")));
    QFile::remove(path);
    g_fixture->errors.clear();
    return 0;
}
