#ifndef GRAPHMODULE_H
#define GRAPHMODULE_H

#include "abstractgraphitem.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRectF>

class KPainterArea;

// One drawing tool of the canvas: it takes the canvas's press, move and release, makes one
// shape per stroke and records it for undo.
class GraphModule : public QObject
{
    Q_OBJECT

public:
    GraphModule(const QString &name, QObject *parent);

    QString name() const { return m_name; }
    QList<AbstractGraphItem *> storage() const { return m_storage; }
    // The shape of the stroke in progress or of the last stroke, stored or not.
    AbstractGraphItem *currentItem() const { return m_item; }

    // Called by the canvas for one stroke. The release of a stroke whose shape the tool did not
    // store hides that shape: a drag that ends where it began leaves nothing on the picture.
    void startStroke(KPainterArea *area, const QPoint &point);
    void finishStroke(KPainterArea *area, const QPoint &point);

signals:
    void currentItemChange(AbstractGraphItem *item);
    void updateBlackoutArea();

public slots:
    virtual void beginPaintItem(KPainterArea *area, const QPoint &point) = 0;
    virtual void paintItem(KPainterArea *area, const QPoint &point) = 0;
    virtual void endPaintItem(KPainterArea *area, const QPoint &point) = 0;

protected:
    void createItem(AbstractGraphItem *item, KPainterArea *area);
    void addTostorage(AbstractGraphItem *item, KPainterArea *area);
    QPoint startPoint() const { return m_startPoint; }
    void setStartPoint(const QPoint &point) { m_startPoint = point; }
    // The rectangle from the start point to point, both pixels included, with a signed size.
    QRectF strokeRect(const QPoint &point) const;
    AbstractGraphItem *item() const { return m_item; }

private slots:
    void itemChecked(bool checked);

private:
    QString m_name;
    QList<AbstractGraphItem *> m_storage;
    QPoint m_startPoint;
    QPointer<AbstractGraphItem> m_item;
    QPointer<AbstractGraphItem> m_strokeItem;
};

#endif // GRAPHMODULE_H
