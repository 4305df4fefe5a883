#include "kpainterarea.h"

#include "abstractgraphitem.h"
#include "analytics.h"
#include "arrowmodule.h"
#include "blackoutarea.h"
#include "blackoutitem.h"
#include "blackoutmodule.h"
#include "blurmodule.h"
#include "colorstrip.h"
#include "countermodule.h"
#include "ellipsemodule.h"
#include "graphmodule.h"
#include "historystack.h"
#include "linemodule.h"
#include "markermodule.h"
#include "movemodule.h"
#include "penmodule.h"
#include "rectmodule.h"
#include "setting.h"
#include "textmodule.h"

#include <QCursor>
#include <QDebug>
#include <QPainter>
#include <QPixmap>
#include <QQmlEngine>
#include <QScopedValueRollback>
#include <QUndoStack>
#include <algorithm>

namespace {

// Output keeps the shapes below a z limit (10000 in the picture editor window), so z values are
// packed again long before a long session could reach it.
constexpr int kFirstShapeZ = 101;
constexpr int kRenumberZAt = 9000;

// The program's own tools come first, after the move tool, in the order in which the canvas
// looks them up; registerModule adds more after them.
QList<KPainterArea::ModuleFactory> &moduleFactories()
{
    static QList<KPainterArea::ModuleFactory> factories {
        &PenModule::create,
        &RectModule::create,
        &EllipseModule::create,
        &LineModule::create,
        &ArrowModule::create,
        &TextModule::create,
        &BlurModule::create,
        &CounterModule::create,
        &MarkerModule::create,
        &BlackoutModule::create,
    };
    return factories;
}

int settingInt(QLatin1String key)
{
    return Setting::instance()->getValue(key).toInt();
}

} // namespace

KPainterArea::KPainterArea(QQuickItem *parent)
    : QQuickItem(parent)
    , m_undoStack(new QUndoStack(this))
    , m_blackoutArea(new BlackoutArea(this))
{
    m_blackoutArea->setPaintArea(this);
    m_blackoutArea->setZ(100);
    loadGraphModule();
    setObjectName(QStringLiteral("KPainterArea"));
    connect(this, &KPainterArea::currentColorChanged, this, &KPainterArea::setCurrentItemColor);
    connect(this, &KPainterArea::currentLineWidthChanged, this, &KPainterArea::setCurrentItemWidth);
    connect(
        this, &KPainterArea::currentSubstrateChanged, this, &KPainterArea::setCurrentItemSubstrate);
    connect(this, &KPainterArea::currentColorXChanged, this, &KPainterArea::setCurrentItemColorX);
    // The colour shown on the strip is the one new shapes take, from the first shape on.
    setCurrentColorX(settingInt(SettingKeys::colorColorLine));
    setCurrentColor(ColorStrip::colorFromX(m_currentColorX));
    setCurrentLineWidth(settingInt(SettingKeys::widthColorLine));
    connect(m_undoStack, &QUndoStack::canUndoChanged, this, &KPainterArea::canUndoChange);
    connect(m_undoStack, &QUndoStack::canRedoChanged, this, &KPainterArea::canRedoChange);
    setCurrentSubstrate(Setting::instance()->getValue(SettingKeys::substrate).toBool());
    connect(this, &KPainterArea::updateBlackoutArea, m_blackoutArea,
        [this] { m_blackoutArea->update(); });
    setAcceptedMouseButtons(Qt::AllButtons);
}

void KPainterArea::registerQmlTypes()
{
    qmlRegisterType<KPainterArea>("KuvoComponent", 1, 0, "KPainterArea");
    qmlRegisterType<AbstractGraphItem>("KuvoComponent", 1, 0, "AbstractGraphItem");
    qmlRegisterType<BlackoutArea>("KuvoComponent", 1, 0, "BlackoutArea");
}

void KPainterArea::registerModule(ModuleFactory factory)
{
    if (!moduleFactories().contains(factory))
        moduleFactories().append(factory);
}

void KPainterArea::loadGraphModule()
{
    m_modules.append(new MoveModule(this));
    for (ModuleFactory factory : qAsConst(moduleFactories()))
        m_modules.append(factory(this));
    for (GraphModule *module : qAsConst(m_modules)) {
        connect(module, &GraphModule::currentItemChange, this, &KPainterArea::setCurrentItem);
        connect(module, &GraphModule::updateBlackoutArea, this, &KPainterArea::updateBlackoutArea);
    }
    if (auto *blackout = qobject_cast<BlackoutModule *>(moduleFromName(QStringLiteral("Blackout"))))
        connect(blackout, &BlackoutModule::createNewBlackoutItem, m_blackoutArea,
            &BlackoutArea::createNewBlackoutItem);
}

