#include "files/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

bool Fail(QString *why, const QString &text)
{
    Say(why, text);
    return false;
}

// The file a write to `path` lands on. A loop of links is turned down by
// KindOf before this is asked.
QString Target(const QString &path)
{
    QString target = path;
    for (int depth = 0; depth < 40 && QFileInfo(target).isSymLink(); ++depth)
        target = QFileInfo(target).symLinkTarget();
    return target;
}

bool WriteWhole(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<std::size_t>(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            return false;
        done += n > 0 ? n : 0;
    }
    return true;
}

// Written data can still fail to reach the disk until fsync says it has.
bool SyncFile(const QString &path, QString *why)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return Fail(why, ErrnoText(errno));
    const bool synced = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return synced || Fail(why, ErrnoText(error));
}

} // namespace

Kind KindOf(const QString &path, QString *why)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return Kind::Missing;
        Say(why, ErrnoText(errno));
        return Kind::Other;
    }
    if (S_ISREG(st.st_mode))
        return Kind::Regular;
    Say(why, QStringLiteral("not a regular file"));
    return Kind::Other;
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
    return Replace(path, bytes, {}, why);
}

bool Replace(const QString &path, const QByteArray &bytes, const Fill &fill, QString *why)
{
    // Renaming over a device node or FIFO would turn it into a plain file.
    QString problem;
    if (KindOf(path, &problem) == Kind::Other)
        return Fail(why, problem);
    const QString target = Target(path);
    const QByteArray targetName = QFile::encodeName(target);
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        return Fail(why, QStringLiteral("its folder cannot be made"));
    struct stat old {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    // A file its owner made read-only stays as it is.
    if (exists && ::access(targetName.constData(), W_OK) != 0)
        return Fail(why, ErrnoText(errno));

    QString temporary;
    int fd = -1;
    // Another writer may have picked the same name; a few tries, then give up.
    for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
        temporary = QStringLiteral("%1.%2.tmp").arg(target).arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
        fd = ::open(QFile::encodeName(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return Fail(why, ErrnoText(errno));
    const auto failed = [&](const QString &text) {
        ::unlink(QFile::encodeName(temporary).constData());
        return Fail(why, text);
    };
    if (exists)
        ::fchmod(fd, old.st_mode & 07777);
    bool written = WriteWhole(fd, bytes) && (fill || ::fsync(fd) == 0);
    int error = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written)
        return failed(ErrnoText(error));
    if (fill && (!fill(temporary, &problem) || !SyncFile(temporary, &problem)))
        return failed(problem);
    if (::rename(QFile::encodeName(temporary).constData(), targetName.constData()) != 0)
        return failed(ErrnoText(errno));
    return true;
}

} // namespace files
