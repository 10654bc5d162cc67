// Global keys from the desktop portal, against a stand-in portal on a private session bus:
// the wanted keys are bound with a description and their media key as the preferred
// trigger, an activation is one press however long it is held, and a change of the wanted
// keys replaces the binding. A portal that does not answer, refuses or goes away is told
// once, and the keys are bound again when a portal is back.

#include "platform/PortalKeyState.h"
#include "tests/support/PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QTest>

namespace {
constexpr int kAllKeys[] = {173, 174, 175, 176, 177, 178, 179};
const QString kStandIn = QStringLiteral("org.freedesktop.portal.Desktop");
} // namespace

class tst_PortalKeyState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void presses_data();
    void presses();
    void bindingFollowsTheWantedKeys();
    void troubleIsToldOnceAndTheKeysComeBack_data();
    void troubleIsToldOnceAndTheKeysComeBack();

private:
    bool startPortal(const QStringList &arguments);
    bool stopPortal();
    // "trigger" → "id|description" of the shortcuts bound now.
    QMap<QString, QStringList> bound();
    void activate(const QString &trigger, bool down);

    PrivateBus m_bus;
    QProcess m_portal;
    QString m_skip;
};

void tst_PortalKeyState::initTestCase()
{
    if (!m_bus.start()) {
        m_skip = m_bus.errorString();
        return;
    }
    m_portal.setProcessEnvironment(m_bus.environment());
    QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("test"));
    QVERIFY(startPortal({}));
}

bool tst_PortalKeyState::startPortal(const QStringList &arguments)
{
    m_portal.start(qEnvironmentVariable("ORVANE_BUILD_DIR")
                       + QStringLiteral("/tests/orvane-portal-standin"),
                   arguments);
    return m_portal.waitForStarted(5000) && QTest::qWaitFor([] {
        return QDBusConnection(QStringLiteral("test")).interface()->isServiceRegistered(kStandIn);
    });
}

bool tst_PortalKeyState::stopPortal()
{
    m_portal.kill();
    m_portal.waitForFinished(3000);
    return QTest::qWaitFor([] {
        return !QDBusConnection(QStringLiteral("test")).interface()->isServiceRegistered(kStandIn);
    });
}

void tst_PortalKeyState::cleanupTestCase()
{
    m_portal.kill();
    m_portal.waitForFinished(3000);
    QDBusConnection::disconnectFromBus(QStringLiteral("test"));
}

QMap<QString, QStringList> tst_PortalKeyState::bound()
{
    QDBusInterface control(kStandIn, QStringLiteral("/standin"),
                           QStringLiteral("org.orvane.test.PortalStandIn"),
                           QDBusConnection(QStringLiteral("test")));
    const QDBusReply<QStringList> reply = control.call(QStringLiteral("Bound"));
    QMap<QString, QStringList> triggers;
    for (const QString &line : reply.value()) {
        const QStringList fields = line.split(QLatin1Char('|')); // session, id, text, trigger
        triggers.insert(fields.value(3), {fields.value(1), fields.value(2)});
    }
    return triggers;
}

void tst_PortalKeyState::activate(const QString &trigger, bool down)
{
    QDBusInterface control(kStandIn, QStringLiteral("/standin"),
                           QStringLiteral("org.orvane.test.PortalStandIn"),
                           QDBusConnection(QStringLiteral("test")));
    control.call(QStringLiteral("Activate"), bound().value(trigger).value(0), down);
}

void tst_PortalKeyState::presses_data()
{
    QTest::addColumn<QList<int>>("wanted");
    QTest::addColumn<QStringList>("triggers"); // bound, in the order of `wanted`
    QTest::addColumn<QStringList>("activations"); // "+" down, "-" up, then the trigger
    QTest::addColumn<QList<int>>("pressed");

    const QStringList triggers {"XF86AudioMute", "XF86AudioLowerVolume", "XF86AudioRaiseVolume",
                                "XF86AudioNext", "XF86AudioPrev",        "XF86AudioStop",
                                "XF86AudioPlay"};
    for (int i = 0; i < 7; ++i)
        QTest::addRow("%s", qPrintable(triggers[i]))
            << QList<int> {kAllKeys[i]} << QStringList {triggers[i]}
            << QStringList {"+" + triggers[i], "-" + triggers[i]} << QList<int> {kAllKeys[i]};
    QTest::newRow("the receiver's keys only")
        << QList<int> {173, 174, 175} << triggers.mid(0, 3) << QStringList {"+XF86AudioLowerVolume"}
        << QList<int> {174};
    QTest::newRow("a held key is one press")
        << QList<int> {176} << QStringList {"XF86AudioNext"}
        << QStringList {"+XF86AudioNext", "+XF86AudioNext", "+XF86AudioNext", "-XF86AudioNext"}
        << QList<int> {176};
}