void KPainterArea::setSelectRect(const QRectF &rect)
{
    m_selectRect = rect;
    m_blackoutArea->setSelectRect(rect);
}

QString KPainterArea::currentModule() const
{
    return m_currentModule ? m_currentModule->name() : QString();
}

bool KPainterArea::canUndo() const
{
    return m_undoStack->canUndo();
}

bool KPainterArea::canRedo() const
{
    return m_undoStack->canRedo();
}

int KPainterArea::getLastZ()
{
    if (m_lastZ + 1 >= kRenumberZAt)
        renumberZ();
    return ++m_lastZ;
}

void KPainterArea::renumberZ()
{
    QList<AbstractGraphItem *> shapes;
    for (AbstractGraphItem *item : graphItems()) {
        if (item->z() >= kFirstShapeZ)
            shapes.append(item);
    }
    std::stable_sort(shapes.begin(), shapes.end(),
        [](const AbstractGraphItem *a, const AbstractGraphItem *b) { return a->z() < b->z(); });
    m_lastZ = kFirstShapeZ - 1;
    for (AbstractGraphItem *item : qAsConst(shapes))
        item->setZ(++m_lastZ);
}

GraphModule *KPainterArea::moduleFromName(const QString &name) const
{
    for (GraphModule *module : m_modules) {
        if (module->name() == name)
            return module;
    }
    return nullptr;
}

void KPainterArea::setViewScale(qreal scale)
{
    if (qFuzzyCompare(scale, m_viewScale))
        return;
    m_viewScale = scale;
    for (AbstractGraphItem *item : graphItems())
        item->fitTexture();
}

QList<AbstractGraphItem *> KPainterArea::graphItems() const
{
    QList<AbstractGraphItem *> items;
    for (QQuickItem *child : childItems()) {
        if (auto *item = qobject_cast<AbstractGraphItem *>(child))
            items.append(item);
    }
    return items;
}

AbstractGraphItem *KPainterArea::checkItem() const
{
    for (AbstractGraphItem *item : graphItems()) {
        if (item->isChecked())
            return item;
    }
    return nullptr;
}

void KPainterArea::uncheckAllItem()
{
    for (AbstractGraphItem *item : graphItems())
        item->setCheck(false);
    m_currentItem.clear();
}

void KPainterArea::setBackground(const QImage &image)
{
    // Comparing the pixels of two 4K grabs would cost more than the change itself.
    if (image.cacheKey() == m_background.cacheKey())
        return;
    m_background = image;
    emit backgroundChanged(image);
}

void KPainterArea::setCurrentColor(const QColor &color)
{
    if (color == m_currentColor)
        return;
    m_currentColor = color;
    emit currentColorChanged(color);
}

void KPainterArea::setCurrentColorX(int x)
{
    if (x == m_currentColorX)
        return;
    m_currentColorX = x;
    emit currentColorXChanged(x);
}

void KPainterArea::setCurrentLineWidth(int width)
{
    if (width == m_currentLineWidth)
        return;
    m_currentLineWidth = width;
    emit currentLineWidthChanged(width);
}

void KPainterArea::setCurrentSubstrate(bool substrate)
{
    if (substrate == m_currentSubstrate)
        return;
    m_currentSubstrate = substrate;
    Setting::instance()->setValue(SettingKeys::substrate, substrate);
    emit currentSubstrateChanged(substrate);
}

void KPainterArea::setCurrentItemColor(const QColor &color)
{
    if (m_currentItem)
        m_currentItem->setColor(color);
}

void KPainterArea::setCurrentItemColorX(int x)
{
    if (m_currentItem)
        m_currentItem->setColorX(x);
}

void KPainterArea::setCurrentItemWidth(int width)
{
    if (m_currentItem)
        m_currentItem->setLineWidth(width);
}

void KPainterArea::setCurrentItemSubstrate(bool substrate)
{
    if (m_currentItem)
        m_currentItem->setSubstrate(substrate);
}

