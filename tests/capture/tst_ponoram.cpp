#include "ponoram.h"
#include "ponoramrows.h"
#include "scrollingdocument.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

// The scrolling capture over scripted documents: the panorama must hold the document's rows
// exactly, whatever the step, and the capture must end once, with every glued grab.
class TestPonoram : public QObject
{
    Q_OBJECT

private slots:
    void searchEqualsExhaustiveSearch_data();
    void searchEqualsExhaustiveSearch();
    void panoramaEqualsTheDocument_data();
    void panoramaEqualsTheDocument();
    void captureEndsOnceWithEveryGlue_data();
    void captureEndsOnceWithEveryGlue();
    void pointerStopsOnlyAfterBeingInside();
    void repeatsCountConsecutivelyFromEachStart();
    void blankWindowIsNeverGluedOverContent_data();
    void blankWindowIsNeverGluedOverContent();
    void narrowerGrabIsNotFound();
    void windowLowerThanTheStrip();
    void heightIsCappedWithThePictureKept();
    void heldPictureKeepsItsPixelsAndGluesDoNotCopyIt();
};

namespace {

const QRect kRect(100, 50, 400, 300);

// Rows drawn from a small set of patterns, so that the search meets many near matches.
QImage patternRows(int width, int height, int patterns, quint32 seed,
    QRgb light = qRgb(200, 200, 200), QRgb dark = qRgb(90, 90, 90))
{
    QRandomGenerator random(seed);
    QVector<QVector<QRgb>> set(patterns, QVector<QRgb>(width));
    for (auto &row : set) {
        for (QRgb &pixel : row)
            pixel = random.bounded(2) ? light : dark;
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        std::copy_n(set.at(random.bounded(patterns)).constData(), width,
            reinterpret_cast<QRgb *>(image.scanLine(y)));
    return image;
}

// A scripted engine: the grab shows the document's window, the pointer stays in the rectangle
// unless told otherwise.
struct Rig
{
    explicit Rig(ScrollingDocument &document)
        : document(document)
    {
        engine.setGrabber([this](const QRect &) {
            ++grabs;
            return grabOverride.isNull() ? this->document.window() : grabOverride;
        });
        engine.setPointerSource([this] { return pointer; });
    }

    ScrollingDocument &document;
    Ponoram engine;
    QPoint pointer = kRect.center();
    QImage grabOverride;
    int grabs = 0;
};

// Scrolls by step before every tick until the capture ends; the finished picture, or a null
// one when it never ended.
QImage scrollToTheEnd(Rig &rig, int step, QSignalSpy &completes)
{
    if (!rig.engine.startPonoram(kRect))
        return QImage();
    const int ticks = rig.document.lastScroll() / step + 2 * Ponoram::kRepeatsToStop;
    for (int i = 0; i < ticks && rig.engine.isRunning(); ++i) {
        rig.document.scrollBy(step);
        rig.engine.shotTimer();
    }
    if (completes.count() != 1)
        return QImage();
    return completes.first().first().value<QPixmap>().toImage().convertToFormat(
        QImage::Format_RGB32);
}

QImage contentColumns(const QImage &picture, const ScrollingDocument &document)
{
    return picture.copy(document.contentLeft(), 0, document.contentWidth(), picture.height());
}

} // namespace

void TestPonoram::searchEqualsExhaustiveSearch_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QImage>("strip");

    const QImage random = patternRows(150, 180, 1 << 20, 1);
    QTest::newRow("random, strip taken from it") << random << random.copy(0, 70, 150, 60);
    QTest::newRow("random, foreign strip") << random << patternRows(150, 60, 1 << 20, 2);
    const QImage twoRows = patternRows(130, 200, 2, 3);
    QTest::newRow("two row patterns") << twoRows << twoRows.copy(0, 120, 130, 40);
    const QImage threeRows = patternRows(64, 200, 3, 4);
    QTest::newRow("three row patterns, one word") << threeRows << threeRows.copy(0, 50, 64, 30);
    QTest::newRow("65 columns") << patternRows(65, 120, 2, 5) << patternRows(65, 30, 2, 5);
    // Pages a reader still reads: light grey on white, dark grey on black.
    const QImage light = patternRows(150, 200, 3, 7, qRgb(255, 255, 255), qRgb(168, 168, 168));
    QTest::newRow("light grey row patterns") << light << light.copy(0, 110, 150, 40);
    const QImage dark = patternRows(150, 200, 3, 8, qRgb(0, 0, 0), qRgb(48, 48, 48));
    QTest::newRow("dark grey row patterns") << dark << dark.copy(0, 110, 150, 40);

