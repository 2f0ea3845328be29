// The single-instance lock.
#include "single_instance.h"

#include <QStandardPaths>

namespace kavrin {

SingleInstance::SingleInstance(const QString& lockPath)
    : lock_(lockPath)
{
    // Staleness only by a dead owner, never by age: a copy may run for days.
    lock_.setStaleLockTime(0);
    lock_.tryLock(0);
}

bool SingleInstance::anotherInstanceRunning() const
{
    return !lock_.isLocked() && lock_.error() == QLockFile::LockFailedError;
}

QString SingleInstance::DefaultLockPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/kavrin-solve.lock");
}

} // namespace kavrin
