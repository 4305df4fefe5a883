#pragma once

#include <QString>

// A small tmpfs mounted on a folder and filled up to a few bytes, so that writes on it run
// out of space the way they do on a full disk. Mounting needs root: isMounted() stays false
// otherwise and the test says why it skips. Unmounted (lazily, should a file still be open)
// when it goes.
class FullDisk
{
public:
    // Mounts a tmpfs of `size` bytes on folder (made when missing).
    FullDisk(const QString &folder, qint64 size);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString folder() const { return m_folder; }
    // Fills the disk with a file of its own until only about `left` bytes stay free.
    bool fillLeaving(qint64 left);
    // Frees what fillLeaving took.
    void empty();
    // Mounts it again read-only, as a disk that can no longer be written.
    bool makeReadOnly();

    static QString skipReason();

private:
    QString m_folder;
    bool m_mounted = false;
};
