#pragma once

#include "platform/SecretStore.h"

// The desktop's secret service (or another keychain) through QtKeychain, under the
// service name "Orvane".
class KeychainSecretStore final : public SecretStore
{
public:
    void read(const QString &key, QObject *context, ReadDone done) override;
    void write(const QString &key, const QString &secret, QObject *context,
               WriteDone done) override;
};
