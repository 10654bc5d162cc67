// The real program on a headless Wayland compositor, connected to the virtual receiver:
// with a desktop portal (the tests' stand-in) a bound media key reaches the receiver;
// without one the program runs on and says once that only the focused window's keys work.

#include "tests/support/WaylandSession.h"

#include <QTest>

class tst_E2eWayland : public QObject
{
    Q_OBJECT
private slots:
    void mediaKeys_data();
    void mediaKeys();
};

void tst_E2eWayland::mediaKeys_data()
{
    QTest::addColumn<bool>("portal");
    QTest::newRow("with the portal") << true;
    QTest::newRow("without a portal") << false;
}

void tst_E2eWayland::mediaKeys()
{
    QFETCH(bool, portal);
    if (const QString missing = WaylandSession::missing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    WaylandSession session;
    QVERIFY2(session.start(portal), qPrintable(session.errorString()));

    const QString notice = QStringLiteral("Global keys are unavailable on this desktop");
    QString errors;
    if (portal) {
        QString volumeUp;
        QTRY_VERIFY_WITH_TIMEOUT(
            !(volumeUp = session.boundShortcut(QStringLiteral("XF86AudioRaiseVolume"))).isEmpty(),
            10000);
        const int before = session.receiver().log().count(QStringLiteral("07A1A"));
        session.activate(volumeUp, true);
        session.activate(volumeUp, false);
        QTRY_COMPARE(session.receiver().log().count(QStringLiteral("07A1A")), before + 1);
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(
            (errors += session.program().readAllStandardError()).contains(notice), 10000);
    }
    QTest::qWait(500);
    errors += session.program().readAllStandardError();
    QCOMPARE(errors.count(notice), portal ? 0 : 1);
    QCOMPARE(session.program().state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(tst_E2eWayland)
#include "tst_e2e_wayland.moc"
