#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace tesk {

// Makes sure only one copy runs per user: a lock file named after the program in a
// folder of the user's own. A lock left by a copy that crashed is recognised as stale
// (its process is gone) and taken over.
class SingleInstance {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    explicit SingleInstance(const QString& directory = defaultDirectory());

    // Creates the folder when it is missing (mode 0700) and refuses one that another
    // user owns or others may write to, since a lock there could be taken by them.
    Result acquire();
    // Why acquire() failed, for the user.
    QString errorMessage() const { return error_; }

    // $XDG_RUNTIME_DIR, or else tesk-UID in $TMPDIR (or /tmp).
    static QString defaultDirectory();

private:
    bool preparePrivateFolder();

    QString directory_;
    std::unique_ptr<QLockFile> lock_;
    QString error_;
};

}  // namespace tesk