void tst_PortalKeyState::presses()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    QFETCH(QList<int>, wanted);
    QFETCH(QStringList, triggers);
    QFETCH(QStringList, activations);
    QFETCH(QList<int>, pressed);

    PortalKeyState keys(QDBusConnection(QStringLiteral("test")));
    int reports = 0;
    keys.setWantedKeys(wanted);
    QVERIFY(keys.watch([&reports] { ++reports; }));
    QTRY_COMPARE(keys.boundKeys().size(), wanted.size());
    const QMap<QString, QStringList> shortcuts = bound();
    QCOMPARE(shortcuts.size(), triggers.size());
    for (const QString &trigger : triggers)
        QVERIFY2(!shortcuts.value(trigger).value(1).isEmpty(), qPrintable(trigger)); // described

    for (const QString &activation : activations)
        activate(activation.mid(1), activation.startsWith(QLatin1Char('+')));
    QTRY_COMPARE(reports, 1);
    for (int key : kAllKeys)
        QVERIFY2(keys.wentDown(key) == pressed.contains(key), qPrintable(QString::number(key)));
    for (int key : kAllKeys)
        QVERIFY(!keys.wentDown(key)); // each press is read once
    keys.watch(nullptr);
    QTRY_VERIFY(bound().isEmpty()); // the session is closed
}

void tst_PortalKeyState::bindingFollowsTheWantedKeys()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    PortalKeyState keys(QDBusConnection(QStringLiteral("test")));
    int reports = 0;
    keys.setWantedKeys({175});
    QVERIFY(keys.watch([&reports] { ++reports; }));
    QTRY_COMPARE(bound().keys(), QStringList {"XF86AudioRaiseVolume"});
    // Changed twice before the portal answers: the last set is bound, in a fresh session.
    keys.setWantedKeys({173, 179});
    keys.setWantedKeys({176});
    QTRY_COMPARE(bound().keys(), QStringList {"XF86AudioNext"});
    QTRY_COMPARE(keys.boundKeys(), QSet<int> {176});
    activate(QStringLiteral("XF86AudioNext"), true);
    QTRY_COMPARE(reports, 1);
    QVERIFY(keys.wentDown(176));
}

void tst_PortalKeyState::troubleIsToldOnceAndTheKeysComeBack_data()
{
    QTest::addColumn<QStringList>("portal"); // how the portal fails; none: it ends
    QTest::addColumn<QString>("told");
    QTest::newRow("no answer to CreateSession")
        << QStringList {"--silent-create"}
        << "did not answer the request for a session within 0.2 seconds";
    QTest::newRow("BindShortcuts refused")
        << QStringList {"--bind-response", "2"} << "refused to bind them (response 2)";
    QTest::newRow("cancelled in the dialog")
        << QStringList {"--bind-response", "1"} << "cancelled in the desktop's dialog";
    QTest::newRow("portal ends mid-session") << QStringList {} << "went away";
}

void tst_PortalKeyState::troubleIsToldOnceAndTheKeysComeBack()
{
    if (!m_skip.isEmpty())
        QSKIP(qPrintable(m_skip));
    QFETCH(QStringList, portal);
    QFETCH(QString, told);
    QVERIFY(stopPortal());
    QVERIFY(startPortal(portal));

    PortalKeyState keys(QDBusConnection(QStringLiteral("test")));
    keys.setSessionAnswerWait(std::chrono::milliseconds(200));
    QStringList notices;
    keys.whenNotice([&notices](const QString &text) { notices << text; });
    keys.setWantedKeys({175});
    QVERIFY(keys.watch([] {}));
    if (portal.isEmpty()) {
        QTRY_COMPARE(keys.boundKeys(), QSet<int> {175});
        QVERIFY(stopPortal());
    }
    QTRY_COMPARE(notices.size(), 1);
    QVERIFY2(notices.at(0).contains(told), qPrintable(notices.at(0)));
    QVERIFY(keys.boundKeys().isEmpty());

    // The faulty portal ends too: the keys were off already, nothing more is told. A
    // sound portal that starts gets the keys bound again, and that is told.
    QVERIFY(stopPortal());
    QVERIFY(startPortal({}));
    QTRY_COMPARE(keys.boundKeys(), QSet<int> {175});
    QCOMPARE(bound().keys(), QStringList {"XF86AudioRaiseVolume"});
    QCOMPARE(notices.size(), 2);
    QVERIFY2(notices.at(1).contains(QStringLiteral("bound")), qPrintable(notices.at(1)));
}

QTEST_GUILESS_MAIN(tst_PortalKeyState)
#include "tst_portalkeystate.moc"
