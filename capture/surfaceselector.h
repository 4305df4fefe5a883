#ifndef SURFACESELECTOR_H
#define SURFACESELECTOR_H

#include <QColor>
#include <QCursor>
#include <QQuickItem>
#include <QRect>
#include <QRectF>
#include <QVector>

// The rubber band of the capture windows: it lies over the frozen screen, shades everything
// outside the selection, draws the guide lines and turns the mouse into the selection. Once a
// selection exists the item gives up the points inside it, so the canvas below gets the presses
// there.
//
// Shade and guides are plain rectangles in the scene graph, so a move redraws only the areas
// that changed. A page whose picture shades itself (the capture view's darkened picture, which
// makes a moving selection cheaper still) turns `shaded` off and follows `brightRect`.
class SurfaceSelector : public QQuickItem
{
    Q_OBJECT
    Q_PROPERTY(bool shaded READ shaded WRITE setShaded NOTIFY shadedChanged)
    Q_PROPERTY(QColor shadeColor READ shadeColor CONSTANT)
    Q_PROPERTY(QRectF brightRect READ brightRect NOTIFY brightRectChanged)
    Q_PROPERTY(QRectF rubberRect READ rubberRect NOTIFY rubberRectChanged)
    Q_PROPERTY(int rubberRectLeft READ rubberRectLeft NOTIFY rubberRectLeftChanged)
    Q_PROPERTY(int rubberRectRight READ rubberRectRight NOTIFY rubberRectRightChanged)
    Q_PROPERTY(int rubberRectTop READ rubberRectTop NOTIFY rubberRectTopChanged)
    Q_PROPERTY(int rubberRectBottom READ rubberRectBottom NOTIFY rubberRectBottomChanged)
    Q_PROPERTY(int gRubberRectLeft READ gRubberRectLeft NOTIFY gRubberRectLeftChanged)
    Q_PROPERTY(int gRubberRectRight READ gRubberRectRight NOTIFY gRubberRectRightChanged)
    Q_PROPERTY(int gRubberRectTop READ gRubberRectTop NOTIFY gRubberRectTopChanged)
    Q_PROPERTY(int gRubberRectBottom READ gRubberRectBottom NOTIFY gRubberRectBottomChanged)
    Q_PROPERTY(bool showToolBar READ showToolBar NOTIFY showToolBarChanged)
    Q_PROPERTY(bool fullScreen READ fullScreen WRITE setFullScreen NOTIFY fullScreenChanged)
    Q_PROPERTY(bool quickScreen READ quickScreen WRITE setQuickScreen NOTIFY quickScreenChanged)
    Q_PROPERTY(bool isPress READ isPress NOTIFY isPressChanged)
    Q_PROPERTY(bool firstDraw READ firstDraw NOTIFY firstDrawChanged)
    Q_PROPERTY(int gx READ gx NOTIFY gxChanged)
    Q_PROPERTY(int gy READ gy NOTIFY gyChanged)
    Q_PROPERTY(QRectF gRect READ gRect NOTIFY gRectChanged)
    Q_PROPERTY(
        int maxSelectWidth READ maxSelectWidth WRITE setMaxSelectWidth NOTIFY maxSelectWidthChanged)
    Q_PROPERTY(int maxSelectHeight READ maxSelectHeight WRITE setMaxSelectHeight NOTIFY
            maxSelectHeightChanged)
    Q_PROPERTY(int screenIndex READ screenIndex WRITE setScreenIndex NOTIFY screenIndexChanged)
    Q_PROPERTY(bool isShowMagnified READ isShowMagnified WRITE setIsShowMagnified NOTIFY
            isShowMagnifiedChanged)

public:
    explicit SurfaceSelector(QQuickItem *parent = nullptr);

    // Makes the type known to the capture pages as KuvoComponent 1.0 SurfaceSelector.
    static void registerQmlType();

    void setCrossCursor();

    QRectF rubberRect() const;
    int rubberRectLeft() const;
    int rubberRectRight() const;
    int rubberRectTop() const;
    int rubberRectBottom() const;
    int gRubberRectLeft() const;
    int gRubberRectRight() const;
    int gRubberRectTop() const;
    int gRubberRectBottom() const;
    bool showToolBar() const { return m_showToolBar; }
    bool fullScreen() const { return m_fullScreen; }
    bool quickScreen() const { return m_quickScreen; }
    bool isPress() const { return m_isPress; }
    bool firstDraw() const { return m_firstDraw; }
    int gx() const { return m_gx; }
    int gy() const { return m_gy; }
    QRectF gRect() const { return m_gRect; }
    int maxSelectWidth() const { return m_maxSelectWidth; }
    int maxSelectHeight() const { return m_maxSelectHeight; }
    int screenIndex() const { return m_screenIndex; }
    bool isShowMagnified() const { return m_isShowMagnified; }

