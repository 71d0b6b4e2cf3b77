#include "files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

void Say(QString *why, const QString &text)
{
    if (why)
        *why = text;
}

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error)).toLower();
}

} // namespace

Kind KindOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? Kind::Missing : Kind::Other;
    return S_ISREG(st.st_mode) ? Kind::Regular : Kind::Other;
}

bool OpenForReading(QFile &file, QString *why)
{
    // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer, and
    // is then turned down like any other file that is not a regular one.
    const int fd = ::open(QFile::encodeName(file.fileName()).constData(),
                          O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        Say(why, ErrnoText(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        Say(why, QStringLiteral("not a regular file"));
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        Say(why, file.errorString());
        return false;
    }
    return true;
}

bool ReadAll(const QString &path, qint64 maxSize, QByteArray &bytes, QString *why)
{
    QFile file(path);
    if (!OpenForReading(file, why))
        return false;
    if (file.size() > maxSize) {
        Say(why, QStringLiteral("too large"));
        return false;
    }
    // No more than the file holds (a buffer of maxSize would be allocated
    // up front), and one byte past it to see a file that grew meanwhile.
    bytes = file.read(std::min(maxSize, file.size()) + 1);
    if (bytes.size() > maxSize || file.error() != QFileDevice::NoError) {
        Say(why, bytes.size() > maxSize ? QStringLiteral("too large") : file.errorString());
        return false;
    }
    return true;
}

bool WriteAtomically(const QString &path, const QByteArray &bytes, QString *why)
{
    // QSaveFile follows a link and renames its temporary file over the
    // target, which would turn a device node or FIFO into a plain file.
    if (KindOf(path) == Kind::Other) {
        Say(why, QStringLiteral("not a regular file"));
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        Say(why, QStringLiteral("its folder cannot be made"));
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        Say(why, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        Say(why, file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        Say(why, file.errorString());
        return false;
    }
    return true;
}

} // namespace files
