// The web remote against hostile HTTP on a real socket, the window on the fake port with
// the receiver connected: each request refused with its status and one log line, nothing
// sent to the receiver; the limits that count in time on the stepped clock.

#include "tests/support/MainWindowFixture.h"
#include "web/QrCode.h"
#include "web/WebRemoteDialog.h"
#include "web/WebServer.h"

#include <QLineEdit>
#include <QRandomGenerator>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebSocket>
#include <QtTest>

using namespace std::chrono_literals;

namespace {
struct Answer
{
    int status = 0;
    QByteArray head;
};

// One request on its own connection, encrypted with `tls`; the answer's status line and
// headers.
Answer exchange(quint16 port, const QByteArray &request, bool tls = false)
{
    QSslSocket socket;
    QByteArray received;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll(); });
    // The server answers in this thread: the socket is waited for with events running.
    if (tls) {
        socket.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
    } else {
        socket.connectToHost(QHostAddress::LocalHost, port);
    }
    if (!QTest::qWaitFor(
            [&] {
                return tls ? socket.isEncrypted()
                           : socket.state() == QAbstractSocket::ConnectedState;
            },
            5000))
        return {};
    socket.write(request);
    // An answer, or the connection closed without one.
    if (!QTest::qWaitFor(
            [&] {
                return received.contains("\r\n\r\n")
                    || socket.state() == QAbstractSocket::UnconnectedState;
            },
            5000))
        return {};
    Answer answer;
    answer.head = received.left(received.indexOf("\r\n\r\n"));
    answer.status = received.mid(9, 3).toInt();
    return answer;
}

QByteArray cookieOf(const Answer &answer)
{
    for (const QByteArray &line : answer.head.split('\n'))
        if (line.toLower().startsWith("set-cookie: "))
            return line.mid(12).trimmed();
    return {};
}
} // namespace

class tst_WebServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listenSettings_data();
    void listenSettings();
    void hostileRequestsSendNothing_data();
    void hostileRequestsSendNothing();
    void commandsReachThePort_data();
    void commandsReachThePort();
    void failedSignInsAMinute();
    void commandsASecondPerClient();
    void oneTimeLink();
    void sixteenClients();
    void httpsCookieIsSecure();
    void idleConnectionsAreCounted();
    void silentPagesAreLetGo();
    void dialogShowsTheLink();

private:
    QByteArray request(const QByteArray &method, const QByteArray &target, const QByteArray &fields,
                       const QByteArray &body = {}) const
    {
        return method + ' ' + target + " HTTP/1.1\r\nHost: " + host() + "\r\n" + fields
            + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
    }
    QByteArray host() const { return "127.0.0.1:" + QByteArray::number(m_server->port()); }
    QByteArray origin() const { return "Origin: http://" + host() + "\r\n"; }
    QByteArray session() const { return "Cookie: " + m_cookie + "\r\n"; }
    int post(const QByteArray &path, const QByteArray &body, bool signedIn = true)
    {
        return exchange(
                   m_server->port(),
                   request("POST", path, origin() + (signedIn ? session() : QByteArray()), body))
            .status;
    }
    QByteArray signIn()
    {
        const QByteArray body = "{\"password\":\"" + m_password.toUtf8() + "\"}";
        const Answer answer
            = exchange(m_server->port(), request("POST", "/api/signin", origin(), body));
        return answer.status == 204 ? cookieOf(answer).split(';').first() : QByteArray();
    }

    std::unique_ptr<MainWindowFixture> m_w;
    FakeSettingsStore m_settings;
    std::unique_ptr<WebServer> m_server;
    QString m_password;
    QByteArray m_cookie;
    QStringList m_log;
};

