#pragma once
// Every file the game or the coach reads or writes goes through here. A path
// may name anything: a FIFO (opening it would wait for a writer for good), a
// device, a folder, or a link to any of those. Only regular files are read,
// and only a regular file or a new one is ever replaced; links are followed,
// so a user's link to a file kept elsewhere goes on working.

#include <QByteArray>
#include <QString>

class QFile;

namespace files {

enum class Kind { Missing, Regular, Other };

// What the path names once links are followed. A link to nothing is Missing.
Kind KindOf(const QString &path);

// Opens the file for reading if it is a regular one, without ever blocking.
// On failure `why` (if given) says why in a few words.
bool OpenForReading(QFile &file, QString *why = nullptr);

// The whole file, if it is a regular one of at most maxSize bytes.
bool ReadAll(const QString &path, qint64 maxSize, QByteArray &bytes, QString *why = nullptr);

// Replaces the file with `bytes` at once (a temporary file renamed over it),
// only when it is a regular file or does not exist yet. Creates the folder.
bool WriteAtomically(const QString &path, const QByteArray &bytes, QString *why = nullptr);

} // namespace files
