#include "checkedsavefile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

CheckedSaveFile::CheckedSaveFile(const QString &fileName)
    : m_file(fileName)
{
}

bool CheckedSaveFile::open()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(m_file.errorString());
    return true;
}

bool CheckedSaveFile::write(const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        // A short write is no error by itself; the next attempt says why it stopped.
        const qint64 step = m_file.write(bytes.constData() + done, bytes.size() - done);
        if (step <= 0)
            return fail(m_file.error() != QFileDevice::NoError
                    ? m_file.errorString()
                    : tr("Only %1 of %2 bytes could be written.").arg(done).arg(bytes.size()));
        done += step;
    }
    m_written += done;
    return true;
}

bool CheckedSaveFile::commit()
{
    if (::fsync(m_file.handle()) != 0 && errno != EINVAL)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (m_file.size() != m_written)
        return fail(tr("Only %1 of %2 bytes reached the disk.").arg(m_file.size()).arg(m_written));
    if (!m_file.commit())
        return fail(m_file.errorString());
    return true;
}

void CheckedSaveFile::cancel()
{
    m_file.cancelWriting();
    if (m_file.isOpen())
        m_file.commit();
}

bool CheckedSaveFile::fail(const QString &problem)
{
    m_problem = problem;
    cancel();
    return false;
}

bool CheckedSaveFile::writeWhole(const QString &fileName, const QByteArray &bytes, QString *problem)
{
    CheckedSaveFile file(fileName);
    if (file.open() && file.write(bytes) && file.commit())
        return true;
    *problem = file.errorString();
    return false;
}

bool CheckedSaveFile::copyOver(const QString &source, const QString &target, QString *problem)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) {
        *problem = input.errorString();
        return false;
    }
    CheckedSaveFile copy(target);
    if (!copy.open()) {
        *problem = copy.errorString();
        return false;
    }
    while (!input.atEnd()) {
        const QByteArray block = input.read(1 << 20);
        if (block.isEmpty()) {
            copy.cancel();
            *problem = input.errorString();
            return false;
        }
        if (!copy.write(block)) {
            *problem = copy.errorString();
            return false;
        }
    }
    if (!copy.commit()) {
        *problem = copy.errorString();
        return false;
    }
    return true;
}