    // Rows that differ from the strip only in the scroll bar margin: found by the second
    // comparison alone.
    QImage margin = patternRows(160, 150, 3, 6);
    QImage marginStrip = margin.copy(0, 90, 160, 20);
    for (int y = 0; y < marginStrip.height(); ++y)
        marginStrip.setPixel(150, y, ~marginStrip.pixel(150, y) | 0xff000000u);
    QTest::newRow("differs in the margin only") << margin << marginStrip;
    QImage justInside = marginStrip;
    justInside.setPixel(160 - PonoramRows::kScrollBarMargin - 1, 5,
        ~justInside.pixel(160 - PonoramRows::kScrollBarMargin - 1, 5) | 0xff000000u);
    QTest::newRow("differs just left of the margin") << margin << justInside;
    QImage blank(200, 120, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QTest::newRow("blank") << blank << blank.copy(0, 0, 200, 40);
    QTest::newRow("picture lower than the strip") << random.copy(0, 0, 150, 20) << random;
    QTest::newRow("other width") << random << random.copy(0, 0, 140, 20);
}

// Every start row, strip position and length against the search that binarises everything
// anew: the same row, or -1 by both.
void TestPonoram::searchEqualsExhaustiveSearch()
{
    QFETCH(QImage, picture);
    QFETCH(QImage, strip);

    const PonoramRows pictureRows = PonoramRows::fromImage(picture);
    const PonoramRows stripRows = PonoramRows::fromImage(strip);
    int found = 0;
    for (int first = 0; first < strip.height(); first += 7) {
        for (int count : {0, 1, 5, strip.height() - first, strip.height() - first + 1}) {
            for (int from = -3; from <= picture.height() + 1; from += 9) {
                const int expected = ExhaustiveStripSearch::indexOf(picture, strip, first, count,
                    from, PonoramRows::kScrollBarMargin, PonoramRows::kNarrowFromWidth);
                const int actual = pictureRows.indexOf(stripRows, first, count, from);
                QVERIFY2(actual == expected,
                    qPrintable(QStringLiteral("first %1 count %2 from %3: %4, expected %5")
                                   .arg(first)
                                   .arg(count)
                                   .arg(from)
                                   .arg(actual)
                                   .arg(expected)));
                found += expected >= 0;
            }
        }
    }
    if (QByteArray(QTest::currentDataTag()).startsWith("random, strip"))
        QVERIFY(found > 0);
}

void TestPonoram::panoramaEqualsTheDocument_data()
{
    QTest::addColumn<int>("headerRows");
    QTest::addColumn<int>("scrollBarWidth");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("repeated");
    QTest::addColumn<int>("fixedColumns");
    QTest::addColumn<QRgb>("ink");
    QTest::addColumn<QRgb>("paper");

    const QRgb ink = ScrollingDocument::Options().ink;
    const QRgb paper = ScrollingDocument::Options().paper;
    // Joinable means the strip below the header still lies in the picture after the step.
    const int window = kRect.height();
    for (int step : {1, 7, 64, window - Ponoram::kStripRows}) {
        QTest::addRow("plain, step %d", step)
            << 0 << 0 << false << step << false << 0 << ink << paper;
        QTest::addRow("header, step %d", step)
            << 40 << 0 << false << qMin(step, window - 40 - Ponoram::kStripRows) << false << 0
            << ink << paper;
    }
    QTest::newRow("blank stretches, step 30") << 0 << 0 << true << 30 << false << 0 << ink << paper;
    QTest::newRow("blank stretches, largest step")
        << 0 << 0 << true << window - Ponoram::kStripRows - 60 << false << 0 << ink << paper;
    QTest::newRow("scroll bar, step 5") << 0 << 12 << false << 5 << false << 0 << ink << paper;
    QTest::newRow("scroll bar, largest step")
        << 0 << 12 << false << window - Ponoram::kStripRows << false << 0 << ink << paper;
    QTest::newRow("all of them") << 30 << 12 << true << 40 << false << 0 << ink << paper;
    QTest::newRow("repeated block, step 50") << 0 << 0 << false << 50 << true << 0 << ink << paper;
    QTest::newRow("repeated block, header and scroll bar")
        << 30 << 12 << false << 9 << true << 0 << ink << paper;
    // Columns beside the document that never move: a window border, then 49 columns of
    // desktop; blank stretches taller than the strip pass beside them, slowly and at once.
    for (int fixed : {1, 50}) {
        for (int step : {3, 41, window - Ponoram::kStripRows - 60}) {
            QTest::addRow("%d fixed columns, blank stretches, step %d", fixed, step)
                << 0 << 0 << true << step << false << fixed << ink << paper;
        }
    }
    QTest::newRow("fixed columns, header, scroll bar and blank stretches")
        << 30 << 12 << true << 40 << false << 50 << ink << paper;
    // Text a reader still makes out: light and faint grey on white, dark grey on black.
    for (const QRgb grey : {qRgb(168, 168, 168), qRgb(230, 230, 230)}) {
        for (int step : {3, 41, window - Ponoram::kStripRows - 60}) {
            QTest::addRow("grey %d on white, step %d", qRed(grey), step)
                << 0 << 0 << true << step << false << 0 << grey << qRgb(255, 255, 255);
        }
    }
    QTest::newRow("dark grey on black, header, scroll bar and fixed columns")
        << 30 << 12 << true << 41 << false << 50 << qRgb(48, 48, 48) << qRgb(0, 0, 0);
}

void TestPonoram::panoramaEqualsTheDocument()
{
    QFETCH(int, headerRows);
    QFETCH(int, scrollBarWidth);
    QFETCH(bool, blank);
    QFETCH(int, step);
    QFETCH(bool, repeated);
    QFETCH(int, fixedColumns);
    QFETCH(QRgb, ink);
    QFETCH(QRgb, paper);

    ScrollingDocument::Options options;
    options.width = kRect.width();
    options.windowRows = kRect.height();
    options.documentRows = 2000;
    options.headerRows = headerRows;
    options.scrollBarWidth = scrollBarWidth;
    options.fixedColumns = fixedColumns;
    options.ink = ink;
    options.paper = paper;
    if (blank)
        options.blankStretches = {{0, 20}, {500, 60}, {900, 150}, {1990, 10}};
    if (repeated) {
        options.repeatAt = 1200;
        options.repeatRows = 500;
        options.repeatFrom = 300;
    }
    ScrollingDocument document(options);
    Rig rig(document);
    QSignalSpy completes(&rig.engine, &Ponoram::complete);

    const QImage result = scrollToTheEnd(rig, step, completes);
    QCOMPARE(completes.count(), 1);
    QCOMPARE(result.width(), document.width());
    QCOMPARE(document.scroll(), document.lastScroll());
    QCOMPARE(contentColumns(result, document), document.expected());
}

void TestPonoram::captureEndsOnceWithEveryGlue_data()
{
    QTest::addColumn<QString>("ending");
    QTest::newRow("pointer leaves") << "pointer";
    QTest::newRow("document stops moving") << "repeats";
    QTest::newRow("content changed") << "changed";
    QTest::newRow("stopped from outside") << "stop";
}

// The picture delivered is the one glued last, and nothing is delivered again afterwards:
// not by another tick, nor by another stop.
void TestPonoram::captureEndsOnceWithEveryGlue()
{
    QFETCH(QString, ending);

    ScrollingDocument::Options options;
    options.width = kRect.width();
    options.windowRows = kRect.height();
    ScrollingDocument document(options);
    Rig rig(document);
    QSignalSpy completes(&rig.engine, &Ponoram::complete);
    QSignalSpy previews(&rig.engine, &Ponoram::changePreview);
    QSignalSpy errors(&rig.engine, &Ponoram::errorGlueImage);
    QVERIFY(rig.engine.startPonoram(kRect));
    for (int i = 0; i < 3; ++i) {
        document.scrollBy(50);
        rig.engine.shotTimer();
    }
    if (ending == "pointer") {
        rig.pointer = kRect.bottomRight() + QPoint(1, 0);
        rig.engine.shotTimer();
    } else if (ending == "repeats") {
        for (int i = 0; i < Ponoram::kRepeatsToStop; ++i)
            rig.engine.shotTimer();
    } else if (ending == "changed") {
        rig.grabOverride = patternRows(kRect.width(), kRect.height(), 1 << 20, 9);
        rig.engine.shotTimer();
    } else {
        rig.engine.stopPonoram();
    }
    QVERIFY(!rig.engine.isRunning());
    const int grabs = rig.grabs;
    rig.engine.shotTimer();
    rig.engine.stopPonoram();

    QCOMPARE(rig.grabs, grabs);
    QCOMPARE(completes.count(), 1);
    QCOMPARE(errors.count(), ending == "changed" ? 1 : 0);
    QVERIFY(!rig.engine.endedInBlankStretch());
    const QImage delivered = completes.first().first().value<QPixmap>().toImage();
    QCOMPARE(delivered.convertToFormat(QImage::Format_RGB32), document.expected());
    QCOMPARE(previews.last().first().value<QImage>(), document.expected());
}

void TestPonoram::pointerStopsOnlyAfterBeingInside()
{
    ScrollingDocument document({});
    Rig rig(document);
    rig.pointer = kRect.topLeft() - QPoint(10, 10);
    QVERIFY(rig.engine.startPonoram(kRect));
    for (int i = 0; i < 2 * Ponoram::kRepeatsToStop; ++i)
        rig.engine.shotTimer();
    QVERIFY2(rig.engine.isRunning(), "the way from the button to the document ended it");

    rig.pointer = kRect.topLeft();
    rig.engine.shotTimer();
    QVERIFY(rig.engine.isRunning());
    rig.pointer = kRect.topLeft() - QPoint(0, 1);
    rig.engine.shotTimer();
    QVERIFY(!rig.engine.isRunning());
}

// A still document ends the capture only once it has moved since the start: a person needs
// longer than a few grabs to reach the wheel.
void TestPonoram::repeatsCountConsecutivelyFromEachStart()
{
    ScrollingDocument document({});
    Rig rig(document);
    const auto waitBeforeScrolling = [&rig] {
        QVERIFY(rig.engine.startPonoram(kRect));
        for (int i = 0; i < 2 * Ponoram::kRepeatsToStop; ++i)
            rig.engine.shotTimer();
        QVERIFY2(rig.engine.isRunning(), "ended before the document moved");
    };
    waitBeforeScrolling();
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < Ponoram::kRepeatsToStop - 1; ++i)
            rig.engine.shotTimer();
        document.scrollBy(10);
        rig.engine.shotTimer();
    }
    QVERIFY2(rig.engine.isRunning(), "repeats apart from each other added up");

    for (int i = 0; i < Ponoram::kRepeatsToStop - 1; ++i)
        rig.engine.shotTimer();
    rig.engine.cancelPonoram();
    waitBeforeScrolling();
    document.scrollBy(10);
    rig.engine.shotTimer();
    for (int i = 0; i < Ponoram::kRepeatsToStop - 1; ++i)
        rig.engine.shotTimer();
    QVERIFY2(rig.engine.isRunning(), "repeats of an earlier capture counted");
    rig.engine.shotTimer();
    QVERIFY(!rig.engine.isRunning());
}

