#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace tesk {

// Makes sure only one copy runs per user: a lock file named after the program in the
// user's runtime folder. A lock left by a copy that crashed is recognised as stale (its
// process is gone) and taken over.
class SingleInstance {
public:
    explicit SingleInstance(const QString& directory = defaultDirectory());

    // True when this process now holds the lock; false when another copy runs.
    bool acquire();

    // $XDG_RUNTIME_DIR, or the temporary folder when it is not set.
    static QString defaultDirectory();

private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace tesk
