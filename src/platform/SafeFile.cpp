#include "platform/SafeFile.h"

#include "platform/LumacetError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// Owns the temporary file until it has been renamed into place.
class TempFile {
public:
    // A new file gets the usual permissions (0666 less the umask, applied by the
    // system as it creates the file), so the umask never has to be changed.
    explicit TempFile(const QByteArray& prefix)
    {
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_name = prefix + QByteArray::number(QRandomGenerator::global()->generate64(), 16);
            m_fd = ::open(m_name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        m_error = m_fd < 0 ? errno : 0;
    }
    ~TempFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_error == 0 && !m_committed)
            ::unlink(m_name.constData());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return m_fd; }
    int openError() const { return m_error; }
    const QByteArray& name() const { return m_name; }
    int close()
    {
        int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }
    void committed() { m_committed = true; }

private:
    QByteArray m_name;
    int m_fd = -1;
    int m_error = 0;
    bool m_committed = false;
};

// Makes the rename itself survive a power cut. Some file systems cannot sync a
// folder; the file is in place all the same, so failures are ignored.
void syncFolder(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void writeFileReplacing(const QString& path, const QByteArray& data)
{
    const QString failed = QStringLiteral("Cannot write the file \"%1\": %2");
    QFileInfo target(path);
    if (target.isDir())
        throw LumacetError(failed.arg(path, QStringLiteral("a folder of that name exists")));
    // Saving through a link updates the file it points to and keeps the link.
    if (target.isSymLink() && !target.canonicalFilePath().isEmpty())
        target = QFileInfo(target.canonicalFilePath());

    const QByteArray nativePath = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    TempFile temp(folder + "/." + QFile::encodeName(target.fileName()) + ".");
    if (temp.fd() < 0)
        throw LumacetError(failed.arg(path, systemError(temp.openError())));

    // Keep the owner and permissions of the file being replaced. Only a
    // privileged user can give a file away; for others it already is theirs.
    struct stat st {};
    if (::stat(nativePath.constData(), &st) == 0) {
        if (::fchown(temp.fd(), st.st_uid, st.st_gid) != 0) {
            // Not allowed: the replaced file then belongs to whoever saved it.
        }
        if (::fchmod(temp.fd(), st.st_mode & 07777) != 0)
            throw LumacetError(failed.arg(path, systemError(errno)));
    }

    // A short write (disk full, file size limit) must never be taken for success.
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        ssize_t n = ::write(temp.fd(), p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw LumacetError(failed.arg(path, systemError(n < 0 ? errno : ENOSPC)));
        p += n;
        left -= n;
    }
    if (::fsync(temp.fd()) != 0)
        throw LumacetError(failed.arg(path, systemError(errno)));
    if (temp.close() != 0)
        throw LumacetError(failed.arg(path, systemError(errno)));
    if (::rename(temp.name().constData(), nativePath.constData()) != 0)
        throw LumacetError(failed.arg(path, systemError(errno)));
    temp.committed();
    syncFolder(folder);
}
