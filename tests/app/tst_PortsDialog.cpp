// The port dialog over a fake device list and settings store: what it lists, what it
// writes to [Ports], the entries it refuses, and the hint for devices the user may not
// open.

#include "app/PortsDialog.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeUserDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QLineEdit>
#include <QTest>

namespace {
class FakeSerialPortList : public SerialPortList
{
public:
    QList<Device> devices() override { return list; }
    QList<Device> list;
};

const QString kAdapter = QStringLiteral("/dev/serial/by-id/usb-Maker_USB_Serial_A1-if00-port0");
} // namespace

class tst_PortsDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void listsDevicesWithDescriptionAndMaker();
    void writesPorts_data();
    void writesPorts();
    void refusesBadNames_data();
    void refusesBadNames();
    void deviceWithoutPermission_data();
    void deviceWithoutPermission();
    void refreshKeepsEntries();
    void setupMenuOpensTheDialog();

private:
    FakeSerialPortList m_list;
    FakeSettingsStore m_settings;
    FakeUserDialogs m_dialogs;
};

void tst_PortsDialog::init()
{
    m_list.list = {
        {kAdapter, "/dev/ttyUSB0", "USB Serial", "Maker Inc", true},
        {"/dev/ttyS0", "/dev/ttyS0", "", "", true},
    };
    m_settings = FakeSettingsStore();
    m_dialogs = FakeUserDialogs();
}

void tst_PortsDialog::listsDevicesWithDescriptionAndMaker()
{
    m_settings.setSection("Ports", {{"Com2", "tcp://bridge:4001"}});
    PortsDialog dialog(&m_list, &m_settings, &m_dialogs);
    QComboBox *com1 = dialog.portEdit(1);
    QCOMPARE(com1->count(), 2);
    QCOMPARE(com1->itemText(0), "/dev/serial/by-id/usb-Maker_USB_Serial_A1-if00-port0  (USB "
                                "Serial, Maker Inc)");
    QCOMPARE(com1->itemText(1), "/dev/ttyS0");
    // Stored entries come back; an unset port is empty with its default as a hint.
    QCOMPARE(dialog.portName(2), "tcp://bridge:4001");
    QCOMPARE(dialog.portName(3), "");
    QCOMPARE(dialog.portEdit(3)->lineEdit()->placeholderText(), "/dev/ttyS2");
}

void tst_PortsDialog::writesPorts_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("entered"); // "#n": choose listed device n
    QTest::addColumn<QString>("stored");

    QTest::newRow("listed USB adapter by its by-id name") << 1 << "#0" << kAdapter;
    QTest::newRow("typed device path") << 3 << "/dev/ttyACM0" << "/dev/ttyACM0";
    QTest::newRow("network address, plain form") << 2 << " TCP://Bridge.local:4001 "
                                                 << "tcp://bridge.local:4001";
    QTest::newRow("emptied: default device") << 5 << "" << "";
}

void tst_PortsDialog::writesPorts()
{
    QFETCH(int, port);
    QFETCH(QString, entered);
    QFETCH(QString, stored);

    m_settings.setSection("Ports", {{"Com5", "/dev/ttyUSB9"}});
    PortsDialog dialog(&m_list, &m_settings, &m_dialogs);
    if (entered.startsWith('#'))
        dialog.portEdit(port)->setCurrentIndex(entered.mid(1).toInt());
    else
        dialog.portEdit(port)->setEditText(entered);
    dialog.accept();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(m_dialogs.messages().isEmpty());
    QVERIFY(!m_settings.hasUnflushedWrites());
    QCOMPARE(m_settings.readValue("Ports", QStringLiteral("Com%1").arg(port)), stored);
}

void tst_PortsDialog::refusesBadNames_data()
{
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("message");

    QTest::newRow("address without port")
        << "tcp://bridge" << "Com 4: \"tcp://bridge\" is not a valid network address.";
    QTest::newRow("port out of range")
        << "tcp://bridge:70000" << "Com 4: \"tcp://bridge:70000\" is not a valid network address.";
    QTest::newRow("neither device nor address")
        << "COM1" << "Com 4: \"COM1\" is neither a device path";
}