void tst_WebServer::init()
{
    m_w = std::make_unique<MainWindowFixture>();
    inside(m_w->w()).ConnectToOrvane(0);
    QVERIFY(m_w->w().host().isConnected());
    // A password of the run, never printed.
    m_password = QString::number(QRandomGenerator::global()->generate64(), 36);
    m_settings.setSection(QStringLiteral("Web"),
                          {{QStringLiteral("Listen"), QStringLiteral("127.0.0.1:0")},
                           {QStringLiteral("Password"), m_password}});
    m_server = std::make_unique<WebServer>(m_w->w().host(), &m_w->parts->link(),
                                           &m_settings, nullptr, &m_w->clock);
    connect(m_server.get(), &WebServer::logged, this,
            [this](const QString &line) { m_log << line; });
    m_server->start();
    QVERIFY(m_server->isListening());
    m_cookie = signIn();
    QVERIFY(m_cookie.startsWith(WebServer::kCookie + '='));
    m_w->port.clearWrites();
    m_log.clear();
}

void tst_WebServer::cleanup()
{
    for (const QString &line : std::as_const(m_log))
        QVERIFY2(!line.contains(m_password), "the password is in the log");
    m_server.reset();
    m_w.reset();
}

void tst_WebServer::listenSettings_data()
{
    QTest::addColumn<QString>("listen");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("usable");
    QTest::newRow("this computer, no password") << "127.0.0.1:8780"
                                                << "" << true;
    QTest::newRow("IPv6 loopback") << "[::1]:8780"
                                   << "" << true;
    QTest::newRow("home network needs a password") << "0.0.0.0:8780"
                                                   << "" << false;
    QTest::newRow("home network with a password") << "0.0.0.0:8780"
                                                  << "x" << true;
    QTest::newRow("every IPv6 address") << "[::]:8780"
                                        << "x" << true;
    QTest::newRow("IPv6 without brackets") << "::1:8780"
                                           << "" << false;
    QTest::newRow("a name, not an address") << "localhost:8780"
                                            << "" << false;
    QTest::newRow("no port") << "127.0.0.1"
                             << "" << false;
    QTest::newRow("port too high") << "127.0.0.1:65536"
                                   << "" << false;
}

void tst_WebServer::listenSettings()
{
    QFETCH(QString, listen);
    QFETCH(QString, password);
    QFETCH(bool, usable);
    WebSettings settings;
    settings.listen = listen;
    QCOMPARE(settings.problems(password).isEmpty(), usable);
}

void tst_WebServer::hostileRequestsSendNothing_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("fields"); // O the page's origin, X another, S the session,
                                            // C chunked, W a WebSocket handshake
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    const auto row = [](const char *tag, const QByteArray &method, const QByteArray &target,
                        const QByteArray &fields, const QByteArray &body, int status) {
        QTest::newRow(tag) << method << target << fields << body << status;
    };
    const QByteArray command = "/api/command";
    const QByteArray dvd = "{\"command\":\"input\",\"index\":8}";
    row("state without a session", "GET", "/api/state", "O", {}, 401);
    row("command without a session", "POST", command, "O", dvd, 401);
    row("forged session", "POST", command, "O", dvd, 401);
    row("another site's page", "POST", command, "SX", dvd, 403);
    row("no origin", "POST", command, "S", dvd, 403);
    row("body over 8 KB", "POST", command, "OS", QByteArray(8200, ' '), 413);
    row("head over 8 KB", "GET", "/" + QByteArray(8200, 'a'), "", {}, 413);
    row("body of no length", "POST", command, "OSC", dvd, 411);
    row("bad JSON", "POST", command, "OS", "{\"command\":", 400);
    row("JSON, not an object", "POST", command, "OS", "[8]", 400);
    row("unknown command", "POST", command, "OS", "{\"command\":\"raw\",\"code\":\"07AC1\"}", 422);
    row("input not offered", "POST", command, "OS", "{\"command\":\"input\",\"index\":15}", 422);
    row("index not whole", "POST", command, "OS", "{\"command\":\"input\",\"index\":8.5}", 422);
    row("switch without on", "POST", command, "OS", "{\"command\":\"mute\",\"on\":\"yes\"}", 422);
    row("volume out of range", "POST", command, "OS", "{\"command\":\"volume\",\"db\":40}", 422);
    row("path traversal", "GET", "/../../etc/passwd", "S", {}, 404);
    row("encoded traversal", "GET", "/%2e%2e/%2e%2e/etc/passwd", "S", {}, 404);
    row("resource path", "GET", "/:/web/app.js", "S", {}, 404);
    row("other method", "DELETE", command, "OS", {}, 405);
    row("WebSocket without a session", "GET", "/ws", "OW", {}, 401);
    row("WebSocket from another site", "GET", "/ws", "SXW", {}, 403);
    row("wrong sign-in link", "GET", "/signin?key=guess", "", {}, 401);
    row("empty password", "POST", "/api/signin", "O", "{\"password\":\"\"}", 401);
}

