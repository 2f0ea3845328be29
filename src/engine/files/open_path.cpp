// Cleaning paths that arrive on the command line or in a drop.
#include "files/open_path.h"

namespace kavrin {

QString cleanedPath(const QString& path)
{
    QString copy = path;
    return copy.remove(u'"');
}

QString commandLineText(const QStringList& arguments)
{
    return arguments.mid(1).join(u' ');
}

} // namespace kavrin
