#pragma once

#include "platform/SecretStore.h"

namespace tesk {

// The secret store through QtKeychain: the freedesktop secret service (GNOME Keyring,
// KeePassXC, ...) or KWallet, whichever the desktop runs. Secrets are kept as bytes under
// the service name "TESK"; QtKeychain's fallback to a plain file is left off, so without
// such a service every request answers Unavailable.
class KeychainSecretStore : public SecretStore {
public:
    void read(const std::string& key, QObject* context, Answer answer) override;
    void write(const std::string& key, const std::string& secret, QObject* context,
               Answer answer) override;
    void remove(const std::string& key, QObject* context, Answer answer) override;
};

}  // namespace tesk