void tst_WebServer::hostileRequestsSendNothing()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, fields);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QByteArray head;
    if (fields.contains('X'))
        head += "Origin: http://evil.example\r\n";
    else if (fields.contains('O'))
        head += origin();
    if (fields.contains('S'))
        head += session();
    else if (QTest::currentDataTag() == QByteArray("forged session"))
        head
            += "Cookie: " + WebServer::kCookie + "=AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\r\n";
    if (fields.contains('C'))
        head += "Transfer-Encoding: chunked\r\n";
    if (fields.contains('W'))
        head += "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: 13\r\n"
                "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    const Answer answer = exchange(m_server->port(), request(method, target, head, body));
    QCOMPARE(answer.status, status);
    QVERIFY(answer.head.contains("Content-Security-Policy: default-src 'none'"));
    QTest::qWait(50);
    QCOMPARE(m_w->port.writtenCodes(), QStringList());
    QCOMPARE(m_log.size(), 1);
    QVERIFY2(m_log.first().startsWith(u"Web remote: refused ")
                 && m_log.first().contains(QStringLiteral("(%1)").arg(status)),
             qPrintable(m_log.first()));
}

void tst_WebServer::commandsReachThePort_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("code");
    QTest::newRow("input DVD") << QByteArray("{\"command\":\"input\",\"index\":8}") << "07AC1";
    QTest::newRow("zone-2 input CD")
        << QByteArray("{\"command\":\"zone2Input\",\"index\":12}") << "07AD1";
    QTest::newRow("speakers B on")
        << QByteArray("{\"command\":\"speakersB\",\"on\":true}") << "07EAD";
    QTest::newRow("sleep 60 min") << QByteArray("{\"command\":\"sleep\",\"minutes\":60}")
                                  << "07EB6";
    QTest::newRow("memory C") << QByteArray("{\"command\":\"memory\",\"index\":3}") << "07E77";
    QTest::newRow("volume up") << QByteArray("{\"command\":\"volumeUp\"}") << "07A1A";
}

void tst_WebServer::commandsReachThePort()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, code);
    QCOMPARE(post("/api/command", body), 204);
    QTRY_VERIFY(m_w->port.writtenCodes().contains(code));
}

void tst_WebServer::failedSignInsAMinute()
{
    const QByteArray wrong = "{\"password\":\"wrong\"}";
    for (int i = 0; i < WebServer::kFailedSignInsPerMinute; ++i)
        QCOMPARE(post("/api/signin", wrong, false), 401);
    // Then every sign-in is refused, the right password too, until the minute is over.
    QCOMPARE(post("/api/signin", wrong, false), 429);
    QVERIFY(signIn().isEmpty());
    m_w->clock.step(59s);
    QVERIFY(signIn().isEmpty());
    m_w->clock.step(1s);
    QVERIFY(!signIn().isEmpty());
}

void tst_WebServer::commandsASecondPerClient()
{
    const QByteArray up = "{\"command\":\"volumeUp\"}";
    for (int i = 0; i < WebServer::kCommandsPerSecond; ++i)
        QCOMPARE(post("/api/command", up), 204);
    QCOMPARE(post("/api/command", up), 429);
    QCOMPARE(m_w->port.writtenCodes().count(QStringLiteral("07A1A")),
             WebServer::kCommandsPerSecond);
    // Another client has its own budget; this one's refills with time.
    const QByteArray mine = m_cookie;
    m_cookie = signIn();
    QCOMPARE(post("/api/command", up), 204);
    m_cookie = mine;
    m_w->clock.step(100ms);
    QCOMPARE(post("/api/command", up), 204);
}

