// Turning a path that came from outside (command line, drop) into the path to open.
#pragma once

#include <QString>
#include <QStringList>

namespace kavrin {

// A copy with every double quote removed, wherever it stands.
QString cleanedPath(const QString& path);

// The whole argument text after the program name. The shell hands over one quoted path that
// may hold blanks, and Linux splits it into argv; joining with single blanks puts it back.
QString commandLineText(const QStringList& arguments);

} // namespace kavrin