void tst_PortsDialog::refusesBadNames()
{
    QFETCH(QString, entered);
    QFETCH(QString, message);

    PortsDialog dialog(&m_list, &m_settings, &m_dialogs);
    dialog.portEdit(4)->setEditText(entered);
    dialog.accept();

    QVERIFY(dialog.result() != int(QDialog::Accepted));
    QCOMPARE(m_dialogs.messages().size(), 1);
    QVERIFY2(m_dialogs.messages().first().text.startsWith(message),
             qPrintable(m_dialogs.messages().first().text));
    QCOMPARE(m_settings.flushCount(), 0);
    QVERIFY(m_settings.readSection("Ports").isEmpty());
}

void tst_PortsDialog::deviceWithoutPermission_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("permissions");
    QTest::addColumn<QString>("advice");

    const int ownerRw = int(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const int groupRw = int(QFileDevice::ReadGroup | QFileDevice::WriteGroup);
    QTest::newRow("group may read and write")
        << "dialout" << (ownerRw | groupRw) << "Add it to the group \"dialout\"";
    // Joining a group that may not use the device would not help.
    QTest::newRow("only the owner may") << "root" << ownerRw << "Only its owner, root, may";
    QTest::newRow("group may only read")
        << "uucp" << (ownerRw | int(QFileDevice::ReadGroup)) << "give it to the group \"dialout\"";
}

void tst_PortsDialog::deviceWithoutPermission()
{
    QFETCH(QString, group);
    QFETCH(int, permissions);
    QFETCH(QString, advice);

    m_list.list[0].accessible = false;
    m_list.list[0].owner = "root";
    m_list.list[0].group = group;
    m_list.list[0].permissions = QFileDevice::Permissions(permissions);
    PortsDialog dialog(&m_list, &m_settings, &m_dialogs);
    QCOMPARE(dialog.note(), QString());
    dialog.portEdit(2)->setCurrentIndex(0);
    QVERIFY2(dialog.note().startsWith("Com 2: Cannot open /dev/ttyUSB0: permission denied."),
             qPrintable(dialog.note()));
    QVERIFY2(dialog.note().contains(advice), qPrintable(dialog.note()));
    if (group != "dialout")
        QVERIFY(!dialog.note().contains(QStringLiteral("group \"%1\"").arg(group)));
}

void tst_PortsDialog::refreshKeepsEntries()
{
    m_list.list.clear();
    PortsDialog dialog(&m_list, &m_settings, &m_dialogs);
    QCOMPARE(dialog.note(), "No serial devices found.");
    dialog.portEdit(1)->setEditText("tcp://10.0.0.5:23");

    // An adapter plugged in meanwhile shows up; what was typed stays.
    m_list.list = {{kAdapter, "/dev/ttyUSB0", "USB Serial", "Maker Inc", true}};
    dialog.refresh();
    QCOMPARE(dialog.portEdit(1)->count(), 1);
    QCOMPARE(dialog.portName(1), "tcp://10.0.0.5:23");
    QCOMPARE(dialog.note(), QString());
}

void tst_PortsDialog::setupMenuOpensTheDialog()
{
    MainWindowFixture fixture;
    MainWindowControls &controls = ui(*fixture.window);
    QVERIFY(controls.Menu_Setup->actions().contains(controls.Menu_Setup_Ports));
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<PortsDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        dialog->portEdit(1)->setEditText("tcp://127.0.0.1:4001");
        dialog->accept();
    });
    controls.Menu_Setup_Ports->trigger();
    QVERIFY(seen);
    QCOMPARE(fixture.settings.readValue("Ports", "Com1"), "tcp://127.0.0.1:4001");
}

QTEST_MAIN(tst_PortsDialog)
#include "tst_PortsDialog.moc"