void tst_WebServer::oneTimeLink()
{
    const QString link = m_server->oneTimeLink();
    QVERIFY(link.startsWith(m_server->address() + QStringLiteral("signin?key=")));
    const QByteArray target
        = QUrl(link).toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).toUtf8();
    const Answer first = exchange(m_server->port(), request("GET", target, {}));
    QCOMPARE(first.status, 303);
    QVERIFY(first.head.contains("\r\nLocation: /"));
    const QByteArray cookie = cookieOf(first);
    QVERIFY(cookie.contains("; HttpOnly") && cookie.contains("; SameSite=Strict"));
    QVERIFY(!cookie.contains("Secure")); // plain HTTP here
    // Used once; a fresh one is good for a while only.
    QCOMPARE(exchange(m_server->port(), request("GET", target, {})).status, 401);
    const QString later = m_server->oneTimeLink();
    m_w->clock.step(WebServer::kLinkLifetime);
    const QByteArray laterTarget
        = QUrl(later).toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).toUtf8();
    QCOMPARE(exchange(m_server->port(), request("GET", laterTarget, {})).status, 401);
}

void tst_WebServer::sixteenClients()
{
    std::vector<std::unique_ptr<QWebSocket>> clients;
    QNetworkRequest handshake(QUrl(QStringLiteral("ws://%1/ws").arg(QString::fromLatin1(host()))));
    handshake.setRawHeader("Cookie", m_cookie);
    for (int i = 0; i < WebServer::kMostClients; ++i) {
        clients.push_back(std::make_unique<QWebSocket>(QString::fromLatin1("http://" + host())));
        clients.back()->open(handshake);
    }
    // Each has the options and the state at once (watched before any of it can arrive).
    QSignalSpy received(clients.front().get(), &QWebSocket::textMessageReceived);
    QTRY_COMPARE(m_server->clientCount(), WebServer::kMostClients);
    QVERIFY(received.count() > 0 || received.wait(2000));
    const QByteArray upgrade
        = "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
          "13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n";
    QCOMPARE(
        exchange(m_server->port(), request("GET", "/ws", origin() + session() + upgrade)).status,
        503);
    clients.pop_back();
    QTRY_COMPARE(m_server->clientCount(), WebServer::kMostClients - 1);
    QCOMPARE(
        exchange(m_server->port(), request("GET", "/ws", origin() + session() + upgrade)).status,
        101);
}

void tst_WebServer::idleConnectionsAreCounted()
{
    // Connections that never send a request hold no more than their share.
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < WebListener::kMostConnections; ++i) {
        idle.push_back(std::make_unique<QTcpSocket>());
        idle.back()->connectToHost(QHostAddress::LocalHost, m_server->port());
    }
    // Accepted while the program runs; the refusals count for nothing.
    const auto status
        = [this] { return exchange(m_server->port(), request("GET", "/", {})).status; };
    QVERIFY(QTest::qWaitFor([&] { return status() == 503; }, 5000));
    idle.clear();
    QVERIFY(QTest::qWaitFor([&] { return status() == 200; }, 5000));
}

