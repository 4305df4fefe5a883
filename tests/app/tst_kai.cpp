#include "audiofiles.h"
#include "audioimagefile.h"
#include "kailibrary.h"
#include "peakmemory.h"
#include "wavsound.h"

#include <QImage>
#include <QtEndian>
#include <QtTest>

// The image+audio library as the program loads it, the ".kia" files it writes and reads
// (including damaged ones from outside), and the reading of the WAV recordings inside.
class TestKai : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pictureAndRecordingReadBackByteIdentical();
    void damagedFilesReadAsNothing_data();
    void damagedFilesReadAsNothing();
    void missingFileSaysSo();
    void largeFileIsHeldOnceAndReleased();
    void missingLibraryFailsWithAMessage();
    void writeOfTheCLibraryIsNeverTaken();
    void failedWriteLeavesNoFile();
    void wavFormats_data();
    void wavFormats();

private:
    QString file(const QString &name) const { return m_folder->filePath(name); }
    QByteArray validFile() const;
    std::unique_ptr<QTemporaryDir> m_folder;
};

namespace {

QByteArray pngPicture()
{
    QImage picture(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) & 0xff));
    return pngBytes(picture);
}

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray number(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

void patch16(QByteArray &bytes, int at, quint16 value)
{
    bytes.replace(at, 2, number(value).left(2));
}

} // namespace

void TestKai::initTestCase()
{
    m_folder = std::make_unique<QTemporaryDir>();
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
}

void TestKai::init()
{
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
}

// The data functions run before init().
void TestKai::cleanup()
{
    KaiLibrary::setPath(QStringLiteral(KAI_LIBRARY_FILE));
}

QByteArray TestKai::validFile() const
{
    AudioImageFile kia(file(QStringLiteral("valid.kia")));
    if (!kia.write("picture", "sound!"))
        return QByteArray();
    return readFile(kia.fileName());
}

void TestKai::pictureAndRecordingReadBackByteIdentical()
{
    const QByteArray picture = pngPicture();
    const QByteArray sound = wavTone(44100, 2, 0.5, 440);
    AudioImageFile written(file(QStringLiteral("comment.kia")));
    QVERIFY2(written.write(picture, sound), qPrintable(written.errorString()));
    // Header, picture, sound: nothing more.
    const QByteArray bytes = readFile(written.fileName());
    QCOMPARE(bytes.size(), 20 + picture.size() + sound.size());
    QVERIFY(bytes.startsWith("\x89KIA\r\n\x1a\n"));
    QVERIFY(!QFile::exists(written.fileName() + QStringLiteral(".part")));

    AudioImageFile read(written.fileName());
    QVERIFY2(read.readAll(), qPrintable(read.errorString()));
    QCOMPARE(read.readImageData(), picture);
    QCOMPARE(read.readAudioData(), sound);

    // Either part may be empty, and a second file replaces the first.
    QVERIFY(written.write(QByteArray(), sound));
    QVERIFY(read.readAll());
    QCOMPARE(read.readImageData(), QByteArray());
    QCOMPARE(read.readAudioData(), sound);
}

void TestKai::damagedFilesReadAsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray valid = validFile();
    QVERIFY(!valid.isEmpty());
    const QByteArray magic = valid.left(8);
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("header only, cut") << valid.left(19);
    QTest::newRow("cut in the sound") << valid.left(valid.size() - 1);
    QTest::newRow("a byte too many") << valid + 'x';
    QTest::newRow("other magic") << QByteArray("\x89KIB\r\n\x1a\n") + valid.mid(8);
    QTest::newRow("line ends of a text copy") << QByteArray("\x89KIA\n\x1a\n") + valid.mid(8);
    QTest::newRow("version 2") << magic + number(2) + valid.mid(12);
    QTest::newRow("picture longer than the file")
        << magic + number(1) + number(1000) + number(6) + valid.mid(20);
    QTest::newRow("lengths that wrap around 32 bits")
        << magic + number(1) + number(0xffffffffu) + number(14) + valid.mid(20);
    QTest::newRow("lengths above the largest int")
        << magic + number(1) + number(0x80000000u) + number(0x80000000u) + valid.mid(20);
    QTest::newRow("a PNG picture") << pngPicture();
}

void TestKai::damagedFilesReadAsNothing()
{
    QFETCH(QByteArray, bytes);
    const QString name = file(QStringLiteral("damaged.kia"));
    writeFile(name, bytes);
    AudioImageFile kia(name);
    QVERIFY(!kia.readAll());
    QVERIFY(kia.readImageData().isEmpty());
    QVERIFY(kia.readAudioData().isEmpty());
    QVERIFY2(kia.errorString().contains(QStringLiteral("damaged")), qPrintable(kia.errorString()));
}

void TestKai::missingFileSaysSo()
{
    AudioImageFile kia(file(QStringLiteral("nothing-here.kia")));
    QVERIFY(!kia.readAll());
    QVERIFY2(kia.errorString().contains(QStringLiteral("does not exist")),
        qPrintable(kia.errorString()));
    // A folder is no file either.
    AudioImageFile folder(m_folder->path());
    QVERIFY(!folder.readAll());
    QVERIFY(folder.readImageData().isEmpty());
}

void TestKai::largeFileIsHeldOnceAndReleased()
{
    if (!kResidentFiguresHold)
        QSKIP("resident memory is not the program's own under AddressSanitizer");
    const int soundSize = 96 << 20;
    QFile large(file(QStringLiteral("large.kia")));
    QVERIFY(large.open(QIODevice::WriteOnly));
    large.write(QByteArray("\x89KIA\r\n\x1a\n", 8) + number(1) + number(0) + number(soundSize));
    for (int left = soundSize; left > 0; left -= 1 << 20)
        large.write(QByteArray(1 << 20, 'x'));
    large.close();
    const qint64 before = residentMegabytes();
    qint64 open = 0;
    {
        AudioImageFile kia(large.fileName());
        QVERIFY(kia.readAll());
        open = residentMegabytes() - before;
    }
    QVERIFY2(open >= 96 && open < 96 + 16, qPrintable(QString::number(open)));
    QVERIFY2(residentMegabytes() - before < 8, qPrintable(QString::number(residentMegabytes())));
}

