#pragma once

#include "program/ProgramHost.h"
#include "program/RateLimiter.h"
#include "program/ReportsHeard.h"
#include "program/VolumeRamp.h"
#include "web/WebListener.h"
#include "web/WebSettings.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>

class Clock;
class QHttpServerRequest;
class QHttpServerResponse;
class QWebSocket;
class ReceiverLink;
class SecretStore;
class SettingsStore;
class WebHttpServer;

// The web remote: serves the remote's page from the program's resources, signs browsers
// in with the password or a one-time link, pushes the program's mirror of the receiver
// to every signed-in page over a WebSocket and turns the page's named commands into the
// receiver vocabulary's commands. Reaches the program only through ProgramHost,
// ProgramEvents and the link; every rate and deadline reads the clock's monotonic time.
// Nothing here waits on a client: every answer is written and left to the event loop.
class WebServer : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMostClients = 16;
    static constexpr int kCommandsPerSecond = 40;
    static constexpr int kFailedSignInsPerMinute = 10;
    static constexpr int kRampStepsPerSecond = VolumeRamp::kStepsPerSecond;
    // A one-time sign-in link is good for this long after it was made.
    static constexpr std::chrono::minutes kLinkLifetime {15};
    static inline const QByteArray kCookie = QByteArrayLiteral("orvane_session");
    // Every page is pinged this often; one that has not answered for kSilence (a phone
    // gone from the network without closing) is let go, so it holds no client's place.
    static constexpr std::chrono::seconds kPingInterval {30};
    static constexpr std::chrono::seconds kSilence {75};

    WebServer(ProgramHost &host, ReceiverLink *link, SettingsStore *settings, SecretStore *secrets,
              Clock *clock, QObject *parent = nullptr);
    ~WebServer() override;

    // Reads the settings and listens when an address is set; stops first.
    void start();
    void stop();

    bool isListening() const;
    // The port listened on (the one the system chose for port 0), 0 when not listening.
    quint16 port() const;
    // The address a browser on the home network opens, e.g. "http://192.168.1.20:8780/".
    QString address() const;
    // A fresh one-time sign-in link (the earlier one is no longer good); empty when not
    // listening.
    QString oneTimeLink();
    QString password() const { return m_password; }
    const WebSettings &settings() const { return m_settings; }
    QString lastProblem() const { return m_lastProblem; }
    int clientCount() const { return int(m_clients.size()); }

public slots:
    // Pings the pages and lets go of those that stopped answering (the ping timer's tick).
    void checkClients();

signals:
    // Every line the remote writes to the traffic log, also when logging is off.
    void logged(const QString &line);
    // The remote listens (after start() and the password's answer).
    void listening();

private:
    struct Session
    {
        RateLimiter commands {kCommandsPerSecond};
        std::chrono::nanoseconds lastSeen {0};
    };
    using Verdict = WebListener::Verdict;

    void listenWithPassword(const QString &password);
    Verdict screen(const WebListener::Head &head);
    QHttpServerResponse answer(const QHttpServerRequest &request);
    QHttpServerResponse signIn(const QHttpServerRequest &request);
    QHttpServerResponse signInWithLink(const QHttpServerRequest &request);
    QHttpServerResponse command(const QHttpServerRequest &request, Session &session);
    // Carries out one command; the status and, for a refusal, why.
    std::pair<int, QString> execute(const QJsonObject &command, Session &session);
    // Opens a session: the cookie, and with `toPage` on to the page.
    QHttpServerResponse opened(const QHostAddress &peer, bool toPage);
    bool tooManyFailures();
    void failedSignIn();
    static QByteArray tokenOf(const QByteArray &cookieHeader);
    Session *sessionOf(const QByteArray &cookieHeader);
    void takeWebSockets();
    // Sends to one page, or lets it go when it does not read.
    void send(QWebSocket *client, const QString &text);
    void drop(QWebSocket *client, const QString &why);
    QJsonObject stateMessage();
    QJsonObject optionsMessage() const;
    void pushState();
    void pushOptions();
    void onReport(const QString &body);
    bool hasZone2() const;
    QHttpServerResponse refusal(const QHttpServerRequest &request, int status, const QString &why);
    void noteRefusal(const QHostAddress &peer, const QString &what, const QString &why);
    void note(const QString &line);
    void problem(const QString &text);

    ProgramHost &m_host;
    ReceiverLink *m_link;
    SettingsStore *m_settingsStore;
    SecretStore *m_secrets;
    Clock *m_clock;
    WebSettings m_settings;
    QString m_password;
    QString m_lastProblem;
    int m_generation = 0;
    std::unique_ptr<WebHttpServer> m_http;
    QPointer<WebListener> m_listener;
    QHash<QByteArray, Session> m_sessions;
    QList<std::chrono::nanoseconds> m_failures; // failed sign-ins of the last minute
    QByteArray m_linkKey;
    std::chrono::nanoseconds m_linkMadeAt {0};
    QList<QWebSocket *> m_clients;
    QHash<QWebSocket *, std::chrono::nanoseconds> m_heard; // last sign of life, by page
    QTimer m_pingTimer;
    QByteArray m_stateSent; // the last state pushed
    QByteArray m_optionsSent;
    QTimer m_stateDue;
    ProgramHost::ModelInformation m_model;
    bool m_zone2Seen = false;
    ReportsHeard m_reportsHeard;
    VolumeRamp m_volume;
};
