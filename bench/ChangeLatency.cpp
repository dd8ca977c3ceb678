#include "ChangeLatency.h"

#include "BenchFolder.h"
#include "IdleWait.h"
#include "Measure.h"
#include "StoreComparison.h"

#include "browse/MaterialList.h"
#include "browse/MaterialListModel.h"
#include "shell/MainWindow.h"
#include "store/ServerConnection.h"
#include "store/Statements.h"
#include "store/TextMaterial.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

namespace {
const QString WriterConnection = QStringLiteral("ChangeWriter");
// A change not shown by then is taken as never shown.
constexpr int GiveUpMs = 10000;
} // namespace

ChangeLatency::ChangeLatency(MainWindow &window, const BaseSettings &server)
    : m_window(window), m_server(server)
{
}

double ChangeLatency::measure(QString *error)
{
    double median = -1;
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), WriterConnection);
        if (ServerConnection::open(writer, m_server, error)) {
            StoreComparison::showCategory(m_window, BenchFolder::BigCategory);
            int run = 0;
            bool shown = true;
            median = Measure::median([&] {
                const double ms = once(writer, ++run, error);
                shown = shown && ms >= 0;
                return ms;
            });
            if (!shown)
                median = -1;
        }
        writer.close();
    }
    QSqlDatabase::removeDatabase(WriterConnection);
    return median;
}

double ChangeLatency::once(QSqlDatabase &writer, int run, QString *error)
{
    const MaterialListModel *model = m_window.materialList()->model();
    const int before = model->rowCount();
    TextMaterial record;
    record.title = QStringLiteral("another copy's material %1").arg(run);
    record.category = BenchFolder::BigCategory;
    record.author = QStringLiteral("bench");
    record.body = {QStringLiteral("added on another machine")};
    QSqlQuery query(writer);
    if (!query.exec(record.insertStatement())) {
        *error = ServerConnection::describe(query.lastError());
        return -1;
    }
    // The statement has returned: the insert is committed and announced.
    QElapsedTimer timer;
    timer.start();
    const bool grown = waitForRows(before + 1);
    IdleWait::settle();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    qint64 id = 0;
    for (int row = 0; row < model->rowCount() && id == 0; ++row) {
        if (model->list().caption(row) == record.title)
            id = model->list().id(row);
    }
    if (!grown || id == 0) {
        *error =
            QStringLiteral("the list did not show another copy's insert within %1 s").arg(GiveUpMs / 1000);
        return -1;
    }
    if (!query.exec(Statements::deleteMaterial(QStringLiteral("textfile"), id)) || !waitForRows(before)) {
        *error = QStringLiteral("another copy's delete was not shown");
        return -1;
    }
    IdleWait::settle();
    return ms;
}

bool ChangeLatency::waitForRows(int rows)
{
    const MaterialListModel *model = m_window.materialList()->model();
    if (model->rowCount() == rows)
        return true;
    QEventLoop loop;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(model, &QAbstractItemModel::modelReset, &loop, [&loop, model, rows] {
        if (model->rowCount() == rows)
            loop.quit();
    });
    giveUp.start(GiveUpMs);
    loop.exec();
    return model->rowCount() == rows;
}
