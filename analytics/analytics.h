#ifndef ANALYTICS_H
#define ANALYTICS_H

#include <QObject>
#include <QString>

// One usage event, posted to the analytics host. C++ callers create it with new, without a
// parent, and forget it: it releases itself once its post is over. QML pages create it as a
// component instead, set its properties and call send(); those belong to the QML engine.
class AnalyticsEvent : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int category READ category WRITE setCategory NOTIFY categoryChanged)
    Q_PROPERTY(int action READ action WRITE setAction NOTIFY actionChanged)
    Q_PROPERTY(QString label READ label WRITE setLabel NOTIFY labelChanged)

public:
    // A fixed underlying type: callers turn plain numbers from pages into these enums, and
    // every int is then a valid value of them (one that maps to the empty word).
    enum AnalyticsEventCategory : int {
        CategorySize = 0,
        CategoryColor = 1,
        CategoryCapture = 2,
        CategoryTool = 5,
    };
    Q_ENUM(AnalyticsEventCategory)

    enum AnalyticsEventAction : int {
        ActionChange = 0,
        ActionClick = 1,
        ActionHotkey = 2,
        ActionUse = 5,
    };
    Q_ENUM(AnalyticsEventAction)

    explicit AnalyticsEvent(QObject *parent = nullptr);
    AnalyticsEvent(AnalyticsEventCategory category, AnalyticsEventAction action, bool is_sendEvent,
        const QString &label, QObject *parent = nullptr);

    // The words the analytics host knows; the empty word for any other value.
    static QString categoryName(int category);
    static QString actionName(int action);

    int category() const { return m_category; }
    int action() const { return m_action; }
    QString label() const { return m_label; }
    void setCategory(int category);
    void setAction(int action);
    void setLabel(const QString &label);

    Q_INVOKABLE void send();

signals:
    void categoryChanged();
    void actionChanged();
    void labelChanged();

private:
    QByteArray formData() const;
    void postFinished();

    int m_category = CategorySize;
    int m_action = ActionChange;
    QString m_label;
    // Set for the fire-and-forget objects: nobody else holds them, so they end themselves.
    bool m_releaseWhenDone = false;
    int m_pending = 0;
};

#endif // ANALYTICS_H
