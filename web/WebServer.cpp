#include "web/WebServer.h"

#include "link/ReceiverLink.h"
#include "link/ReceiverModels.h"
#include "link/ReceiverVocabulary.h"
#include "platform/Clock.h"
#include "platform/SettingsStore.h"
#include "platform/StoredPassword.h"
#include "program/PrintableText.h"
#include "program/ProgramEvents.h"
#include "state/VolumeText.h"
#include "web/WebHttpServer.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QSslCertificate>
#include <QSslKey>
#include <QUrlQuery>
#include <QWebSocket>
#include <cmath>
#include <cstdio>
#include <functional>

using namespace std::chrono_literals;
namespace Vocabulary = ReceiverVocabulary;
using Status = QHttpServerResponse::StatusCode;

namespace {
constexpr std::chrono::milliseconds kSecretWait {5000};
constexpr std::chrono::seconds kFailureWindow {60};
// Sessions beyond this many push out the one unused longest.
constexpr int kMostSessions = 64;
// A WebSocket only listens; what a page sends on it is never more than this.
constexpr qint64 kLongestFrame = 1024;
constexpr qsizetype kShownLength = 80;
// A page that has this much of the state not yet taken off the socket is not reading: it
// is let go rather than held in memory.
constexpr qint64 kMostUnsent = 256 * 1024;

// The page's files, compiled in: the only files the remote serves.
struct PageFile
{
    const char *path;
    const char *resource;
    const char *type;
};
constexpr PageFile kPageFiles[] = {
    {"/", ":/web/index.html", "text/html; charset=utf-8"},
    {"/app.js", ":/web/app.js", "text/javascript; charset=utf-8"},
    {"/style.css", ":/web/style.css", "text/css; charset=utf-8"},
    {"/icon.svg", ":/web/icon.svg", "image/svg+xml"},
};

QString shown(const QString &text)
{
    const QString printable = printableText(text);
    return printable.size() > kShownLength ? printable.left(kShownLength) + QStringLiteral("...")
                                           : printable;
}

// A request target as a log shows it: the path, never the query (a one-time key).
QString shownTarget(const QByteArray &method, const QByteArray &target)
{
    const qsizetype query = target.indexOf('?');
    return QString::fromLatin1(method) + QLatin1Char(' ')
        + shown(QString::fromUtf8(query < 0 ? target : target.left(query)));
}

// Equal texts take as long to compare as unequal ones.
bool sameSecret(const QByteArray &a, const QByteArray &b)
{
    const QByteArray x = QCryptographicHash::hash(a, QCryptographicHash::Sha256);
    const QByteArray y = QCryptographicHash::hash(b, QCryptographicHash::Sha256);
    unsigned char difference = 0;
    for (qsizetype i = 0; i < x.size(); ++i)
        difference |= static_cast<unsigned char>(x[i] ^ y[i]);
    return difference == 0;
}

QByteArray randomKey()
{
    quint32 words[8];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char *>(words), sizeof words)
        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

QString readable(const QString &line)
{
    QString text = line;
    text.replace(QChar(0x7F), QChar(0x2588));
    return printableText(text).trimmed();
}

QByteArray reasonOf(int status)
{
    switch (status) {
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 429:
        return "Too Many Requests";
    case 503:
        return "Service Unavailable";
    default:
        return "Error";
    }
}

QJsonValue onOff(int value)
{
    return value < 0 ? QJsonValue() : QJsonValue(value != 0);
}

std::optional<Vocabulary::Switch> switchNamed(const QString &name)
{
    using Switch = Vocabulary::Switch;
    static const QHash<QString, Switch> switches {
        {QStringLiteral("power"), Switch::Power},
        {QStringLiteral("mute"), Switch::MainMute},
        {QStringLiteral("zone2Mute"), Switch::Zone2Mute},
        {QStringLiteral("speakersA"), Switch::SpeakersA},
        {QStringLiteral("speakersB"), Switch::SpeakersB},
        {QStringLiteral("sixChInput"), Switch::SixChInput},
        {QStringLiteral("es61"), Switch::Es61},
    };
    const auto found = switches.constFind(name);
    return found == switches.constEnd() ? std::nullopt : std::optional<Switch>(*found);
}

std::optional<QSslConfiguration> tlsOf(const WebSettings &settings, QString *error)
{
    if (!settings.tls())
        return std::nullopt;
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(settings.certificate);
    QFile keyFile(settings.key);
    QSslKey key;
    if (keyFile.open(QIODevice::ReadOnly)) {
        const QByteArray pem = keyFile.readAll();
        for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Opaque}) {
            key = QSslKey(pem, algorithm);
            if (!key.isNull())
                break;
        }
    }
    if (chain.isEmpty() || key.isNull()) {
        *error = chain.isEmpty()
            ? QStringLiteral("no certificate in \"%1\"").arg(settings.certificate)
            : QStringLiteral("no private key in \"%1\"").arg(settings.key);
        return std::nullopt;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}
} // namespace