void TestKai::missingLibraryFailsWithAMessage()
{
    const QString name = file(QStringLiteral("kept.kia"));
    QVERIFY(AudioImageFile(name).write("picture", "sound"));
    KaiLibrary::setPath(file(QStringLiteral("libkai.so")));

    AudioImageFile kia(name);
    QVERIFY(!kia.readAll());
    QVERIFY(kia.readImageData().isEmpty());
    QVERIFY2(kia.errorString().contains(QStringLiteral("missing")), qPrintable(kia.errorString()));
    AudioImageFile other(file(QStringLiteral("other.kia")));
    QVERIFY(!other.write("picture", "sound"));
    QVERIFY(!other.errorString().isEmpty());
    QVERIFY(!QFile::exists(other.fileName()));
}

// Without its own "write", the library's handle would give write(2) of the C library, and the
// file name's address would be taken for a file descriptor.
void TestKai::writeOfTheCLibraryIsNeverTaken()
{
    KaiLibrary::setPath(QStringLiteral(KAI_READERS_ONLY_FILE));
    KaiLibrary library;
    QVERIFY(!library.isLoaded());
    QVERIFY2(library.errorString().contains(QStringLiteral("entry points")),
        qPrintable(library.errorString()));
    const QString name = file(QStringLiteral("never.kia"));
    QVERIFY(!library.write(name, "picture", "sound"));
    QVERIFY(!QFile::exists(name));
}

void TestKai::failedWriteLeavesNoFile()
{
    const QString name = file(QStringLiteral("no-such-folder/comment.kia"));
    AudioImageFile kia(name);
    QVERIFY(!kia.write("picture", "sound"));
    QVERIFY2(kia.errorString().contains(name), qPrintable(kia.errorString()));

    // A name that stands for a folder is left as it was.
    const QString folder = file(QStringLiteral("taken.kia"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/inside")));
    QVERIFY(!AudioImageFile(folder).write("picture", "sound"));
    QVERIFY(QFileInfo(folder + QStringLiteral("/inside")).isDir());
    QVERIFY(!QFile::exists(folder + QStringLiteral(".part")));
}

void TestKai::wavFormats_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("sampleType");
    QTest::addColumn<int>("samples");

    const QByteArray stereo = wavTone(44100, 2, 0.01, 440);
    const int stereoSamples = stereo.size() - 44;
    QTest::newRow("44.1 kHz stereo")
        << stereo << true << 44100 << 2 << 16 << int(QAudioFormat::SignedInt) << stereoSamples;
    QTest::newRow("22.05 kHz mono") << wavTone(22050, 1, 0.01, 440) << true << 22050 << 1 << 16
                                    << int(QAudioFormat::SignedInt) << 440;

    QByteArray eightBit = wavTone(8000, 1, 0.01, 440);
    patch16(eightBit, 34, 8);
    QTest::newRow("8 bits are unsigned")
        << eightBit << true << 8000 << 1 << 8 << int(QAudioFormat::UnSignedInt) << 160;
    QByteArray real = wavTone(48000, 1, 0.01, 440);
    patch16(real, 20, 3);
    patch16(real, 34, 32);
    QTest::newRow("32-bit float") << real << true << 48000 << 1 << 32 << int(QAudioFormat::Float)
                                  << 960;

    // An odd-sized chunk of the recorder's own before "fmt ", padded to an even length.
    QByteArray withList = stereo;
    withList.insert(12, QByteArray("LIST") + QByteArray::fromHex("03000000") + "abc" + '\0');
    QTest::newRow("odd chunk before fmt")
        << withList << true << 44100 << 2 << 16 << int(QAudioFormat::SignedInt) << stereoSamples;
    QTest::newRow("data cut short keeps whole frames")
        << stereo.left(stereo.size() - 5) << true << 44100 << 2 << 16
        << int(QAudioFormat::SignedInt) << stereoSamples - 8;

    QByteArray dataFirst = stereo;
    dataFirst.replace(12, 4, "junk");
    QTest::newRow("data without fmt") << dataFirst << false << 0 << 0 << 0 << 0 << 0;
    QByteArray compressed = stereo;
    patch16(compressed, 20, 0x55);
    QTest::newRow("MP3 in a WAV") << compressed << false << 0 << 0 << 0 << 0 << 0;
    QByteArray huge = stereo;
    huge.replace(16, 4, number(0xfffffff0u));
    QTest::newRow("fmt longer than the file") << huge << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("raw samples") << stereo.mid(44) << false << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("header only, cut") << stereo.left(30) << false << 0 << 0 << 0 << 0 << 0;
}

void TestKai::wavFormats()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    const WavSound sound = WavSound::parse(bytes);
    QCOMPARE(sound.isValid(), valid);
    if (!valid)
        return;
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(int, sampleType);
    QFETCH(int, samples);
    QCOMPARE(sound.format().sampleRate(), rate);
    QCOMPARE(sound.format().channelCount(), channels);
    QCOMPARE(sound.format().sampleSize(), bits);
    QCOMPARE(int(sound.format().sampleType()), sampleType);
    QCOMPARE(sound.samples(bytes).size(), samples);
    QVERIFY(bytes.contains(sound.samples(bytes)));
}

QTEST_GUILESS_MAIN(TestKai)
#include "tst_kai.moc"
