#pragma once

#include <QIcon>
#include <QString>

// The icon in the image file `path`, read once and then shared. An icon made
// from a file name reads and decodes the image each time, and the same few
// images (the panel's arrows, the tool bar's run and stop) are asked for by
// every view an opened simulation builds and by every update of the commands.
QIcon qenIcon(const QString &path);