void TestPonoram::blankWindowIsNeverGluedOverContent_data()
{
    QTest::addColumn<int>("fixedColumns");
    QTest::addColumn<QString>("ending");
    for (const QString ending : {"content below it", "rests in it", "pointer leaves in it"}) {
        QTest::addRow("document alone, %s", qPrintable(ending)) << 0 << ending;
        QTest::addRow("window border, %s", qPrintable(ending)) << 1 << ending;
        QTest::addRow("border and desktop, %s", qPrintable(ending)) << 50 << ending;
    }
}

// A window with nothing but blank rows says nothing about where it lies: gluing it anywhere
// would paste over rows already captured. The capture skips it and ends when the content after
// the stretch cannot be placed, the document rests in the stretch or the pointer leaves there,
// with every row it holds true to the document, and says that it ended short.
void TestPonoram::blankWindowIsNeverGluedOverContent()
{
    QFETCH(int, fixedColumns);
    QFETCH(QString, ending);
    ScrollingDocument::Options options;
    options.width = kRect.width();
    options.windowRows = kRect.height();
    options.fixedColumns = fixedColumns;
    options.blankStretches = {{400, 700}};
    ScrollingDocument document(options);
    Rig rig(document);
    QSignalSpy completes(&rig.engine, &Ponoram::complete);
    QSignalSpy errors(&rig.engine, &Ponoram::errorGlueImage);
    QVERIFY(rig.engine.startPonoram(kRect));
    const int stopAt = ending == "content below it" ? document.lastScroll() : 600;
    int blankTicks = 0;
    while (rig.engine.isRunning() && document.scroll() < stopAt) {
        document.scrollBy(60);
        const QSize before = rig.engine.size();
        rig.engine.shotTimer();
        if (document.scroll() >= 400 && document.scroll() + kRect.height() <= 1100) {
            ++blankTicks;
            QCOMPARE(rig.engine.size(), before);
        }
    }
    if (ending == "pointer leaves in it")
        rig.pointer = kRect.topLeft() - QPoint(1, 1);
    for (int i = 0; i <= Ponoram::kRepeatsToStop && rig.engine.isRunning(); ++i)
        rig.engine.shotTimer();
    QVERIFY(!rig.engine.isRunning());
    QVERIFY(blankTicks > 0);
    QCOMPARE(errors.count(), 1);
    QVERIFY(rig.engine.endedInBlankStretch());
    QCOMPARE(completes.count(), 1);
    const QImage delivered = completes.first().first().value<QPixmap>().toImage().convertToFormat(
        QImage::Format_RGB32);
    QVERIFY(delivered.height() < document.expected().height());
    QCOMPARE(contentColumns(delivered, document),
        document.expected().copy(0, 0, document.contentWidth(), delivered.height()));
}

