#ifndef KPAINTERAREA_H
#define KPAINTERAREA_H

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>

class AbstractGraphItem;
class BlackoutArea;
class GraphModule;
class QUndoStack;

// The canvas of the annotation editor, placed over the frozen picture. It owns the tools,
// routes the mouse to the current one, keeps the colour and width that new shapes take, the
// undo history and the current shape, and renders the marked-up picture for output.
class KPainterArea : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(
        QString currentModule READ currentModule WRITE setCurrentModule NOTIFY currentModuleChanged)
    Q_PROPERTY(QImage background READ background WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(
        QColor currentColor READ currentColor WRITE setCurrentColor NOTIFY currentColorChanged)
    Q_PROPERTY(
        int currentColorX READ currentColorX WRITE setCurrentColorX NOTIFY currentColorXChanged)
    Q_PROPERTY(int currentLineWidth READ currentLineWidth WRITE setCurrentLineWidth NOTIFY
            currentLineWidthChanged)
    Q_PROPERTY(bool currentSubstrate READ currentSubstrate WRITE setCurrentSubstrate NOTIFY
            currentSubstrateChanged)
    Q_PROPERTY(AbstractGraphItem *currentItem READ currentItem NOTIFY currentItemChange)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY canUndoChange)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY canRedoChange)
    Q_PROPERTY(QRectF selectRect READ selectRect WRITE setSelectRect)
    Q_PROPERTY(qreal viewScale READ viewScale WRITE setViewScale)

public:
    // Makes one tool for a canvas; the tool takes the canvas as its QObject parent.
    using ModuleFactory = GraphModule *(*)(KPainterArea *area);

    explicit KPainterArea(QQuickItem *parent = nullptr);

    // Registers KPainterArea and AbstractGraphItem in "KuvoComponent" 1.0.
    static void registerQmlTypes();
    // Adds a tool to every canvas made from now on, after the program's own tools (the list in
    // kpainterarea.cpp, where a new shape of ours is one line) and the tools added before it.
    static void registerModule(ModuleFactory factory);

    QString currentModule() const;
    QImage background() const { return m_background; }
    QColor currentColor() const { return m_currentColor; }
    int currentColorX() const { return m_currentColorX; }
    int currentLineWidth() const { return m_currentLineWidth; }
    bool currentSubstrate() const { return m_currentSubstrate; }
    // Out of line: the header only declares the shape class.
    AbstractGraphItem *currentItem() const;
    bool canUndo() const;
    bool canRedo() const;
    QRectF selectRect() const { return m_selectRect; }
    // True while renderRect draws the shapes for output, where carets have no place.
    bool isRendering() const { return m_rendering; }
    // The selection that the darkening overlay covers, in the canvas's coordinates.
    void setSelectRect(const QRectF &rect);
    // How large the page shows the canvas: 0.5 when one screen pixel covers two of the picture.
    qreal viewScale() const { return m_viewScale; }
    void setViewScale(qreal scale);

    int getLastZ();
    QUndoStack *undoStack() const { return m_undoStack; }
    bool isModuleSelect(const QString &name) const { return currentModule() == name; }
    GraphModule *moduleFromName(const QString &name) const;
    AbstractGraphItem *checkItem() const;
    void uncheckAllItem();
    // The picture under rect with the visible shapes below zLimit, drawn as the screen shows
    // them; a null image for an empty rect.
    QImage renderRect(const QRect &rect, double zLimit, bool antialias, bool unused = false) const;
    void selectLastModule();
    // The drawing cursor, which the shapes show too while the pointer is over them.
    static QCursor crossCursor();
    void setCrossCursor();

    Q_INVOKABLE void checkUndo();
    Q_INVOKABLE void checkRedo();
    Q_INVOKABLE void pushLineWidthChange(int value, int oldVallue);
    Q_INVOKABLE void pushColorChange(int xValue, int oldXValue);

public slots:
    void setBackground(const QImage &image);
    void setCurrentColor(const QColor &color);
    void setCurrentColorX(int x);
    void setCurrentLineWidth(int width);
    void setCurrentSubstrate(bool substrate);
    void setCurrentItemColor(const QColor &color);
    void setCurrentItemColorX(int x);
    void setCurrentItemWidth(int width);
    void setCurrentItemSubstrate(bool substrate);
    void setCurrentItem(AbstractGraphItem *item);
    void setCurrentModule(const QString &name);
    void updateBlurItem();

signals:
    void currentModuleChanged(const QString &name);
    void backgroundChanged(const QImage &image);
    void currentColorChanged(const QColor &color);
    void currentColorXChanged(int value);
    void currentLineWidthChanged(int value);
    void currentSubstrateChanged(bool value);
    void currentItemChange(AbstractGraphItem *item);
    void canUndoChange(bool arg);
    void canRedoChange(bool arg);
    void updateBlackoutArea();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void geometryChanged(const QRectF &newGeometry, const QRectF &oldGeometry) override;

private:
    void loadGraphModule();
    QList<AbstractGraphItem *> graphItems() const;
    void renumberZ();
    void takeOverCurrentItemStyle();
    void makeLastCommandItemCurrent();
    void rescaleItems(double f);

    QList<GraphModule *> m_modules;
    QPointer<GraphModule> m_currentModule;
    // The tool that took the press gets its release, even when the tool changed in between.
    QPointer<GraphModule> m_pressModule;
    QColor m_currentColor;
    int m_currentLineWidth = 2;
    bool m_currentSubstrate = false;
    int m_currentColorX = 0;
    QString m_lastDrawingTool;
    int m_lastZ = 100;
    QImage m_background;
    QPointer<AbstractGraphItem> m_currentItem;
    QUndoStack *m_undoStack;
    BlackoutArea *m_blackoutArea;
    QRectF m_selectRect;
    mutable bool m_rendering = false;
    qreal m_viewScale = 1.0;
};

#endif // KPAINTERAREA_H
