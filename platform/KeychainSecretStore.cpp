#include "platform/KeychainSecretStore.h"

#include <qt6keychain/keychain.h>

namespace {
const QString kService = QStringLiteral("Orvane");
}

void KeychainSecretStore::read(const QString &key, QObject *context, ReadDone done)
{
    auto *job = new QKeychain::ReadPasswordJob(kService);
    job->setAutoDelete(true);
    // Never the plain-text fallback file some builds offer: the settings file is ours.
    job->setInsecureFallback(false);
    job->setKey(key);
    QObject::connect(job, &QKeychain::Job::finished, context, [done](QKeychain::Job *finished) {
        const auto *reading = static_cast<QKeychain::ReadPasswordJob *>(finished);
        switch (finished->error()) {
        case QKeychain::NoError:
            done(Outcome::Found, reading->textData());
            break;
        case QKeychain::EntryNotFound:
            done(Outcome::NotFound, QString());
            break;
        default:
            done(Outcome::Unavailable, QString());
            break;
        }
    });
    job->start();
}

void KeychainSecretStore::write(const QString &key, const QString &secret, QObject *context,
                                WriteDone done)
{
    QKeychain::Job *job = nullptr;
    if (secret.isEmpty()) {
        auto *removing = new QKeychain::DeletePasswordJob(kService);
        removing->setKey(key);
        job = removing;
    } else {
        auto *writing = new QKeychain::WritePasswordJob(kService);
        writing->setKey(key);
        writing->setTextData(secret);
        job = writing;
    }
    job->setAutoDelete(true);
    job->setInsecureFallback(false);
    const bool removing = secret.isEmpty();
    QObject::connect(job, &QKeychain::Job::finished, context,
                     [done, removing](QKeychain::Job *finished) {
                         done(finished->error() == QKeychain::NoError
                              || (removing && finished->error() == QKeychain::EntryNotFound));
                     });
    job->start();
}