void TestPonoram::narrowerGrabIsNotFound()
{
    ScrollingDocument document({});
    Rig rig(document);
    QSignalSpy completes(&rig.engine, &Ponoram::complete);
    QSignalSpy errors(&rig.engine, &Ponoram::errorGlueImage);
    QVERIFY(rig.engine.startPonoram(kRect));
    rig.grabOverride = document.window().copy(0, 0, kRect.width() - 1, kRect.height());
    rig.engine.shotTimer();
    QCOMPARE(errors.count(), 1);
    QCOMPARE(completes.count(), 1);
    QCOMPARE(completes.first().first().value<QPixmap>().size(), kRect.size());
}

// A rectangle lower than twice the strip searches with its upper half, so that a scroll of
// half its height still joins; a larger one ends the capture.
void TestPonoram::windowLowerThanTheStrip()
{
    ScrollingDocument::Options options;
    options.width = 200;
    options.windowRows = 60;
    options.documentRows = 400;
    ScrollingDocument document(options);
    Rig rig(document);
    QSignalSpy completes(&rig.engine, &Ponoram::complete);
    rig.pointer = QPoint(1, 1);
    QVERIFY(rig.engine.startPonoram(QRect(0, 0, 200, 60)));
    for (int i = 0; i < 40 && rig.engine.isRunning(); ++i) {
        document.scrollBy(i % 2 ? 0 : 60);
        rig.engine.shotTimer();
    }
    QCOMPARE(completes.count(), 1);
    QCOMPARE(completes.first().first().value<QPixmap>().size(), QSize(200, 60));

    document.scrollTo(0);
    QSignalSpy errors(&rig.engine, &Ponoram::errorGlueImage);
    QVERIFY(rig.engine.startPonoram(QRect(0, 0, 200, 60)));
    for (int i = 0; i < 30 && rig.engine.isRunning(); ++i) {
        document.scrollBy(30);
        rig.engine.shotTimer();
    }
    QCOMPARE(errors.count(), 0);
    QCOMPARE(completes.count(), 2);
    QCOMPARE(
        completes.last().first().value<QPixmap>().toImage().convertToFormat(QImage::Format_RGB32),
        document.expected());
}

