#pragma once
// Every file the game or the coach reads or writes goes through here. A path
// may name anything: a FIFO (opening it would wait for a writer for good), a
// device, a folder, or a link to any of those. Only regular files are read,
// and only a regular file or a new one is ever replaced; links are followed,
// so a user's link to a file kept elsewhere goes on working.

#include <QByteArray>
#include <QString>

#include <functional>

class QFile;

namespace files {

enum class Kind { Missing, Regular, Other };

// What the path names once links are followed. A link to nothing is Missing.
// Other also when the path cannot be looked up at all (a folder that cannot
// be searched, a loop of links); `why` (if given) says which.
Kind KindOf(const QString &path, QString *why = nullptr);

// Opens the file for reading if it is a regular one, without ever blocking.
// On failure `why` (if given) says why in a few words.
bool OpenForReading(QFile &file, QString *why = nullptr);

// The whole file, if it is a regular one of at most maxSize bytes.
bool ReadAll(const QString &path, qint64 maxSize, QByteArray &bytes, QString *why = nullptr);

// Replaces the file with `bytes` at once, only when it is a regular file that
// may be written or does not exist yet; a link is followed. The bytes go to a
// new file beside it, which replaces it only once every byte is on the disk:
// on any failure (a full disk, say) the old file stays exactly as it was.
// Creates the folder. The new file keeps the old one's permissions.
bool WriteAtomically(const QString &path, const QByteArray &bytes, QString *why = nullptr);

// The same for a writer that writes files itself (QSettings): `fill` gets the
// name of the new file, holding `bytes` so far, changes it as it likes and
// says whether that went well (why not in its `why`). It may rename the
// file, and then sets `temporary` to the new name at once.
using Fill = std::function<bool(QString &temporary, QString *why)>;
bool Replace(const QString &path, const QByteArray &bytes, const Fill &fill, QString *why = nullptr);

} // namespace files