void tst_WebServer::silentPagesAreLetGo()
{
    // A page that answers the pings, and one whose phone left the network: its handshake
    // is done, then nothing more is read or answered.
    QWebSocket alive(QString::fromLatin1("http://" + host()));
    QNetworkRequest handshake(QUrl(QStringLiteral("ws://%1/ws").arg(QString::fromLatin1(host()))));
    handshake.setRawHeader("Cookie", m_cookie);
    alive.open(handshake);
    QTcpSocket gone;
    gone.connectToHost(QHostAddress::LocalHost, m_server->port());
    QVERIFY(QTest::qWaitFor([&] { return gone.state() == QAbstractSocket::ConnectedState; }));
    gone.write(request("GET", "/ws",
                       origin() + session()
                           + "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Version: "
                             "13\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"));
    QTRY_COMPARE(m_server->clientCount(), 2);
    // Pings every interval; the live page answers each, the other stays silent.
    for (int tick = 0; tick < 4; ++tick) {
        QCOMPARE(m_server->clientCount(), 2);
        m_server->checkClients();
        QTest::qWait(300); // the answer's delivery, not a time that is measured
        m_w->clock.step(WebServer::kPingInterval);
    }
    m_server->checkClients(); // past the silence allowed
    QCOMPARE(m_server->clientCount(), 1);
    QCOMPARE(m_log.filter(u"no answer").size(), 1);
    QTRY_COMPARE(gone.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(alive.state(), QAbstractSocket::ConnectedState);
}

void tst_WebServer::httpsCookieIsSecure()
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        QSKIP("openssl is not installed (scripts/install-deps)");
    QTemporaryDir folder;
    const QString certificate = folder.filePath(QStringLiteral("web.pem"));
    const QString key = folder.filePath(QStringLiteral("web.key"));
    QProcess made;
    made.start(openssl,
               {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1", "-keyout", key, "-out",
                certificate});
    QVERIFY(made.waitForFinished(20000) && made.exitCode() == 0);
    m_settings.setSection(QStringLiteral("Web"),
                          {{QStringLiteral("Listen"), QStringLiteral("127.0.0.1:0")},
                           {QStringLiteral("Password"), m_password},
                           {QStringLiteral("Certificate"), certificate},
                           {QStringLiteral("Key"), key}});
    m_server->start();
    QVERIFY2(m_server->isListening(), qPrintable(m_server->lastProblem()));
    QVERIFY(m_server->address().startsWith(u"https://"));
    const QByteArray body = "{\"password\":\"" + m_password.toUtf8() + "\"}";
    // The page's origin is the https one now.
    QCOMPARE(
        exchange(m_server->port(), request("POST", "/api/signin", origin(), body), true).status,
        403);
    const Answer answer = exchange(
        m_server->port(),
        request("POST", "/api/signin", "Origin: https://" + host() + "\r\n", body), true);
    QCOMPARE(answer.status, 204);
    QVERIFY(cookieOf(answer).endsWith("; Secure"));
    QCOMPARE(exchange(m_server->port(), request("GET", "/", {})).status, 0); // no plain HTTP
}

void tst_WebServer::dialogShowsTheLink()
{
    WebRemoteDialog dialog(&m_settings, nullptr, &m_w->dialogs, m_server.get());
    QVERIFY(dialog.addressText().contains(m_server->address()));
    QVERIFY(!dialog.qrLabel()->pixmap().isNull());
    QVERIFY(!qrCodeImage(dialog.linkText()).isNull());
    // The link the code holds signs in once.
    const QByteArray target
        = QUrl(dialog.linkText()).toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).toUtf8();
    QCOMPARE(exchange(m_server->port(), request("GET", target, {})).status, 303);
    // The home network without a password is not saved.
    m_settings.setSection(QStringLiteral("Web"), {});
    WebRemoteDialog editing(&m_settings, nullptr, &m_w->dialogs, nullptr);
    editing.listenEdit()->setText(QStringLiteral("0.0.0.0:8780"));
    editing.save();
    QCOMPARE(editing.result(), int(QDialog::Rejected));
    QCOMPARE(m_w->dialogs.messages().size(), 1);
    QVERIFY(m_settings.readValue(QStringLiteral("Web"), QStringLiteral("Listen")).isEmpty());
    // With a password typed it is; without a secret store the password goes to the file.
    QSignalSpy saved(&editing, &WebRemoteDialog::saved);
    QTest::keyClicks(editing.passwordEdit(), QStringLiteral("pa55"));
    editing.save();
    QCOMPARE(editing.result(), int(QDialog::Accepted));
    QCOMPARE(saved.size(), 1);
    QVERIFY(!m_settings.hasUnflushedWrites());
    QCOMPARE(m_settings.readValue(QStringLiteral("Web"), QStringLiteral("Listen")), "0.0.0.0:8780");
    QCOMPARE(m_settings.readValue(QStringLiteral("Web"), QStringLiteral("Password")), "pa55");
}

QTEST_MAIN(tst_WebServer)
#include "tst_web_server.moc"
