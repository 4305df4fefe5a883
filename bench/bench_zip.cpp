// Packing 1,000 small files into one archive: ZipPacker beside the zip command line on the
// same files, in the same run, best of three each.

#include "zippacker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

const int kFiles = 1000;
const int kRounds = 3;

QStringList makeFiles(const QString &folder)
{
    QStringList files;
    QRandomGenerator random(42);
    for (int i = 0; i < kFiles; ++i) {
        // Text-like content that compresses as notes and logs do.
        QByteArray bytes;
        const int lines = 20 + int(random.bounded(60));
        for (int line = 0; line < lines; ++line)
            bytes += "line " + QByteArray::number(random.bounded(100000)) + " of file "
                + QByteArray::number(i) + '\n';
        const QString path = folder + QStringLiteral("/file %1.txt").arg(i);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        files << path;
    }
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    const QString source = root.filePath(QStringLiteral("files"));
    QDir().mkpath(source);
    const QStringList files = makeFiles(source);
    const std::atomic_bool notCancelled {false};

    double ours = 1e9;
    double theirs = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const QString archive = root.filePath(QStringLiteral("ours.zip"));
        QFile::remove(archive);
        QElapsedTimer timer;
        timer.start();
        const QString problem = ZipPacker::pack(files, archive, notCancelled);
        ours = std::min(ours, timer.nsecsElapsed() / 1e6);
        if (!problem.isEmpty()) {
            std::printf("packing failed: %s\n", qPrintable(problem));
            return 1;
        }

        const QString theirArchive = root.filePath(QStringLiteral("theirs.zip"));
        QFile::remove(theirArchive);
        QProcess zip;
        zip.setWorkingDirectory(source);
        QStringList arguments = {QStringLiteral("-q"), theirArchive};
        for (const QString &file : files)
            arguments << QFileInfo(file).fileName();
        timer.restart();
        zip.start(QStringLiteral("zip"), arguments);
        if (!zip.waitForFinished(120000) || zip.exitCode() != 0) {
            std::printf("the zip command line failed; is the package zip installed?\n");
            return 1;
        }
        theirs = std::min(theirs, timer.nsecsElapsed() / 1e6);
    }
    std::printf("pack %d small files, ZipPacker: %.1f ms\n", kFiles, ours);
    std::printf("pack %d small files, zip command line (baseline): %.1f ms\n", kFiles, theirs);
    std::printf("ratio ZipPacker/zip: %.2f\n", ours / theirs);
    return 0;
}
