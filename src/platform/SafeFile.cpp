#include "platform/SafeFile.h"

#include "platform/LumacetError.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

class TempFile {
public:
    explicit TempFile(const QByteArray& pattern) : m_name(pattern) {
        m_fd = ::mkstemp(m_name.data());
        m_created = m_fd >= 0;
    }
    ~TempFile() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (m_created && !m_committed)
            ::unlink(m_name.constData());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return m_fd; }
    const QByteArray& name() const { return m_name; }
    int close() {
        int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }
    void committed() { m_committed = true; }
    bool opened() const { return m_created; }

private:
    QByteArray m_name;
    int m_fd = -1;
    bool m_created = false;
    bool m_committed = false;
};

} // namespace

void writeFileReplacing(const QString& path, const QByteArray& data)
{
    const QString failed = QStringLiteral("Cannot write the file \"%1\": %2");
    const QFileInfo target(path);
    if (target.isDir())
        throw LumacetError(failed.arg(path, QStringLiteral("a folder of that name exists")));

    const QByteArray nativePath = QFile::encodeName(target.absoluteFilePath());
    const QByteArray folder = QFile::encodeName(target.absolutePath());
    TempFile temp(folder + "/." + QFile::encodeName(target.fileName()) + ".XXXXXX");
    if (!temp.opened())
        throw LumacetError(failed.arg(path, systemError(errno)));

    struct stat st {};
    mode_t mode = 0666;
    if (::stat(nativePath.constData(), &st) == 0)
        mode = st.st_mode & 07777;
    else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    if (::fchmod(temp.fd(), mode) != 0)
        throw LumacetError(failed.arg(path, systemError(errno)));

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
}
