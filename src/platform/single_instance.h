// Tells whether another copy of the program is already running, by holding a lock file while this one runs.
#pragma once

#include <QLockFile>
#include <QString>

namespace kavrin {

class SingleInstance {
public:
    // Tries to take the lock at once. A lock left by a copy that crashed is taken over.
    explicit SingleInstance(const QString& lockPath = DefaultLockPath());
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True only when a running copy holds the lock. When the lock cannot be made at all
    // (no runtime folder, no rights) the program still starts rather than never starting.
    bool anotherInstanceRunning() const;

    // In the user's runtime folder, so copies run by other users do not count.
    static QString DefaultLockPath();

private:
    QLockFile lock_;
};

} // namespace kavrin
