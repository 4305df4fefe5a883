#ifndef SQLWORKER_H
#define SQLWORKER_H

#include <QObject>
#include <QVariant>

class QSqlDatabase;
class QSqlError;

// Lives on the SQL thread and owns the process's default SQLite connection. Every answer
// travels back as a signal argument, so no value is ever shared between the two threads.
class SqlWorker : public QObject
{
    Q_OBJECT
public:
    explicit SqlWorker(QObject *parent = nullptr);
    ~SqlWorker() override;

public slots:
    void connectToDatabase(const QString &name);
    void execute(const QString &query, const QVariantList &param);
    void getDataLoad(quint64 request, const QString &name);

signals:
    // `opened` is false when the file could not be opened or prepared; `values` then is empty.
    void connectComplited(bool opened, const QVariantHash &values);
    void getDataFinished(quint64 request, const QVariant &value);

private:
    enum class Outcome { Opened, Damaged, Failed };

    Outcome open(const QString &path, QVariantHash *values);
    Outcome failure(const char *step, const QSqlError &error);
    bool createDataBase(QSqlDatabase &db, QSqlError *error);
    void closeConnection();
    bool moveAside(const QString &path);
};

#endif // SQLWORKER_H