void TestPonoram::heightIsCappedWithThePictureKept()
{
    ScrollingDocument::Options options;
    options.width = 16;
    options.windowRows = 300;
    options.documentRows = Ponoram::kMaxHeight + 500;
    ScrollingDocument document(options);
    Rig rig(document);
    QSignalSpy completes(&rig.engine, &Ponoram::complete);
    QSignalSpy limits(&rig.engine, &Ponoram::heightLimitReached);
    rig.pointer = QPoint(1, 1);
    QVERIFY(rig.engine.startPonoram(QRect(0, 0, 16, 300)));
    while (rig.engine.isRunning() && document.scroll() < document.lastScroll()) {
        document.scrollBy(150);
        rig.engine.shotTimer();
    }
    QCOMPARE(limits.count(), 1);
    QCOMPARE(completes.count(), 1);
    const QImage delivered = completes.first().first().value<QPixmap>().toImage().convertToFormat(
        QImage::Format_RGB32);
    QCOMPARE(delivered.height(), Ponoram::kMaxHeight);
    QCOMPARE(delivered, document.expected().copy(0, 0, 16, Ponoram::kMaxHeight));
}

// The picture a listener keeps is a value: the next glue does not change it. Without such a
// holder the engine copies only the glued rows and, as the picture grows, each row a bounded
// number of times.
void TestPonoram::heldPictureKeepsItsPixelsAndGluesDoNotCopyIt()
{
    ScrollingDocument::Options options;
    options.width = kRect.width();
    options.windowRows = kRect.height();
    options.documentRows = 6000;
    ScrollingDocument document(options);
    Rig rig(document);
    QVERIFY(rig.engine.startPonoram(kRect));
    const int step = 40;
    for (int i = 0; i < 20; ++i) {
        document.scrollBy(step);
        rig.engine.shotTimer();
    }
    const QImage held = rig.engine.picture();
    const QImage heldCopy = held.copy();
    QImage changedTail = document.window();
    for (int y = Ponoram::kStripRows; y < changedTail.height(); ++y)
        changedTail.setPixel(3, y, qRgb(255, 0, 0));
    rig.grabOverride = changedTail;
    rig.engine.shotTimer();
    QCOMPARE(held, heldCopy);
    QVERIFY(rig.engine.picture() != heldCopy);

    rig.grabOverride = QImage();
    const quint64 before = rig.engine.copiedBytes();
    const int ticks = 100;
    for (int i = 0; i < ticks; ++i) {
        document.scrollBy(step);
        rig.engine.shotTimer();
    }
    const quint64 row = quint64(kRect.width()) * 4;
    const quint64 glued = quint64(ticks) * kRect.height() * row;
    const quint64 picture = quint64(rig.engine.size().height()) * row;
    QVERIFY2(rig.engine.copiedBytes() - before <= glued + 2 * picture,
        qPrintable(QString::number(rig.engine.copiedBytes() - before)));
}

QTEST_MAIN(TestPonoram)
#include "tst_ponoram.moc"