void KPainterArea::setCurrentItem(AbstractGraphItem *item)
{
    if (!item || item == m_currentItem)
        return;
    m_currentItem = item;
    item->setFocus(true);
    emit currentItemChange(item);
    setCurrentLineWidth(item->lineWidth());
    setCurrentColor(item->color());
    setCurrentColorX(item->colorX());
    setCurrentSubstrate(item->substrate());
}

void KPainterArea::updateBlurItem()
{
    // Every shape calls this while it is dragged: a blur shows what lies below it, so it is
    // painted again whenever anything may have changed there.
    for (AbstractGraphItem *item : graphItems()) {
        if (item->name() == QLatin1String("Blur"))
            item->update();
    }
}

void KPainterArea::setCurrentModule(const QString &name)
{
    new AnalyticsEvent(AnalyticsEvent::CategoryTool, AnalyticsEvent::ActionClick, true, name);
    GraphModule *found = moduleFromName(name);
    AbstractGraphItem *remembered = m_currentItem;
    const bool sameAgain = m_currentModule && m_currentModule->name() == name;
    m_currentModule = sameAgain ? nullptr : found;
    emit currentModuleChanged(currentModule());

    const bool move = name == QLatin1String("Move");
    if (!move) {
        emit currentItemChange(m_currentItem);
        uncheckAllItem();
        m_lastDrawingTool = name;
    } else if (m_currentItem) {
        m_currentItem->setCheck(true);
    }

    if (name == QLatin1String("Text"))
        setCursor(Qt::IBeamCursor);
    else
        setCrossCursor();

    if (name == QLatin1String("Text"))
        setCurrentLineWidth(settingInt(SettingKeys::widthTextLine));
    else if (name == QLatin1String("Blur"))
        setCurrentLineWidth(settingInt(SettingKeys::widthBlureLine));
    else if (name == QLatin1String("Blackout"))
        setCurrentLineWidth(settingInt(SettingKeys::widthBlackoutLine));
    else if (!move)
        setCurrentLineWidth(settingInt(SettingKeys::widthColorLine));

    if (!move)
        m_currentItem = remembered;
    Setting::instance()->setLastGraphTools(name);
}

void KPainterArea::selectLastModule()
{
    if (isModuleSelect(QStringLiteral("Move")))
        setCurrentModule(m_lastDrawingTool);
    else
        setCurrentModule(QStringLiteral("Move"));
}

AbstractGraphItem *KPainterArea::currentItem() const
{
    return m_currentItem;
}

QCursor KPainterArea::crossCursor()
{
    const QPixmap pixmap(QStringLiteral(":/cursor/image/cursor/cross_cursor.png"));
    return QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2);
}

void KPainterArea::setCrossCursor()
{
    setCursor(crossCursor());
}

void KPainterArea::checkUndo()
{
    if (m_undoStack->canUndo()) {
        m_undoStack->undo();
        if (m_undoStack->count() > 0)
            makeLastCommandItemCurrent();
    }
    takeOverCurrentItemStyle();
    emit updateBlackoutArea();
}

void KPainterArea::checkRedo()
{
    if (m_undoStack->canRedo())
        m_undoStack->redo();
    makeLastCommandItemCurrent();
    takeOverCurrentItemStyle();
    emit updateBlackoutArea();
}

void KPainterArea::makeLastCommandItemCurrent()
{
    const int index = m_undoStack->index();
    if (index < 1)
        return;
    const auto *command
        = dynamic_cast<const AbstractHistoryCommand *>(m_undoStack->command(index - 1));
    if (command)
        setCurrentItem(command->item());
}

void KPainterArea::takeOverCurrentItemStyle()
{
    if (!m_currentItem)
        return;
    setCurrentLineWidth(m_currentItem->lineWidth());
    setCurrentColor(m_currentItem->color());
    setCurrentColorX(m_currentItem->colorX());
}

void KPainterArea::pushLineWidthChange(int value, int oldVallue)
{
    const QString tool = currentModule();
    if (m_currentModule) {
        if (tool == QLatin1String("Text"))
            Setting::instance()->setWidthTextLine(value);
        else if (tool == QLatin1String("Blur"))
            Setting::instance()->setWidthBlureLine(value);
        else if (tool == QLatin1String("Blackout"))
            Setting::instance()->setWidthBlackoutLine(value);
        else
            Setting::instance()->setWidthColorLine(value);
    }
    new AnalyticsEvent(
        AnalyticsEvent::CategorySize, AnalyticsEvent::ActionChange, true, QString::number(value));
    if (m_currentItem)
        m_undoStack->push(new LineWidthChange(m_currentItem, value, oldVallue));
}

