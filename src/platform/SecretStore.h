#pragma once

#include <functional>
#include <string>

class QObject;

namespace tesk {

// What a secret store answered to one request.
struct SecretAnswer {
    enum class Result {
        Done,        // read: `secret` holds the secret; write, remove: done
        NotFound,    // no secret under that key
        Unavailable  // the store could not be reached or refused: `error` says why
    };
    Result result = Result::Unavailable;
    std::string secret;
    std::string error;
};

// The desktop's store of secrets (the secret service, KWallet, ...), which answers
// later: each request is answered once, on the GUI thread, never within the call that
// made it, and in the order the requests were made. No answer comes after `context` has
// been destroyed. GUI thread only.
class SecretStore {
public:
    using Answer = std::function<void(const SecretAnswer&)>;

    virtual ~SecretStore() = default;
    virtual void read(const std::string& key, QObject* context, Answer answer) = 0;
    virtual void write(const std::string& key, const std::string& secret, QObject* context,
                       Answer answer) = 0;
    virtual void remove(const std::string& key, QObject* context, Answer answer) = 0;
};

}  // namespace tesk