    bool shaded() const { return m_shaded; }
    void setShaded(bool shaded);
    static QColor shadeColor();
    // The area left unshaded, in whole pixels; empty while everything is shaded.
    QRectF brightRect() const;

    bool isCompleteSelectRect() const;
    // The selection in whole pixels; null when it is less than one pixel wide or high.
    Q_INVOKABLE QRect selectRect() const;

    void setRubberRect(QRectF r);
    void setGRect(QRectF globalRect, QRectF localRect);
    void moveRubber(int x, int y);
    void expandToFullScreen();
    void collapseFromFullScreen();
    Q_INVOKABLE void checkProperties();
    void setMoveSelector(bool on);

    using QQuickItem::setX;
    using QQuickItem::setY;
    // Cross-hair of a selector mirrored from another monitor.
    void setX(int x);
    void setY(int y);

    void setFullScreen(bool value);
    void setQuickScreen(bool value);
    void setFirstDraw(bool value);
    void setIsShowMagnified(bool value);
    void setScreenIndex(int index);
    void setMaxSelectWidth(int width);
    void setMaxSelectHeight(int height);
    void calcFreeSpace();
    void setShapeRect(QRect rect);
    void clearShapeRect();
    void stopResize();

    bool contains(const QPointF &point) const override;

signals:
    void rubberRectChanged(QRectF rect);
    void rubberRectLeftChanged(int left);
    void rubberRectRightChanged(int right);
    void rubberRectTopChanged(int top);
    void rubberRectBottomChanged(int bottom);
    void gRubberRectLeftChanged(int left);
    void gRubberRectRightChanged(int right);
    void gRubberRectTopChanged(int top);
    void gRubberRectBottomChanged(int bottom);
    void showToolBarChanged(bool show);
    void fullScreenChanged(bool value);
    void quickScreenChanged(bool value);
    void isPressChanged(bool press);
    void firstDrawChanged(bool firstDraw);
    void gxChanged(int gx);
    void gyChanged(int gy);
    void gRectChanged(QRectF gRect);
    void maxSelectWidthChanged(int width);
    void maxSelectHeightChanged(int height);
    void screenIndexChanged(int index);
    void isShowMagnifiedChanged();
    void selectComplete();
    void shadedChanged(bool shaded);
    void brightRectChanged(const QRectF &rect);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hoverEnterEvent(QHoverEvent *event) override;
    void hoverMoveEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;
    QSGNode *updatePaintNode(QSGNode *old, UpdatePaintNodeData *data) override;

private:
    void emitRectSignals();
    void setPointer(QPointF p);
    void resizeStep(QPointF p);
    void applyLimits(bool resizing, QPointF before);
    void armEdges(QPointF p);
    void finishSelection(QMouseEvent *event);
    void markSelected();
    bool rubberIsZero() const;
    // Repaints and tells of a changed bright area.
    void refresh();
    QVector<QRectF> shadeRects() const;
    QVector<QRectF> guideRects() const;
    QVector<QRectF> crossHair() const;
    QVector<QRectF> startGuides() const;
    QVector<QRectF> stopGuides() const;

    int m_gx = 0;
    int m_gy = 0;
    QRectF m_gRect;
    QRect shapeRect;
    bool shapeActive = false;
    bool m_isPress = false;
    bool m_firstDraw = true;
    bool selectionMade = false;
    bool m_showToolBar = false;
    QPointF anchor;
    QPointF lastPos;
    QRectF m_rubberRect {0, 0, 0, 0};
    QRectF savedRect;
    bool resizeStopped = false;
    bool m_fullScreen = false;
    bool m_quickScreen = false;
    bool m_isShowMagnified = false;
    bool resizeArmed = false;
    bool edgeTop = false;
    bool edgeBottom = false;
    bool edgeLeft = false;
    bool edgeRight = false;
    bool edgeCorner = false;
    bool moveSelector = false;
    int m_maxSelectWidth = -1;
    int m_maxSelectHeight = -1;
    int m_screenIndex = -1;
    bool m_shaded = true;
    QRectF m_toldBrightRect;
};

#endif // SURFACESELECTOR_H
