#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

// The desktop's store of secrets (passwords), asked asynchronously: an answer may take a
// while or never come when no store runs, so callers bound their wait themselves.
class SecretStore
{
public:
    enum class Outcome {
        Found, // the secret is in the store
        NotFound, // the store answered and holds no such secret
        Unavailable // no store answered
    };
    using ReadDone = std::function<void(Outcome outcome, const QString &secret)>;
    using WriteDone = std::function<void(bool stored)>;

    virtual ~SecretStore();

    // Reads the secret stored under `key`; `done` runs later on the calling thread,
    // unless `context` is gone by then.
    virtual void read(const QString &key, QObject *context, ReadDone done) = 0;
    // Stores (or, with an empty secret, removes) the secret under `key`.
    virtual void write(const QString &key, const QString &secret, QObject *context, WriteDone done)
        = 0;

    // read() with a bound: `done` runs once, with the secret (empty when the store holds
    // none), or with nothing when the store has not answered within `limit`.
    void readWithin(const QString &key, QObject *context, std::chrono::milliseconds limit,
                    std::function<void(std::optional<QString> secret)> done);
    // write() with a bound: `done` runs once, false also when the store has not answered
    // within `limit`.
    void writeWithin(const QString &key, const QString &secret, QObject *context,
                     std::chrono::milliseconds limit, WriteDone done);
};