WebServer::WebServer(ProgramHost &host, ReceiverLink *link, SettingsStore *settings,
                     SecretStore *secrets, Clock *clock, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_link(link)
    , m_settingsStore(settings)
    , m_secrets(secrets)
    , m_clock(clock)
    , m_volume(host, link, clock)
{
    Q_ASSERT(m_clock);
    m_stateDue.setSingleShot(true);
    m_stateDue.setInterval(0);
    connect(&m_stateDue, &QTimer::timeout, this, &WebServer::pushState);
    m_pingTimer.setInterval(kPingInterval);
    connect(&m_pingTimer, &QTimer::timeout, this, &WebServer::checkClients);

    ProgramEvents *events = m_host.events();
    connect(events, &ProgramEvents::receiverStatusChanged, this, [this] {
        if (!m_clients.isEmpty())
            m_stateDue.start();
    });
    connect(events, &ProgramEvents::connectedChanged, this, [this](bool connected) {
        if (connected)
            m_model = m_host.modelInformation();
        pushOptions();
        m_stateDue.start();
    });
    connect(events, &ProgramEvents::reportReceived, this, &WebServer::onReport);
    connect(events, &ProgramEvents::terminating, this, &WebServer::stop);
}

WebServer::~WebServer()
{
    stop();
}

bool WebServer::isListening() const
{
    return m_listener && m_listener->isListening();
}

quint16 WebServer::port() const
{
    return isListening() ? m_listener->serverPort() : 0;
}

QString WebServer::address() const
{
    if (!isListening())
        return {};
    QHostAddress host = m_listener->serverAddress();
    if (host == QHostAddress::AnyIPv4 || host == QHostAddress::AnyIPv6
        || host == QHostAddress::Any) {
        // The address a phone on the home network reaches: the first one not of this
        // computer alone, IPv4 before IPv6.
        QHostAddress found = QHostAddress(QHostAddress::LocalHost);
        for (const QHostAddress &candidate : QNetworkInterface::allAddresses()) {
            if (candidate.isLoopback() || candidate.isLinkLocal())
                continue;
            if (candidate.protocol() == QAbstractSocket::IPv4Protocol) {
                found = candidate;
                break;
            }
            if (found.isLoopback() && host != QHostAddress::AnyIPv4)
                found = candidate;
        }
        host = found;
    }
    const QString name = host.protocol() == QAbstractSocket::IPv6Protocol
        ? QLatin1Char('[') + host.toString() + QLatin1Char(']')
        : host.toString();
    return QStringLiteral("%1://%2:%3/")
        .arg(m_settings.tls() ? QStringLiteral("https") : QStringLiteral("http"), name)
        .arg(port());
}

QString WebServer::oneTimeLink()
{
    if (!isListening())
        return {};
    m_linkKey = randomKey();
    m_linkMadeAt = m_clock->monotonic();
    return address() + QStringLiteral("signin?key=") + QString::fromLatin1(m_linkKey);
}

void WebServer::start()
{
    stop();
    ++m_generation;
    m_lastProblem.clear();
    if (!m_settingsStore)
        return;
    m_settings = WebSettings::load(*m_settingsStore);
    if (!m_settings.enabled())
        return;
    // The secret store answers when it likes; the remote waits for it a bounded time.
    const int generation = m_generation;
    StoredPassword::read(*m_settingsStore, m_secrets, WebSettings::passwordPlace(), this,
                         kSecretWait, [this, generation](const QString &password, bool answered) {
                             if (generation != m_generation)
                                 return;
                             if (!answered)
                                 problem(QStringLiteral("Web remote: the secret store did not "
                                                        "answer; going on without a password"));
                             listenWithPassword(password);
                         });
}

void WebServer::listenWithPassword(const QString &password)
{
    m_password = password;
    const QString problems = m_settings.problems(password);
    if (!problems.isEmpty())
        return problem(QStringLiteral("Web remote off: ") + problems);
    QString error;
    const auto tls = tlsOf(m_settings, &error);
    if (m_settings.tls() && !tls)
        return problem(QStringLiteral("Web remote off: ") + error);
    const auto listenOn = WebSettings::parseListen(m_settings.listen);

    m_http = std::make_unique<WebHttpServer>(
        [this](const QHttpServerRequest &request) { return answer(request); });
    auto *listener = new WebListener([this](const WebListener::Head &head) { return screen(head); },
                                     [this](const QHostAddress &peer, const QString &why) {
                                         noteRefusal(peer, QStringLiteral("a request"), why);
                                     },
                                     tls, m_http.get());
    if (!listener->listen(listenOn->host, listenOn->port)) {
        const QString why = listener->errorString();
        m_http.reset();
        return problem(
            QStringLiteral("Web remote off: cannot listen on %1: %2").arg(m_settings.listen, why));
    }
    m_listener = listener;
    m_http->bind(listener);
    connect(m_http.get(), &WebHttpServer::newWebSocketConnection, this, &WebServer::takeWebSockets);
    m_model = m_host.modelInformation();
    const QString line = QStringLiteral("Web remote: listening on %1").arg(address());
    note(line);
    std::fprintf(stderr, "Orvane: %s\n", qPrintable(line));
    emit listening();
}

void WebServer::stop()
{
    m_volume.stop();
    for (QWebSocket *client : std::as_const(m_clients)) {
        client->disconnect(this);
        client->close(QWebSocketProtocol::CloseCodeGoingAway);
        client->deleteLater();
    }
    m_clients.clear();
    m_heard.clear();
    m_pingTimer.stop();
    m_http.reset();
    m_sessions.clear();
    m_linkKey.clear();
    m_stateSent.clear();
    m_optionsSent.clear();
}

// ---- Requests ----

WebServer::Verdict WebServer::screen(const WebListener::Head &head)
{
    const qsizetype query = head.target.indexOf('?');
    const QByteArray path = query < 0 ? head.target : head.target.left(query);
    const bool post = head.method == "POST";
    const bool webSocket = path == "/ws";
    const QString what = shownTarget(head.method, head.target);
    const auto refuse = [&](int status, const QString &why,
                            QList<std::pair<QByteArray, QByteArray>> fields = {}) {
        noteRefusal(head.peer, what, QStringLiteral("%1 (%2)").arg(why).arg(status));
        return Verdict {status, reasonOf(status), std::move(fields)};
    };
    if (head.method != "GET" && !post)
        return refuse(405, QStringLiteral("not GET or POST"), {{"Allow", "GET, POST"}});
    if (post || webSocket) {
        // The page's own origin only: another site's page may not act with its cookie.
        const QByteArray served
            = (m_settings.tls() ? "https://" : "http://") + head.fields.value("host");
        const QByteArray origin = head.fields.value("origin");
        if (origin.isEmpty() || head.fields.value("host").isEmpty() || origin != served)
            return refuse(403,
                          QStringLiteral("origin \"%1\" is not the remote's")
                              .arg(shown(QString::fromUtf8(origin))));
    }
    if ((path.startsWith("/api/") && path != "/api/signin") || webSocket) {
        if (!sessionOf(head.fields.value("cookie")))
            return refuse(401, QStringLiteral("no session"));
    }
    if (webSocket) {
        if (head.fields.value("upgrade").toLower() != "websocket")
            return refuse(400, QStringLiteral("not a WebSocket handshake"));
        if (m_clients.size() >= kMostClients)
            return refuse(503, QStringLiteral("more than %1 clients").arg(kMostClients),
                          {{"Retry-After", "30"}});
    } else if (head.fields.contains("upgrade")) {
        return refuse(400, QStringLiteral("an upgrade elsewhere than /ws"));
    }
    return {};
}

QHttpServerResponse WebServer::answer(const QHttpServerRequest &request)
{
    QHttpServerResponse response = [&]() -> QHttpServerResponse {
        const QString path = request.url().path();
        const bool get = request.method() == QHttpServerRequest::Method::Get;
        if (get) {
            for (const PageFile &file : kPageFiles) {
                if (path != QLatin1String(file.path))
                    continue;
                QFile resource(QLatin1String(file.resource));
                if (!resource.open(QIODevice::ReadOnly))
                    break;
                return QHttpServerResponse(QByteArray(file.type), resource.readAll());
            }
            if (path == u"/signin")
                return signInWithLink(request);
        }
        if (path == u"/api/signin" && !get)
            return signIn(request);
        Session *session = sessionOf(request.value("cookie"));
        if (session && path == u"/api/state" && get)
            return QHttpServerResponse(stateMessage());
        if (session && path == u"/api/signout" && !get) {
            m_sessions.remove(tokenOf(request.value("cookie")));
            QHttpServerResponse out(Status::NoContent);
            out.addHeader("Set-Cookie",
                          kCookie + "=; Path=/; Max-Age=0; HttpOnly; SameSite=Strict");
            return out;
        }
        if (session && path == u"/api/command" && !get)
            return command(request, *session);
        return refusal(request, 404, QStringLiteral("no such page"));
    }();
    for (const auto &[name, value] : WebListener::securityFields())
        response.addHeader(name, value);
    return response;
}

QHttpServerResponse WebServer::refusal(const QHttpServerRequest &request, int status,
                                       const QString &why)
{
    const QByteArray method = request.method() == QHttpServerRequest::Method::Get ? "GET" : "POST";
    noteRefusal(request.remoteAddress(), shownTarget(method, request.url().path().toUtf8()),
                QStringLiteral("%1 (%2)").arg(why).arg(status));
    QHttpServerResponse response(QJsonObject {{QStringLiteral("error"), why}},
                                 static_cast<Status>(status));
    if (status == 429)
        response.addHeader("Retry-After", "1");
    return response;
}

bool WebServer::tooManyFailures()
{
    const auto now = m_clock->monotonic();
    while (!m_failures.isEmpty() && now - m_failures.first() >= kFailureWindow)
        m_failures.removeFirst();
    return m_failures.size() >= kFailedSignInsPerMinute;
}

void WebServer::failedSignIn()
{
    m_failures.append(m_clock->monotonic());
}

QHttpServerResponse WebServer::opened(const QHostAddress &peer, bool toPage)
{
    // A new session; the one unused longest goes when there are too many.
    if (m_sessions.size() >= kMostSessions) {
        auto oldest = m_sessions.begin();
        for (auto it = m_sessions.begin(); it != m_sessions.end(); ++it)
            if (it->lastSeen < oldest->lastSeen)
                oldest = it;
        m_sessions.erase(oldest);
    }
    const QByteArray token = randomKey();
    Session &session = m_sessions[token];
    session.lastSeen = m_clock->monotonic();
    note(QStringLiteral("Web remote: %1 signed in").arg(peer.toString()));
    QByteArray cookie = kCookie + '=' + token + "; Path=/; HttpOnly; SameSite=Strict";
    if (m_settings.tls())
        cookie += "; Secure";
    // The link's page goes on to the remote, so its key leaves the address bar.
    QHttpServerResponse response(toPage ? Status::SeeOther : Status::NoContent);
    response.addHeader("Set-Cookie", cookie);
    if (toPage)
        response.addHeader("Location", "/");
    return response;
}

QHttpServerResponse WebServer::signIn(const QHttpServerRequest &request)
{
    if (tooManyFailures())
        return refusal(
            request, 429,
            QStringLiteral("more than %1 failed sign-ins a minute").arg(kFailedSignInsPerMinute));
    const QJsonObject body = QJsonDocument::fromJson(request.body()).object();
    const QByteArray given = body.value(u"password").toString().toUtf8();
    // Without a password only the one-time link signs in.
    if (m_password.isEmpty() || !sameSecret(given, m_password.toUtf8())) {
        failedSignIn();
        return refusal(request, 401, QStringLiteral("wrong password"));
    }
    return opened(request.remoteAddress(), false);
}

QHttpServerResponse WebServer::signInWithLink(const QHttpServerRequest &request)
{
    if (tooManyFailures())
        return refusal(
            request, 429,
            QStringLiteral("more than %1 failed sign-ins a minute").arg(kFailedSignInsPerMinute));
    const QByteArray given = request.query().queryItemValue(QStringLiteral("key")).toLatin1();
    const bool fresh = !m_linkKey.isEmpty() && m_clock->monotonic() - m_linkMadeAt < kLinkLifetime;
    if (!fresh || given.isEmpty() || !sameSecret(given, m_linkKey)) {
        failedSignIn();
        return refusal(request, 401, QStringLiteral("a used, old or wrong sign-in link"));
    }
    m_linkKey.clear();
    return opened(request.remoteAddress(), true);
}

QByteArray WebServer::tokenOf(const QByteArray &cookieHeader)
{
    for (const QByteArray &pair : cookieHeader.split(';')) {
        const QByteArray trimmed = pair.trimmed();
        if (trimmed.startsWith(kCookie + '='))
            return trimmed.mid(kCookie.size() + 1);
    }
    return {};
}

WebServer::Session *WebServer::sessionOf(const QByteArray &cookieHeader)
{
    const QByteArray token = tokenOf(cookieHeader);
    const auto found = token.isEmpty() ? m_sessions.end() : m_sessions.find(token);
    if (found == m_sessions.end())
        return nullptr;
    found->lastSeen = m_clock->monotonic();
    return &*found;
}

QHttpServerResponse WebServer::command(const QHttpServerRequest &request, Session &session)
{
    QJsonParseError error {};
    const QJsonDocument document = QJsonDocument::fromJson(request.body(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return refusal(request, 400, QStringLiteral("not a JSON object"));
    const auto [status, why] = execute(document.object(), session);
    if (status != 204)
        return refusal(request, status, why);
    return QHttpServerResponse(Status::NoContent);
}

std::pair<int, QString> WebServer::execute(const QJsonObject &command, Session &session)
{
    const QString name = command.value(u"command").toString();
    const QJsonValue indexValue = command.value(u"index");
    const int index
        = indexValue.isDouble() && indexValue.toDouble() == std::floor(indexValue.toDouble())
        ? indexValue.toInt(-1000)
        : -1000;
    const auto offered = [&](ProgramHost::Panel panel) {
        for (const auto &[option, caption] : m_host.panelOptions(panel))
            if (option == index)
                return true;
        return false;
    };
    const std::pair<int, QString> unknown {422, QStringLiteral("no such command")};
    const std::pair<int, QString> noOption {422, QStringLiteral("not one of the options")};
    const bool zone2Command = name.startsWith(u"zone2");
    if (zone2Command && !hasZone2())
        return unknown;

    std::function<void(ReceiverLink &)> send;
    if (const auto which = switchNamed(name)) {
        const QJsonValue on = command.value(u"on");
        if (!on.isBool())
            return {422, QStringLiteral("\"on\" is not true or false")};
        send = [which, on = on.toBool()](ReceiverLink &link) {
            Vocabulary::setSwitch(link, *which, on);
        };
    } else if (name == u"input" || name == u"zone2Input") {
        if (!offered(ProgramHost::Panel::Input))
            return noOption;
        const auto zone = zone2Command ? Vocabulary::Zone::Zone2 : Vocabulary::Zone::Main;
        send = [zone, index](ReceiverLink &link) { Vocabulary::selectInput(link, zone, index); };
    } else if (name == u"inputMode") {
        if (!offered(ProgramHost::Panel::InputMode))
            return noOption;
        send = [index](ReceiverLink &link) { Vocabulary::selectInputMode(link, index); };
    } else if (name == u"dsp") {
        if (!offered(ProgramHost::Panel::Dsp))
            return noOption;
        send = [index](ReceiverLink &link) { Vocabulary::selectDsp(link, index); };
    } else if (name == u"sleep") {
        const QJsonValue minutes = command.value(u"minutes");
        if (!minutes.isDouble() || !Vocabulary::sleepChoices().contains(minutes.toInt(-1)))
            return noOption;
        send = [minutes = minutes.toInt()](ReceiverLink &link) {
            Vocabulary::setSleep(link, minutes);
        };
    } else if (name == u"memory") {
        if (index < 1 || index > Vocabulary::kMemories)
            return noOption;
        send = [index](ReceiverLink &link) { Vocabulary::recallMemory(link, index); };
    } else if (name == u"volumeUp" || name == u"volumeDown" || name == u"zone2VolumeUp"
               || name == u"zone2VolumeDown") {
        const auto zone = zone2Command ? Vocabulary::Zone::Zone2 : Vocabulary::Zone::Main;
        const bool up = name.endsWith(u"Up");
        send = [zone, up](ReceiverLink &link) { Vocabulary::stepVolume(link, zone, up); };
    } else if (name == u"volume" || name == u"zone2Volume") {
        const QJsonValue db = command.value(u"db");
        if (!db.isDouble() || !std::isfinite(db.toDouble()))
            return {422, QStringLiteral("\"db\" is not a number")};
        const int value = zone2Command ? VolumeText::zone2Value(db.toDouble())
                                       : VolumeText::mainValue(db.toDouble());
        const int lowest = zone2Command ? VolumeText::kZone2Lowest : VolumeText::kMainLowest;
        const int highest = zone2Command ? VolumeText::kZone2Highest : VolumeText::kMainHighest;
        if (value < lowest || value > highest)
            return {422, QStringLiteral("outside the receiver's range")};
        if (!session.commands.take(m_clock->monotonic()))
            return {429, QStringLiteral("more than %1 commands a second").arg(kCommandsPerSecond)};
        if (!m_host.isConnected() || !m_link)
            return {409, QStringLiteral("the receiver is not connected")};
        // The last volume asked for wins.
        m_volume.moveTo(zone2Command, value);
        return {204, {}};
    } else {
        return unknown;
    }
    if (!session.commands.take(m_clock->monotonic()))
        return {429, QStringLiteral("more than %1 commands a second").arg(kCommandsPerSecond)};
    if (!m_host.isConnected() || !m_link)
        return {409, QStringLiteral("the receiver is not connected")};
    send(*m_link);
    return {204, {}};
}

// ---- The live state ----

void WebServer::takeWebSockets()
{
    while (m_http && m_http->hasPendingWebSocketConnections()) {
        QWebSocket *client = m_http->nextPendingWebSocketConnection().release();
        client->setParent(this);
        if (m_clients.size() >= kMostClients) {
            // Handshakes that passed together; the limit holds all the same.
            client->close(QWebSocketProtocol::CloseCodeDatatypeNotSupported,
                          QStringLiteral("too many clients"));
            client->deleteLater();
            continue;
        }
        client->setMaxAllowedIncomingFrameSize(kLongestFrame);
        client->setMaxAllowedIncomingMessageSize(kLongestFrame);
        m_clients.append(client);
        m_heard.insert(client, m_clock->monotonic());
        m_pingTimer.start();
        connect(client, &QWebSocket::disconnected, this, [this, client] {
            m_clients.removeOne(client);
            m_heard.remove(client);
            client->deleteLater();
        });
        connect(client, &QWebSocket::pong, this,
                [this, client] { m_heard.insert(client, m_clock->monotonic()); });
        send(client,
             QString::fromUtf8(m_optionsSent.isEmpty()
                                   ? QJsonDocument(optionsMessage()).toJson(QJsonDocument::Compact)
                                   : m_optionsSent));
        send(client,
             QString::fromUtf8(QJsonDocument(stateMessage()).toJson(QJsonDocument::Compact)));
    }
}

void WebServer::send(QWebSocket *client, const QString &text)
{
    if (client->bytesToWrite() > kMostUnsent)
        return drop(client, QStringLiteral("it does not read what it is sent"));
    client->sendTextMessage(text);
}

void WebServer::drop(QWebSocket *client, const QString &why)
{
    noteRefusal(client->peerAddress(), QStringLiteral("a page"), why);
    m_clients.removeOne(client);
    m_heard.remove(client);
    client->disconnect(this);
    client->abort();
    client->deleteLater();
}

void WebServer::checkClients()
{
    const auto now = m_clock->monotonic();
    for (QWebSocket *client : QList<QWebSocket *>(m_clients)) {
        if (now - m_heard.value(client, now) > kSilence)
            drop(client, QStringLiteral("no answer for %1 s").arg(kSilence.count()));
        else
            client->ping();
    }
    if (m_clients.isEmpty())
        m_pingTimer.stop();
}

bool WebServer::hasZone2() const
{
    return modelName(m_model.modelId) != u"?" || m_zone2Seen;
}

QJsonObject WebServer::optionsMessage() const
{
    const auto listOf = [this](ProgramHost::Panel panel) {
        QJsonArray list;
        for (const auto &[index, caption] : m_host.panelOptions(panel))
            list.append(QJsonObject {{QStringLiteral("index"), index},
                                     {QStringLiteral("caption"), caption}});
        return list;
    };
    // The DSP programs the model offers, under the DSP panel's group labels.
    QJsonArray groups;
    const QList<ProgramHost::PanelOption> programs = m_host.panelOptions(ProgramHost::Panel::Dsp);
    for (const Vocabulary::DspGroup &group : Vocabulary::dspGroups()) {
        QJsonArray members;
        for (const auto &[index, caption] : programs)
            if (index >= group.first && index <= group.last)
                members.append(QJsonObject {{QStringLiteral("index"), index},
                                            {QStringLiteral("caption"), caption}});
        if (!members.isEmpty())
            groups.append(QJsonObject {{QStringLiteral("label"), group.label},
                                       {QStringLiteral("programs"), members}});
    }
    QJsonArray sleep;
    for (const int minutes : Vocabulary::sleepChoices())
        sleep.append(QJsonObject {{QStringLiteral("minutes"), minutes},
                                  {QStringLiteral("caption"), Vocabulary::sleepCaption(minutes)}});
    QJsonArray memories;
    for (int index = 1; index <= Vocabulary::kMemories; ++index)
        memories.append(Vocabulary::memoryLetter(index));
    const QString model
        = m_model.model.isEmpty() || m_model.model == u"?" ? m_model.modelId : m_model.model;
    return {
        {QStringLiteral("type"), QStringLiteral("options")},
        {QStringLiteral("model"), model},
        {QStringLiteral("inputs"), listOf(ProgramHost::Panel::Input)},
        {QStringLiteral("inputModes"), listOf(ProgramHost::Panel::InputMode)},
        {QStringLiteral("dsp"), groups},
        {QStringLiteral("sleep"), sleep},
        {QStringLiteral("memories"), memories},
        {QStringLiteral("zone2"), hasZone2()},
        {QStringLiteral("volume"),
         QJsonObject {{QStringLiteral("min"), VolumeText::mainDecibels(VolumeText::kMainLowest)},
                      {QStringLiteral("max"), VolumeText::mainDecibels(VolumeText::kMainHighest)},
                      {QStringLiteral("step"), 0.5}}},
        {QStringLiteral("zone2Volume"),
         QJsonObject {{QStringLiteral("min"), VolumeText::zone2Decibels(VolumeText::kZone2Lowest)},
                      {QStringLiteral("max"), VolumeText::zone2Decibels(VolumeText::kZone2Highest)},
                      {QStringLiteral("step"), 1}}},
    };
}

QJsonObject WebServer::stateMessage()
{
    const ProgramHost::ReceiverStatus status = m_host.receiverStatus();
    if (status.zone2Volume && !m_zone2Seen) {
        const bool offered = hasZone2();
        m_zone2Seen = true;
        if (!offered)
            pushOptions();
    }
    const auto optional
        = [](const auto &value) { return value ? QJsonValue(*value) : QJsonValue(); };
    return {
        {QStringLiteral("type"), QStringLiteral("state")},
        {QStringLiteral("connected"), status.connected},
        {QStringLiteral("power"), optional(status.power)},
        {QStringLiteral("input"), status.input},
        {QStringLiteral("inputMode"), status.inputMode},
        {QStringLiteral("dsp"), status.dspProgram},
        {QStringLiteral("speakersA"), onOff(status.speakersA)},
        {QStringLiteral("speakersB"), onOff(status.speakersB)},
        {QStringLiteral("sixChInput"), onOff(status.sixChInput)},
        {QStringLiteral("es61"), onOff(status.es61)},
        {QStringLiteral("mute"),
         m_reportsHeard.mainMute() ? QJsonValue(status.mainMute) : QJsonValue()},
        {QStringLiteral("zone2Mute"),
         m_reportsHeard.zone2Mute() ? QJsonValue(status.zone2Mute) : QJsonValue()},
        {QStringLiteral("volume"),
         status.mainVolume ? QJsonValue(VolumeText::mainDecibels(*status.mainVolume))
                           : QJsonValue()},
        {QStringLiteral("zone2Volume"),
         status.zone2Volume ? QJsonValue(VolumeText::zone2Decibels(*status.zone2Volume))
                            : QJsonValue()},
        {QStringLiteral("zone2Input"), status.zone2Input},
        {QStringLiteral("sleep"), optional(m_reportsHeard.sleepMinutes())},
        {QStringLiteral("line1"), readable(status.line1)},
        {QStringLiteral("line2"), readable(status.line2)},
    };
}

void WebServer::pushState()
{
    if (m_clients.isEmpty())
        return;
    const QByteArray message = QJsonDocument(stateMessage()).toJson(QJsonDocument::Compact);
    if (message == m_stateSent)
        return;
    m_stateSent = message;
    const QString text = QString::fromUtf8(message);
    for (QWebSocket *client : QList<QWebSocket *>(m_clients))
        send(client, text);
}

void WebServer::pushOptions()
{
    const QByteArray message = QJsonDocument(optionsMessage()).toJson(QJsonDocument::Compact);
    if (message == m_optionsSent)
        return;
    m_optionsSent = message;
    const QString text = QString::fromUtf8(message);
    for (QWebSocket *client : QList<QWebSocket *>(m_clients))
        send(client, text);
}

void WebServer::onReport(const QString &body)
{
    m_reportsHeard.take(body);
}

// ---- The log ----

void WebServer::noteRefusal(const QHostAddress &peer, const QString &what, const QString &why)
{
    note(QStringLiteral("Web remote: refused %1 from %2: %3").arg(what, peer.toString(), why));
}

void WebServer::note(const QString &line)
{
    emit logged(line);
    if (m_link)
        m_link->LogNote(line);
}

void WebServer::problem(const QString &text)
{
    if (text == m_lastProblem)
        return;
    m_lastProblem = text;
    note(text);
    std::fprintf(stderr, "Orvane: %s\n", qPrintable(text));
}
