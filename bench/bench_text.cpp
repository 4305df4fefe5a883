// A key typed into a text box of 5,000 lines, beside the same key typed into a box of one line,
// in the same run: each key goes through the window to the box and is followed by one paint of
// the box as a frame paints it, best of five rounds of 20 keys each. Also the paste of the 5,000
// lines itself.

#include "benchsupport.h"
#include "kpainterarea.h"
#include "serviceaddress.h"
#include "textitem.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QQuickWindow>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const QSize kPicture(1280, 800);
const int kLines = 5000;
const int kKeys = 20;
const int kRounds = 5;

QString manyLines(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines.append(QStringLiteral("line %1 of a long text pasted into the box").arg(i));
    return lines.join(QLatin1Char('\n'));
}

class Canvas
{
public:
    bool open()
    {
        m_window = std::make_unique<QQuickWindow>();
        m_window->resize(kPicture);
        m_area = new KPainterArea(m_window->contentItem());
        m_area->setSize(kPicture);
        QImage picture(kPicture, QImage::Format_RGB32);
        picture.fill(QColor(60, 60, 60));
        m_area->setBackground(picture);
        m_area->setSelectRect(QRectF(QPointF(0, 0), kPicture));
        m_area->setCurrentModule(QStringLiteral("Text"));
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get(), 5000)
            && QTest::qWaitForWindowActive(m_window.get(), 5000);
    }

    // A new box at p, holding text pasted with Ctrl+V; the milliseconds the paste took.
    double pasteBox(const QPoint &p, const QString &text)
    {
        QTest::mouseClick(m_window.get(), Qt::LeftButton, Qt::NoModifier, p);
        QGuiApplication::clipboard()->setText(text);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(m_window.get(), Qt::Key_V, Qt::ControlModifier);
        paintBox();
        return clock.nsecsElapsed() / 1e6;
    }

    TextItem *box() const { return qobject_cast<TextItem *>(m_area->currentItem()); }

    // The box painted into a texture of its item's size, as the scene graph does for a frame.
    void paintBox() const
    {
        QImage texture(box()->size().toSize(), QImage::Format_ARGB32_Premultiplied);
        texture.fill(Qt::transparent);
        QPainter painter(&texture);
        box()->paint(&painter);
    }

    // -1 when the keys did not reach the box.
    double bestMsPerKey()
    {
        const int before = box()->text().size();
        double best = 1e18;
        for (int round = 0; round < kRounds; ++round) {
            QElapsedTimer clock;
            clock.start();
            for (int i = 0; i < kKeys; ++i) {
                QTest::keyClick(m_window.get(), Qt::Key_X);
                paintBox();
            }
            best = std::min(best, clock.nsecsElapsed() / 1e6 / kKeys);
            if (box()->text().size() != before + kKeys)
                return -1;
            for (int i = 0; i < kKeys; ++i)
                QTest::keyClick(m_window.get(), Qt::Key_Backspace);
        }
        return best;
    }

private:
    std::unique_ptr<QQuickWindow> m_window;
    KPainterArea *m_area = nullptr;
};

} // namespace

int main(int argc, char **argv)
{
    preferOffscreen();
    qputenv("QT_QUICK_BACKEND", "software");
    QTemporaryDir home;
    useTemporaryHome(home);
    QGuiApplication app(argc, argv);
    // The tools report their use; here to a closed loopback port.
    ServiceAddress::setFixedHost(QStringLiteral("127.0.0.1:9"));

    // One window at a time: keys go to the active one.
    double perKey[2] = {0, 0};
    double paste = 0;
    const QString texts[2] = {QStringLiteral("one line"), manyLines(kLines)};
    for (int i = 0; i < 2; ++i) {
        Canvas canvas;
        if (!canvas.open()) {
            std::fprintf(stderr, "no window\n");
            return 1;
        }
        paste = canvas.pasteBox(QPoint(40, 60), texts[i]);
        TextItem *box = canvas.box();
        if (!box || box->text() != texts[i]) {
            std::fprintf(stderr, "the paste did not reach the box\n");
            return 1;
        }
        perKey[i] = canvas.bestMsPerKey();
        if (perKey[i] < 0) {
            std::fprintf(stderr, "the keys did not reach the box\n");
            return 1;
        }
    }
    std::printf("text_key_one_line: %.2f ms\n", perKey[0]);
    std::printf("text_key_%d_lines: %.2f ms\n", kLines, perKey[1]);
    std::printf("text_paste_%d_lines: %.1f ms\n", kLines, paste);
    return 0;
}