void KPainterArea::pushColorChange(int xValue, int oldXValue)
{
    // Remembered like the widths, so that the next capture starts with the colour picked last.
    Setting::instance()->setColorColorLine(xValue);
    const QColor color = ColorStrip::colorFromX(xValue);
    new AnalyticsEvent(
        AnalyticsEvent::CategoryColor, AnalyticsEvent::ActionChange, true, color.name());
    if (m_currentItem)
        m_undoStack->push(new ColorChange(m_currentItem, xValue, oldXValue));
}

QImage KPainterArea::renderRect(const QRect &rect, double zLimit, bool antialias, bool) const
{
    const QRect area = rect.normalized();
    if (area.width() < 1 || area.height() < 1)
        return QImage();
    QImage out(area.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    if (antialias)
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    // Only the part of the background under the area is scaled: a whole 4K picture per call
    // would cost far more than the shapes.
    if (!m_background.isNull()) {
        QSize canvas {int(width()), int(height())};
        if (canvas.isEmpty())
            canvas = m_background.size();
        const QSize scaled = m_background.size().scaled(canvas, Qt::KeepAspectRatio);
        const double sx = double(m_background.width()) / scaled.width();
        const double sy = double(m_background.height()) / scaled.height();
        const QRectF target = QRectF(area).intersected(QRectF(QPointF(0, 0), scaled));
        if (!target.isEmpty()) {
            const QRectF source(
                target.x() * sx, target.y() * sy, target.width() * sx, target.height() * sy);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(target.translated(-area.topLeft()), m_background, source);
        }
    }

    const QScopedValueRollback<bool> rendering(m_rendering, true);
    QList<QQuickPaintedItem *> items;
    for (QQuickItem *child : childItems()) {
        auto *item = qobject_cast<QQuickPaintedItem *>(child);
        const QRect bounds(
            int(child->x()), int(child->y()), int(child->width()), int(child->height()));
        if (item && item->isVisible() && item->z() < zLimit && bounds.intersects(area))
            items.append(item);
    }
    // Stacked as on the screen, so the saved picture looks like what the user saw.
    std::stable_sort(items.begin(), items.end(),
        [](const QQuickItem *a, const QQuickItem *b) { return a->z() < b->z(); });
    for (QQuickPaintedItem *item : qAsConst(items)) {
        painter.save();
        painter.translate(item->x() - area.x(), item->y() - area.y());
        painter.setClipRect(QRectF(0, 0, item->width(), item->height()));
        item->paint(&painter);
        painter.restore();
    }
    return out;
}

void KPainterArea::mousePressEvent(QMouseEvent *event)
{
    if (!m_currentModule)
        return;
    const QPoint point = AbstractGraphItem::roundedPoint(event->localPos());
    if (qobject_cast<AbstractGraphItem *>(childAt(point.x(), point.y()))
        && isModuleSelect(QStringLiteral("Move"))) {
        QQuickItem::mousePressEvent(event);
        return;
    }
    uncheckAllItem();
    m_pressModule = m_currentModule;
    m_pressModule->startStroke(this, point);
}

void KPainterArea::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressModule)
        return;
    m_pressModule->paintItem(this, AbstractGraphItem::roundedPoint(event->localPos()));
    if (m_pressModule->name() == QLatin1String("Blackout"))
        emit updateBlackoutArea();
}

void KPainterArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressModule)
        return;
    GraphModule *module = m_pressModule;
    m_pressModule.clear();
    module->finishStroke(this, AbstractGraphItem::roundedPoint(event->localPos()));
}

void KPainterArea::geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    // A canvas zoomed with its picture keeps its shapes on the same spots of the picture; the
    // first sizing of the canvas (from no width at all) is not a zoom.
    if (oldGeometry.width() > 0 && newGeometry.width() > 0
        && !qFuzzyCompare(newGeometry.width(), oldGeometry.width()))
        rescaleItems(newGeometry.width() / oldGeometry.width());
    QQuickItem::geometryChanged(newGeometry, oldGeometry);
}

void KPainterArea::rescaleItems(double f)
{
    for (AbstractGraphItem *item : graphItems())
        item->rescale(f);
}
