// What every serial port of the program does alike, run against the fake and against
// the real one on a pseudo-terminal: opening an open port, using a closed one, and the
// error numbers raised.

#include "platform/QtSerialPort.h"
#include "platform/SerialPortError.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/PseudoTerminal.h"

#include <QTest>
#include <functional>
#include <memory>

namespace {

// One port under test. COM 1 can be opened; COM 2 names no device.
struct PortUnderTest
{
    virtual ~PortUnderTest() = default;
    virtual SerialPort &port() = 0;
};

struct FakePort : PortUnderTest
{
    // The fake cannot tell port numbers apart: COM 2 fails by being told to.
    class Port : public FakeSerialPort
    {
    public:
        void open(int portNumber) override
        {
            setOpenFailure(portNumber == 2, SerialPortError::kPortError,
                           QStringLiteral("Cannot open COM 2"));
            FakeSerialPort::open(portNumber);
        }
    };
    Port fake;
    SerialPort &port() override { return fake; }
};

struct RealPort : PortUnderTest
{
    RealPort()
    {
        if (pty.isValid())
            settings.setSection(QStringLiteral("Ports"),
                                {{QStringLiteral("Com1"), pty.slavePath()},
                                 {QStringLiteral("Com2"), QStringLiteral("/nonexistent/ttyX")}});
        real = std::make_unique<QtSerialPort>(&settings);
    }
    ~RealPort() override { real.reset(); }
    SerialPort &port() override { return *real; }

    PseudoTerminal pty;
    FakeSettingsStore settings;
    std::unique_ptr<QtSerialPort> real;
};

using Steps = std::function<void(SerialPort &)>;

// The error number the steps raise, 0 when none.
int errorOf(const Steps &steps, SerialPort &port)
{
    try {
        steps(port);
    } catch (const SerialPortError &error) {
        return error.number();
    }
    return 0;
}

} // namespace

Q_DECLARE_METATYPE(Steps)

class tst_SerialPort : public QObject
{
    Q_OBJECT
private slots:
    void sharedBehaviour_data();
    void sharedBehaviour();
};

void tst_SerialPort::sharedBehaviour_data()
{
    QTest::addColumn<bool>("real");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("openAfter");

    const struct
    {
        const char *name;
        Steps steps;
        int error;
        bool openAfter;
    } rows[] = {
        {"open", [](SerialPort &p) { p.open(1); }, 0, true},
        {"open twice: refused, still open",
         [](SerialPort &p) {
             p.open(1);
             p.open(1);
         },
         SerialPortError::kPortAlreadyOpen, true},
        {"open a device that is not there", [](SerialPort &p) { p.open(2); },
         SerialPortError::kPortError, false},
        {"write to a port never opened",
         [](SerialPort &p) {
             p.write("\x02"
                     "07A15\x03");
         },
         SerialPortError::kPortNotOpen, false},
        {"write after close",
         [](SerialPort &p) {
             p.open(1);
             p.close();
             p.write("\x02"
                     "07A15\x03");
         },
         SerialPortError::kPortNotOpen, false},
        {"close twice, reopen",
         [](SerialPort &p) {
             p.open(1);
             p.close();
             p.close();
             p.open(1);
         },
         0, true},
        {"a closed port has nothing waiting",
         [](SerialPort &p) {
             if (p.bytesWaiting() != 0 || !p.readAll().isEmpty())
                 throw SerialPortError(-1, QStringLiteral("read from a closed port"));
         },
         0, false},
    };
    for (bool real : {false, true})
        for (const auto &row : rows)
            QTest::addRow("%s: %s", real ? "real" : "fake", row.name)
                << real << row.steps << row.error << row.openAfter;
}

void tst_SerialPort::sharedBehaviour()
{
    QFETCH(bool, real);
    QFETCH(Steps, steps);
    QFETCH(int, error);
    QFETCH(bool, openAfter);

    std::unique_ptr<PortUnderTest> under;
    if (real) {
        auto pty = std::make_unique<RealPort>();
        if (!pty->pty.isValid())
            QSKIP("no pseudo-terminal available");
        under = std::move(pty);
    } else {
        under = std::make_unique<FakePort>();
    }
    QCOMPARE(errorOf(steps, under->port()), error);
    QCOMPARE(under->port().isOpen(), openAfter);
}

QTEST_MAIN(tst_SerialPort)
#include "tst_SerialPort.moc"
