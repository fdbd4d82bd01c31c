#pragma once

#include <QString>
#include <QStringList>

namespace tesk {

// The folders a chime name such as "sounds/online.wav" is looked up in, best first: the
// working folder (a portable copy with sounds of its own), the installed share/tesk
// beside the executable's bin folder, then the build tree, so a program run from the
// build folder has sound too.
QStringList soundFolders();

// The absolute path of `relative` in the first of `folders` that holds it as a file;
// empty when none does.
QString soundFilePath(const QString& relative, const QStringList& folders);

// The same in soundFolders().
QString soundFilePath(const QString& relative);

}  // namespace tesk
